#include "connections/DialStatusLayout.h"

namespace xr {

QPoint centredOn(const QSize& screen, const QSize& window)
{
    return {(screen.width() - window.width()) / 2, (screen.height() - window.height()) / 2};
}

DialStatusPlacement placeDialStatus(int showMode, const DialStatusGeometry& g)
{
    DialStatusPlacement placement;
    placement.window = centredOn(g.screen, g.window);
    if (showMode == kDialError) {
        const int top = g.errorBottom + kDialStatusMargin;
        placement.reDial = {(g.client.width() - 2 * g.button.width() - kDialStatusButtonGap) / 2, top};
        placement.cancel = {placement.reDial.x() + g.button.width() + kDialStatusButtonGap, top};
    } else {
        placement.cancel = {(g.client.width() - g.button.width()) / 2, g.connNameBottom + kDialStatusMargin};
        placement.reDial = placement.cancel;
    }
    placement.clientHeight = placement.cancel.y() + g.button.height() + kDialStatusMargin;
    return placement;
}

} // namespace xr
