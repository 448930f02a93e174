#include "notices/LedGeometry.h"

#include <algorithm>

namespace xr {

namespace {

// numerator / denominator rounded to the nearest integer, halves to even; exact in integers so
// that a height like 19 (19 / 7.6 = 2.5) rounds the same on every machine.
int roundHalfToEven(int numerator, int denominator)
{
    const int quotient = numerator / denominator;
    const int twiceRemainder = 2 * (numerator % denominator);
    if (twiceRemainder > denominator || (twiceRemainder == denominator && quotient % 2 != 0))
        return quotient + 1;
    return quotient;
}

} // namespace

LedGeometry ledGeometry(int height)
{
    LedGeometry g;
    g.dot = roundHalfToEven(std::max(height, 0) * 5, 38); // height / 7.6
    g.spacing = roundHalfToEven(g.dot, 10);
    g.pitch = g.dot + g.spacing;
    g.cellWidth = 6 * g.pitch;
    g.cellHeight = 7 * g.dot + 6 * g.spacing;
    return g;
}

} // namespace xr
