#include "notices/NoticePlacement.h"

namespace xr {

namespace {

// The height of a panel along the bottom edge: a strip as wide as the screen (less tall than
// wide) cut off below the available area. A panel at the top or a side gives 0.
int bottomPanelHeight(const QRect& screen, const QRect& available)
{
    const int height = screen.bottom() - available.bottom();
    if (height <= 0 || height >= screen.width())
        return 0;
    return height;
}

} // namespace

NoticePlacement noticePlacement(const QRect& screen, const QRect& available, QSize outer)
{
    const int bottomEdge = screen.top() + screen.height() - bottomPanelHeight(screen, available);
    return {screen.left() + screen.width() - outer.width(), bottomEdge, bottomEdge - outer.height()};
}

} // namespace xr
