// The floating time display: its two sizes, its stored position and the drag that stores it,
// the bring-back-on-screen rule, its hint, and the twelve-character duration of 100 days.
#include "TestContext.h"

#include "notices/FloatWinRules.h"
#include "notices/FloatingDisplay.h"
#include "notices/utFloatWin.h"
#include "settings/SettingsStore.h"
#include "store/DayCount.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <QWindow>

#include <memory>

namespace xr::test {
namespace {

TEST(FloatWinRules, BringBackOnScreenAtEachEdgeAndTwiceTheHeightAtTheBottom)
{
    const QSize screen(1280, 1024);
    EXPECT_EQ(bringBackOnScreen(QRect(100, 200, 142, 27), screen), QPoint(100, 200));
    EXPECT_EQ(bringBackOnScreen(QRect(-30, 200, 142, 27), screen), QPoint(1, 200));
    EXPECT_EQ(bringBackOnScreen(QRect(1200, 200, 142, 27), screen), QPoint(1138, 200));
    EXPECT_EQ(bringBackOnScreen(QRect(100, -8, 142, 27), screen), QPoint(100, 1));
    EXPECT_EQ(bringBackOnScreen(QRect(100, 1010, 142, 27), screen), QPoint(100, 970));
    EXPECT_EQ(bringBackOnScreen(QRect(1270, 1010, 208, 35), screen), QPoint(1072, 954));
    // Exactly touching the right and bottom edges is on the screen.
    EXPECT_EQ(bringBackOnScreen(QRect(1138, 997, 142, 27), screen), QPoint(1138, 997));
}

TEST(FloatWinRules, HintNamesUserConnectionAndStartOnlyWhenSomethingWasTimed)
{
    TConnection current;
    EXPECT_EQ(floatWinHint(current), QStringLiteral("XarvaneXR：\r当前用户：\r当前连接：\r开始连接："));
    current.UserName = QStringLiteral("alice");
    current.ConnName = QStringLiteral("Office");
    current.Sdt = toDayCount(QDateTime(QDate(2004, 3, 7), QTime(9, 5, 3)));
    EXPECT_EQ(floatWinHint(current),
              QStringLiteral("XarvaneXR：\r当前用户：alice\r当前连接：Office\r开始连接：2004-3-7 9:05:03"));
    current.Sdt = toDayCount(QDateTime(QDate(2004, 3, 7), QTime(0, 0)));
    EXPECT_TRUE(floatWinHint(current).endsWith(QStringLiteral("开始连接：2004-3-7")));
}

class FloatWinTest : public ::testing::Test, protected TestContext {
protected:
    void installSettings() { installDefaultSettings(registry); }
    void storePosition(int left, int top)
    {
        writeMainValues(registry, {{QStringLiteral("FWX"), left}, {QStringLiteral("FWY"), top}});
    }
    std::pair<int, int> storedPosition()
    {
        const auto key = registry.openKey(kSettingsKey.toStdString(), false);
        return {static_cast<std::int32_t>(key->readDword("FWX").value_or(0)),
                static_cast<std::int32_t>(key->readDword("FWY").value_or(0))};
    }
    TwinFloatWin& open()
    {
        window = std::make_unique<TwinFloatWin>(context, nullptr);
        window->setAttribute(Qt::WA_DeleteOnClose, false);
        window->show();
        return *window;
    }
    static QImage picture(const TLEDDisplay& display)
    {
        QImage image(display.size(), QImage::Format_RGB32);
        QPainter painter(&image);
        display.renderTo(painter);
        return image;
    }

