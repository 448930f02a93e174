#pragma once
// A PostgreSQL server of the test's own: Debian's initdb and pg_ctl into a temporary folder, run
// as an ordinary user (nobody, when the tests run as root), listening on a free port of the
// loopback address. It has an empty database "xarvane", the superuser "postgres" without a
// password and the role "station" with the password "station-pw", which must give it.

#include <QString>
#include <QTemporaryDir>

namespace xr::test {

class PgServer {
public:
    // Starts the server; available() says whether it did, whyUnavailable() why not.
    PgServer();
    ~PgServer();
    PgServer(const PgServer&) = delete;
    PgServer& operator=(const PgServer&) = delete;

    bool available() const { return m_running; }
    QString whyUnavailable() const { return m_why; }
    int port() const { return m_port; }

    // The connection text of the database `dbname` for `user`.
    QString conninfo(const QString& dbname = QStringLiteral("xarvane"),
                     const QString& user = QStringLiteral("postgres")) const;
    // A libpq password file that holds the password of the role "station", for PGPASSFILE.
    QString passwordFile() const;

    // Stops the server at once (as a crash or a power cut would) / starts it again on the same port.
    void stop();
    bool start();
    // Runs one statement as the superuser; false on failure.
    bool run(const QString& statement, const QString& dbname = QStringLiteral("xarvane")) const;
    bool createDatabase(const QString& dbname) const;
    // A new database `dbname` with the server tables of several PCs, as the set-up makes them.
    bool createXarvaneDatabase(const QString& dbname, const QString& adminPassword = QString()) const;

private:
    bool prepare();
    bool runTool(const QString& tool, const QStringList& arguments, QString* output = nullptr);

    QTemporaryDir m_dir;
    QString m_binDir;
    int m_port = 0;
    bool m_running = false;
    QString m_why;
};

} // namespace xr::test
