// The dot-matrix display, checked on its pixels: dot sizes, glyphs, outlines, clipping, blocks
// for bytes it has no glyph for, and scrolling.
#include "LedPixels.h"
#include "notices/LEDDisplay.h"

#include <QApplication>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

using namespace xr;
using xr::test::cellDots;
using xr::test::expectedDots;
using xr::test::floatingFace;
using xr::test::renderControl;

namespace {

const QColor kOn(0, 255, 0);
const QColor kOff(0, 51, 0);
const QColor kBlack(0, 0, 0);

// The dot rows of `cells` cells side by side, starting at `origin` (control pixels).
std::vector<std::string> rowOfCells(const QImage& image, QPoint origin, int cells, int pitch)
{
    std::vector<std::string> rows(7);
    for (int cell = 0; cell < cells; ++cell) {
        const auto dots = cellDots(image, origin + QPoint(cell * 6 * pitch, 0), pitch, kOn, kOff);
        for (std::size_t row = 0; row < 7; ++row)
            rows[row] += dots[row];
    }
    return rows;
}

// Length of the run of pixels of the colour at `from`, going right.
int runLength(const QImage& image, QPoint from)
{
    const QColor color = image.pixelColor(from);
    int length = 0;
    while (from.x() + length < image.width() && image.pixelColor(from + QPoint(length, 0)) == color)
        ++length;
    return length;
}

// Counts the paint events that a widget receives.
class PaintCounter : public QObject {
public:
    int paints = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        paints += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

QTimer* scrollTimer(const TLEDDisplay& display) { return display.findChild<QTimer*>(QStringLiteral("scrollTimer")); }

} // namespace

TEST(LEDDisplay, Defaults)
{
    TLEDDisplay display;
    EXPECT_TRUE(display.Caption().isEmpty());
    EXPECT_EQ(display.BackColor(), kBlack);
    EXPECT_EQ(display.SegOnColor(), kOn);
    EXPECT_EQ(display.SegOffColor(), kOff);
    EXPECT_EQ(display.ScrollType(), stRightToLeft);
    EXPECT_FALSE(display.Scrolling());
    EXPECT_EQ(display.ScrollDelay(), 100);
    EXPECT_EQ(display.BorderOuter(), fsStatus);
    EXPECT_EQ(display.BorderInner(), fsNone);
    EXPECT_EQ(display.size(), QSize(100, 30));
    EXPECT_EQ(display.scrollOffset(), 0);
    ASSERT_NE(scrollTimer(display), nullptr);
    EXPECT_FALSE(scrollTimer(display)->isActive());
    EXPECT_EQ(scrollTimer(display)->interval(), 100);
}

TEST(LEDDisplay, DotSizeFollowsTheDotAreaHeightRoundingHalvesToEven)
{
    // Height: expected dot, and the pixels from one dot's interior to the next one's.
    const std::vector<std::pair<int, int>> dots{{17, 2}, {19, 2}, {25, 3}};
    for (const auto& [height, dot] : dots) {
        SCOPED_TRACE(height);
        auto display = floatingFace(QSize(132, height));
        EXPECT_EQ(display->geometry().dot, dot);
        EXPECT_EQ(display->geometry().spacing, 0);
        const QImage image = renderControl(*display);
        const int y0 = 5 + (height - (7 * dot)) / 2;
        // A dot is an outline pixel, dot - 1 filled pixels, and the outline it shares with the next.
        EXPECT_EQ(image.pixelColor(5, y0 + 1), kBlack);
        EXPECT_EQ(runLength(image, QPoint(6, y0 + 1)), dot - 1);
        EXPECT_EQ(image.pixelColor(6, y0 + 1), kOff);
        EXPECT_EQ(image.pixelColor(5 + dot, y0 + 1), kBlack);
        EXPECT_EQ(image.pixelColor(6 + dot, y0 + 1), kOff);
    }
}

TEST(LEDDisplay, DotsAreBlackOutlinedSquaresSharingOutlinesWithoutSpacing)
{
    auto display = floatingFace(QSize(132, 17));
    const QColor back(10, 20, 90);
    display->setBackColor(back);
    const QImage image = renderControl(*display);
    // Dot size 2: the cell row starts one pixel down; squares of 3 pixels one pitch of 2 apart.
    EXPECT_EQ(image.pixelColor(5, 5), back);
    EXPECT_EQ(image.pixelColor(136, 5), back);
    for (int x = 5; x < 137; ++x) {
        EXPECT_EQ(image.pixelColor(x, 6), kBlack) << x;
        EXPECT_EQ(image.pixelColor(x, 7), (x - 5) % 2 == 0 ? kBlack : kOff) << x;
        EXPECT_EQ(image.pixelColor(x, 20), kBlack) << x;
    }
    EXPECT_EQ(image.pixelColor(5, 21), back);

    // With two pixels of spacing one pixel of background shows between the squares.
    auto tall = floatingFace(QSize(40, 115));
    tall->setBackColor(back);
    EXPECT_EQ(tall->geometry(), (LedGeometry{15, 2, 17, 102, 117}));
    const QImage big = renderControl(*tall);
    const int y0 = 5 + (115 - 117) / 2;
    EXPECT_EQ(big.pixelColor(5, y0 + 5), kBlack);
    EXPECT_EQ(runLength(big, QPoint(6, y0 + 5)), 14);
    EXPECT_EQ(big.pixelColor(20, y0 + 5), kBlack);
    EXPECT_EQ(big.pixelColor(21, y0 + 5), back);
    EXPECT_EQ(big.pixelColor(22, y0 + 5), kBlack);
}

TEST(LEDDisplay, ShowsTheDurationTextAtBothSizesOfTheFloatingDisplay)
{
    for (const auto& [area, pitch] : {std::pair{QSize(132, 17), 2}, std::pair{QSize(198, 25), 3}}) {
        SCOPED_TRACE(pitch);
        auto display = floatingFace(area);
        display->setCaption(QStringLiteral("00 00:00:42"));
        const QImage image = renderControl(*display);
        const int y0 = 5 + (area.height() - 7 * pitch) / 2;
        EXPECT_EQ(rowOfCells(image, QPoint(5, y0), 11, pitch), expectedDots("00 00:00:42"));
        display->setCaption(QStringLiteral("00 01:05:07"));
        EXPECT_EQ(rowOfCells(renderControl(*display), QPoint(5, y0), 11, pitch), expectedDots("00 01:05:07"));
    }
}

TEST(LEDDisplay, LettersSitInTheirCellsAndTheRestOfTheRowIsBlank)
{
    auto display = floatingFace(QSize(198, 25));
    display->setCaption(QStringLiteral("AX"));
    const QImage image = renderControl(*display);
    EXPECT_EQ(rowOfCells(image, QPoint(5, 7), 11, 3), expectedDots("AX         "));
}

TEST(LEDDisplay, ADotAreaSevenPixelsHighShowsTheFramesOnly)
{
    const QColor underneath(255, 0, 255);
    auto low = floatingFace(QSize(132, 7));
    low->setCaption(QStringLiteral("88"));
    const QImage frames = renderControl(*low, underneath);
    EXPECT_EQ(low->clientArea(), QRect(5, 5, 132, 7));
    EXPECT_NE(frames.pixelColor(0, 0), underneath);
    EXPECT_NE(frames.pixelColor(4, 4), underneath);
    for (int y = 5; y < 12; ++y)
        for (int x = 5; x < 137; ++x)
            ASSERT_EQ(frames.pixelColor(x, y), underneath) << x << "," << y;

    auto higher = floatingFace(QSize(132, 8));
    EXPECT_NE(renderControl(*higher, underneath).pixelColor(5, 5), underneath);
}

TEST(LEDDisplay, ALongCaptionIsCutAtTheRightEdge)
{
    // Eleven and a half cells: the twelfth character shows its first three columns.
    auto display = floatingFace(QSize(138, 17));
    display->setCaption(QStringLiteral("100 01:02:03"));
    const QImage image = renderControl(*display);
    EXPECT_EQ(rowOfCells(image, QPoint(5, 6), 11, 2), expectedDots("100 01:02:0"));
    const auto last = cellDots(image, QPoint(5 + 132, 6), 2, kOn, kOff, 3);
    const auto three = expectedDots("3");
    for (std::size_t row = 0; row < 7; ++row)
        EXPECT_EQ(last[row], three[row].substr(0, 3)) << row;
    // The frame beyond the dot area is untouched: the lowered frame's inner right side.
    auto reference = floatingFace(QSize(138, 17));
    const QImage frame = renderControl(*reference);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 143; x < image.width(); ++x)
            ASSERT_EQ(image.pixelColor(x, y), frame.pixelColor(x, y)) << x << "," << y;
}

