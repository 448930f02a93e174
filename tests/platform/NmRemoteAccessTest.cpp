// The NetworkManager back-end against NetworkManager's mock on a private bus.
#include "NmMockTest.h"

#include "platform/NmMapping.h"
#include "platform/NmRemoteAccess.h"

#include <gtest/gtest.h>

#include <QTest>

#include <optional>

namespace xr::platform {
namespace {

using test::NmSettings;

class NmRemoteAccessTest : public test::NmMockTest {
protected:
    void SetUp() override
    {
        NmMockTest::SetUp();
        if (!ready())
            return;
        service = std::make_unique<NmRemoteAccess>();
        device = mock.addEthernetDevice(QStringLiteral("eth0"), QStringLiteral("eth0"));
        office = mock.addProfile(QStringLiteral("Office"), QStringLiteral("802-3-ethernet"));
    }

    std::vector<RasConnection> connections()
    {
        QTest::qWait(120); // past the snapshot that served the previous poll
        std::vector<RasConnection> list;
        std::size_t needed = 0;
        EXPECT_EQ(service->enumConnections(16, list, needed), ras::Success);
        return list;
    }

    std::optional<std::uint32_t> status(ConnHandle handle)
    {
        QTest::qWait(120);
        std::uint32_t state = 0;
        const std::uint32_t result = service->getConnectStatus(handle, state);
        return result == ras::Success ? std::optional(state) : std::nullopt;
    }

    std::unique_ptr<NmRemoteAccess> service;
    QString device;
    QString office;
};

struct Notification {
    std::uint32_t state;
    std::uint32_t error;
};

TEST_F(NmRemoteAccessTest, WatchesOnlyChosenConnectionsUnderHandlesThatLastAsLongAsThey)
{
    const QString active = mock.activate(office, device);
    mock.setAddress(active, QStringLiteral("192.168.100.200"));
    const QString lo = mock.addProfile(QStringLiteral("lo"), QStringLiteral("loopback"));
    mock.activate(lo, mock.addEthernetDevice(QStringLiteral("lo"), QStringLiteral("lo")));
    const QString docker = mock.addProfile(QStringLiteral("docker0"), QStringLiteral("bridge"));
    mock.activate(docker, mock.addEthernetDevice(QStringLiteral("docker0"), QStringLiteral("docker0")), 2,
                  nm::FlagExternal);
    const QString port = mock.addProfile(QStringLiteral("bridge-port"), QStringLiteral("802-3-ethernet"), {},
                                         QStringLiteral("br0"));
    mock.activate(port, mock.addEthernetDevice(QStringLiteral("eth1"), QStringLiteral("eth1")), 2,
                  nm::FlagIsPort);

    auto list = connections();
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0].entryName, "Office");
    EXPECT_EQ(list[0].deviceType, "ethernet");
    EXPECT_EQ(list[0].deviceName, "eth0");
    const ConnHandle handle = list[0].handle;
    EXPECT_EQ(status(handle), ras::StateConnected);
    std::string address;
    EXPECT_EQ(service->getProjectionIp(handle, address), ras::Success);
    EXPECT_EQ(address, "192.168.100.200");
    EXPECT_EQ(connections().at(0).handle, handle);

    std::size_t needed = 0;
    EXPECT_EQ(service->enumConnections(0, list, needed), ras::ErrorBufferTooSmall);
    EXPECT_EQ(needed, 1U);

    mock.changeState(active, nm::ActiveDeactivating, nm::ReasonUserDisconnected);
    EXPECT_TRUE(connections().empty()) << "the service still lists a connection that is ending";
    EXPECT_EQ(status(handle), std::nullopt);
    mock.deactivate(active);
    mock.activate(office, device, nm::ActiveActivating);
    list = connections();
    ASSERT_EQ(list.size(), 1U);
    EXPECT_NE(list[0].handle, handle) << "a new connection never gets an old handle";
    EXPECT_NE(status(list[0].handle), ras::StateConnected);
    EXPECT_EQ(service->getProjectionIp(list[0].handle, address), ras::ErrorProjectionNotComplete);
}

TEST_F(NmRemoteAccessTest, ProfilesAreEntriesWithTheirLoginsAndTheSecretsTheServiceGives)
{
    const QString dsl = mock.addProfile(
        QStringLiteral("DSL"), QStringLiteral("pppoe"),
        NmSettings{{QStringLiteral("pppoe"), {{QStringLiteral("username"), QStringLiteral("alice")}}}});
    mock.giveSecret(dsl, QStringLiteral("pppoe"), QStringLiteral("s3cret"));
    mock.addProfile(
        QStringLiteral("Mobile"), QStringLiteral("gsm"),
        NmSettings{{QStringLiteral("gsm"), {{QStringLiteral("number"), QStringLiteral("*99#")}}}});
    mock.addProfile(
        QStringLiteral("Card"), QStringLiteral("gsm"),
        NmSettings{{QStringLiteral("gsm"), {{QStringLiteral("username"), QStringLiteral("card")}}}});
    mock.addProfile(QStringLiteral("lo"), QStringLiteral("loopback"));
    mock.addProfile(QStringLiteral("bridge-port"), QStringLiteral("802-3-ethernet"), {},
                    QStringLiteral("br0"));

    std::vector<std::string> names;
    ASSERT_EQ(service->enumEntries(10, names), ras::Success);
    EXPECT_EQ(names, (std::vector<std::string>{"Card", "DSL", "Mobile", "Office"}));
    EXPECT_EQ(service->enumEntries(3, names), ras::ErrorBufferTooSmall);

    RasDialParams params;
    ASSERT_EQ(service->getEntryDialParams("DSL", params), ras::Success);
    EXPECT_EQ(params.entryName, "DSL");
    EXPECT_EQ(params.userName, "alice");
    EXPECT_EQ(params.password, "s3cret");
    EXPECT_TRUE(params.credentialsRequired);

    ASSERT_EQ(service->getEntryDialParams("Card", params), ras::Success);
    EXPECT_EQ(params.userName, "card");
    EXPECT_EQ(params.password, "") << "a secret the service keeps to itself stays unknown";
    EXPECT_TRUE(params.credentialsRequired);

    ASSERT_EQ(service->getEntryDialParams("Mobile", params), ras::Success);
    EXPECT_EQ(params.phoneNumber, "*99#");
    EXPECT_FALSE(params.credentialsRequired);
    ASSERT_EQ(service->getEntryDialParams("Office", params), ras::Success);
    EXPECT_FALSE(params.credentialsRequired);
    EXPECT_EQ(service->getEntryDialParams("office", params), ras::ErrorCannotFindPhonebookEntry);
}

