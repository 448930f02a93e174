// The NetworkManager back-end against NetworkManager's mock on a private bus.
#include "FakeInterfaces.h"
#include "NmMockTest.h"

#include "platform/NmMapping.h"
#include "platform/NmRemoteAccess.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTest>

#include <optional>

namespace xr::platform {
namespace {

using test::NmSettings;

constexpr int kWaitMs = 5000;

class NmRemoteAccessTest : public test::NmMockTest {
protected:
    void SetUp() override
    {
        NmMockTest::SetUp();
        if (!ready())
            return;
        device = mock.addEthernetDevice(QStringLiteral("eth0"), QStringLiteral("eth0"));
        office = mock.addProfile(QStringLiteral("Office"), QStringLiteral("802-3-ethernet"));
        service = std::make_unique<NmRemoteAccess>(nullptr, interfaces.counters());
        service->setRecordLan(true);
    }

    std::vector<RasConnection> connectionsNow()
    {
        std::vector<RasConnection> list;
        std::size_t needed = 0;
        EXPECT_EQ(service->enumConnections(16, list, needed), ras::Success);
        return list;
    }

    // The connections once the back-end has taken the service's change to `count` of them.
    std::vector<RasConnection> connections(std::size_t count = 1)
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return connectionsNow().size() == count; }, kWaitMs)) << count;
        return connectionsNow();
    }

    std::vector<std::string> entries()
    {
        std::vector<std::string> names;
        EXPECT_EQ(service->enumEntries(16, names), ras::Success);
        return names;
    }

    std::optional<std::uint32_t> status(ConnHandle handle)
    {
        std::uint32_t state = 0;
        const std::uint32_t result = service->getConnectStatus(handle, state);
        return result == ras::Success ? std::optional(state) : std::nullopt;
    }

    bool statusBecomes(ConnHandle handle, std::optional<std::uint32_t> expected)
    {
        return QTest::qWaitFor([&] { return status(handle) == expected; }, kWaitMs);
    }

    // The questions the back-end asked the service so far (its log also has the driver's calls and
    // the signals).
    qsizetype questionsAsked()
    {
        QFile log(mock.logPath());
        if (!log.open(QIODevice::ReadOnly))
            return -1;
        const QByteArray text = log.readAll();
        return text.count(" GetManagedObjects") + text.count(" ListConnections") + text.count(" GetSettings");
    }

    test::FakeInterfaces interfaces;
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

    std::string address;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return !connectionsNow().empty() &&
                   service->getProjectionIp(connectionsNow()[0].handle, address) == ras::Success;
        },
        kWaitMs));
    QTest::qWait(300); // the other connections' changes have arrived too
    auto list = connectionsNow();
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0].entryName, "Office");
    EXPECT_EQ(list[0].deviceType, "ethernet");
    EXPECT_EQ(list[0].deviceName, "eth0");
    const ConnHandle handle = list[0].handle;
    EXPECT_EQ(status(handle), ras::StateConnected);
    EXPECT_EQ(address, "192.168.100.200");
    interfaces.setCounters("eth0", 4200, 77);
    ByteCounts counts;
    ASSERT_EQ(service->getConnectionStatistics(handle, counts), ras::Success);
    EXPECT_EQ(counts, (ByteCounts{4200, 77})) << "the counters of the connection's interface";

    // Polls while nothing that matters changes ask the service nothing: access points come and
    // go all day.
    const QString wifi = mock.addWifiDevice(QStringLiteral("wlan0"), QStringLiteral("wlan0"));
    QTest::qWait(300);
    const qsizetype asked = questionsAsked();
    mock.addAccessPoint(wifi, QStringLiteral("ap1"));
    mock.addAccessPoint(wifi, QStringLiteral("ap2"));
    for (int poll = 0; poll < 5; ++poll) {
        EXPECT_EQ(connectionsNow().at(0).handle, handle);
        EXPECT_EQ(status(handle), ras::StateConnected);
        QTest::qWait(50);
    }
    EXPECT_GT(asked, 0);
    EXPECT_EQ(questionsAsked(), asked) << "an idle poll costs no call";

    std::size_t needed = 0;
    EXPECT_EQ(service->enumConnections(0, list, needed), ras::ErrorBufferTooSmall);
    EXPECT_EQ(needed, 1U);

    mock.changeState(active, nm::ActiveDeactivating, nm::ReasonUserDisconnected);
    EXPECT_TRUE(connections(0).empty()) << "the service still lists a connection that is ending";
    EXPECT_EQ(status(handle), std::nullopt);
    EXPECT_EQ(service->getConnectionStatistics(handle, counts), ras::ErrorInvalidHandle);
    mock.deactivate(active);
    mock.activate(office, device, nm::ActiveActivating);
    list = connections(1);
    ASSERT_EQ(list.size(), 1U);
    EXPECT_NE(list[0].handle, handle) << "a new connection never gets an old handle";
    EXPECT_NE(status(list[0].handle), ras::StateConnected);
    EXPECT_EQ(service->getProjectionIp(list[0].handle, address), ras::ErrorProjectionNotComplete);
}

