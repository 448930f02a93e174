#pragma once
// The 5 x 7 dot font of the dot-matrix display. A glyph is five bytes, one per column from the
// left; bit 7 is the top row and bit 1 the bottom row, bit 0 is unused.

#include <array>
#include <cstddef>
#include <cstdint>

namespace xr {

using LedGlyph = std::array<std::uint8_t, 5>;

// The code that stands for every byte outside 32..126: a solid block.
inline constexpr unsigned char kLedBlockCode = 127;

// The glyph of `code`; bytes outside 32..126 get the solid block.
const LedGlyph& ledGlyph(unsigned char code);

// Whether the dot in `column` (0..4) and `row` (0..6, top first) of `glyph` is lit.
constexpr bool ledDotLit(const LedGlyph& glyph, int column, int row)
{
    return (glyph[static_cast<std::size_t>(column)] >> (7 - row) & 1) != 0;
}

} // namespace xr
