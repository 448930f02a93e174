// The pppd back-end against a stand-in pppd: links started outside the program, stale pid
// files, dials with their progress, exit statuses and hang-up, refusals, and the choice of
// back-end. The interfaces are answered by the test.
#include "platform/PppRemoteAccess.h"
#include "platform/PppErrors.h"
#include "platform/RemoteAccessFactory.h"
#include "platform/SimRemoteAccess.h"

#include "DialRecorder.h"
#include "FakeInterfaces.h"
#include "RemoteAccessQueries.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>

namespace xr {
namespace {

using namespace platform;

const QString kStandIn = QStringLiteral(XARVANE_SOURCE_DIR "/tests/support/stand-in-pppd.sh");

using test::FakeInterfaces;

bool waitUntil(const std::function<bool()>& condition)
{
    QDeadlineTimer deadline(10000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}

class PppRemoteAccessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("peers")));
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("run")));
        write("peers/Office", "/dev/ttyS0 user alice\n");
        write("peers/宽带", "plugin rp-pppoe.so eth0\nuser bob\n");
        // What the stand-in reads, as pppd would find it.
        setVariable("XARVANE_PPP_PEERS", path("peers"));
        setVariable("XARVANE_PPP_RUN", path("run"));
        setVariable("STANDIN_PPPD_LOG", path("arguments.log"));
        setVariable("STANDIN_PPPD_DELAY", "0.1");
    }
    void TearDown() override
    {
        for (const char* name : m_variables)
            ::unsetenv(name);
    }

    void setVariable(const char* name, const std::string& value)
    {
        ::setenv(name, value.c_str(), 1);
        m_variables.push_back(name);
    }
    std::string path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)).toStdString(); }
    void write(const char* name, const std::string& text)
    {
        QFile file(QString::fromStdString(path(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
    }
    bool exists(const char* name) const { return QFile::exists(QString::fromStdString(path(name))); }

    // Starts the stand-in as a user's own command would (pon, a boot script).
    std::unique_ptr<QProcess> startOutside(const QStringList& arguments, const QString& interface)
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("STANDIN_PPPD_IFNAME"), interface);
        process->setProcessEnvironment(environment);
        process->start(kStandIn, arguments);
        EXPECT_TRUE(process->waitForStarted());
        EXPECT_TRUE(waitUntil([&] { return exists(("run/" + interface.toStdString() + ".pid").c_str()); }));
        return process;
    }

    std::vector<RasConnection> connections() { return test::activeConnections(ras); }
    std::uint32_t status(ConnHandle handle) { return test::stateOrResult(ras, handle); }
    std::string address(ConnHandle handle)
    {
        std::string ip;
        const std::uint32_t result = ras.getProjectionIp(handle, ip);
        return result == ras::Success ? ip : std::to_string(result);
    }
    std::uint32_t dialEnd(PppRemoteAccess& service, const std::string& entry)
    {
        test::DialRecorder recorder;
        ConnHandle handle = 0;
        EXPECT_EQ(service.dial({entry, {}, {}, {}, {}, {}}, recorder.notifier(), handle), ras::Success);
        EXPECT_NE(handle, 0u);
        const auto notes = recorder.waitForEnd();
        return notes.empty() ? 0 : notes.back().error;
    }

    QTemporaryDir m_dir;
    std::vector<const char*> m_variables;
    FakeInterfaces interfaces;
    PppRemoteAccess ras{
        PppLocations{path("peers"), m_dir.path().toStdString(), path("run"), kStandIn.toStdString()},
        interfaces.lookup()};
};

