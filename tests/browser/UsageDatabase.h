#pragma once
// A usage database in a temporary folder, with the installed schema, for the browser's tests.

#include <QDateTime>
#include <QSqlDatabase>
#include <QString>
#include <QTemporaryDir>

#include <ostream>

// Readable date-times in failure messages.
inline void PrintTo(const QDateTime& moment, std::ostream* os)
{
    *os << moment.toString(Qt::ISODateWithMs).toStdString();
}

namespace xr::test {

class UsageDatabase {
public:
    UsageDatabase();
    ~UsageDatabase();
    UsageDatabase(const UsageDatabase&) = delete;
    UsageDatabase& operator=(const UsageDatabase&) = delete;

    QSqlDatabase& db() { return m_db; }
    void addUser(const QString& id, const QString& name);
    void addRecord(const QDateTime& start, const QDateTime& end, const QString& userId,
                   const QString& connName);

private:
    QTemporaryDir m_dir;
    QString m_connectionName;
    QSqlDatabase m_db;
};

} // namespace xr::test
