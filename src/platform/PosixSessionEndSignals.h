#pragma once
// The signals that end a desktop session or the program on Linux (SIGTERM, SIGHUP, SIGINT),
// turned into sessionEnding() on the event loop. One at a time.

#include "platform/SessionEndSignals.h"

class QSocketNotifier;

namespace xr::platform {

class PosixSessionEndSignals final : public SessionEndSignals {
    Q_OBJECT
public:
    explicit PosixSessionEndSignals(QObject* parent = nullptr);
    ~PosixSessionEndSignals() override;

private:
    void drain();

    QSocketNotifier* m_notifier = nullptr;
};

} // namespace xr::platform
