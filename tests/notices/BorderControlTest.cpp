// Frames, ring and client area of the bordered control, and its mouse events and popup menu.
#include "LedPixels.h"
#include "notices/BorderControl.h"

#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace xr;
using xr::test::renderControl;

namespace {

const QColor kUnderneath(255, 0, 255);
const QColor kMidlight(200, 0, 0);
const QColor kShadow(0, 0, 200);
const QColor kLight(0, 200, 0);
const QColor kDark(200, 200, 0);
const QColor kRing(0, 200, 200);

// Gives the control a palette in which each 3D colour can be told apart.
void useTellingPalette(QWidget& control)
{
    QPalette palette = control.palette();
    palette.setColor(QPalette::Midlight, kMidlight);
    palette.setColor(QPalette::Shadow, kShadow);
    palette.setColor(QPalette::Light, kLight);
    palette.setColor(QPalette::Dark, kDark);
    control.setPalette(palette);
}

// Colours of the top-left, top-right, bottom-left and bottom-right pixels of the rectangle
// `inset` pixels inside the image's edge.
std::vector<QColor> corners(const QImage& image, int inset)
{
    const int right = image.width() - 1 - inset;
    const int bottom = image.height() - 1 - inset;
    return {image.pixelColor(inset, inset), image.pixelColor(right, inset), image.pixelColor(inset, bottom),
            image.pixelColor(right, bottom)};
}

} // namespace

TEST(BorderControl, RaisedRingLoweredFramesAreDrawnPixelForPixel)
{
    TBorderControl control;
    useTellingPalette(control);
    control.setBorderOuter(fsRaised);
    control.setBorderInner(fsLowered);
    control.setBorderWidth(1);
    control.setBorderColor(kRing);
    control.resize(142, 27);

    EXPECT_EQ(control.clientArea(), QRect(5, 5, 132, 17));
    const QImage image = renderControl(control, kUnderneath);
    // Raised: 3D light / 3D dark shadow outside, button highlight / button shadow inside.
    EXPECT_EQ(corners(image, 0), (std::vector{kMidlight, kShadow, kShadow, kShadow}));
    EXPECT_EQ(corners(image, 1), (std::vector{kLight, kDark, kDark, kDark}));
    EXPECT_EQ(corners(image, 2), (std::vector{kRing, kRing, kRing, kRing}));
    // Lowered: button shadow / button highlight outside, 3D dark shadow / 3D light inside.
    EXPECT_EQ(corners(image, 3), (std::vector{kDark, kLight, kLight, kLight}));
    EXPECT_EQ(corners(image, 4), (std::vector{kShadow, kMidlight, kMidlight, kMidlight}));
    // The middle of each side: left and top in the first colour, right and bottom in the second.
    EXPECT_EQ(image.pixelColor(70, 0), kMidlight);
    EXPECT_EQ(image.pixelColor(0, 13), kMidlight);
    EXPECT_EQ(image.pixelColor(141, 13), kShadow);
    EXPECT_EQ(image.pixelColor(70, 26), kShadow);
    EXPECT_EQ(image.pixelColor(4, 13), kShadow);
    EXPECT_EQ(image.pixelColor(137, 13), kMidlight);
    // The base control leaves its client area to others.
    EXPECT_EQ(image.pixelColor(5, 5), kUnderneath);
    EXPECT_EQ(image.pixelColor(136, 21), kUnderneath);
}

TEST(BorderControl, EveryStyleTakesItsWidthOffTheClientAreaAndDrawsExactlyThat)
{
    const std::vector<std::pair<TFrameStyle, int>> widths{
        {fsNone, 0},   {fsFlat, 1},       {fsGroove, 2}, {fsBump, 2},  {fsLowered, 2},   {fsButtonDown, 2},
        {fsRaised, 2}, {fsButtonUp, 2},   {fsStatus, 3}, {fsPopup, 3}, {fsFlatBold, 2},
    };
    for (const auto& [style, width] : widths) {
        SCOPED_TRACE(static_cast<int>(style));
        TBorderControl control;
        control.setBevelWidth(3);
        control.setBorderOuter(style);
        control.resize(40, 20);
        EXPECT_EQ(control.clientArea(), QRect(width, width, 40 - 2 * width, 20 - 2 * width));
        const QImage image = renderControl(control, kUnderneath);
        for (int inset = 0; inset < width; ++inset)
            EXPECT_NE(corners(image, inset), std::vector<QColor>(4, kUnderneath)) << inset;
        EXPECT_EQ(corners(image, width), std::vector<QColor>(4, kUnderneath));
    }
}

