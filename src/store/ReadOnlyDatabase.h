#pragma once
// A database file opened for reading only, through a Qt connection of its own that closes and
// goes away with this object. Nothing is created when the file does not exist.

#include <QSqlDatabase>
#include <QString>

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
    QString m_connectionName;
};

} // namespace xr
