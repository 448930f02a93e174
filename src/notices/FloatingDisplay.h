#pragma once
// The one floating time display, as the tray controller holds it: opening and closing it, the
// tray item and the main menu's check item that switch it and store FloatWin, and what the
// connection timer shows in it.

#include "notices/utFloatWin.h"
#include "store/UsedTime.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QMenu;

namespace xr {

struct AppContext;

class FloatingDisplay : public QObject {
    Q_OBJECT
public:
    explicit FloatingDisplay(AppContext& context);
    ~FloatingDisplay() override;

    // Where the time left of the person's allowance comes from; with FWTimeLeft set, the
    // display shows it in place of the time online while there is a limit.
    void setTimeLeft(std::function<TimeLeft()> timeLeft) { m_timeLeft = std::move(timeLeft); }

    // The menu that a right-click on the display opens, for displays opened from now on.
    void setPopupMenu(QMenu* pmTray) { m_pmTray = pmTray; }

    // The display, or nullptr while none exists.
    TwinFloatWin* winFloatWin() const { return m_winFloatWin; }
    bool exists() const { return m_winFloatWin != nullptr; }

    void OpenFloatWin();
    void CloseFloatWin();

    // The tray item: closes an open display or opens one, and stores FloatWin.
    void pmiFWClick();
    // The main menu's check item, now `checked`: FloatWin follows it, the display too.
    void mmiFloatWinClick(bool checked);

    // The connection timer's work, when the display exists and is showing.
    void showOnlineTime(double sdt, double now);
    void showIdleBanner();

signals:
    // A double-click on the display: the usage browser is wanted.
    void managerWanted();

private:
    bool showing() const { return m_winFloatWin && m_winFloatWin->isVisible(); }
    // Opens or closes the display and stores FloatWin accordingly.
    void switchTo(bool open);
    void storeFloatWin(bool open);

    AppContext& m_context;
    QMenu* m_pmTray = nullptr;
    std::function<TimeLeft()> m_timeLeft;
    QPointer<TwinFloatWin> m_winFloatWin;
};

} // namespace xr