TEST(BorderControl, DefaultsAndFramedSides)
{
    TBorderControl control;
    EXPECT_EQ(control.BorderOuter(), fsGroove);
    EXPECT_EQ(control.BorderInner(), fsNone);
    EXPECT_EQ(control.BorderWidth(), 0);
    EXPECT_EQ(control.BorderColor(), control.palette().color(QPalette::Button));
    EXPECT_EQ(control.BorderSides(), kAllBorderSides);
    EXPECT_EQ(control.BevelWidth(), 1);
    EXPECT_EQ(control.BorderHighlight(), control.palette().color(QPalette::Light));
    EXPECT_EQ(control.BorderShadow(), control.palette().color(QPalette::Dark));
    EXPECT_EQ(control.FlatColor(), control.palette().color(QPalette::Dark));
    EXPECT_EQ(control.FlatColorAdjustment(), 30);
    EXPECT_EQ(control.PopupMenu(), nullptr);

    useTellingPalette(control);
    control.setBorderOuter(fsRaised);
    control.setBorderSides(sdLeft | sdTop);
    control.resize(30, 20);
    EXPECT_EQ(control.clientArea(), QRect(2, 2, 28, 18));
    const QImage image = renderControl(control, kUnderneath);
    EXPECT_EQ(image.pixelColor(0, 10), kMidlight);
    EXPECT_EQ(image.pixelColor(15, 1), kLight);
    EXPECT_EQ(image.pixelColor(29, 10), kUnderneath);
    EXPECT_EQ(image.pixelColor(15, 19), kUnderneath);
}

TEST(BorderControl, FlatFramesUseTheAdjustedFlatColour)
{
    TBorderControl control;
    control.setFlatColor(QColor(100, 240, 0));
    control.setFlatColorAdjustment(30);
    control.setBorderOuter(fsFlat);
    control.resize(20, 10);
    const QColor adjusted(130, 255, 30);
    EXPECT_EQ(corners(renderControl(control), 0), std::vector<QColor>(4, adjusted));
    control.setBorderOuter(fsFlatBold);
    EXPECT_EQ(corners(renderControl(control), 1), std::vector<QColor>(4, adjusted));
}

TEST(BorderControl, RaisesMouseEventsClicksAndOpensItsPopupMenu)
{
    TBorderControl control;
    control.resize(60, 20);
    control.show();
    QSignalSpy entered(&control, &TBorderControl::OnMouseEnter);
    QSignalSpy left(&control, &TBorderControl::OnMouseLeave);
    QSignalSpy clicked(&control, &TBorderControl::OnClick);
    QSignalSpy doubleClicked(&control, &TBorderControl::OnDblClick);
    QSignalSpy down(&control, &TBorderControl::OnMouseDown);
    QSignalSpy up(&control, &TBorderControl::OnMouseUp);

    QEnterEvent enter(QPointF(3, 4), QPointF(3, 4), control.mapToGlobal(QPointF(3, 4)));
    QApplication::sendEvent(&control, &enter);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&control, &leave);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(left.count(), 1);

    QTest::mouseClick(&control, Qt::LeftButton, {}, QPoint(7, 8));
    EXPECT_EQ(clicked.count(), 1);
    ASSERT_EQ(down.count(), 1);
    EXPECT_EQ(down.at(0).at(1).toPoint(), QPoint(7, 8));
    EXPECT_EQ(up.count(), 1);
    QTest::mouseClick(&control, Qt::RightButton, {}, QPoint(7, 8));
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseDClick(&control, Qt::LeftButton, {}, QPoint(7, 8));
    EXPECT_EQ(doubleClicked.count(), 1);

    QMenu menu;
    menu.addAction(QStringLiteral("退出(&X)"));
    control.setPopupMenu(&menu);
    QContextMenuEvent request(QContextMenuEvent::Mouse, QPoint(7, 8), control.mapToGlobal(QPoint(7, 8)));
    QApplication::sendEvent(&control, &request);
    EXPECT_TRUE(menu.isVisible());
    menu.hide();
}