TEST_F(NmRemoteAccessTest, OnlyDialUpKindsAndMeteredProfilesCountUnlessWiredAndWirelessAreRecordedToo)
{
    const auto settings = [](const char* name, const QString& key, const QVariant& value) {
        return NmSettings{{QLatin1String(name), {{key, value}}}};
    };
    const QString dsl = mock.addProfile(QStringLiteral("DSL"), QStringLiteral("pppoe"));
    mock.addProfile(QStringLiteral("Mobile"), QStringLiteral("gsm"));
    mock.addProfile(QStringLiteral("EVDO"), QStringLiteral("cdma"));
    mock.addProfile(QStringLiteral("Phone"), QStringLiteral("bluetooth"),
                    settings("bluetooth", QStringLiteral("type"), QStringLiteral("dun")));
    mock.addProfile(QStringLiteral("Tether"), QStringLiteral("bluetooth"),
                    settings("bluetooth", QStringLiteral("type"), QStringLiteral("panu")));
    mock.addProfile(QStringLiteral("Work VPN"), QStringLiteral("vpn"));
    mock.addProfile(QStringLiteral("Tunnel"), QStringLiteral("wireguard"));
    const QString hotspot = mock.addProfile(QStringLiteral("Hotspot"), QStringLiteral("802-11-wireless"),
                                            settings("connection", QStringLiteral("metered"), 1));
    mock.addProfile(QStringLiteral("Home"), QStringLiteral("802-11-wireless"));
    mock.addProfile(QStringLiteral("lo"), QStringLiteral("loopback"));
    mock.addProfile(QStringLiteral("bridge-port"), QStringLiteral("802-3-ethernet"), {},
                    QStringLiteral("br0"));
    mock.activate(office, device);
    mock.activate(dsl, device);
    mock.activate(hotspot, mock.addEthernetDevice(QStringLiteral("wlan0"), QStringLiteral("wlan0")));

    service->setRecordLan(false);
    const std::vector<std::string> dialUp{"DSL", "EVDO", "Hotspot", "Mobile", "Phone", "Tunnel", "Work VPN"};
    ASSERT_TRUE(QTest::qWaitFor([&] { return entries() == dialUp; }, kWaitMs)) << entries().size();
    EXPECT_EQ(service->uncountedLanEntries(), 2U) << "Home and Office";
    std::vector<std::string> names;
    EXPECT_EQ(service->enumEntries(6, names), ras::ErrorBufferTooSmall);
    RasDialParams params;
    EXPECT_EQ(service->getEntryDialParams("Office", params), ras::ErrorCannotFindPhonebookEntry);
    auto list = connections(2);
    ASSERT_EQ(list.size(), 2U);
    EXPECT_EQ(list[0].entryName, "DSL");
    EXPECT_EQ(list[1].entryName, "Hotspot");

    service->setRecordLan(true);
    EXPECT_EQ(entries(), (std::vector<std::string>{"DSL", "EVDO", "Home", "Hotspot", "Mobile", "Office",
                                                   "Phone", "Tunnel", "Work VPN"}));
    EXPECT_EQ(service->uncountedLanEntries(), 0U);
    list = connectionsNow();
    ASSERT_EQ(list.size(), 3U) << "taken at the next poll, without a restart";
    EXPECT_EQ(list[0].entryName, "Office");
}

