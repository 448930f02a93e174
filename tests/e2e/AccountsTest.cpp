// The real program on a virtual X display with a notification area (trayer): an administrator
// creates an account in the account grid, that user signs in, sets a password and signs in
// again with it. The account grid is saved as accounts-grid.png in the work folder.
#include "store/PasswordHash.h"

#include "ProgramFolder.h"
#include "VirtualDisplay.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

namespace xr::test {
namespace {

// The notification area sits in the top left corner; the program's icon is its first.
constexpr int kTrayIconX = 12;
constexpr int kTrayIconY = 12;
// The account grid's navigator, counted from the dialog's right edge, on the row of its label.
constexpr int kInsertFromRight = 133;
constexpr int kPostFromRight = 53;
constexpr int kNavigatorY = 70;
const QString kWrongPassword = QStringLiteral("不正确的用户名或密码！");

class AccountsEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "trayer", "import"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs it)";
        ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DISPLAY"), display.name());
        trayer.setProcessEnvironment(env);
        trayer.start(QStringLiteral("trayer"),
                     {QStringLiteral("--edge"), QStringLiteral("top"), QStringLiteral("--align"),
                      QStringLiteral("left"), QStringLiteral("--widthtype"), QStringLiteral("pixel"),
                      QStringLiteral("--width"), QStringLiteral("120"), QStringLiteral("--heighttype"),
                      QStringLiteral("pixel"), QStringLiteral("--height"), QStringLiteral("24")});
        ASSERT_TRUE(trayer.waitForStarted());
        folder.setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        folder.setEnvironment(QStringLiteral("DISPLAY"), display.name());
    }

    void TearDown() override
    {
        if (folder.program().state() == QProcess::Running) {
            folder.terminate();
            EXPECT_TRUE(folder.waitForExit());
        }
        trayer.terminate();
        trayer.waitForFinished();
    }

    void key(const QString& keys)
    {
        display.xdotool({QStringLiteral("key"), QStringLiteral("--delay"), QStringLiteral("60"), keys});
    }
    void type(const QString& text)
    {
        display.xdotool({QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("40"), text});
    }
    void focus(const QString& window)
    {
        display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    }
    void click(const QString& window, int x, int y)
    {
        display.xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), window, QString::number(x),
                         QString::number(y), QStringLiteral("click"), QStringLiteral("1")});
        QThread::msleep(300);
    }
    int windowWidth(const QString& window)
    {
        const QString geometry = display.xdotool({QStringLiteral("getwindowgeometry"), window});
        return geometry.section(QStringLiteral("Geometry: "), 1).section(QLatin1Char('x'), 0, 0).toInt();
    }

    // Double-click on the icon opens the sign-in dialog while nobody is signed in.
    QString openSignIn()
    {
        display.xdotool({QStringLiteral("mousemove"), QString::number(kTrayIconX),
                         QString::number(kTrayIconY), QStringLiteral("click"), QStringLiteral("--repeat"),
                         QStringLiteral("2"), QStringLiteral("--delay"), QStringLiteral("80"),
                         QStringLiteral("1")});
        return display.waitForWindow(QStringLiteral("登录XR"));
    }
    void signIn(const QString& dialog, const QString& name, const QString& password)
    {
        focus(dialog); // a fresh dialog has the focus on the name
        key(QStringLiteral("ctrl+a"));
        type(name);
        key(QStringLiteral("Return")); // on to the password
        typePassword(password);
    }
    // Replaces what the password edit holds (a stored password may have been filled in) and
    // presses Enter there.
    void typePassword(const QString& password)
    {
        key(QStringLiteral("ctrl+a BackSpace"));
        if (!password.isEmpty())
            type(password);
        key(QStringLiteral("Return"));
    }
    // Alt+U and the item's letter in the main window's user menu; waits for the window it opens.
    QString userMenu(const QString& letter, const QString& title)
    {
        focus(display.waitForWindow(QStringLiteral("XarvaneXR")));
        key(QStringLiteral("alt+u"));
        QThread::msleep(300);
        key(letter);
        return title.isEmpty() ? QString() : display.waitForWindow(title);
    }
    // What the program has written to standard error so far (the unattended message boxes).
    QString programErrors()
    {
        QCoreApplication::processEvents(); // the pipe is read in the event loop
        return folder.errorOutput();
    }
    bool mainWindowGone()
    {
        return ProgramFolder::waitUntil(
            [&] { return display.visibleWindow(QStringLiteral("XarvaneXR")).isEmpty(); });
    }
    QList<QStringList> carol()
    {
        return folder.rows(
            QStringLiteral("select UserName, UserPw, Admin, Enabled from XRUser where UserName = 'carol'"));
    }

    VirtualDisplay display;
    QProcess trayer;
    ProgramFolder folder;
};

