#pragma once
// Where the notice popup rises: at the right edge of the screen, from the top of a panel at
// the bottom, or from the screen's bottom edge when the panel lies elsewhere or is missing.

#include <QRect>
#include <QSize>

namespace xr {

struct NoticePlacement {
    int left = 0;
    int hiddenTop = 0; // the top edge before sliding in and after sliding out
    int shownTop = 0;  // the top edge while shown

    friend bool operator==(const NoticePlacement&, const NoticePlacement&) = default;
};

// `screen` is the screen's geometry and `available` what the panels leave of it, so that a
// panel is the difference between the two; `outer` is the popup's size with its frame.
NoticePlacement noticePlacement(const QRect& screen, const QRect& available, QSize outer);

} // namespace xr
