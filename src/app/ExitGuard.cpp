#include "app/ExitGuard.h"

#include "app/XarvaneSession.h"

#include <QApplication>

#include <cstdlib>

namespace xr {

namespace {
ExitGuard* g_active = nullptr;
}

ExitGuard::ExitGuard(std::unique_ptr<platform::SessionEndSignals> sessionEnd)
    : m_sessionEnd(std::move(sessionEnd))
{
    g_active = this;
    connect(m_sessionEnd.get(), &platform::SessionEndSignals::sessionEnding, this, &ExitGuard::sessionEnding);
    connect(qApp, &QGuiApplication::commitDataRequest, this, [this] {
        if (m_session)
            m_session->queryEndSession();
    });
}

ExitGuard::~ExitGuard()
{
    g_active = nullptr;
}

// The exit hook is registered only now: the process runs the hooks in the reverse order of
// their registration, so this one runs while what the database access set up still stands.
void ExitGuard::guard(XarvaneSession& session)
{
    static const bool registered = std::atexit(&ExitGuard::atExit) == 0;
    Q_UNUSED(registered);
    m_session = &session;
}

int ExitGuard::exec()
{
    m_looping = true;
    const int result = QApplication::exec();
    m_looping = false;
    if (m_session)
        m_session->writeEndTimeOnExit();
    return result;
}

// The session's query and its end, as the system sends them; then the program ends. Before
// the event loop runs (a start-up message box is open) there is no loop to leave, so the
// process ends at once: nothing is left to do that needs it.
void ExitGuard::sessionEnding()
{
    if (m_session) {
        m_session->queryEndSession();
        m_session->WMEndSession();
        m_session = nullptr;
    }
    if (!m_looping)
        std::_Exit(0);
    QCoreApplication::quit();
}

// The process exits while the event loop runs: only the database is touched.
void ExitGuard::atExit()
{
    if (g_active && g_active->m_session)
        g_active->m_session->writeEndTimeOnExit();
}

} // namespace xr
