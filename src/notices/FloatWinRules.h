#pragma once
// The floating time display's rules that need no window: its size for each FWStyle, the
// bring-back-on-screen rule after a drag, its hint and its banner.

#include "common/CurrentConnection.h"

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <optional>

namespace xr {

inline const QString kFloatWinBanner = QStringLiteral("XARVANE PELLORY");
// Where the display goes when the settings key holds no position.
inline constexpr QPoint kFloatWinDesignPosition{490, 241};

// The window size for `FWStyle` 0 (small) or 1 (big); nothing for any other value, which
// leaves the window at its size.
std::optional<QSize> floatWinSize(int FWStyle);

// The window's top-left corner after a drag ended at `window` on a screen of `screen` size:
// back onto the screen, but at the bottom by twice the window's height.
QPoint bringBackOnScreen(const QRect& window, QSize screen);

// The hint: the signed-in user, the timed connection and its start ("\r" breaks the line).
QString floatWinHint(const TConnection& current);

} // namespace xr
