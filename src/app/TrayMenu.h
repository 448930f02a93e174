#pragma once
// The notification icon's menu: its items in order, their availability each time it opens,
// and the commands that sign in, sign out, hang up and open the usage browser.

#include <QObject>
#include <QString>

class QAction;
class QMenu;

namespace xr {

struct AppContext;
class AppWindows;
class Notices;
class TRASNotify;

struct TrayMenuAvailability {
    bool dial = false;    // "拨号连接(&C)"
    bool disConn = false; // "断开连接(&D)"
    bool login = false;   // "登录(&I)..."
    bool logout = false;  // "注销(&O)"

    friend bool operator==(const TrayMenuAvailability&, const TrayMenuAvailability&) = default;
};

TrayMenuAvailability trayMenuAvailability(bool connected, bool signedIn);
// The floating-display item's caption.
QString floatWinCaption(bool floatWinExists);

class TrayMenu : public QObject {
    Q_OBJECT
public:
    // Fills `pmTray` with the items.
    TrayMenu(QMenu& pmTray, AppContext& context, const TRASNotify& notify, AppWindows& windows);

    QAction* pmiFW() const { return m_pmiFW; }
    QAction* pmiAbout() const { return m_pmiAbout; }
    QAction* pmiHelp() const { return m_pmiHelp; }
    QAction* pmiDial() const { return m_pmiDial; }
    QAction* pmiExit() const { return m_pmiExit; }

    // Before the menu opens.
    void pmTrayPopup();
    void pmiDisConnClick();
    void pmiLoginClick();
    void pmiLogoutClick();
    void pmiOpenManagerClick();

    // The floating-display, about and help items go to the notices; the floating display
    // carries this menu and its double-click does what "open the usage browser" does.
    void connectNotices(Notices& notices);

private:
    QAction* addItem(const QString& caption, const char* name);
    void addSeparator(const char* name);

    QMenu& m_pmTray;
    AppContext& m_context;
    const TRASNotify& m_notify;
    AppWindows& m_windows;
    QAction* m_pmiFW = nullptr;
    QAction* m_pmiAbout = nullptr;
    QAction* m_pmiHelp = nullptr;
    QAction* m_pmiDial = nullptr;
    QAction* m_pmiDisConn = nullptr;
    QAction* m_pmiLogin = nullptr;
    QAction* m_pmiLogout = nullptr;
    QAction* m_pmiOpenManager = nullptr;
    QAction* m_pmiExit = nullptr;
};

} // namespace xr
