#pragma once
// The tray controller: the program's hidden main window with the notification icon and its
// menu. Its exit command closes it, and the session that holds it runs the orderly stop.

#include "app/TrayMenu.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QWidget>

namespace xr {

struct AppContext;
class AppWindows;
class TRASNotify;

class TwinTray : public QWidget {
    Q_OBJECT
public:
    // `windows` are the other windows as the menu reaches them.
    TwinTray(AppContext& context, const TRASNotify& notify, AppWindows& windows);
    ~TwinTray() override;

    QMenu& pmTray() { return m_pmTray; }
    TrayMenu& trayMenu() { return m_trayMenu; }

    // Once, by the session's start-up.
    void AddTrayIcon();
    void pmiExitClick();
    // The icon's tip names the time left of the person's allowance below "XarvaneXR"; an empty
    // text leaves "XarvaneXR" alone.
    void showTimeLeft(const QString& text);

signals:
    // The window is closing: the end times are to be written and the database closed before
    // the application ends.
    void closing();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void RemoveTrayIcon();
    void WMTrayIcon(QSystemTrayIcon::ActivationReason reason);

    QMenu m_pmTray;
    TrayMenu m_trayMenu;
    QSystemTrayIcon* m_trayIcon = nullptr;
};

} // namespace xr
