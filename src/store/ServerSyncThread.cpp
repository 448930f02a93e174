#include "store/ServerSyncThread.h"

#include <QEventLoop>

namespace xr {

ServerSyncThread::ServerSyncThread(ServerLink& link, ServerSyncSetup setup)
    : m_link(link), m_setup(std::move(setup))
{
}

ServerSyncThread::~ServerSyncThread()
{
    stop();
}

void ServerSyncThread::start()
{
    if (isRunning())
        return;
    m_thread.reset(QThread::create([link = &m_link, setup = m_setup] {
        // Made here, so that its connections belong to this thread; the loop ends on quit().
        ServerSync sync(*link, setup);
        QEventLoop loop;
        sync.begin();
        loop.exec();
        sync.finish();
    }));
    m_thread->setObjectName(QStringLiteral("ServerSync"));
    m_thread->start();
}

void ServerSyncThread::stop()
{
    if (!m_thread)
        return;
    m_thread->requestInterruption();
    m_thread->quit();
    m_thread->wait();
    m_thread.reset();
}

bool ServerSyncThread::isRunning() const
{
    return m_thread && m_thread->isRunning();
}

} // namespace xr
