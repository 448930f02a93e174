// xarvane-led-preview writes its pictures into the folder it is given, creating it when needed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace {

TEST(LedPreviewToolTest, CreatesAMissingFolderAndFillsItWithPictures)
{
    QTemporaryDir dir;
    const QString folder = dir.filePath(QStringLiteral("not/yet/there"));
    QProcess tool;
    tool.start(QStringLiteral(XARVANE_BIN_DIR "/xarvane-led-preview"), {folder});
    ASSERT_TRUE(tool.waitForFinished());
    EXPECT_EQ(tool.exitCode(), 0) << tool.readAllStandardOutput().toStdString();

    const QImage small(QDir(folder).filePath(QStringLiteral("led-time-small.png")));
    EXPECT_EQ(small.size(), QSize(142, 27));
    const QImage enlarged(QDir(folder).filePath(QStringLiteral("led-font-x4.png")));
    EXPECT_FALSE(enlarged.isNull());

    // A folder that cannot be made is a failure, said as such.
    const QString blocked = dir.filePath(QStringLiteral("file"));
    QFile(blocked).open(QIODevice::WriteOnly);
    tool.start(QStringLiteral(XARVANE_BIN_DIR "/xarvane-led-preview"), {blocked + QStringLiteral("/sub")});
    ASSERT_TRUE(tool.waitForFinished());
    EXPECT_EQ(tool.exitCode(), 1);
}

} // namespace
