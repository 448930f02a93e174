#include "store/ServerSync.h"

#include "common/ServerLink.h"
#include "store/AccountCache.h"
#include "store/DatabaseError.h"
#include "store/RecordCopy.h"

#include <QSqlQuery>
#include <QThread>

#include <utility>

namespace xr {

namespace {

QString connectionName(const char* kind, const void* owner)
{
    return QStringLiteral("serverSync-%1-%2").arg(QLatin1String(kind)).arg(quintptr(owner), 0, 16);
}

} // namespace

ServerSync::ServerSync(ServerLink& link, ServerSyncSetup setup)
    : m_link(link), m_setup(std::move(setup)), m_local(connectionName("local", this)),
      m_server(connectionName("server", this))
{
    m_ticks.setInterval(kTickMs);
    connect(&m_ticks, &QTimer::timeout, this, &ServerSync::tick);
}

void ServerSync::begin()
{
    m_ticks.start();
    tick();
}

void ServerSync::finish()
{
    if (!m_local.isOpen() || !m_server.isOpen())
        return;
    bool batchSent = false;
    try {
        RecordCopy(m_local.connection(), m_server.connection(), m_setup.station).copyPending([&batchSent] {
            return std::exchange(batchSent, true);
        });
    } catch (const DatabaseError&) {
        // still to be copied: the next start sends it
    }
}

void ServerSync::tick()
{
    if (!m_local.isOpen() && !m_local.open(m_setup.localFile))
        return; // the recorder's own connection tells what is wrong with the file; tried again
    if (!reachServer())
        return;
    try {
        synchronise();
    } catch (const DatabaseError& error) {
        failed(error);
    }
}

// While the server is away each tick tries it once; connect_timeout keeps the try short.
bool ServerSync::reachServer()
{
    if (m_server.isOpen())
        return true;
    if (m_server.open(m_setup.conninfo) != ServerAnswer::Answered) {
        tellAway(m_server.problem());
        return false;
    }
    m_sinceAccounts.invalidate(); // back: whatever changed meanwhile is fetched at once
    return true;
}

void ServerSync::synchronise()
{
    bool attempted = false;
    if (!m_sinceAccounts.isValid() || m_sinceAccounts.hasExpired(kAccountsMs)) {
        cacheServerAccounts(m_server.connection(), m_local.connection());
        m_sinceAccounts.start();
        attempted = true;
    }
    RecordCopy copy(m_local.connection(), m_server.connection(), m_setup.station);
    if (copy.pending()) {
        copy.copyPending([] { return QThread::currentThread()->isInterruptionRequested(); });
        attempted = true;
    }
    if (attempted)
        tellAnswered();
}

// A server that no longer answers is opened afresh at the next tick; one that answers but
// refused the work keeps its connection, and the work is tried again then.
void ServerSync::failed(const DatabaseError& error)
{
    const QString detail = QString::fromUtf8(error.what());
    if (serverStillAnswers()) {
        tellAway(QStringLiteral("上网记录或用户未能与服务器同步。\r\r") + detail);
        return;
    }
    m_server.close();
    tellAway(serverProblemText(ServerAnswer::Unreachable, detail));
}

bool ServerSync::serverStillAnswers()
{
    QSqlQuery probe(m_server.connection());
    return probe.exec(QStringLiteral("select 1"));
}

void ServerSync::tellAnswered()
{
    ServerLink* link = &m_link;
    QMetaObject::invokeMethod(
        link, [link] { link->reportAnswered(); }, Qt::QueuedConnection);
}

void ServerSync::tellAway(const QString& problem)
{
    ServerLink* link = &m_link;
    QMetaObject::invokeMethod(
        link, [link, problem] { link->reportAway(problem); }, Qt::QueuedConnection);
}

} // namespace xr
