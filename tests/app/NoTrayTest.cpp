// Without a notification area the floating display is kept open as the user's handle, and one
// message says why it is there.
#include "app/TrayHostWatch.h"

#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace xr::test {
namespace {

TEST(NoTray, TheHandleIsKeptOpenWhileThereIsNoNotificationAreaAndTheMessageComesOnce)
{
    ScriptedPrompter prompter;
    bool trayAvailable = false;
    int handleOpenings = 0;
    TrayHostWatch watch(prompter, [&] { return trayAvailable; }, [&] { ++handleOpenings; });
    EXPECT_EQ(handleOpenings, 1);
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Information);
    EXPECT_TRUE(prompter.prompts[0].text.startsWith(QStringLiteral("没有找到系统通知区域")));

    watch.check();
    EXPECT_EQ(handleOpenings, 2) << "a handle the user closed comes back";

    trayAvailable = true;
    watch.check();
    EXPECT_EQ(handleOpenings, 2);

    trayAvailable = false;
    watch.check();
    EXPECT_EQ(handleOpenings, 3);
    EXPECT_EQ(prompter.prompts.size(), 1) << "nothing more is said";
}

TEST(NoTray, WithANotificationAreaNothingIsOpenedOrSaid)
{
    ScriptedPrompter prompter;
    int handleOpenings = 0;
    TrayHostWatch watch(prompter, [] { return true; }, [&] { ++handleOpenings; });
    EXPECT_EQ(handleOpenings, 0);
    EXPECT_TRUE(prompter.prompts.isEmpty());
}

} // namespace
} // namespace xr::test
