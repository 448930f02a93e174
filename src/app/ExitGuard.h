#pragma once
// However the program ends, the open usage record gets its end time first: on the signals that
// end a session (SIGTERM, SIGHUP, SIGINT) and the session manager's request, when the event
// loop ends (the exit command, QCoreApplication::quit, a normal return from main), and when the
// process exits from anywhere else (Qt ends it when the X connection breaks). None of these
// writes needs the display.

#include "platform/SessionEndSignals.h"

#include <QObject>
#include <QPointer>

#include <memory>

namespace xr {

class XarvaneSession;

class ExitGuard : public QObject {
    Q_OBJECT
public:
    // Takes over the platform's session-ending signals at once: create it before the first
    // window, so that a signal during a start-up message box ends the program too. One at a time.
    explicit ExitGuard(std::unique_ptr<platform::SessionEndSignals> sessionEnd);
    ~ExitGuard() override;
    ExitGuard(const ExitGuard&) = delete;
    ExitGuard& operator=(const ExitGuard&) = delete;

    // The session whose open record is guarded, from when it exists.
    void guard(XarvaneSession& session);
    // Runs the event loop; when it ends, the end time is written.
    int exec();

private:
    void sessionEnding();
    static void atExit();

    std::unique_ptr<platform::SessionEndSignals> m_sessionEnd;
    QPointer<XarvaneSession> m_session;
    bool m_looping = false;
};

} // namespace xr