TEST_F(PppRemoteAccessTest, LinkStartedOutsideIsAConnectionWhileItsProcessLivesAndItsInterfaceIsUp)
{
    const auto pppd =
        startOutside({QStringLiteral("call"), QStringLiteral("Office"), QStringLiteral("linkname"),
                      QStringLiteral("Office"), QStringLiteral("nodetach")},
                     QStringLiteral("ppp0"));
    const auto pid = static_cast<ConnHandle>(pppd->processId());
    EXPECT_TRUE(connections().empty()) << "no interface yet";
    EXPECT_EQ(status(pid), ras::StateConnectDevice);

    interfaces.set("ppp0", false);
    EXPECT_TRUE(connections().empty()) << "interface down";
    EXPECT_EQ(status(pid), ras::StateAuthenticate);

    interfaces.set("ppp0", true);
    const std::vector<RasConnection> negotiating = connections();
    ASSERT_EQ(negotiating.size(), 1u);
    EXPECT_EQ(negotiating[0].handle, pid);
    EXPECT_EQ(negotiating[0].entryName, "Office");
    EXPECT_EQ(negotiating[0].deviceType, "modem");
    EXPECT_EQ(negotiating[0].deviceName, "ppp0");
    EXPECT_EQ(status(pid), ras::StateAuthenticate);
    EXPECT_EQ(address(pid), std::to_string(ras::ErrorProjectionNotComplete));

    interfaces.set("ppp0", true, "10.64.0.2");
    EXPECT_EQ(status(pid), ras::StateConnected);
    EXPECT_EQ(address(pid), "10.64.0.2");

    // Ended outside the program: pppd removes its pid files and the handle is no longer valid.
    pppd->terminate();
    ASSERT_TRUE(pppd->waitForFinished());
    EXPECT_EQ(pppd->exitCode(), 5);
    EXPECT_FALSE(exists("run/ppp-Office.pid"));
    EXPECT_TRUE(connections().empty());
    EXPECT_EQ(status(pid), ras::ErrorInvalidHandle);
    EXPECT_EQ(address(pid), std::to_string(ras::ErrorInvalidHandle));
}

TEST_F(PppRemoteAccessTest, LinkWithoutLinknameIsNamedByItsPeerAndStalePidFilesAreNoConnection)
{
    const auto pppd = startOutside(
        {QStringLiteral("call"), QStringLiteral("宽带"), QStringLiteral("nodetach")}, QStringLiteral("ppp1"));
    interfaces.set("ppp1", true, "100.64.1.9");
    // pppd that died without cleaning up: its pid files name a process that is gone.
    QProcess ended;
    ended.start(QStringLiteral("true"), {});
    ASSERT_TRUE(ended.waitForFinished());
    const std::string deadPid = std::to_string(ended.processId());
    write("run/ppp-Office.pid", deadPid + "\nppp0\n");
    write("run/ppp0.pid", deadPid + "\n");
    interfaces.set("ppp0", true, "10.64.0.2");

    const std::vector<RasConnection> list = connections();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].handle, static_cast<ConnHandle>(pppd->processId()));
    EXPECT_EQ(list[0].entryName, "宽带");
    EXPECT_EQ(list[0].deviceType, "PPPoE");
    EXPECT_EQ(list[0].deviceName, "ppp1");
    const auto dead = static_cast<ConnHandle>(ended.processId());
    EXPECT_EQ(status(dead), ras::ErrorInvalidHandle);
    EXPECT_EQ(ras.hangUp(dead), ras::ErrorInvalidHandle);
    // A stale pid file whose number now belongs to another program: no link, and no signal to it.
    QProcess other;
    other.start(QStringLiteral("sleep"), {QStringLiteral("30")});
    ASSERT_TRUE(other.waitForStarted());
    const auto reused = static_cast<ConnHandle>(other.processId());
    write("run/ppp-Old.pid", std::to_string(reused) + "\nppp0\n");
    EXPECT_EQ(connections().size(), 1u);
    EXPECT_EQ(status(reused), ras::ErrorInvalidHandle);
    EXPECT_EQ(ras.hangUp(reused), ras::ErrorInvalidHandle);
    EXPECT_FALSE(other.waitForFinished(200));
    other.kill();
    other.waitForFinished();

    std::vector<RasConnection> none;
    std::size_t needed = 0;
    EXPECT_EQ(ras.enumConnections(0, none, needed), ras::ErrorBufferTooSmall);
    EXPECT_EQ(needed, 1u);

    // Hang-up of a link started outside ends its pppd.
    EXPECT_EQ(ras.hangUp(list[0].handle), ras::Success);
    ASSERT_TRUE(pppd->waitForFinished());
    EXPECT_EQ(pppd->exitCode(), 5);
    EXPECT_FALSE(exists("run/ppp1.pid"));
}

