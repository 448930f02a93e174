// The real program: one copy at a time, its database, and the ways it stops.
#include "ProgramFolder.h"

#include <gtest/gtest.h>

namespace xr::test {
namespace {

TEST(Spine, SecondCopyIsRefusedAndTheFirstRunsOn)
{
    ProgramFolder folder;
    ASSERT_TRUE(folder.start());
    QString said;
    EXPECT_EQ(folder.runAnotherCopy(&said), 0);
    EXPECT_TRUE(said.contains(QStringLiteral(
        "prompt: information: 已经有一个[Xarvane]在运行！\\r\\r             Pellory Xarvane")))
        << said.toStdString();
    EXPECT_EQ(folder.program().state(), QProcess::Running);
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
}

TEST(Spine, MissingDatabaseIsReportedAndEndsTheProgram)
{
    ProgramFolder folder(false);
    QString said;
    EXPECT_EQ(folder.runAnotherCopy(&said), 1);
    EXPECT_TRUE(said.contains(QStringLiteral("prompt: error: 无法连接数据库！请与系统管理员联系！")))
        << said.toStdString();
    EXPECT_FALSE(QFile::exists(folder.path(QStringLiteral("XRDB.mdb")))) << "the program never creates it";
}

TEST(Spine, TerminationEndsCleanlyAndAKilledCopyDoesNotBlockTheNext)
{
    ProgramFolder folder;
    ASSERT_TRUE(folder.start());
    folder.terminate();
    ASSERT_TRUE(folder.waitForExit());
    EXPECT_EQ(folder.program().exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(folder.program().exitCode(), 0);

    ASSERT_TRUE(folder.start());
    folder.kill();
    ASSERT_TRUE(folder.start()) << folder.errorOutput().toStdString();
    EXPECT_TRUE(folder.unexpectedPrompts().isEmpty()) << folder.errorOutput().toStdString();
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
}

} // namespace
} // namespace xr::test
