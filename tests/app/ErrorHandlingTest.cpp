// The general error handling: an error escaping a handler or timer tick is shown in an error
// box with its own text, and the event loop goes on.
#include "app/XarvaneApplication.h"
#include "common/ErrorReporting.h"

#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

#include <QTimer>

#include <stdexcept>

namespace xr::test {
namespace {

ScriptedPrompter g_prompter; // the application's message boxes, for the whole program

TEST(GeneralErrorHandling, EscapingErrorIsShownAndTheLoopGoesOn)
{
    int ticks = 0;
    QTimer failing;
    QObject::connect(&failing, &QTimer::timeout, [&ticks] {
        ++ticks;
        throw std::runtime_error("无法写入记录");
    });
    failing.start(10);
    QTimer::singleShot(200, [] { QCoreApplication::exit(7); });
    EXPECT_EQ(QCoreApplication::exec(), 7);
    failing.stop();

    EXPECT_GE(ticks, 2) << "the timer goes on ticking after an error";
    ASSERT_EQ(g_prompter.prompts.size(), ticks);
    EXPECT_EQ(g_prompter.prompts[0].kind, PromptKind::Error);
    EXPECT_EQ(g_prompter.prompts[0].text, QStringLiteral("无法写入记录"));
}

TEST(GeneralErrorHandling, AnErrorWithoutATextIsNeverAnEmptyBox)
{
    ScriptedPrompter prompter;
    EXPECT_FALSE(reportErrors(prompter, [] { throw std::runtime_error(""); }));
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Error);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("未知错误"));
}

} // namespace
} // namespace xr::test

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    xr::XarvaneApplication app(argc, argv, xr::test::g_prompter);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
