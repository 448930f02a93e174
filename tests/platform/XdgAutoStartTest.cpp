#include "platform/XdgAutoStart.h"

#include "platform/DesktopEntry.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace xr::platform;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray entryExecuting(const QByteArray& exec)
{
    return "[Desktop Entry]\nType=Application\nName=Xarvane\nExec=" + exec + "\nTerminal=false\n";
}

TEST(XdgAutoStart, WritesAnEntryStartingTheProgramFileOfTheFolder)
{
    QTemporaryDir dir;
    XdgAutoStart autoStart(dir.filePath(QStringLiteral("config/autostart")));
    EXPECT_EQ(autoStart.filePath(), dir.filePath(QStringLiteral("config/autostart/xarvane.desktop")));

    ASSERT_TRUE(autoStart.write("/opt/my apps/"));
    EXPECT_EQ(fileBytes(autoStart.filePath()), entryExecuting("\"/opt/my apps/xarvane\""));

    ASSERT_TRUE(autoStart.write("/opt/xr"));
    EXPECT_EQ(fileBytes(autoStart.filePath()), entryExecuting("\"/opt/xr/xarvane\""));

    // Characters special to the Exec line are escaped.
    ASSERT_TRUE(autoStart.write("/opt/a$b%c\\d/"));
    EXPECT_EQ(fileBytes(autoStart.filePath()), entryExecuting("\"/opt/a\\\\$b%%c\\\\\\\\d/xarvane\""));
    // and read back as the program file itself.
    EXPECT_EQ(readDesktopEntry(autoStart.filePath()).command,
              QStringList{QStringLiteral("/opt/a$b%c\\d/xarvane")});
}

TEST(XdgAutoStart, RemovesTheEntry)
{
    QTemporaryDir dir;
    XdgAutoStart autoStart(dir.path());
    ASSERT_TRUE(autoStart.write("/opt/xr/"));
    EXPECT_TRUE(autoStart.remove());
    EXPECT_FALSE(QFile::exists(autoStart.filePath()));
    EXPECT_TRUE(autoStart.remove());
}

TEST(XdgAutoStart, FailsWhereNoFolderCanBeMade)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("plain-file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    XdgAutoStart autoStart(dir.filePath(QStringLiteral("plain-file/autostart")));
    EXPECT_FALSE(autoStart.write("/opt/xr/"));
}

} // namespace
