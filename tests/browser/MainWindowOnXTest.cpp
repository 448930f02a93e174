// The main window on a real X server (Xvfb): the design size and the place in the middle of the
// screen hold there too, not only on the offscreen platform.
#include "MainWindowFixture.h"
#include "VirtualDisplay.h"

#include <QApplication>
#include <QScreen>
#include <QStandardPaths>
#include <QTest>

namespace xr::test {
namespace {

bool g_onX = false;

class MainWindowOnX : public MainWindowFixture {
protected:
    void SetUp() override
    {
        if (!g_onX)
            GTEST_SKIP() << "Xvfb is not installed or did not start (scripts/install-deps installs it)";
    }
};

TEST_F(MainWindowOnX, KeepsItsDesignSizeAndSitsInTheMiddleOfTheScreen)
{
    signInZhang();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::qWait(200);
    EXPECT_EQ(window->size(), QSize(753, 611));
    const QPoint middle = QGuiApplication::primaryScreen()->availableGeometry().center();
    EXPECT_LE((window->geometry().center() - middle).manhattanLength(), 2)
        << window->geometry().x() << "," << window->geometry().y();
}

} // namespace
} // namespace xr::test

int main(int argc, char** argv)
{
    std::unique_ptr<xr::test::VirtualDisplay> display;
    if (!QStandardPaths::findExecutable(QStringLiteral("Xvfb")).isEmpty())
        display = std::make_unique<xr::test::VirtualDisplay>();
    xr::test::g_onX = display && !display->name().isEmpty();
    qputenv("QT_QPA_PLATFORM", xr::test::g_onX ? "xcb" : "offscreen");
    if (xr::test::g_onX)
        qputenv("DISPLAY", display->name().toLocal8Bit());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
