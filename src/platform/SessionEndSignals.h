#pragma once
// Turns the signals that end a desktop session or the program on Linux (SIGTERM, SIGHUP,
// SIGINT) into a Qt signal delivered on the event loop, the counterpart of the session-ending
// messages on Windows.

#include <QObject>

class QSocketNotifier;

namespace xr::platform {

class SessionEndSignals : public QObject {
    Q_OBJECT
public:
    explicit SessionEndSignals(QObject* parent = nullptr);
    ~SessionEndSignals() override;

signals:
    void sessionEnding();

private:
    void drain();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace xr::platform
