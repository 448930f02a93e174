#include "notices/FrameStyle.h"

#include <algorithm>

namespace xr {

std::vector<EdgeRect> repeatedEdge(int count, const EdgeRect& edge)
{
    return std::vector<EdgeRect>(static_cast<std::size_t>(std::max(count, 0)), edge);
}

FrameColors frameColorsOf(const QPalette& palette)
{
    return {palette.color(QPalette::Midlight), palette.color(QPalette::Shadow),
            palette.color(QPalette::Light), palette.color(QPalette::Dark)};
}

int frameWidth(TFrameStyle style, int bevelWidth)
{
    switch (style) {
    case fsNone:
        return 0;
    case fsFlat:
        return 1;
    case fsStatus:
    case fsPopup:
        return std::max(bevelWidth, 0);
    case fsGroove:
    case fsBump:
    case fsLowered:
    case fsButtonDown:
    case fsRaised:
    case fsButtonUp:
    case fsFlatBold:
        return 2;
    }
    return 0;
}

std::vector<EdgeRect> frameEdges(TFrameStyle style, int bevelWidth, const FrameStyleColors& colors)
{
    const FrameColors& sys = colors.system;
    switch (style) {
    case fsNone:
        return {};
    case fsFlat:
        return {{colors.flat, colors.flat}};
    case fsFlatBold:
        return repeatedEdge(2, {colors.flat, colors.flat});
    case fsGroove:
        return {{sys.shadow, sys.highlight}, {sys.highlight, sys.shadow}};
    case fsBump:
        return {{sys.highlight, sys.shadow}, {sys.shadow, sys.highlight}};
    case fsLowered:
        return {{sys.shadow, sys.highlight}, {sys.darkShadow3D, sys.light3D}};
    case fsButtonDown:
        return {{sys.darkShadow3D, sys.highlight}, {sys.shadow, sys.light3D}};
    case fsRaised:
        return {{sys.light3D, sys.darkShadow3D}, {sys.highlight, sys.shadow}};
    case fsButtonUp:
        return {{sys.highlight, sys.darkShadow3D}, {sys.light3D, sys.shadow}};
    case fsStatus:
        return repeatedEdge(frameWidth(style, bevelWidth), {colors.bevelShadow, colors.bevelHighlight});
    case fsPopup:
        return repeatedEdge(frameWidth(style, bevelWidth), {colors.bevelHighlight, colors.bevelShadow});
    }
    return {};
}

QColor adjustedColor(const QColor& color, int adjustment)
{
    const auto channel = [adjustment](int value) { return std::clamp(value + adjustment, 0, 255); };
    return QColor(channel(color.red()), channel(color.green()), channel(color.blue()));
}

} // namespace xr
