#pragma once
// Where the dial status window and its buttons go for each of its two layouts: dialling (only
// Cancel, below the entry name) and error (the error lines, then Redial and Cancel side by side).

#include <QPoint>
#include <QSize>

namespace xr {

enum DialStatusMode { kDialling = 0, kDialError = 1 };

// The window and the controls the layout depends on, as they are before it runs.
struct DialStatusGeometry {
    QSize screen;
    QSize window; // with its frame
    QSize client;
    int connNameBottom; // bottom edge of the entry name label
    int errorBottom;    // bottom edge of the error lines
    QSize button;       // both buttons are this size
};

struct DialStatusPlacement {
    QPoint window; // top-left corner of the frame
    QPoint cancel;
    QPoint reDial;    // only meaningful in the error layout
    int clientHeight; // the frame keeps its height around it
};

// Gap below the controls above the buttons, below the buttons, and between the two buttons.
inline constexpr int kDialStatusMargin = 12;
inline constexpr int kDialStatusButtonGap = 40;

// The window is centred with its present size; its client area then ends 12 pixels below
// the buttons.
DialStatusPlacement placeDialStatus(int showMode, const DialStatusGeometry& geometry);

// The top-left corner that centres a window of `window` size on a screen of `screen` size.
QPoint centredOn(const QSize& screen, const QSize& window);

} // namespace xr
