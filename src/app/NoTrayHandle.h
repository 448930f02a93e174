#pragma once
// Stands in for the notification icon on a desktop without a notification area: a small window
// that stays on top, carries the tray menu on its right button and opens the usage browser on a
// double-click. It can be dragged with the left button.

#include <QWidget>

#include <functional>

class QMenu;

namespace xr {

class NoTrayHandle : public QWidget {
    Q_OBJECT
public:
    NoTrayHandle(QMenu& pmTray, std::function<void()> openManager, QWidget* parent = nullptr);

    // Where it first shows: the bottom-right corner of the screen's free area.
    void placeInCorner();

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QMenu& m_pmTray;
    std::function<void()> m_openManager;
    QPoint m_grab; // where the left button took hold, inside the window
};

} // namespace xr
