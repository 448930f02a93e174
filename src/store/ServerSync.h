#pragma once
// The work of the thread that keeps the shared server up to date with this PC: every two seconds
// it copies the records still to be copied, every half minute (and as soon as the server is back)
// it refreshes the cached accounts, and after each attempt it tells the server link what became
// of it. Made, used and destroyed on that thread, with connections of its own.

#include "store/Database.h"
#include "store/ServerDatabase.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

namespace xr {

class DatabaseError;
class ServerLink;

// What the thread works on: the local database file, the server and this PC's station name.
struct ServerSyncSetup {
    QString localFile;
    QString conninfo;
    QString station;
};

class ServerSync : public QObject {
    Q_OBJECT
public:
    static constexpr int kTickMs = 2000;
    static constexpr int kAccountsMs = 30000;

    // `link` lives on the user-interface thread; it is told through queued calls.
    ServerSync(ServerLink& link, ServerSyncSetup setup);

    // Opens the local database and starts the ticks; the first comes at once.
    void begin();
    // The program ends: while the server answers, one last batch takes the end times written at
    // the exit to it (what is left goes at the next start).
    void finish();

private:
    void tick();
    bool reachServer();
    void synchronise();
    void failed(const DatabaseError& error);
    bool serverStillAnswers();
    void tellAnswered();
    void tellAway(const QString& problem);

    ServerLink& m_link;
    ServerSyncSetup m_setup;
    Database m_local;
    ServerDatabase m_server;
    QTimer m_ticks;
    QElapsedTimer m_sinceAccounts; // invalid: the accounts are to be refreshed at the next answer
};

} // namespace xr
