#pragma once
// The shared server's part of a run, when the settings name one: the copy of this PC's records
// and the refresh of its cached accounts run from the moment the database is open until the
// program ends (paused while a restore replaces the file), and the first problem in reaching the
// server is told once; recording goes on locally whatever it is.

#include "store/ServerSyncThread.h"

#include <QObject>

#include <memory>

namespace xr {

struct AppContext;
class BackupRestore;

class SharedServer : public QObject {
    Q_OBJECT
public:
    SharedServer(AppContext& context, BackupRestore& backupRestore);
    ~SharedServer() override;

    // The database `localFile` is open: the copy starts, unless no server is set.
    void start(const QString& localFile);
    void stop();

private:
    void tell(const QString& problem);

    AppContext& m_context;
    std::unique_ptr<ServerSyncThread> m_sync;
    bool m_told = false;
};

} // namespace xr
