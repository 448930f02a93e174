#pragma once
// The floating time display winFloatWin: a small borderless window, always on top and without
// a taskbar entry, that shows the running online time in dot-matrix characters (a scrolling
// banner while nothing is timed). It can be dragged anywhere and remembers where it was left.

#include "notices/LEDDisplay.h"

#include <QPoint>
#include <QWidget>

class QMenu;

namespace xr {

struct AppContext;

class TwinFloatWin : public QWidget {
    Q_OBJECT
public:
    // `pmTray` is the tray menu, opened by a right-click on the display.
    TwinFloatWin(AppContext& context, QMenu* pmTray);

    TLEDDisplay* LEDDisplay1() const { return m_LEDDisplay1; }

    // Sizes the window by FWStyle; run again after the options change it.
    void FormShow();
    // The online time from `sdt` to `now` (day counts) in place of the banner.
    void showOnlineTime(double sdt, double now);
    // A time in the compact form (the time left of an allowance) in place of the banner.
    void showCounter(const QString& caption);
    void showBanner();

signals:
    // A double-click: the usage browser (or the sign-in before it) is wanted.
    void LEDDisplay1DblClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormCreate();
    void LEDDisplay1MouseDown(QPoint position);
    void LEDDisplay1MouseMove(Qt::MouseButtons buttons, QPoint position);
    void LEDDisplay1MouseUp();
    void endDragWithoutRelease();
    void LEDDisplay1MouseEnter();
    void writePosition();

    AppContext& m_context;
    TLEDDisplay* m_LEDDisplay1;
    bool m_dragging = false;
    QPoint m_downPosition;
};

} // namespace xr