TEST_F(NmRemoteAccessTest, ProfilesAreEntriesWithTheirLoginsAndWhetherTheServiceKeepsThePassword)
{
    // The service refuses every secret to this user (see NmMock::addProfile).
    mock.addProfile(QStringLiteral("DSL"), QStringLiteral("pppoe"),
                    NmSettings{{QStringLiteral("pppoe"),
                                {{QStringLiteral("username"), QStringLiteral("alice")},
                                 {QStringLiteral("password-flags"), 0U}}}});
    mock.addProfile(QStringLiteral("Agent"), QStringLiteral("pppoe"),
                    NmSettings{{QStringLiteral("pppoe"),
                                {{QStringLiteral("username"), QStringLiteral("bob")},
                                 {QStringLiteral("password-flags"), nm::SecretAgentOwned}}}});
    mock.addProfile(
        QStringLiteral("Mobile"), QStringLiteral("gsm"),
        NmSettings{{QStringLiteral("gsm"), {{QStringLiteral("number"), QStringLiteral("*99#")}}}});
    mock.addProfile(QStringLiteral("Card"), QStringLiteral("gsm"),
                    NmSettings{{QStringLiteral("gsm"),
                                {{QStringLiteral("username"), QStringLiteral("card")},
                                 {QStringLiteral("password-flags"), nm::SecretNotSaved}}}});
    mock.addProfile(QStringLiteral("VPN"), QStringLiteral("vpn"),
                    NmSettings{{QStringLiteral("vpn"),
                                {{QStringLiteral("user-name"), QStringLiteral("carol")},
                                 {QStringLiteral("data"),
                                  QVariant::fromValue(QMap<QString, QString>{
                                      {QStringLiteral("password-flags"), QStringLiteral("2")}})}}}});
    mock.addProfile(QStringLiteral("lo"), QStringLiteral("loopback"));

    const std::vector<std::string> all{"Agent", "Card", "DSL", "Mobile", "Office", "VPN"};
    ASSERT_TRUE(QTest::qWaitFor([&] { return entries() == all; }, kWaitMs));

    RasDialParams params;
    ASSERT_EQ(service->getEntryDialParams("DSL", params), ras::Success);
    EXPECT_EQ(params.entryName, "DSL");
    EXPECT_EQ(params.userName, "alice");
    EXPECT_EQ(params.password, "********")
        << "kept by NetworkManager: stored, though this user may not read it";
    EXPECT_TRUE(params.credentialsRequired);
    ASSERT_EQ(service->getEntryDialParams("Agent", params), ras::Success);
    EXPECT_EQ(params.password, "********") << "kept by the user's agent";

    ASSERT_EQ(service->getEntryDialParams("Card", params), ras::Success);
    EXPECT_EQ(params.userName, "card");
    EXPECT_EQ(params.password, "") << "never saved";
    EXPECT_TRUE(params.credentialsRequired);
    ASSERT_EQ(service->getEntryDialParams("VPN", params), ras::Success);
    EXPECT_EQ(params.userName, "carol");
    EXPECT_EQ(params.password, "");

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
    EXPECT_TRUE(statusBecomes(handle, std::nullopt));
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
    EXPECT_TRUE(statusBecomes(handle, ras::StateConnectDevice)) << "activating is a dialling state";

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
    mock.deactivate(mock.activeConnections().constFirst());

    // On a device, the active connection only says that the device disconnected; the device
    // failed first with the real cause.
    notes.clear();
    mock.activateSlowly(device);
    ASSERT_EQ(service->dial(RasDialParams{"Office", {}, {}, {}, {}, {}, false}, notifier, handle),
              ras::Success);
    ASSERT_TRUE(QTest::qWaitFor([&] { return mock.activeConnections().size() == 1 && !notes.empty(); }));
    QTest::qWait(200); // the dial follows the connection and its device
    constexpr unsigned kNoSecrets = 7;
    mock.failDevice(device, kNoSecrets);
    mock.changeState(mock.activeConnections().constFirst(), nm::ActiveDeactivated,
                     nm::ReasonDeviceDisconnected);
    ASSERT_TRUE(QTest::qWaitFor([&] { return notes.back().error != ras::Success; }));
    EXPECT_EQ(notes.back().error, nm::ErrorDeviceBase + kNoSecrets);
    ASSERT_EQ(service->getErrorString(notes.back().error, text), ras::Success);
    EXPECT_EQ(text, "需要密码或密钥，但没有提供。");
    mock.deactivate(mock.activeConnections().constFirst());

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

TEST_F(NmRemoteAccessTest, AServiceThatHangsIsAnsweredFromItsLastAnswerAtOnce)
{
    mock.activate(office, device);
    const ConnHandle handle = connections().at(0).handle;

    mock.stall();
    std::vector<RasConnection> list;
    std::size_t needed = 0;
    EXPECT_EQ(service->enumConnections(16, list, needed), ras::Success);
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0].handle, handle);
    EXPECT_EQ(status(handle), ras::StateConnected);
    std::vector<std::string> names;
    EXPECT_EQ(service->enumEntries(16, names), ras::Success);
    EXPECT_EQ(names, std::vector<std::string>{"Office"});
    RasDialParams params;
    EXPECT_EQ(service->getEntryDialParams("Office", params), ras::Success);
    mock.resume();
}

