#include "app/SharedServer.h"

#include "browser/BackupRestore.h"
#include "common/AppContext.h"

namespace xr {

SharedServer::SharedServer(AppContext& context, BackupRestore& backupRestore) : m_context(context)
{
    connect(&m_context.server, &ServerLink::problemFound, this, &SharedServer::tell);
    // The restore replaces the file under the copy's own connection: it lets go, and goes on
    // with the restored file (its rows are still to be copied or copied as that file says).
    connect(&backupRestore, &BackupRestore::databaseClosing, this, [this] {
        if (m_sync)
            m_sync->stop();
    });
    connect(&backupRestore, &BackupRestore::databaseReopened, this, [this] {
        if (m_sync)
            m_sync->start();
    });
}

SharedServer::~SharedServer() = default;

void SharedServer::start(const QString& localFile)
{
    if (!m_context.server.isSet())
        return;
    m_sync = std::make_unique<ServerSyncThread>(
        m_context.server,
        ServerSyncSetup{localFile, m_context.server.conninfo(), stationName(m_context.settings)});
    m_sync->start();
}

void SharedServer::stop()
{
    m_sync.reset();
}

void SharedServer::tell(const QString& problem)
{
    if (m_told)
        return;
    m_told = true; // before the box: its own event loop may bring the next report
    m_context.prompter.warn(QStringLiteral("服务器不可用，上网记录暂时只保存在本机。\r\r") + problem);
}

} // namespace xr