TEST(LEDDisplay, BytesWithoutAGlyphAndChineseTextShowAsSolidBlocks)
{
    auto display = floatingFace(QSize(132, 17));
    display->setCaptionBytes(QByteArray("\x01\x1F\x7F\x80\xFF", 5));
    EXPECT_EQ(rowOfCells(renderControl(*display), QPoint(5, 6), 6, 2), expectedDots("BBBBB "));

    display->setCaption(QStringLiteral("A中0"));
    EXPECT_EQ(display->Caption(), QByteArray("A\xD6\xD0" "0"));
    EXPECT_EQ(rowOfCells(renderControl(*display), QPoint(5, 6), 5, 2), expectedDots("ABB0 "));
}

TEST(LEDDisplay, RightToLeftEntersAtTheRightEdgeOnePitchPerStepAndWraps)
{
    auto display = floatingFace(QSize(132, 17));
    display->setCaption(QStringLiteral("X"));
    display->setScrolling(true);
    EXPECT_TRUE(scrollTimer(*display)->isActive());
    EXPECT_EQ(rowOfCells(renderControl(*display), QPoint(5, 6), 11, 2), expectedDots("           "));

    const auto columnAt = [&](int x) {
        std::string column;
        for (const std::string& row : cellDots(renderControl(*display), QPoint(x, 6), 2, kOn, kOff, 1))
            column += row[0];
        return column;
    };
    display->scrollStep();
    EXPECT_EQ(display->scrollOffset(), 2);
    EXPECT_EQ(columnAt(135), "##...##"); // the first column of X in the last dot column
    display->scrollStep();
    EXPECT_EQ(columnAt(133), "##...##");
    EXPECT_EQ(columnAt(135), "..#.#..");
    for (int step = 3; step <= 6; ++step)
        display->scrollStep();
    EXPECT_EQ(rowOfCells(renderControl(*display), QPoint(5, 6), 11, 2), expectedDots("          X"));

    // The extent is one cell for the caption plus the control's full width: 12 + 142.
    EXPECT_EQ(display->scrollExtent(), 154);
    for (int step = 7; step < 77; ++step)
        display->scrollStep();
    EXPECT_EQ(display->scrollOffset(), 152);
    display->scrollStep();
    EXPECT_EQ(display->scrollOffset(), 0);
    display->scrollStep();
    EXPECT_EQ(columnAt(135), "##...##");
}

