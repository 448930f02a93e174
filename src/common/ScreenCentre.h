#pragma once
// Placing a window in the middle of the screen's free area (without the panels).

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace xr {

inline void centreOnScreen(QWidget& window)
{
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        window.move(screen->availableGeometry().center() - window.rect().center());
}

} // namespace xr
