#pragma once
// The program's dialog font: 宋体 (SimSun) where it is installed, else the Song-style CJK font
// that desktops ship.

#include <QFont>

namespace xr {

inline QFont songFont(int pixelSize)
{
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("NSimSun"),
                      QStringLiteral("Noto Serif CJK SC"), QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(pixelSize);
    return font;
}

} // namespace xr
