#pragma once
// The system's word that the desktop session or the program is ending, as a Qt signal delivered
// on the event loop. Each platform's build derives the source it has (signals on Linux, the
// session-ending messages on Windows); this base alone never fires by itself.

#include <QObject>

namespace xr::platform {

class SessionEndSignals : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

signals:
    void sessionEnding();
};

} // namespace xr::platform
