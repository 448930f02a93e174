#pragma once
// The 3D frame styles of the bordered controls: what each style takes off the client area and
// the one-pixel rectangles, outside in, of which it is drawn.

#include <QColor>
#include <QFlags>
#include <QPalette>
#include <vector>

namespace xr {

enum TFrameStyle {
    fsNone,
    fsFlat,
    fsGroove,
    fsBump,
    fsLowered,
    fsButtonDown,
    fsRaised,
    fsButtonUp,
    fsStatus,
    fsPopup,
    fsFlatBold
};

enum TBorderSide { sdLeft = 0x1, sdTop = 0x2, sdRight = 0x4, sdBottom = 0x8 };
Q_DECLARE_FLAGS(TBorderSides, TBorderSide)
Q_DECLARE_OPERATORS_FOR_FLAGS(TBorderSides)

inline constexpr TBorderSides kAllBorderSides{sdLeft | sdTop | sdRight | sdBottom};

// The system's 3D colours, taken from a Qt palette.
struct FrameColors {
    QColor light3D;      // 3D light: Midlight
    QColor darkShadow3D; // 3D dark shadow: Shadow
    QColor highlight;    // button highlight: Light
    QColor shadow;       // button shadow: Dark
};

FrameColors frameColorsOf(const QPalette& palette);

// The colours of the styles that the control sets itself.
struct FrameStyleColors {
    FrameColors system;
    QColor bevelHighlight; // fsStatus, fsPopup
    QColor bevelShadow;    // fsStatus, fsPopup
    QColor flat;           // fsFlat, fsFlatBold (already adjusted)
};

// One one-pixel rectangle: `first` on its left and top sides, `second` on its right and
// bottom sides.
struct EdgeRect {
    QColor first;
    QColor second;
    friend bool operator==(const EdgeRect&, const EdgeRect&) = default;
};

// Pixels that `style` takes off each framed side of the client area.
int frameWidth(TFrameStyle style, int bevelWidth);

// The rectangles that draw `style`, from the outside in; as many as the frame's width.
std::vector<EdgeRect> frameEdges(TFrameStyle style, int bevelWidth, const FrameStyleColors& colors);

// `count` copies of `edge`: a band of one colour pair (none when `count` is not positive).
std::vector<EdgeRect> repeatedEdge(int count, const EdgeRect& edge);

// `color` with `adjustment` added to each of its red, green and blue values, kept in 0..255.
QColor adjustedColor(const QColor& color, int adjustment);

} // namespace xr
