#include "store/ConnectionDetails.h"

#include "FakeRemoteAccess.h"
#include "ScriptedPrompter.h"

#include <gtest/gtest.h>

namespace xr::test {
namespace {

using platform::ras::ErrorNotEnoughMemory;

TEST(GetDynamicIP, GivesTheAddressOfTheOneActiveConnectionOnly)
{
    FakeRemoteAccess remoteAccess;
    EXPECT_EQ(GetDynamicIP(remoteAccess), QString());

    remoteAccess.addConnection("ISP", platform::ras::StateConnected, "192.168.100.200");
    EXPECT_EQ(GetDynamicIP(remoteAccess), QStringLiteral("192.168.100.200"));

    remoteAccess.addConnection("Office", platform::ras::StateConnected, "10.0.0.2");
    EXPECT_EQ(GetDynamicIP(remoteAccess), QString());

    remoteAccess.connections.pop_back();
    remoteAccess.enumConnectionsResult = ErrorNotEnoughMemory;
    EXPECT_EQ(GetDynamicIP(remoteAccess), QString());
}

TEST(GetDynamicIP, TakesTheAddressFieldUpToItsEnd)
{
    FakeRemoteAccess remoteAccess;
    remoteAccess.addConnection("ISP", platform::ras::StateConnected, std::string("10.1.2.3\0junk", 13));
    EXPECT_EQ(GetDynamicIP(remoteAccess), QStringLiteral("10.1.2.3"));

    remoteAccess.connections.front().ip = "192.168.100.2001";
    EXPECT_EQ(GetDynamicIP(remoteAccess), QStringLiteral("192.168.100.200"));
}

TEST(EntryExists, ComparesNamesExactly)
{
    FakeRemoteAccess remoteAccess;
    ScriptedPrompter prompter;
    for (const char* name : {"ISP", "Office 拨号"})
        remoteAccess.phonebook.push_back({name, "", "", "", "", ""});

    EXPECT_TRUE(EntryExists(remoteAccess, prompter, QStringLiteral("Office 拨号")));
    EXPECT_TRUE(EntryExists(remoteAccess, prompter, QStringLiteral("ISP")));
    EXPECT_FALSE(EntryExists(remoteAccess, prompter, QStringLiteral("isp")));
    EXPECT_FALSE(EntryExists(remoteAccess, prompter, QStringLiteral("ISP ")));
    EXPECT_FALSE(EntryExists(remoteAccess, prompter, QStringLiteral("Home")));
    EXPECT_TRUE(prompter.prompts.isEmpty());
}

TEST(EntryExists, SearchesAPhonebookOfAnySizeAndWarnsWhenItCannotBeListed)
{
    FakeRemoteAccess remoteAccess;
    ScriptedPrompter prompter;
    for (int i = 1; i <= 12; ++i)
        remoteAccess.phonebook.push_back({"Entry" + std::to_string(i), "", "", "", "", ""});
    EXPECT_TRUE(EntryExists(remoteAccess, prompter, QStringLiteral("Entry1")));
    EXPECT_TRUE(EntryExists(remoteAccess, prompter, QStringLiteral("Entry12")));
    EXPECT_FALSE(EntryExists(remoteAccess, prompter, QStringLiteral("Entry13")));
    EXPECT_TRUE(prompter.prompts.isEmpty());
    EXPECT_EQ(PhonebookEntries(remoteAccess).value_or(QStringList()).size(), 12);

    remoteAccess.enumEntriesResult = ErrorNotEnoughMemory;
    EXPECT_FALSE(EntryExists(remoteAccess, prompter, QStringLiteral("Entry1")));
    EXPECT_FALSE(PhonebookEntries(remoteAccess).has_value());
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].kind, PromptKind::Warning);
    EXPECT_EQ(prompter.prompts[0].buttons, PromptButtons::Ok);
    EXPECT_EQ(prompter.prompts[0].text,
              QStringLiteral("获得系统拨号连接信息失败！请更换权限更高的用户(操作系统的用户)登录使用XR！"));
}

} // namespace
} // namespace xr::test