TEST_F(AccountsEndToEnd, AdministratorCreatesAnAccountWhoseUserSetsAPasswordAndSignsInWithIt)
{
    ASSERT_TRUE(folder.start());
    QThread::msleep(500); // the icon settles in the notification area
    const QString firstSignIn = openSignIn();
    ASSERT_FALSE(firstSignIn.isEmpty()) << folder.errorOutput().toStdString();
    signIn(firstSignIn, QStringLiteral("admin"), QString());

    const QString accounts = userMenu(QStringLiteral("m"), QStringLiteral("用户管理"));
    ASSERT_FALSE(accounts.isEmpty()) << programErrors().toStdString();
    const int width = windowWidth(accounts);
    click(accounts, width - kInsertFromRight, kNavigatorY);
    type(QStringLiteral("  carol "));
    click(accounts, width - kPostFromRight, kNavigatorY);
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return !carol().isEmpty(); }))
        << folder.errorOutput().toStdString();
    const QStringList created = carol().value(0);
    EXPECT_EQ(created.value(0) + created.value(2) + created.value(3), QStringLiteral("carol01"));
    EXPECT_TRUE(passwordMatches(created.value(1), QString())) << "the empty password, as its hash";
    EXPECT_TRUE(display.screenshot(
        QDir(QStringLiteral(XARVANE_TEST_WORK_DIR)).filePath(QStringLiteral("accounts-grid.png"))));
    focus(accounts);
    key(QStringLiteral("Escape"));

    userMenu(QStringLiteral("l"), QString()); // sign-out, confirmed by the unattended prompts
    ASSERT_TRUE(mainWindowGone());
    signIn(openSignIn(), QStringLiteral("carol"), QString());
    const QString password = userMenu(QStringLiteral("p"), QStringLiteral("修改密码"));
    ASSERT_FALSE(password.isEmpty()) << folder.errorOutput().toStdString();
    focus(password);
    type(QStringLiteral(" it's mine"));
    key(QStringLiteral("Return"));
    type(QStringLiteral("it's mine  "));
    key(QStringLiteral("Return"));
    ASSERT_TRUE(ProgramFolder::waitUntil([&] {
        return passwordMatches(carol().value(0).value(1), QStringLiteral("it's mine"));
    })) << folder.errorOutput().toStdString();

    userMenu(QStringLiteral("l"), QString());
    ASSERT_TRUE(mainWindowGone());
    const QString again = openSignIn();
    signIn(again, QStringLiteral("carol"), QString()); // the empty password no longer fits
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return programErrors().contains(kWrongPassword); }))
        << programErrors().toStdString();
    EXPECT_TRUE(display.visibleWindow(QStringLiteral("XarvaneXR")).isEmpty());
    typePassword(QStringLiteral("it's mine")); // the refusal left the focus on the password
    EXPECT_FALSE(display.waitForWindow(QStringLiteral("XarvaneXR")).isEmpty())
        << folder.errorOutput().toStdString();
    EXPECT_EQ(programErrors().count(kWrongPassword), 1);
}

} // namespace
} // namespace xr::test
