#pragma once
// Keeps the program within reach when the desktop has no notification area: while none is
// there, the floating time display (which carries the tray menu) is kept open as the user's
// handle, and the first time a message says so.

#include <QObject>
#include <QTimer>

#include <functional>

namespace xr {

class Prompter;

class TrayHostWatch : public QObject {
    Q_OBJECT
public:
    using Availability = std::function<bool()>;

    // Looks at once, then every few seconds. `trayAvailable` answers whether the desktop has a
    // notification area now; `keepHandleOpen` opens the handle unless it is open.
    TrayHostWatch(Prompter& prompter, Availability trayAvailable, std::function<void()> keepHandleOpen);

    void check();

private:
    Prompter& m_prompter;
    Availability m_trayAvailable;
    std::function<void()> m_keepHandleOpen;
    QTimer m_timer;
    bool m_told = false;
};

} // namespace xr
