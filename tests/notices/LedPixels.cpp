#include "LedPixels.h"

#include <QPainter>
#include <map>
#include <stdexcept>

namespace xr::test {

namespace {

// The glyphs as a person reads them, with the sixth, separating column.
const std::map<char, std::vector<std::string>>& glyphPictures()
{
    static const std::map<char, std::vector<std::string>> pictures{
        {' ', {"......", "......", "......", "......", "......", "......", "......"}},
        {'0', {".###..", "#...#.", "#..##.", "#.#.#.", "##..#.", "#...#.", ".###.."}},
        {'1', {"..#...", ".##...", "..#...", "..#...", "..#...", "..#...", ".###.."}},
        {'2', {".###..", "#...#.", "....#.", "..##..", ".#....", "#.....", "#####."}},
        {'3', {".###..", "#...#.", "....#.", ".###..", "....#.", "#...#.", ".###.."}},
        {'4', {"#...#.", "#...#.", "#...#.", "#####.", "....#.", "....#.", "....#."}},
        {'5', {"#####.", "#.....", "#.....", "####..", "....#.", "#...#.", ".###.."}},
        {'7', {"#####.", "#...#.", "....#.", "...#..", "..#...", "..#...", "..#..."}},
        {':', {"......", "......", "..#...", "......", "......", "..#...", "......"}},
        {'A', {".###..", "#...#.", "#...#.", "#####.", "#...#.", "#...#.", "#...#."}},
        {'X', {"#...#.", "#...#.", ".#.#..", "..#...", ".#.#..", "#...#.", "#...#."}},
        {'B', {"......", ".###..", ".###..", ".###..", ".###..", ".###..", "......"}}, // the block
    };
    return pictures;
}

} // namespace

QImage renderControl(const TBorderControl& control, const QColor& underneath)
{
    QImage image(control.size(), QImage::Format_RGB32);
    image.fill(underneath);
    QPainter painter(&image);
    control.renderTo(painter);
    return image;
}

std::unique_ptr<TLEDDisplay> floatingFace(QSize dotArea)
{
    auto display = std::make_unique<TLEDDisplay>();
    display->setBorderOuter(fsRaised);
    display->setBorderInner(fsLowered);
    display->setBorderWidth(1);
    display->resize(dotArea + QSize(10, 10));
    return display;
}

std::vector<std::string> cellDots(const QImage& image, QPoint cell, int pitch, const QColor& on,
                                  const QColor& off, int columns)
{
    std::vector<std::string> rows;
    for (int row = 0; row < 7; ++row) {
        std::string line;
        for (int column = 0; column < columns; ++column) {
            const QColor pixel = image.pixelColor(cell + QPoint(column * pitch + 1, row * pitch + 1));
            line += pixel == on ? '#' : pixel == off ? '.' : '?';
        }
        rows.push_back(line);
    }
    return rows;
}

std::vector<std::string> expectedDots(const std::string& text)
{
    std::vector<std::string> rows(7);
    for (const char character : text) {
        const auto found = glyphPictures().find(character);
        if (found == glyphPictures().end())
            throw std::invalid_argument("no picture of this character");
        for (std::size_t row = 0; row < 7; ++row)
            rows[row] += found->second[row];
    }
    return rows;
}

} // namespace xr::test