    std::unique_ptr<TwinFloatWin> window;
};

TEST_F(FloatWinTest, BothSizesWithTheirDotsAndOtherStylesKeepTheSize)
{
    context.settings.FWStyle = 0;
    TwinFloatWin& small = open();
    EXPECT_EQ(small.size(), QSize(142, 27));
    EXPECT_EQ(small.LEDDisplay1()->clientArea().size(), QSize(132, 17));
    EXPECT_EQ(small.LEDDisplay1()->geometry().dot, 2);
    EXPECT_TRUE(small.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_TRUE(small.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(small.windowFlags() & Qt::WindowType_Mask, Qt::Tool);

    context.settings.FWStyle = 1;
    small.FormShow();
    EXPECT_EQ(small.size(), QSize(208, 35));
    EXPECT_EQ(small.LEDDisplay1()->clientArea().size(), QSize(198, 25));
    EXPECT_EQ(small.LEDDisplay1()->geometry().dot, 3);

    context.settings.FWStyle = 7;
    small.FormShow();
    EXPECT_EQ(small.size(), QSize(208, 35));
}

TEST_F(FloatWinTest, PlacedAtTheStoredPositionOrElseAtTheDesignPosition)
{
    EXPECT_EQ(open().pos(), QPoint(490, 241)) << "no settings key";
    installSettings();
    EXPECT_EQ(open().pos(), QPoint(490, 241)) << "a key without the values";
    storePosition(-40, 300);
    EXPECT_EQ(open().pos(), QPoint(-40, 300));
}

TEST_F(FloatWinTest, ADragStoresThePositionAtTheReleaseAndComesBackOnScreen)
{
    installSettings();
    storePosition(20, 300);
    TwinFloatWin& display = open();
    TLEDDisplay* led = display.LEDDisplay1();
    emit led->OnMouseDown(Qt::LeftButton, QPoint(10, 10));
    emit led->OnMouseMove(Qt::LeftButton, QPoint(-40, 25));
    EXPECT_EQ(display.pos(), QPoint(-30, 315));
    emit led->OnMouseUp(Qt::LeftButton, QPoint(10, 10));
    EXPECT_EQ(storedPosition(), std::make_pair(-30, 315));
    EXPECT_EQ(display.pos(), QPoint(1, 315));
    // Without the button down, moving the mouse moves nothing.
    emit led->OnMouseMove(Qt::NoButton, QPoint(60, 60));
    EXPECT_EQ(display.pos(), QPoint(1, 315));

    // Released partly below the screen: stored as released, shown twice its height up.
    const int screenHeight = display.screen()->geometry().height();
    emit led->OnMouseDown(Qt::LeftButton, QPoint(0, 0));
    emit led->OnMouseMove(Qt::LeftButton, QPoint(0, screenHeight - 315 - 10));
    emit led->OnMouseUp(Qt::LeftButton, QPoint(0, 0));
    EXPECT_EQ(storedPosition(), std::make_pair(1, screenHeight - 10));
    EXPECT_EQ(display.pos(), QPoint(1, screenHeight - 2 * display.height()));

    // The next display opens where the last release left it, off the screen or not.
    storePosition(-25, 100);
    EXPECT_EQ(open().pos(), QPoint(-25, 100));
}

// A right-click opens the tray menu on the press; the menu takes the mouse, so the release
// never reaches the display. Once the menu is gone, the mouse moving with no button held
// leaves the display where it is, and the next click stores that place.
TEST_F(FloatWinTest, ARightClickMenuEndsTheDragAndTheNextClickStoresNoAccidentalPosition)
{
    installSettings();
    storePosition(200, 300);
    QMenu pmTray;
    pmTray.addAction(QStringLiteral("退出(&X)"));
    window = std::make_unique<TwinFloatWin>(context, &pmTray);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QWindow* handle = window->windowHandle();
    const QPoint start = window->pos();

    QTest::mousePress(handle, Qt::RightButton, {}, QPoint(20, 10));
    ASSERT_EQ(QApplication::activePopupWidget(), &pmTray) << "the press opened the menu";
    QTest::mouseRelease(handle, Qt::RightButton, {}, QPoint(20, 10)); // the menu takes it
    pmTray.close();
    QTest::mouseMove(handle, QPoint(70, 30));
    QTest::mouseMove(handle, QPoint(120, 60));
    EXPECT_EQ(window->pos(), start);

    // A left press whose release is lost (taken by another window) is no drag either.
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(20, 10));
    QMouseEvent moved(QEvent::MouseMove, QPointF(90, 40), window->mapToGlobal(QPointF(90, 40)), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(window->LEDDisplay1(), &moved);
    EXPECT_EQ(window->pos(), start);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(90, 40));
    EXPECT_EQ(storedPosition(), std::make_pair(start.x(), start.y()));

    // A real drag still moves the display and stores where it was let go.
    QTest::mousePress(handle, Qt::LeftButton, {}, QPoint(20, 10));
    QTest::mouseMove(handle, QPoint(50, 30));
    EXPECT_EQ(window->pos(), start + QPoint(30, 20));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(20, 10));
    EXPECT_EQ(storedPosition(), std::make_pair(start.x() + 30, start.y() + 20));
}

TEST_F(FloatWinTest, TheHintIsRenewedEachTimeTheMouseEnters)
{
    TwinFloatWin& display = open();
    context.currentConnection.UserName = QStringLiteral("alice");
    emit display.LEDDisplay1()->OnMouseEnter();
    EXPECT_EQ(display.LEDDisplay1()->toolTip(),
              QStringLiteral("XarvaneXR：\n当前用户：alice\n当前连接：\n开始连接："));
    context.currentConnection.UserName = QStringLiteral("bob");
    emit display.LEDDisplay1()->OnMouseEnter();
    EXPECT_TRUE(display.LEDDisplay1()->toolTip().contains(QStringLiteral("当前用户：bob")));
}

TEST_F(FloatWinTest, AHundredDayConnectionLosesItsTwelfthCharacterAtTheEdge)
{
    for (const int style : {0, 1}) {
        context.settings.FWStyle = style;
        TwinFloatWin& display = open();
        display.showOnlineTime(1000.0, 1100.5);
        ASSERT_EQ(display.LEDDisplay1()->Caption(), QByteArray("100 12:00:00"));
        const QImage twelve = picture(*display.LEDDisplay1());
        display.LEDDisplay1()->setCaption(QStringLiteral("100 12:00:0"));
        EXPECT_EQ(picture(*display.LEDDisplay1()), twelve) << "style " << style;
        display.LEDDisplay1()->setCaption(QStringLiteral("100 12:00:"));
        EXPECT_NE(picture(*display.LEDDisplay1()), twelve) << "the eleventh character shows";
    }
}

// With FWTimeLeft the display counts down the allowance's time left instead of the time online,
// as long as there is a limit.
TEST_F(FloatWinTest, TheTimeLeftShowsInsteadOfTheTimeOnlineWhenChosen)
{
    FloatingDisplay displays(context);
    TimeLeft left{true, 3 * 3600 + 25 * 60 + 7.9, AllowancePeriod::ThisWeek};
    displays.setTimeLeft([&left] { return left; });
    displays.OpenFloatWin();
    TLEDDisplay& led = *displays.winFloatWin()->LEDDisplay1();
    displays.showOnlineTime(1000.0, 1000.5);
    EXPECT_EQ(led.Caption(), QByteArray("00 12:00:00")) << "the time online unless chosen";
    context.settings.FWTimeLeft = true;
    displays.showOnlineTime(1000.0, 1000.5);
    EXPECT_EQ(led.Caption(), QByteArray("00 03:25:07"));
    EXPECT_FALSE(led.Scrolling());
    left.limited = false;
    displays.showOnlineTime(1000.0, 1000.5);
    EXPECT_EQ(led.Caption(), QByteArray("00 12:00:00")) << "without a limit, the time online";
}

} // namespace
} // namespace xr::test
