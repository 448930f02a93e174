// Help, mail, calculator and about box: the help by its full path whatever the current
// folder, the HTML pages where the compiled help cannot be shown, the message when neither
// exists; the mail link; the desktop's calculator; the about box's link and fade-out; the
// program files that the installation places.
#include "FakeShell.h"
#include "ScriptedPrompter.h"

#include "notices/HelpCommands.h"
#include "notices/ProgramFiles.h"
#include "notices/utAbout.h"
#include "platform/XdgDesktopShell.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

namespace xr::test {
namespace {

void writeFile(const QString& path, const QByteArray& content = "x")
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

QByteArray readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class HelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(programFolder.isValid() && elsewhere.isValid());
        previous = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
    }
    void TearDown() override { QDir::setCurrent(previous); }
    QString appPath() const { return programFolder.path() + QLatin1Char('/'); }
    std::string full(const QString& name) const
    {
        return QDir(programFolder.path()).filePath(name).toStdString();
    }

    QTemporaryDir programFolder;
    QTemporaryDir elsewhere;
    QString previous;
    FakeShell shell;
    ScriptedPrompter prompter;
};

TEST_F(HelpTest, CompiledHelpWhenTheDesktopShowsItElseThePagesElseTheMessage)
{
    ShowHelp(shell, prompter, appPath());
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Error);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("Xarvane(Xarvane)找不到帮助文件XRHelp.chm！"));
    EXPECT_TRUE(shell.opened.empty());

    writeFile(appPath() + QStringLiteral("help/index.html"));
    ShowHelp(shell, prompter, appPath());
    writeFile(appPath() + QStringLiteral("XRHelp.chm"));
    shell.handlerExists = false;
    ShowHelp(shell, prompter, appPath());
    shell.handlerExists = true;
    ShowHelp(shell, prompter, appPath());
    EXPECT_EQ(shell.opened, (std::vector<std::string>{full(QStringLiteral("help/index.html")),
                                                      full(QStringLiteral("help/index.html")),
                                                      full(QStringLiteral("XRHelp.chm"))}));
    EXPECT_EQ(prompter.prompts.size(), 1);
    for (const std::string& target : shell.opened)
        EXPECT_TRUE(QFileInfo(QString::fromStdString(target)).isAbsolute()) << target;
}

TEST_F(HelpTest, AboutBoxMailLinkBoldOnHoverAndFadesOutWhenClosed)
{
    QPointer<TwinAbout> box = new TwinAbout(shell, "NetworkManager");
    box->show();
    EXPECT_EQ(box->windowTitle(), QStringLiteral("关于XR"));
    EXPECT_EQ(box->size(), QSize(303, 203));
    EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("lblService"))->text(),
              QStringLiteral("拨号服务：NetworkManager"));
    QLabel* mail = box->lblmail();
    EXPECT_EQ(mail->text(), kAuthorMail);
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(mail, &enter);
    EXPECT_TRUE(mail->font().bold());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(mail, &leave);
    EXPECT_FALSE(mail->font().bold());
    QTest::mouseClick(mail, Qt::LeftButton);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"mailto:" + kAuthorMail.toStdString()}));

    double opacityAtHide = -1;
    struct HideWatch : QObject {
        double* seen;
        explicit HideWatch(double* seen) : seen(seen) {}
        bool eventFilter(QObject* watched, QEvent* event) override
        {
            if (event->type() == QEvent::Hide)
                *seen = static_cast<QWidget*>(watched)->windowOpacity();
            return false;
        }
    } watch(&opacityAtHide);
    box->installEventFilter(&watch);
    QTest::mouseClick(box->findChild<QWidget*>(QStringLiteral("btnOk")), Qt::LeftButton);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_DOUBLE_EQ(opacityAtHide, 0.0);
    EXPECT_TRUE(box.isNull()) << "freed when closed";

    openAuthorMail(shell);
    EXPECT_EQ(shell.opened.back(), "mailto:" + kAuthorMail.toStdString());
}

// The real shell starts the first calculator of the list found on PATH.
TEST_F(HelpTest, CalculatorIsTheFirstInstalledOfTheCommonOnes)
{
    const QString bin = elsewhere.path() + QStringLiteral("/bin");
    const QString ran = elsewhere.path() + QStringLiteral("/ran");
    for (const char* name : {"xcalc", "kcalc"}) {
        const QString path = bin + QLatin1Char('/') + QLatin1String(name);
        writeFile(path, "#!/bin/sh\necho " + QByteArray(name) + " >> '" + ran.toUtf8() + "'\n");
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QByteArray savedPath = qgetenv("PATH");
    qputenv("PATH", bin.toUtf8());
    platform::XdgDesktopShell real;
    startCalculator(real);
    qputenv("PATH", savedPath);
    for (int i = 0; i < 100 && readFile(ran).isEmpty(); ++i)
        QThread::msleep(20);
    EXPECT_EQ(readFile(ran), QByteArray("kcalc\n"));

    // With none installed nothing happens.
    qputenv("PATH", elsewhere.path().toUtf8());
    EXPECT_FALSE(real.startFirstInstalled({"gnome-calculator", "kcalc"}));
    qputenv("PATH", savedPath);
}

TEST_F(HelpTest, InstallationPlacesSoundsAndHelpKeepingAUsersOwnSound)
{
    const QString from = elsewhere.path() + QStringLiteral("/bin");
    for (const char* name :
         {"Conn1.wav", "Conn2.wav", "Disconn.wav", "XRHelp.chm", "help/index.html", "help/style.css"})
        writeFile(from + QLatin1Char('/') + QLatin1String(name), "new");
    writeFile(appPath() + QStringLiteral("Conn2.wav"), "mine");
    writeFile(appPath() + QStringLiteral("help/index.html"), "old");

    EXPECT_TRUE(installProgramFiles(from, programFolder.path()).isEmpty());
    EXPECT_EQ(readFile(appPath() + QStringLiteral("Conn1.wav")), "new");
    EXPECT_EQ(readFile(appPath() + QStringLiteral("Conn2.wav")), "mine");
    EXPECT_EQ(readFile(appPath() + QStringLiteral("Disconn.wav")), "new");
    EXPECT_EQ(readFile(appPath() + QStringLiteral("XRHelp.chm")), "new");
    EXPECT_EQ(readFile(appPath() + QStringLiteral("help/index.html")), "new");
    EXPECT_EQ(readFile(appPath() + QStringLiteral("help/style.css")), "new");
}

} // namespace
} // namespace xr::test
