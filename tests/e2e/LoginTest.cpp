// The real program on a virtual X display: a connection that comes up while nobody is signed
// in opens the sign-in dialog, and signing in there gives the open row to the user.
#include "ProgramFolder.h"
#include "VirtualDisplay.h"

#include <gtest/gtest.h>

#include <QStandardPaths>

namespace xr::test {
namespace {

const QString kAdminId = QStringLiteral("000000000000000001");
const QString kAnonymousId = QStringLiteral("000000000000000002");

class LoginEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs it)";
        ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
        ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("Office")}), 0);
        folder.setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        folder.setEnvironment(QStringLiteral("DISPLAY"), display.name());
    }

    QList<QStringList> records()
    {
        return folder.rows(QStringLiteral("select UserId, ConnName from XRRecord order by Sdt"));
    }

    VirtualDisplay display;
    ProgramFolder folder;
};

TEST_F(LoginEndToEnd, ConnectionWithNobodySignedInOpensTheDialogAndTheSignInTakesTheRow)
{
    ASSERT_TRUE(folder.start());
    ASSERT_TRUE(display.visibleWindow(QStringLiteral("登录XR")).isEmpty()) << "no dialog before a connection";
    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);

    QString window;
    ASSERT_TRUE(ProgramFolder::waitUntil([&] {
        return !(window = display.visibleWindow(QStringLiteral("登录XR"))).isEmpty();
    })) << folder.errorOutput().toStdString();
    ASSERT_EQ(records(), (QList<QStringList>{{kAnonymousId, QStringLiteral("Office")}}));

    display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), window});
    display.xdotool(
        {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("admin")});
    display.xdotool({QStringLiteral("key"), QStringLiteral("Return")}); // to the password, left empty
    display.xdotool({QStringLiteral("key"), QStringLiteral("Return")}); // signs in

    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return records().value(0).value(0) == kAdminId; }))
        << folder.errorOutput().toStdString();
    EXPECT_EQ(records(), (QList<QStringList>{{kAdminId, QStringLiteral("Office")}}));
    EXPECT_TRUE(
        ProgramFolder::waitUntil([&] { return display.visibleWindow(QStringLiteral("登录XR")).isEmpty(); }));
    EXPECT_FALSE(folder.errorOutput().contains(QStringLiteral("prompt:")))
        << folder.errorOutput().toStdString();

    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
}

} // namespace
} // namespace xr::test
