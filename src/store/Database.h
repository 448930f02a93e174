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
    // Opens the same file again; a connection that fell back to read-only because the file was
    // write-protected becomes read-write once the file is writable.
    bool reopen();
    bool isOpen() const;
    QString fileName() const;
    QSqlDatabase connection() const;

private:
    void applyDurabilitySettings();
    bool hasOurSchema();

    QString m_connectionName;
};

} // namespace xr