TEST(LEDDisplay, LeftToRightEntersAtTheLeftEdge)
{
    auto display = floatingFace(QSize(132, 17));
    display->setCaption(QStringLiteral("AX"));
    display->setScrollType(stLeftToRight);
    display->setScrolling(true);
    EXPECT_EQ(rowOfCells(renderControl(*display), QPoint(5, 6), 11, 2), expectedDots("           "));
    // Two cells start 24 pixels left of the edge; after 12 steps of 2 they stand at the edge.
    for (int step = 0; step < 12; ++step)
        display->scrollStep();
    EXPECT_EQ(rowOfCells(renderControl(*display), QPoint(5, 6), 11, 2), expectedDots("AX         "));
    for (int step = 0; step < 6; ++step)
        display->scrollStep();
    EXPECT_EQ(rowOfCells(renderControl(*display), QPoint(5, 6), 11, 2), expectedDots(" AX        "));
    EXPECT_EQ(display->scrollExtent(), 24 + 142);
}

TEST(LEDDisplay, StoppingTheScrollResetsTheOffsetAndShowsTheTextFromTheLeft)
{
    auto display = floatingFace(QSize(132, 17));
    display->setCaption(QStringLiteral("AX"));
    display->setScrolling(true);
    for (int step = 0; step < 20; ++step)
        display->scrollStep();
    EXPECT_EQ(display->scrollOffset(), 40);
    display->setScrolling(false);
    EXPECT_EQ(display->scrollOffset(), 0);
    EXPECT_FALSE(scrollTimer(*display)->isActive());
    EXPECT_EQ(rowOfCells(renderControl(*display), QPoint(5, 6), 11, 2), expectedDots("AX         "));
}

TEST(LEDDisplay, TheScrollTimerRunsWhileTheTextMoves)
{
    TLEDDisplay display;
    display.setCaption(QStringLiteral("A"));
    QTimer* timer = scrollTimer(display);
    display.setScrolling(true);
    EXPECT_TRUE(timer->isActive());
    for (int step = 0; step < 3; ++step)
        display.scrollStep();
    display.setScrollType(stNone);
    EXPECT_FALSE(timer->isActive());
    // Without a direction the text stands at the left edge whatever the offset.
    EXPECT_EQ(rowOfCells(renderControl(display), display.clientArea().topLeft(), 2, 4), expectedDots("A "));
    display.setScrollType(stLeftToRight);
    EXPECT_TRUE(timer->isActive());
    display.setScrollDelay(250);
    EXPECT_EQ(timer->interval(), 250);
    display.setScrollDelay(0);
    EXPECT_FALSE(timer->isActive());
    display.setScrollDelay(100);
    EXPECT_TRUE(timer->isActive());
    display.setScrolling(false);
    display.setScrollType(stRightToLeft);
    EXPECT_FALSE(timer->isActive());
}

TEST(LEDDisplay, SettersRepaintOnlyWhenTheValueChanges)
{
    TLEDDisplay display;
    display.show();
    QApplication::processEvents();
    PaintCounter counter;
    display.installEventFilter(&counter);
    const auto paintsAfter = [&](const std::function<void()>& change) {
        counter.paints = 0;
        change();
        QApplication::processEvents();
        return counter.paints;
    };
    EXPECT_EQ(paintsAfter([&] { display.setSegOnColor(kOn); }), 0);
    EXPECT_EQ(paintsAfter([&] { display.setCaption(QString()); }), 0);
    EXPECT_EQ(paintsAfter([&] { display.setBorderOuter(fsStatus); }), 0);
    EXPECT_EQ(paintsAfter([&] { display.setScrolling(false); }), 0);
    EXPECT_GT(paintsAfter([&] { display.setSegOnColor(QColor(255, 0, 0)); }), 0);
    EXPECT_GT(paintsAfter([&] { display.setCaption(QStringLiteral("1")); }), 0);
    EXPECT_GT(paintsAfter([&] { display.setBorderOuter(fsRaised); }), 0);
}