TEST_F(NmRemoteAccessTest, AServiceThatRestartsKeepsTheConnectionsItStillHasUnderTheirHandles)
{
    mock.activate(office, device);
    const ConnHandle handle = connections().at(0).handle;

    mock.stopService();
    std::vector<RasConnection> list;
    std::size_t needed = 0;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return service->enumConnections(16, list, needed) == nm::ErrorServiceUnavailable; }, kWaitMs));
    std::uint32_t state = 0;
    EXPECT_EQ(service->getConnectStatus(handle, state), nm::ErrorServiceUnavailable);

    // The new service starts with nothing and takes the connection over under new object names.
    ASSERT_TRUE(mock.startService(true));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return service->enumConnections(16, list, needed) == ras::Success; }, kWaitMs));
    QTest::qWait(300);
    list = connectionsNow();
    ASSERT_EQ(list.size(), 1U) << "still starting: the connection is not gone";
    EXPECT_EQ(list[0].handle, handle);
    const QString again = mock.addProfile(QStringLiteral("Office"), QStringLiteral("802-3-ethernet"));
    mock.activate(again, mock.addEthernetDevice(QStringLiteral("eth0"), QStringLiteral("eth0")));
    mock.finishStartup();
    QTest::qWait(300);
    list = connectionsNow();
    ASSERT_EQ(list.size(), 1U);
    EXPECT_EQ(list[0].handle, handle);
    EXPECT_EQ(status(handle), ras::StateConnected);

    // A service that comes back without it: the connection ended.
    mock.stopService();
    ASSERT_TRUE(mock.startService(true));
    mock.finishStartup();
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return service->enumConnections(16, list, needed) == ras::Success && list.empty(); }, kWaitMs));
    EXPECT_EQ(status(handle), std::nullopt);
}

} // namespace
} // namespace xr::platform
