#include "store/ReadOnlyDatabase.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <atomic>

namespace xr {

namespace {
std::atomic<int> g_connections{0};

const QString kLogSuffix = QStringLiteral("-wal");

// The database header's read and write versions are 2 in write-ahead-log mode.
bool inWriteAheadLogMode(const QString& fileName)
{
    constexpr int kVersionOffset = 18;
    constexpr char kWalVersion = 2;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray header = file.read(kVersionOffset + 2);
    return header.startsWith("SQLite format 3") && header.size() == kVersionOffset + 2 &&
           header[kVersionOffset] == kWalVersion && header[kVersionOffset + 1] == kWalVersion;
}
} // namespace

ReadOnlyDatabase::ReadOnlyDatabase(const QString& fileName)
    : m_connectionName(QStringLiteral("readOnly%1").arg(++g_connections))
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    if (!QFileInfo(fileName).isFile())
        return;
    const QString readFrom = inWriteAheadLogMode(fileName) ? privateCopy(fileName) : fileName;
    if (readFrom.isEmpty())
        return; // an empty name would open a new database in memory
    db.setDatabaseName(readFrom);
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY;QSQLITE_BUSY_TIMEOUT=5000"));
    db.open();
}

ReadOnlyDatabase::~ReadOnlyDatabase()
{
    {
        QSqlDatabase db = connection();
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
}

// The file and its log, whose committed changes belong to the database, go to a folder of our
// own that goes away with this object. Empty when the copy cannot be made.
QString ReadOnlyDatabase::privateCopy(const QString& fileName)
{
    m_copyFolder = std::make_unique<QTemporaryDir>();
    const QString copy = QDir(m_copyFolder->path()).filePath(QFileInfo(fileName).fileName());
    if (!m_copyFolder->isValid() || !QFile::copy(fileName, copy))
        return {};
    if (QFile::exists(fileName + kLogSuffix) && !QFile::copy(fileName + kLogSuffix, copy + kLogSuffix))
        return {};
    return copy;
}

bool ReadOnlyDatabase::isOpen() const
{
    return connection().isOpen();
}

QSqlDatabase ReadOnlyDatabase::connection() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

} // namespace xr
