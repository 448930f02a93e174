// The real program on a virtual X display with the simulated service: signing in with
// "登录后自动拨号" checked dials the default connection, shows the dial status window until the
// connection is seen and records it for the signed-in user; a failing dial shows the error
// layout, and Redial from there connects.
#include "DialWindows.h"
#include "ProgramFolder.h"
#include "VirtualDisplay.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStandardPaths>

namespace xr::test {
namespace {

const QString kAdminId = QStringLiteral("000000000000000001");
const QString kAnonymousId = QStringLiteral("000000000000000002");

class DialingEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "import"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs it)";
        ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
        ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("Office"), QStringLiteral("--user"),
                              QStringLiteral("alice"), QStringLiteral("--password"), QStringLiteral("secret"),
                              QStringLiteral("--dial-ms"), QStringLiteral("1500")}),
                  0);
        folder.setSetting(QStringLiteral("DefaultConn"), QStringLiteral("Office"));
        folder.setSetting(QStringLiteral("LoginDial"), 1);
        folder.setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        folder.setEnvironment(QStringLiteral("DISPLAY"), display.name());
    }

    QList<QStringList> records()
    {
        return folder.rows(QStringLiteral("select UserId, ConnName from XRRecord order by Sdt"));
    }

    // The sign-in dialog is opened the way a person without a tray meets it: a connection made
    // outside the program comes up (and is recorded anonymously). It ends before the sign-in,
    // so that the sign-in finds nothing connected and dials.
    void openSignInWithNothingConnected()
    {
        ASSERT_TRUE(folder.start());
        ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
        ASSERT_TRUE(ProgramFolder::waitUntil([&] {
            return !(m_login = display.visibleWindow(QStringLiteral("登录XR"))).isEmpty();
        })) << folder.errorOutput().toStdString();
        ASSERT_EQ(folder.sim({QStringLiteral("disconnect"), QStringLiteral("Office")}), 0);
        ASSERT_TRUE(ProgramFolder::waitUntil([&] {
            return folder.rows(QStringLiteral("select count(*) from XRRecord where Edt > Sdt")) ==
                   QList<QStringList>{{QStringLiteral("1")}};
        })) << "the program saw the connection end";
    }

    void signInAsAdmin() { windows.signInAsAdmin(m_login); }
    bool dialStatusShown(int height) { return windows.dialStatusShown(height); }
    bool dialStatusGone() { return windows.dialStatusGone(); }

    void endProgram()
    {
        EXPECT_TRUE(folder.unexpectedPrompts().isEmpty()) << folder.errorOutput().toStdString();
        folder.terminate();
        EXPECT_TRUE(folder.waitForExit());
    }

    VirtualDisplay display;
    DialWindows windows{display};
    ProgramFolder folder;
    QString m_login;
};

TEST_F(DialingEndToEnd, SignInWithAutomaticDialShowsTheDialUntilTheConnectionIsRecordedForTheUser)
{
    openSignInWithNothingConnected();
    signInAsAdmin();

    ASSERT_TRUE(dialStatusShown(101)) << "the dialling layout; " << folder.errorOutput().toStdString();
    ASSERT_TRUE(dialStatusGone()) << folder.errorOutput().toStdString();
    QString status;
    folder.sim({QStringLiteral("status")}, &status);
    EXPECT_TRUE(status.contains(QStringLiteral("\tOffice\tconnected\t"))) << status.toStdString();
    EXPECT_EQ(records(), (QList<QStringList>{{kAnonymousId, QStringLiteral("Office")},
                                             {kAdminId, QStringLiteral("Office")}}));
    endProgram();
}

TEST_F(DialingEndToEnd, ScriptedFailureShowsTheErrorLayoutAndRedialConnects)
{
    ASSERT_EQ(folder.sim({QStringLiteral("fail-next"), QStringLiteral("Office"), QStringLiteral("--code"),
                          QStringLiteral("1000")}),
              0);
    openSignInWithNothingConnected();
    signInAsAdmin();

    ASSERT_TRUE(dialStatusShown(170)) << "the error layout; " << folder.errorOutput().toStdString();
    const QString picture =
        QDir(QStringLiteral(XARVANE_TEST_WORK_DIR)).filePath(QStringLiteral("dial-error.png"));
    EXPECT_TRUE(display.screenshot(picture)) << picture.toStdString();
    QString status;
    folder.sim({QStringLiteral("status")}, &status);
    EXPECT_EQ(status, QString()) << "the failed dial left no connection";
    EXPECT_EQ(records().size(), 1);

    // Redial is the focused default button.
    display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), windows.dialStatus()});
    display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    ASSERT_TRUE(dialStatusShown(101)) << folder.errorOutput().toStdString();
    ASSERT_TRUE(dialStatusGone()) << folder.errorOutput().toStdString();
    EXPECT_EQ(records().value(1), (QStringList{kAdminId, QStringLiteral("Office")}));
    endProgram();
}

} // namespace
} // namespace xr::test
