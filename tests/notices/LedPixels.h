#pragma once
// Pictures of a rendered dot-matrix control, and readings of its dots, for pixel checks.

#include "notices/LEDDisplay.h"

#include <QImage>
#include <memory>
#include <string>
#include <vector>

namespace xr::test {

// The control as it paints itself, over a background of `underneath`.
QImage renderControl(const TBorderControl& control, const QColor& underneath = QColor(255, 0, 255));

// A display framed like the floating time display (raised, a 1-pixel ring, lowered), sized so
// that its dot area is `dotArea`.
std::unique_ptr<TLEDDisplay> floatingFace(QSize dotArea);

// The 7 rows of the first `columns` dot columns of the cell whose top-left is `cell` (in
// control pixels):
// '#' for a dot filled in `on`, '.' for `off`, '?' for anything else. Each dot is read inside
// its outline, one pixel right and down from the square's corner.
std::vector<std::string> cellDots(const QImage& image, QPoint cell, int pitch, const QColor& on,
                                  const QColor& off, int columns = 6);

// The dot rows of the characters of `text` side by side, from the glyph pictures below.
std::vector<std::string> expectedDots(const std::string& text);

} // namespace xr::test
