#pragma once
// A database file opened for reading only, through a Qt connection of its own that closes and
// goes away with this object. Nothing is created beside the file: not when it does not exist,
// and not for a file in write-ahead-log mode, which is read from a private copy since SQLite
// would leave its -wal and -shm files in the file's folder.

#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

#include <memory>

namespace xr {

class ReadOnlyDatabase {
public:
    explicit ReadOnlyDatabase(const QString& fileName);
    ~ReadOnlyDatabase();
    ReadOnlyDatabase(const ReadOnlyDatabase&) = delete;
    ReadOnlyDatabase& operator=(const ReadOnlyDatabase&) = delete;

    bool isOpen() const;
    QSqlDatabase connection() const;

private:
    QString privateCopy(const QString& fileName);

    QString m_connectionName;
    std::unique_ptr<QTemporaryDir> m_copyFolder;
};

} // namespace xr
