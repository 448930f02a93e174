#pragma once
// Runs the server synchronisation (ServerSync) on a thread of its own, so that neither the
// recorder nor the windows ever wait for the network. Stopping joins the thread: a copy in flight
// ends after its batch, and a server transaction cut short rolls back on the server.

#include "store/ServerSync.h"

#include <QThread>

#include <memory>

namespace xr {

class ServerSyncThread {
public:
    ServerSyncThread(ServerLink& link, ServerSyncSetup setup);
    ~ServerSyncThread();
    ServerSyncThread(const ServerSyncThread&) = delete;
    ServerSyncThread& operator=(const ServerSyncThread&) = delete;

    // Starts the thread unless it runs.
    void start();
    void stop();
    bool isRunning() const;

private:
    ServerLink& m_link;
    ServerSyncSetup m_setup;
    std::unique_ptr<QThread> m_thread;
};

} // namespace xr
