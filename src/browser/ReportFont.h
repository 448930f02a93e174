#pragma once
// The font family of the printed usage list. Qt's PDF writer names each glyph in the text map by
// the lowest code point that the font maps to it, and a CJK font that gives a radical (from
// U+2E80) the glyph of its ideograph (⽤ and 用 in Noto's CJK fonts) makes a PDF whose text
// reads as radicals: it cannot be searched or copied. The report therefore takes the first
// installed of 宋体 and the CJK fonts desktops ship whose radicals have glyphs of their own,
// and only when there is none the first installed of them.

#include <QString>

namespace xr {

// Chosen once; empty when none of the fonts is installed (Qt's own choice then draws).
QString reportFontFamily();

// True when `family` is installed and maps no radical to the glyph of an ideograph.
bool mapsGlyphsBackToIdeographs(const QString& family);

} // namespace xr
