// Help, mail, calculator and about box: the help by its full path whatever the current
// folder, the HTML pages where the compiled help cannot be shown, a message when neither can be
// shown; the support address's mail link; the desktop's calculator; what the user is told when
// something is missing; the about box's link and fade-out; the program files that the
// installation places.
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
#include <QProcess>
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
    QStringList promptTexts() const
    {
        QStringList texts;
        for (const auto& prompt : prompter.prompts)
            texts << prompt.text;
        return texts;
    }

    // A copy of the installation tool in `folder` (a path inside `elsewhere`).
    QString placeSetup(const QString& folder) const
    {
        const QString tool = elsewhere.path() + QLatin1Char('/') + folder + QStringLiteral("/xarvane-setup");
        QDir().mkpath(QFileInfo(tool).path());
        EXPECT_TRUE(QFile::copy(QStringLiteral(XARVANE_BIN_DIR "/xarvane-setup"), tool));
        return tool;
    }
    // Runs the tool; its exit code and everything it wrote.
    static std::pair<int, QString> runSetup(const QString& tool, const QStringList& arguments)
    {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("XARVANE_REGISTRY"));
        process.setProcessEnvironment(environment);
        process.start(tool, arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        return {process.exitCode(),
                QString::fromUtf8(process.readAllStandardOutput() + process.readAllStandardError())};
    }

    QString previous;
    FakeShell shell;
    ScriptedPrompter prompter;
};

TEST_F(HelpTest, CompiledHelpWhenTheDesktopShowsItElseThePagesElseAMessageNamingTheFiles)
{
    ShowHelp(shell, prompter, appPath());
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Error);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("Xarvane(Xarvane)找不到帮助文件XRHelp.chm！"));
    EXPECT_TRUE(shell.opened.empty());

    // The compiled help alone, and nothing shows it: the message names it.
    writeFile(appPath() + QStringLiteral("XRHelp.chm"));
    shell.unhandled = {".chm"};
    ShowHelp(shell, prompter, appPath());
    ASSERT_EQ(prompter.prompts.size(), 2);
    EXPECT_EQ(prompter.prompts[1].text,
              kNoHelpViewerMessage.arg(QString::fromStdString(full(kHelpFileName))));

    writeFile(appPath() + QStringLiteral("help/index.html"));
    ShowHelp(shell, prompter, appPath()); // no CHM viewer: the pages
    shell.unhandled.clear();
    ShowHelp(shell, prompter, appPath());
    EXPECT_EQ(shell.opened, (std::vector<std::string>{full(kHelpIndex), full(kHelpFileName)}));
    for (const std::string& target : shell.opened)
        EXPECT_TRUE(QFileInfo(QString::fromStdString(target)).isAbsolute()) << target;

    shell.unhandled = {".chm", ".html"};
    ShowHelp(shell, prompter, appPath());
    ASSERT_EQ(prompter.prompts.size(), 3);
    EXPECT_EQ(prompter.prompts[2].kind, PromptKind::Error);
    EXPECT_EQ(prompter.prompts[2].text, kNoHelpViewerMessage.arg(QString::fromStdString(
                                            full(kHelpFileName) + "\r" + full(kHelpIndex))));
    EXPECT_EQ(shell.opened.size(), 2u);
}

TEST_F(HelpTest, AboutBoxShowsTheSupportAddressBoldOnHoverAndFadesOutWhenClosed)
{
    const QString address = QStringLiteral("help@pellory.cn");
    QPointer<TwinAbout> box = new TwinAbout(shell, prompter, address, "NetworkManager");
    box->show();
    EXPECT_EQ(box->windowTitle(), QStringLiteral("关于XR"));
    EXPECT_EQ(box->size(), QSize(303, 203));
    EXPECT_EQ(box->findChild<QLabel*>(QStringLiteral("lblService"))->text(),
              QStringLiteral("拨号服务：NetworkManager"));
    QLabel* mail = box->lblmail();
    EXPECT_EQ(mail->text(), address);
    QEvent enter(QEvent::Enter);
    QCoreApplication::sendEvent(mail, &enter);
    EXPECT_TRUE(mail->font().bold());
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(mail, &leave);
    EXPECT_FALSE(mail->font().bold());
    QTest::mouseClick(mail, Qt::LeftButton);
    EXPECT_EQ(shell.opened, (std::vector<std::string>{"mailto:help@pellory.cn"}));

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
    EXPECT_TRUE(prompter.prompts.isEmpty());

    // Without a configured address, or without a mail program, the user is told so.
    TwinAbout unset(shell, prompter, QString(), "NetworkManager");
    EXPECT_EQ(unset.lblmail()->text(), QStringLiteral("(未设置)"));
    QTest::mouseClick(unset.lblmail(), Qt::LeftButton);
    shell.unhandled = {"mailto:"};
    openSupportMail(shell, prompter, address);
    ASSERT_EQ(prompter.prompts.size(), 2);
    EXPECT_EQ(prompter.prompts[0].text, kNoSupportMailMessage);
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Information);
    EXPECT_EQ(
        prompter.prompts[1].text,
        QStringLiteral("没有找到收发邮件的程序，无法给 help@pellory.cn 写信！\r\r请安装邮件程序后再试。"));
    EXPECT_EQ(prompter.prompts[1].kind, PromptKind::Warning);
    EXPECT_EQ(shell.opened.size(), 1u);
}

