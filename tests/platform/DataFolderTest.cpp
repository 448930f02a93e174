// Where the data lives: a portable folder, a chosen folder, the installed one; files that the
// next person on the PC can write; a clear refusal for a person outside the folder's group.
#include "platform/DataFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdlib>
#include <optional>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace xr::platform;

namespace {

class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (const char* value = std::getenv("XARVANE_DATA"))
            m_saved = value;
        ::unsetenv("XARVANE_DATA");
    }
    void TearDown() override
    {
        if (m_saved)
            ::setenv("XARVANE_DATA", m_saved->c_str(), 1);
        else
            ::unsetenv("XARVANE_DATA");
    }

    QString programFolder() const { return m_program.path(); }

    QTemporaryDir m_program;

private:
    std::optional<std::string> m_saved;
};

TEST_F(DataFolderTest, PortableFolderWinsThenTheChosenFolderThenTheInstalledOne)
{
    EXPECT_EQ(dataFolder(programFolder()), QStringLiteral("/var/lib/xarvane/"));

    ::setenv("XARVANE_DATA", "/srv/xr", 1);
    EXPECT_EQ(dataFolder(programFolder()), QStringLiteral("/srv/xr/"));

    QFile database(QDir(programFolder()).filePath(QStringLiteral("XRDB.mdb")));
    ASSERT_TRUE(database.open(QIODevice::WriteOnly));
    database.close();
    EXPECT_EQ(dataFolder(programFolder()), programFolder() + QLatin1Char('/'));
}

// Runs `check` in a child process and gives back its exit status; umask and user changes stay there.
template <typename Check>
int inChild(Check check)
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(check());
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 255;
}

TEST_F(DataFolderTest, FilesMadeInASetgidFolderAreGroupWritable)
{
    const QByteArray shared = QFile::encodeName(programFolder());
    ASSERT_EQ(::chmod(shared.constData(), 02770), 0);
    const QByteArray created = QFile::encodeName(QDir(programFolder()).filePath(QStringLiteral("settings")));
    const int status = inChild([&] {
        ::umask(022);
        shareNewFilesWithFolderGroup(programFolder());
        QFile file(QString::fromLocal8Bit(created));
        return file.open(QIODevice::WriteOnly) ? 0 : 1;
    });
    ASSERT_EQ(status, 0);
    struct stat info {};
    ASSERT_EQ(::stat(created.constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 0070, 0060u) << std::oct << info.st_mode;
    // A folder without the setgid bit is a person's own: the umask stays as it was.
    ASSERT_EQ(::chmod(shared.constData(), 0755), 0);
    EXPECT_EQ(inChild([&] {
                  ::umask(022);
                  shareNewFilesWithFolderGroup(programFolder());
                  return static_cast<int>(::umask(022));
              }),
              022);
}

TEST_F(DataFolderTest, APersonOutsideTheGroupIsToldTheFolderAndWhatToDo)
{
    EXPECT_EQ(dataFolderRefusal(programFolder()), std::nullopt);
    EXPECT_EQ(dataFolderRefusal(programFolder() + QStringLiteral("/missing")), std::nullopt);

    const QByteArray shared = QFile::encodeName(programFolder());
    ASSERT_EQ(::chmod(shared.constData(), 02770), 0);
    // Root may use any folder: the check runs as nobody, as a person outside the group would.
    const int status = inChild([&] {
        if (::getuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            return 2;
        if (::getuid() != 0)
            ::chmod(shared.constData(), 0);
        const std::optional<QString> refusal = dataFolderRefusal(programFolder());
        const bool names = refusal && refusal->contains(programFolder()) && refusal->contains(QStringLiteral("重新登录")) &&
                           refusal->contains(QStringLiteral("adduser"));
        return names ? 0 : 1;
    });
    ::chmod(shared.constData(), 0700);
    EXPECT_EQ(status, 0);
}

} // namespace
