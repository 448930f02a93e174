#pragma once
// A connection to the shared server of several PCs: a PostgreSQL database named by a libpq
// connection text (`host=… port=… dbname=… user=…`). The password comes from libpq's password
// file, never from the settings. Each thread opens its own.

#include <QSqlDatabase>
#include <QString>

namespace xr {

// What became of an attempt to reach the server.
enum class ServerAnswer {
    Answered,       // open, and its tables are ours at a version this program knows
    Unreachable,    // no server answered at that address (or it did not answer in time)
    Refused,        // the server refused the user name or password
    NoDatabase,     // the server has no database of that name
    NotOurs,        // the database holds no tables of ours
    Newer,          // its tables are of a newer version than this program knows
    BadSetting,     // the connection text itself is wrong
};

class ServerDatabase {
public:
    // `connectionName` must be unique among the thread's Qt connections.
    explicit ServerDatabase(QString connectionName);
    ~ServerDatabase();
    ServerDatabase(const ServerDatabase&) = delete;
    ServerDatabase& operator=(const ServerDatabase&) = delete;

    // Opens the server named by `conninfo` and checks that its tables are ours; an open
    // connection is closed first. A server that does not answer is given up after a few seconds.
    ServerAnswer open(const QString& conninfo);
    // Why the last open failed, in the user's words; empty after success.
    QString problem() const { return m_problem; }
    void close();
    bool isOpen() const;
    QSqlDatabase connection() const;

private:
    ServerAnswer fail(ServerAnswer answer, const QString& detail);

    QString m_connectionName;
    QString m_problem;
};

// The connection text as handed to libpq: a connect_timeout added when it has none, so that an
// address that drops every packet is given up after a few seconds.
QString serverConnectOptions(const QString& conninfo);

// The user's words for an answer other than Answered, with the server's own text when it gave one.
QString serverProblemText(ServerAnswer answer, const QString& detail);

} // namespace xr
