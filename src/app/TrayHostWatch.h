#pragma once
// Keeps the program within reach when the desktop has no notification area: while none is
// there, a stand-in for the icon is shown (the no-tray handle), and the first time, a message
// says so. When a notification area appears the stand-in goes, and the icon shows there.

#include <QObject>
#include <QTimer>

#include <functional>
#include <memory>

class QMenu;

namespace xr {

class NoTrayHandle;
class Prompter;

class TrayHostWatch : public QObject {
    Q_OBJECT
public:
    using Availability = std::function<bool()>;

    // Looks at once, then every few seconds. `trayAvailable` answers whether the desktop has a
    // notification area now.
    TrayHostWatch(QMenu& pmTray, std::function<void()> openManager, Prompter& prompter,
                  Availability trayAvailable);
    ~TrayHostWatch() override;

    // The stand-in, while it exists.
    NoTrayHandle* handle() const { return m_handle.get(); }
    void check();

private:
    QMenu& m_pmTray;
    std::function<void()> m_openManager;
    Prompter& m_prompter;
    Availability m_trayAvailable;
    std::unique_ptr<NoTrayHandle> m_handle;
    QTimer m_timer;
    bool m_told = false;
};

} // namespace xr