// The real shell starts the first calculator of the list found on PATH; with none it says so.
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
    startCalculator(real, prompter);
    qputenv("PATH", savedPath);
    for (int i = 0; i < 100 && readFile(ran).isEmpty(); ++i)
        QThread::msleep(20);
    EXPECT_EQ(readFile(ran), QByteArray("kcalc\n"));
    EXPECT_TRUE(prompter.prompts.isEmpty());

    qputenv("PATH", elsewhere.path().toUtf8());
    startCalculator(real, prompter);
    qputenv("PATH", savedPath);
    EXPECT_EQ(promptTexts(), QStringList{kNoCalculatorMessage});
}

// The real shell reads the desktop's associations itself (no tool runs to ask): with an empty
// PATH nothing can open the help or a mail, and says so; with an opener, the HTML pages open
// where only a browser is associated, the compiled help where a viewer declares its alias type.
TEST_F(HelpTest, RealShellOpensWhatTheDesktopAssociatesAndSaysWhenNothingCan)
{
    const QString desktop = elsewhere.path() + QStringLiteral("/desktop");
    const QString applications = desktop + QStringLiteral("/data/applications/");
    const QString opened = elsewhere.path() + QStringLiteral("/opened");
    const QString bin = elsewhere.path() + QStringLiteral("/bin");
    writeFile(bin + QStringLiteral("/xdg-open"), "#!/bin/sh\necho \"$1\" >> '" + opened.toUtf8() + "'\n");
    QFile::setPermissions(bin + QStringLiteral("/xdg-open"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    writeFile(applications + QStringLiteral("browser.desktop"),
              "[Desktop Entry]\nType=Application\nExec=browser %u\n");
    writeFile(desktop + QStringLiteral("/config/mimeapps.list"),
              "[Default Applications]\ntext/html=browser.desktop\nx-scheme-handler/mailto=gone.desktop\n");
    writeFile(appPath() + kHelpFileName);
    writeFile(appPath() + kHelpIndex);
    const QList<QByteArray> variables{"PATH", "XDG_DATA_HOME", "XDG_DATA_DIRS", "XDG_CONFIG_HOME",
                                      "XDG_CONFIG_DIRS"};
    QList<QByteArray> saved;
    for (const QByteArray& name : variables)
        saved << qgetenv(name);
    qputenv("PATH", "");
    qputenv("XDG_DATA_HOME", (desktop + QStringLiteral("/data")).toUtf8());
    // The system's types, but none of its applications.
    QDir().mkpath(desktop + QStringLiteral("/system"));
    QFile::link(QStringLiteral("/usr/share/mime"), desktop + QStringLiteral("/system/mime"));
    qputenv("XDG_DATA_DIRS", (desktop + QStringLiteral("/system")).toUtf8());
    qputenv("XDG_CONFIG_HOME", (desktop + QStringLiteral("/config")).toUtf8());
    qputenv("XDG_CONFIG_DIRS", (desktop + QStringLiteral("/none")).toUtf8());
    platform::XdgDesktopShell real;

    ShowHelp(real, prompter, appPath());
    openSupportMail(real, prompter, QStringLiteral("help@pellory.cn"));
    EXPECT_EQ(promptTexts(), (QStringList{kNoHelpViewerMessage.arg(QString::fromStdString(
                                              full(kHelpFileName) + "\r" + full(kHelpIndex))),
                                          kNoMailProgramMessage.arg(QStringLiteral("help@pellory.cn"))}));

    qputenv("PATH", bin.toUtf8());
    openSupportMail(real, prompter, QStringLiteral("help@pellory.cn")); // its mail program is not installed
    // Each opener is waited for before the next starts, so that their lines come in order.
    const auto openedLines = [&](int lines) {
        for (int i = 0; i < 250 && readFile(opened).count('\n') < lines; ++i)
            QThread::msleep(20);
        return QString::fromUtf8(readFile(opened));
    };
    ShowHelp(real, prompter, appPath());
    EXPECT_EQ(openedLines(1), QString::fromStdString(full(kHelpIndex) + "\n"));
    writeFile(applications + QStringLiteral("chm.desktop"),
              "[Desktop Entry]\nType=Application\nExec=chmviewer %f\nMimeType=application/x-chm;\n");
    ShowHelp(real, prompter, appPath());
    EXPECT_EQ(openedLines(2), QString::fromStdString(full(kHelpIndex) + "\n" + full(kHelpFileName) + "\n"));
    for (int i = 0; i < variables.size(); ++i)
        qputenv(variables[i], saved[i]);
    EXPECT_EQ(prompter.prompts.size(), 3);
}

TEST_F(HelpTest, InstallationPlacesSoundsAndHelpKeepingAUsersOwnSound)
{
    const QString from = elsewhere.path() + QStringLiteral("/bin");
    for (const char* name :
         {"Conn1.wav", "Conn2.wav", "Disconn.wav", "XRHelp.chm", "help/index.html", "help/style.css"})
        writeFile(from + QLatin1Char('/') + QLatin1String(name), "new");
    writeFile(appPath() + QStringLiteral("Conn2.wav"), "mine");
    writeFile(appPath() + QStringLiteral("help/index.html"), "old");

    const ProgramFilesResult result = installProgramFiles(from, programFolder.path());
    EXPECT_TRUE(result.missing.isEmpty() && result.failed.isEmpty());
    EXPECT_EQ(readFile(appPath() + QStringLiteral("Conn1.wav")), "new");
    EXPECT_EQ(readFile(appPath() + QStringLiteral("Conn2.wav")), "mine");
    EXPECT_EQ(readFile(appPath() + QStringLiteral("Disconn.wav")), "new");
    EXPECT_EQ(readFile(appPath() + QStringLiteral("XRHelp.chm")), "new");
    EXPECT_EQ(readFile(appPath() + QStringLiteral("help/index.html")), "new");
    EXPECT_EQ(readFile(appPath() + QStringLiteral("help/style.css")), "new");
}

// The installation tool, run from a folder that holds only one sound, says which files it did
// not find instead of announcing them ready; it writes the support address it is given.
TEST_F(HelpTest, SetupNamesTheFilesItDidNotFindAndWritesTheSupportAddress)
{
    const QString tool = placeSetup(QStringLiteral("tools"));
    writeFile(elsewhere.path() + QStringLiteral("/tools/Conn1.wav"));
    writeFile(elsewhere.path() + QStringLiteral("/share/xarvane/Conn2.wav")); // beside the tool comes first
    const QString folder = elsewhere.path() + QStringLiteral("/program");
    const auto [code, output] =
        runSetup(tool, {QStringLiteral("--support-mail"), QStringLiteral("help@pellory.cn"), folder});
    EXPECT_EQ(code, 0) << output.toStdString();
    EXPECT_FALSE(output.contains(QStringLiteral("Notice sounds and help ready"))) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("Disconn.wav, Conn2.wav, XRHelp.chm, help/index.html")))
        << output.toStdString();
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Conn1.wav")));
    EXPECT_FALSE(QFile::exists(folder + QStringLiteral("/Conn2.wav")));
    const QByteArray registry = readFile(folder + QStringLiteral("/Xarvane.reg"));
    EXPECT_TRUE(registry.contains(R"("SupportMail"="help@pellory.cn")")) << registry.toStdString();

    const auto [refused, message] =
        runSetup(tool, {QStringLiteral("--force"), QStringLiteral("--support-mail"),
                        QStringLiteral("not an address"), folder});
    EXPECT_EQ(refused, 1);
    EXPECT_TRUE(message.contains(QStringLiteral("is not a mail address"))) << message.toStdString();
}

