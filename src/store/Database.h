#pragma once
// The program's one database connection, to the SQLite file XRDB.mdb in the program folder.
// The program never creates that file: the installation step does.

#include <QSqlDatabase>
#include <QString>

namespace xr {

inline const QString kDatabaseFileName = QStringLiteral("XRDB.mdb");

class Database {
public:
    explicit Database(QString connectionName = QStringLiteral("adoConnMain"));
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens an existing database file of ours; false when it is missing or not such a database.
    bool open(const QString& fileName);
    void close();
    bool isOpen() const;
    QSqlDatabase connection() const;

private:
    void applyDurabilitySettings();
    bool hasOurSchema();

    QString m_connectionName;
};

} // namespace xr
