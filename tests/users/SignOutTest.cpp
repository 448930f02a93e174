// Sign-out: refused while connected, confirmed otherwise.
#include "users/SignOut.h"

#include "TestContext.h"

#include <gtest/gtest.h>

namespace xr::test {
namespace {

class SignOutTest : public ::testing::Test, protected TestContext {
protected:
    SignOutTest()
    {
        context.currentConnection.UserId = QStringLiteral("20040307090503045");
        context.currentConnection.UserName = QStringLiteral("alice");
        context.currentConnection.Admin = true;
        context.currentConnection.ConnName = QStringLiteral("Office");
        context.currentConnection.Sdt = 100.5;
    }
};

TEST_F(SignOutTest, RefusedWhileConnected)
{
    EXPECT_FALSE(SignOut(context, true));
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Information);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("在连接状态下用户不可以注销！"));
    EXPECT_TRUE(context.currentConnection.signedIn());
}

TEST_F(SignOutTest, NoChangesNothingAndYesSignsOut)
{
    EXPECT_FALSE(SignOut(context, false));
    EXPECT_EQ(prompter.prompts.value(0).text, QStringLiteral("注销吗？"));
    EXPECT_TRUE(context.currentConnection.signedIn());

    prompter.answers << PromptAnswer::Yes;
    EXPECT_TRUE(SignOut(context, false));
    const TConnection& current = context.currentConnection;
    EXPECT_FALSE(current.signedIn());
    EXPECT_TRUE(current.UserName.isEmpty());
    EXPECT_TRUE(current.ConnName.isEmpty());
    EXPECT_FALSE(current.Admin);
    EXPECT_EQ(current.Sdt, 100.5) << "the record times stay";
}

} // namespace
} // namespace xr::test