TEST_F(PppRemoteAccessTest, DialRunsPppdForTheLinkReportsProgressConnectsAndHangsUp)
{
    interfaces.set("ppp0", false);
    test::DialRecorder recorder;
    ConnHandle handle = 0;
    ASSERT_EQ(ras.dial({"Office", "", "", "alice", "secret", ""}, recorder.notifier(), handle), ras::Success);
    ASSERT_NE(handle, 0u);
    ASSERT_EQ(recorder.waitFor(3).size(), 3u);
    EXPECT_EQ(status(handle), ras::StateAuthenticate);
    interfaces.set("ppp0", true, "10.64.0.7");
    const auto notes = recorder.waitForEnd();

    std::vector<std::uint32_t> states;
    for (const auto& note : notes) {
        states.push_back(note.state);
        EXPECT_EQ(note.error, 0u);
        EXPECT_EQ(note.message, ras::DialEventMessage);
        EXPECT_NE(note.thread, std::this_thread::get_id());
    }
    EXPECT_EQ(states, (std::vector<std::uint32_t>{ras::StateOpenPort, ras::StateConnectDevice,
                                                  ras::StateAuthenticate, ras::StateConnected}));
    QFile log(QString::fromStdString(path("arguments.log")));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_EQ(log.readAll(), "call Office linkname Office nodetach\n");

    const std::vector<RasConnection> list = connections();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].handle, handle);
    EXPECT_EQ(list[0].entryName, "Office");
    EXPECT_EQ(address(handle), "10.64.0.7");
    ConnHandle second = 0;
    EXPECT_EQ(ras.dial({"Office", "", "", "", "", ""}, recorder.notifier(), second),
              ras::ErrorPortAlreadyOpen);

    // Hang-up ends the stand-in; a connection's end is the notifier's to see, not the dial's.
    EXPECT_EQ(ras.hangUp(handle), ras::Success);
    EXPECT_TRUE(
        waitUntil([&] { return !exists("run/ppp-Office.pid") && !processAlive(static_cast<int>(handle)); }));
    EXPECT_EQ(status(handle), ras::ErrorInvalidHandle);
    EXPECT_TRUE(connections().empty());
    EXPECT_EQ(recorder.notifications().size(), 4u);
}

TEST_F(PppRemoteAccessTest, HangUpWhileDiallingEndsPppdAsADisconnectedPort)
{
    setVariable("STANDIN_PPPD_DELAY", "30");
    test::DialRecorder recorder;
    ConnHandle handle = 0;
    ASSERT_EQ(ras.dial({"Office", "", "", "", "", ""}, recorder.notifier(), handle), ras::Success);
    ASSERT_EQ(recorder.waitFor(2).size(), 2u);
    EXPECT_EQ(status(handle), ras::StateConnectDevice);
    EXPECT_EQ(ras.hangUp(handle), ras::Success);
    const auto notes = recorder.waitForEnd();
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes.back().error, ras::ErrorPortDisconnected);
    EXPECT_EQ(notes.back().state, ras::StateConnectDevice);
    EXPECT_FALSE(processAlive(static_cast<int>(handle)));
}

TEST_F(PppRemoteAccessTest, EachExitStatusOfPppdReachesTheDialAsItsCodeWithAChineseText)
{
    setVariable("STANDIN_PPPD_DELAY", "0.01");
    for (int exitStatus = 0; exitStatus <= 19; ++exitStatus) {
        SCOPED_TRACE(exitStatus);
        setVariable("STANDIN_PPPD_EXIT", std::to_string(exitStatus));
        const std::uint32_t code = dialEnd(ras, "Office");
        EXPECT_EQ(code, ppp::ExitStatusBase + static_cast<std::uint32_t>(exitStatus));
        std::string text;
        EXPECT_EQ(ras.getErrorString(code, text), ras::Success);
        EXPECT_NE(text.find("（pppd 退出状态 " + std::to_string(exitStatus) + "）"), std::string::npos)
            << text;
    }
    std::string text;
    EXPECT_EQ(ras.getErrorString(ppp::exitStatusCode(19), text), ras::Success);
    EXPECT_EQ(text, "用户名或密码无效，远程服务器拒绝了身份验证。（pppd 退出状态 19）");
    EXPECT_EQ(ras.getErrorString(ppp::exitStatusCode(20), text), ras::ErrorInvalidParameter);
    EXPECT_EQ(ras.getErrorString(1000, text), ras::ErrorInvalidParameter);
}