TEST_F(NmRemoteAccessTest, DialActivatesTheProfileAndTheConnectionKeepsTheDialsHandle)
{
    std::vector<Notification> notes;
    RasDialParams params;
    ASSERT_EQ(service->getEntryDialParams("Office", params), ras::Success);
    ConnHandle handle = 0;
    ASSERT_EQ(service->dial(
                  params,
                  [&](unsigned, std::uint32_t s, std::uint32_t e) {
                      notes.push_back({s, e});
                  },
                  handle),
              ras::Success);
    EXPECT_NE(handle, 0U);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notes.empty() && notes.back().state == ras::StateConnected; }));
    EXPECT_EQ(notes.back().error, ras::Success);
    const auto list = connections();
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0].handle, handle);
    EXPECT_EQ(list[0].entryName, "Office");

    EXPECT_EQ(service->hangUp(handle), ras::Success);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mock.activeConnections().isEmpty(); }));
    EXPECT_EQ(status(handle), std::nullopt);
    EXPECT_EQ(service->hangUp(handle), ras::ErrorInvalidHandle);
}

TEST_F(NmRemoteAccessTest, FailedActivationsReportOurCodesWithChineseTexts)
{
    mock.activateSlowly();
    std::vector<Notification> notes;
    const auto notifier = [&](unsigned, std::uint32_t s, std::uint32_t e) { notes.push_back({s, e}); };
    ConnHandle handle = 0;
    ASSERT_EQ(service->dial(RasDialParams{"Office", {}, {}, {}, {}, {}, false}, notifier, handle),
              ras::Success);
    ASSERT_TRUE(QTest::qWaitFor([&] { return mock.activeConnections().size() == 1 && !notes.empty(); }));
    EXPECT_EQ(notes.back().error, ras::Success);
    EXPECT_EQ(status(handle), ras::StateConnectDevice) << "activating is a dialling state";

    mock.changeState(mock.activeConnections().constFirst(), nm::ActiveDeactivated, nm::ReasonLoginFailed);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notes.back().error != ras::Success; }));
    QTest::qWait(200);
    EXPECT_EQ(std::count_if(notes.begin(), notes.end(), [](const Notification& n) { return n.error != 0; }),
              1)
        << "one failure report";
    EXPECT_EQ(notes.back().error, nm::ErrorActivationBase + nm::ReasonLoginFailed);
    std::string text;
    ASSERT_EQ(service->getErrorString(notes.back().error, text), ras::Success);
    EXPECT_EQ(text, "用户名或密码无效，登录失败。");

    notes.clear();
    mock.refuseActivation(QStringLiteral("org.freedesktop.NetworkManager.PermissionDenied"));
    ASSERT_EQ(service->dial(RasDialParams{"Office", {}, {}, {}, {}, {}, false}, notifier, handle),
              ras::Success);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notes.empty(); }));
    EXPECT_EQ(notes.back().error, nm::ErrorPermissionDenied);
    ASSERT_EQ(service->getErrorString(nm::ErrorPermissionDenied, text), ras::Success);
    EXPECT_EQ(text, "没有启动或断开该连接的权限。");

    EXPECT_EQ(service->dial(RasDialParams{"Nowhere", {}, {}, {}, {}, {}, false}, notifier, handle),
              ras::ErrorCannotFindPhonebookEntry);
    EXPECT_EQ(service->getErrorString(ras::ErrorPortDisconnected, text), ras::Success)
        << "the service's own codes";
    EXPECT_EQ(service->getErrorString(1000, text), ras::ErrorInvalidParameter);
}

TEST_F(NmRemoteAccessTest, AServiceThatLeavesTheBusFailsEachCallAndIsFoundAgainWithTheSameConnections)
{
    mock.activate(office, device);
    const ConnHandle handle = connections().at(0).handle;

    mock.stopService();
    QTest::qWait(120);
    std::vector<RasConnection> list;
    std::size_t needed = 0;
    EXPECT_EQ(service->enumConnections(16, list, needed), nm::ErrorServiceUnavailable);
    std::uint32_t state = 0;
    EXPECT_EQ(service->getConnectStatus(handle, state), nm::ErrorServiceUnavailable);

    // The service starts again and finds the connection still up under new object names.
    ASSERT_TRUE(mock.startService());
    const QString again = mock.addProfile(QStringLiteral("Office"), QStringLiteral("802-3-ethernet"));
    mock.activate(again, mock.addEthernetDevice(QStringLiteral("eth0"), QStringLiteral("eth0")));
    list = connections();
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0].handle, handle);
    EXPECT_EQ(status(handle), ras::StateConnected);
}

} // namespace
} // namespace xr::platform
