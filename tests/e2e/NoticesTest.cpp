// The real program on a virtual X display without a notification area: the floating display
// is there from the start; a double-click on it leads to the sign-in; a connection then raises
// the notice popup at the bottom right, and the display shows the elapsed online time.
// Screenshots of both are left in the work folder (notices-popup.png, notices-display.png).
#include "DesktopEndToEnd.h"

#include "notices/LEDDisplay.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPainter>

namespace xr::test {
namespace {

const QSize kScreen(1024, 768);

// The dot area of a small display showing `caption`, as the control draws it.
QImage expectedDots(const QString& caption)
{
    TLEDDisplay display;
    display.resize(142, 27);
    display.setBorderOuter(fsRaised);
    display.setBorderInner(fsLowered);
    display.setBorderWidth(1);
    display.setCaption(caption);
    display.setAttribute(Qt::WA_DontShowOnScreen);
    display.show(); // lays the dots out for its size
    QImage image(display.size(), QImage::Format_RGB32);
    QPainter painter(&image);
    display.renderTo(painter);
    return image.copy(display.clientArea());
}

// Same colours pixel by pixel (a picture read from a file also carries its colour space).
bool sameColours(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return false;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y))
                return false;
    return true;
}

// The compact duration that the window's dots show, among the first two minutes; empty when
// none matches.
QString shownDuration(const QImage& window)
{
    const QImage dots = window.copy(QRect(5, 5, 132, 17));
    for (int seconds = 0; seconds < 120; ++seconds) {
        const QString text = QStringLiteral("00 00:%1:%2")
                                 .arg(seconds / 60, 2, 10, QLatin1Char('0'))
                                 .arg(seconds % 60, 2, 10, QLatin1Char('0'));
        if (sameColours(expectedDots(text), dots))
            return text;
    }
    return {};
}

class NoticesEndToEnd : public DesktopEndToEnd {
protected:
    // The floating display: the visible program window of the small display's size.
    QString floatingDisplay() const
    {
        const QString found = display.xdotool({QStringLiteral("search"), QStringLiteral("--onlyvisible"),
                                               QStringLiteral("--name"), QStringLiteral("^XarvaneXR$")});
        for (const QString& window : found.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
            if (display.geometry(window).size() == QSize(142, 27))
                return window;
        return {};
    }
    void screenshot(const QString& name) const
    {
        display.grab(QStringLiteral("root")).save(QDir(QStringLiteral(XARVANE_TEST_WORK_DIR)).filePath(name));
    }
};

TEST_F(NoticesEndToEnd, ConnectionWithAUserRaisesThePopupAndTheDisplayCountsTheTime)
{
    ASSERT_TRUE(folder.start());
    QString floatWin;
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return !(floatWin = floatingDisplay()).isEmpty(); }))
        << "no floating display without a notification area\n"
        << folder.errorOutput().toStdString();

    // A double-click on the display while nobody is signed in opens the sign-in.
    display.xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), floatWin, QStringLiteral("30"),
                     QStringLiteral("12"), QStringLiteral("click"), QStringLiteral("--repeat"),
                     QStringLiteral("2"), QStringLiteral("--delay"), QStringLiteral("80"),
                     QStringLiteral("1")});
    QString login;
    ASSERT_TRUE(ProgramFolder::waitUntil(
        [&] { return !(login = display.visibleWindow(QStringLiteral("登录XR"))).isEmpty(); }));
    display.xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), login});
    display.xdotool(
        {QStringLiteral("type"), QStringLiteral("--delay"), QStringLiteral("30"), QStringLiteral("admin")});
    display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    display.xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    ASSERT_TRUE(
        ProgramFolder::waitUntil([&] { return display.visibleWindow(QStringLiteral("登录XR")).isEmpty(); }));

    ASSERT_EQ(folder.sim({QStringLiteral("connect"), QStringLiteral("Office")}), 0);
    QString popup;
    ASSERT_TRUE(ProgramFolder::waitUntil([&] {
        return !(popup = display.visibleWindow(QStringLiteral("Xarvane-信息"))).isEmpty();
    })) << folder.errorOutput().toStdString();
    // At its place once the text is in: the bottom right corner (this screen has no panel).
    ASSERT_TRUE(ProgramFolder::waitUntil([&] {
        const QRect place = display.geometry(popup);
        return place.right() == kScreen.width() - 1 && place.bottom() == kScreen.height() - 1;
    })) << "popup at "
        << display.geometry(popup).x() << "," << display.geometry(popup).y();
    screenshot(QStringLiteral("notices-popup.png"));

    // Without a window manager nothing keeps the display above the main window: raise it.
    display.xdotool({QStringLiteral("windowraise"), floatWin});
    QString shown;
    EXPECT_TRUE(ProgramFolder::waitUntil([&] {
        shown = shownDuration(display.grab(floatWin));
        return !shown.isEmpty() && shown != QStringLiteral("00 00:00:00");
    })) << "the display shows no elapsed time";
    screenshot(QStringLiteral("notices-display.png"));
    EXPECT_TRUE(folder.unexpectedPrompts().isEmpty()) << folder.errorOutput().toStdString();

    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
}

} // namespace
} // namespace xr::test
