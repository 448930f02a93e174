#pragma once
// The measures of the dot-matrix characters, all following from the height of the dot area.

namespace xr {

struct LedGeometry {
    int dot = 0;        // a dot's size; its square is dot + 1 pixels wide, outline included
    int spacing = 0;    // free pixels between two dots
    int pitch = 0;      // dot + spacing: from one dot to the next
    int cellWidth = 0;  // six columns: five of the glyph and one that separates characters
    int cellHeight = 0; // seven rows
    friend bool operator==(const LedGeometry&, const LedGeometry&) = default;
};

// The geometry for a dot area `height` pixels high: dot = height / 7.6 and spacing = dot / 10,
// both rounded to the nearest integer with halves to even.
LedGeometry ledGeometry(int height);

} // namespace xr
