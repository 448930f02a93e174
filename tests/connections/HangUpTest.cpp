// Hanging up the first listed connection, from the tray or the main window.
#include "connections/HangUp.h"

#include "connections/RASNotify.h"

#include "TestContext.h"

#include <gtest/gtest.h>

namespace xr::test {
namespace {

class HangUpTest : public ::testing::Test, protected TestContext {
protected:
    TRASNotify notify{ras};
};

TEST_F(HangUpTest, MainWindowCommandWithoutAConnectionSaysSo)
{
    notify.Loaded();
    actDisConnExecute(context, notify);
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("当前没有连接到Internet！"));
    EXPECT_TRUE(ras.hungUp.empty());
}

TEST_F(HangUpTest, OnlyYesHangsUpTheFirstListedConnection)
{
    const auto first = ras.addConnection("First");
    ras.addConnection("Second");
    notify.Loaded();
    actDisConnExecute(context, notify);
    EXPECT_EQ(prompter.prompts.value(0).text, QStringLiteral("断开连接吗？"));
    EXPECT_TRUE(ras.hungUp.empty());

    prompter.answers << PromptAnswer::Yes;
    actDisConnExecute(context, notify);
    EXPECT_EQ(ras.hungUp, std::vector<platform::ConnHandle>{first});
}

} // namespace
} // namespace xr::test
