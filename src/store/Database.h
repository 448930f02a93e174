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

    // Opens an existing database file of ours, converting one of an older schema version to the
    // present one; false when it is missing, not such a database, newer than this program or
    // cannot be converted.
    bool open(const QString& fileName);
    // Why the last open failed, in the user's words; empty when it succeeded or when the file is
    // missing or no database of ours.
    QString openError() const { return m_openError; }
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
    bool upgradeSchema();

    QString m_connectionName;
    QString m_openError;
};

// The message for a database that did not open, with the reason when there is one.
QString cannotOpenText(const Database& database);

} // namespace xr
