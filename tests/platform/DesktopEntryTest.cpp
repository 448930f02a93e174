// What a desktop entry file says to run: the Exec line's quoting, escapes and field codes.
#include "platform/DesktopEntry.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace xr::platform {
namespace {

QStringList args(const char* exec)
{
    return execArguments(QString::fromUtf8(exec), QStringLiteral("邮件"), QStringLiteral("mail"),
                         QStringLiteral("/a/b.desktop"));
}

TEST(DesktopEntry, ExecSplitsQuotesAndExpandsFieldCodesWithoutFiles)
{
    EXPECT_EQ(args("firefox %u"), QStringList{QStringLiteral("firefox")});
    EXPECT_EQ(args("\"/opt/my app/run\"  --x=%% %F"),
              (QStringList{QStringLiteral("/opt/my app/run"), QStringLiteral("--x=%")}));
    EXPECT_EQ(args("sh -c \"echo \\$HOME \\\"q\\\"\""),
              (QStringList{QStringLiteral("sh"), QStringLiteral("-c"), QStringLiteral("echo $HOME \"q\"")}));
    EXPECT_EQ(args("app %c %k %i \"\""),
              (QStringList{QStringLiteral("app"), QStringLiteral("邮件"), QStringLiteral("/a/b.desktop"),
                           QStringLiteral("--icon"), QStringLiteral("mail"), QString()}));
    EXPECT_TRUE(args("app \"unterminated").isEmpty());
    // Quoting is undone before the field codes: a quoted %% is one percent sign, as the
    // program's own autostart entry writes a path holding one.
    EXPECT_EQ(args("\"/opt/100%% sure/run\" \"--rate=%%5\" \"a\\\\%%\""),
              (QStringList{QStringLiteral("/opt/100% sure/run"), QStringLiteral("--rate=%5"),
                           QStringLiteral("a\\%")}));
}

TEST(DesktopEntry, ReadsTheEntryGroupOnly)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("x.desktop"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly));
    out.write("# comment\n[Desktop Entry]\nType=Application\nName=X\nName[zh_CN]=甲\n"
              "Exec=run\\sthis %f\nPath=/tmp\nTerminal=true\n[Desktop Action new]\nExec=other\n");
    out.close();
    const DesktopLaunch launch = readDesktopEntry(file);
    EXPECT_EQ(launch.command, (QStringList{QStringLiteral("run"), QStringLiteral("this")}));
    EXPECT_EQ(launch.workingFolder, QStringLiteral("/tmp"));
    EXPECT_TRUE(launch.inTerminal);

    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write("[Desktop Entry]\nType=Link\nURL=https://example.org/\n");
    out.close();
    EXPECT_EQ(readDesktopEntry(file).url, QStringLiteral("https://example.org/"));
    EXPECT_TRUE(readDesktopEntry(dir.filePath(QStringLiteral("missing.desktop"))).command.isEmpty());
}

} // namespace
} // namespace xr::platform
