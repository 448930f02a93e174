#include "store/DatabaseCopy.h"

#include "store/DatabaseError.h"
#include "store/ReadOnlyDatabase.h"
#include "store/SqliteHandle.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

#include <filesystem>

#include <fcntl.h>
#include <unistd.h>

namespace xr {

namespace {

constexpr int kBusyRetryMs = 20;
constexpr int kBusyRetries = 250; // five seconds while another connection holds the lock

bool sameFile(const QString& first, const QString& second)
{
    const QString canonical = QFileInfo(first).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(second).canonicalFilePath();
}

// All pages in one step, so the copy is of one moment; a lock held by another connection is
// waited for.
bool copyPages(sqlite3* source, sqlite3* target)
{
    sqlite3_backup* backup = sqlite3_backup_init(target, "main", source, "main");
    if (!backup)
        return false;
    int result = sqlite3_backup_step(backup, -1);
    for (int retry = 0; (result == SQLITE_BUSY || result == SQLITE_LOCKED) && retry < kBusyRetries; ++retry) {
        sqlite3_sleep(kBusyRetryMs);
        result = sqlite3_backup_step(backup, -1);
    }
    const bool finished = sqlite3_backup_finish(backup) == SQLITE_OK;
    return result == SQLITE_DONE && finished;
}

// SQLite would make a new file 0644 less the umask; an empty file made first keeps the mode
// every file of the program gets (0666 less the umask: group-writable in a shared folder), so
// that a restored database stays writable for every person who records into it.
bool createEmptyFile(const QByteArray& name)
{
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    return fd >= 0 && ::close(fd) == 0;
}

bool writeCopy(sqlite3* source, const QString& file)
{
    sqlite3* target = nullptr;
    const QByteArray name = QFile::encodeName(file);
    if (!createEmptyFile(name))
        return false;
    bool written = sqlite3_open_v2(name.constData(), &target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
                                   nullptr) == SQLITE_OK;
    written = written && copyPages(source, target);
    return sqlite3_close(target) == SQLITE_OK && written;
}

// The copy goes to a file beside the target first and then takes the target's place in one
// step: the target is either the old file or the whole copy.
bool backupTo(sqlite3* source, const QString& target)
{
    const QString part = target + QStringLiteral(".part");
    QFile::remove(part);
    if (!writeCopy(source, part)) {
        QFile::remove(part);
        return false;
    }
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(part).toStdString(), QFile::encodeName(target).toStdString(),
                            error);
    if (error)
        QFile::remove(part);
    return !error;
}

} // namespace

bool backupDatabase(const QSqlDatabase& source, const QString& target)
{
    if (sameFile(source.databaseName(), target))
        return false;
    try {
        return backupTo(sqliteHandle(source), target);
    } catch (const DatabaseError&) {
        return false;
    }
}

bool copyDatabaseFile(const QString& source, const QString& target)
{
    if (sameFile(source, target))
        return false;
    const ReadOnlyDatabase database(source);
    return database.isOpen() && backupDatabase(database.connection(), target);
}

} // namespace xr