// An installed tool (PREFIX/bin/xarvane-setup) with nothing beside it takes the sounds and the
// help from PREFIX/share/xarvane.
TEST_F(HelpTest, InstalledSetupTakesSoundsAndHelpFromTheSharedDataFolder)
{
    const QString tool = placeSetup(QStringLiteral("usr/bin"));
    const QString shared = elsewhere.path() + QStringLiteral("/usr/share/xarvane/");
    for (const char* name :
         {"Conn1.wav", "Conn2.wav", "Disconn.wav", "XRHelp.chm", "help/index.html", "help/style.css"})
        writeFile(shared + QLatin1String(name), name);
    const QString folder = elsewhere.path() + QStringLiteral("/var/lib/xarvane");

    const auto [code, output] = runSetup(tool, {folder});
    EXPECT_EQ(code, 0) << output.toStdString();
    EXPECT_TRUE(output.contains(QStringLiteral("Notice sounds and help ready"))) << output.toStdString();
    for (const char* name :
         {"Conn1.wav", "Conn2.wav", "Disconn.wav", "XRHelp.chm", "help/index.html", "help/style.css"})
        EXPECT_EQ(readFile(folder + QLatin1Char('/') + QLatin1String(name)), name) << name;
}

} // namespace
} // namespace xr::test