TEST_F(PppRemoteAccessTest, RefusalsSayWhatToDo)
{
    // pppd that this user may not run (Debian: not in the dip group) or that is not installed.
    const QString notRunnable = QString::fromStdString(path("pppd"));
    ASSERT_TRUE(QFile::copy(kStandIn, notRunnable));
    ASSERT_TRUE(QFile::setPermissions(notRunnable, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther));
    FakeInterfaces none;
    PppRemoteAccess refused({path("peers"), {}, path("run"), notRunnable.toStdString()}, none.lookup());
    const std::uint32_t notPermitted = dialEnd(refused, "Office");
    EXPECT_EQ(notPermitted, ppp::ErrorNotPermitted);
    std::string text;
    ASSERT_EQ(refused.getErrorString(notPermitted, text), ras::Success);
    EXPECT_NE(text.find("dip 组"), std::string::npos) << text;

    PppRemoteAccess missing({path("peers"), {}, path("run"), path("no-pppd")}, none.lookup());
    const std::uint32_t absent = dialEnd(missing, "Office");
    EXPECT_EQ(absent, ppp::ErrorPppdMissing);
    ASSERT_EQ(missing.getErrorString(absent, text), ras::Success);
    EXPECT_NE(text.find("ppp 软件包"), std::string::npos) << text;

    // Refusals of the request itself.
    test::DialRecorder recorder;
    ConnHandle handle = 7;
    EXPECT_EQ(ras.dial({"Home", "", "", "", "", ""}, recorder.notifier(), handle),
              ras::ErrorCannotFindPhonebookEntry);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(ras.dial({"Office", "", "", "", "", ""}, nullptr, handle), ras::ErrorInvalidParameter);
    std::vector<std::string> names;
    EXPECT_EQ(ras.enumEntries(1, names), ras::ErrorBufferTooSmall);
    EXPECT_EQ(ras.enumEntries(10, names), ras::Success);
    EXPECT_EQ(names, (std::vector<std::string>{"Office", "宽带"}));
    EXPECT_TRUE(recorder.notifications().empty());
}

TEST_F(PppRemoteAccessTest, ChosenByNameOrWhenPeersExistElseTheSimulatedService)
{
    setVariable("XARVANE_SIM_STATE", path("SimRas.json"));
    const auto chosen = [](const char* choice) {
        if (choice)
            ::setenv("XARVANE_RAS", choice, 1);
        else
            ::unsetenv("XARVANE_RAS");
        return createRemoteAccess("/nonexistent/");
    };
    m_variables.push_back("XARVANE_RAS");

    std::unique_ptr<RemoteAccess> service = chosen(nullptr);
    ASSERT_NE(dynamic_cast<PppRemoteAccess*>(service.get()), nullptr);
    std::vector<std::string> names;
    EXPECT_EQ(service->enumEntries(10, names), ras::Success);
    EXPECT_EQ(names, (std::vector<std::string>{"Office", "宽带"}));
    EXPECT_NE(dynamic_cast<SimRemoteAccess*>(chosen("sim").get()), nullptr);

    setVariable("XARVANE_PPP_PEERS", path("run")); // a folder without peers
    EXPECT_NE(dynamic_cast<SimRemoteAccess*>(chosen(nullptr).get()), nullptr);
    EXPECT_NE(dynamic_cast<PppRemoteAccess*>(chosen("ppp").get()), nullptr);
}

} // namespace
} // namespace xr
