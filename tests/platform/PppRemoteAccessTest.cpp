// The pppd back-end against a stand-in pppd: links started outside the program, stale pid
// files and the folders pid files are in, dials with their progress, exit statuses and
// hang-up, refusals, and the choice of back-end; the interfaces are answered by the test. Then
// a dial of Debian's real pppd by an ordinary member of dip.
#include "platform/PppRemoteAccess.h"
#include "connections/RasErrorText.h"
#include "platform/PppErrors.h"
#include "platform/RemoteAccessFactory.h"

#include "DialRecorder.h"
#include "FakeInterfaces.h"
#include "RemoteAccessQueries.h"
#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <cstdlib>
#include <filesystem>
#include <grp.h>
#include <sys/stat.h>

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

    // Starts the stand-in as a user's own command would (pon, a boot script); it writes its pid
    // files into `pidFolder`.
    std::unique_ptr<QProcess> startOutside(const QStringList& arguments, const QString& interface,
                                           const char* pidFolder = "run")
    {
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("STANDIN_PPPD_IFNAME"), interface);
        environment.insert(QStringLiteral("XARVANE_PPP_RUN"), QString::fromStdString(path(pidFolder)));
        process->setProcessEnvironment(environment);
        process->start(kStandIn, arguments);
        EXPECT_TRUE(process->waitForStarted());
        const std::string pidFile = std::string(pidFolder) + "/" + interface.toStdString() + ".pid";
        EXPECT_TRUE(waitUntil([&] { return exists(pidFile.c_str()); }));
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
        PppLocations{path("peers"), m_dir.path().toStdString(), {path("run")}, kStandIn.toStdString()},
        interfaces.lookup(), interfaces.counters()};
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
    ByteCounts counts;
    EXPECT_EQ(ras.getConnectionStatistics(pid, counts), ras::ErrorProjectionNotComplete) << "no counters yet";
    interfaces.setCounters("ppp0", 5000000000ULL, 1234);
    interfaces.setCounters("ppp1", 1, 1);
    ASSERT_EQ(ras.getConnectionStatistics(pid, counts), ras::Success);
    EXPECT_EQ(counts, (ByteCounts{5000000000ULL, 1234})) << "the link's own interface, past 32 bits";

    // Ended outside the program: pppd removes its pid files and the handle is no longer valid.
    pppd->terminate();
    ASSERT_TRUE(pppd->waitForFinished());
    EXPECT_EQ(pppd->exitCode(), 5);
    EXPECT_FALSE(exists("run/ppp-Office.pid"));
    EXPECT_TRUE(connections().empty());
    EXPECT_EQ(status(pid), ras::ErrorInvalidHandle);
    EXPECT_EQ(address(pid), std::to_string(ras::ErrorInvalidHandle));
    EXPECT_EQ(ras.getConnectionStatistics(pid, counts), ras::ErrorInvalidHandle);
}

// The kernel's table of interface counters: each interface's received and sent bytes.
TEST(InterfaceCounters, ReadFromTheKernelsTableByExactName)
{
    QTemporaryDir dir;
    const std::string table = dir.filePath(QStringLiteral("dev")).toStdString();
    QFile file(QString::fromStdString(table));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("Inter-|   Receive                                                |  Transmit\n"
               " face |bytes    packets errs drop fifo frame compressed multicast|bytes    packets errs drop fifo "
               "colls carrier compressed\n"
               " ppp01: 9 1 0 0 0 0 0 0 9 1 0 0 0 0 0 0\n"
               "  ppp0:5000000000    7    0    0    0     0          0         0    4321     6    0    0    0     0 "
               "      0          0\n");
    file.close();
    EXPECT_EQ(countersInTable(table, "ppp0"), (ByteCounts{5000000000ULL, 4321}));
    EXPECT_EQ(countersInTable(table, "ppp"), std::nullopt);
    EXPECT_EQ(countersInTable(table, "eth0"), std::nullopt);
    EXPECT_TRUE(readInterfaceCounters("lo").has_value()) << "the loopback interface is always listed";
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
    // A link name of the peer's own does not rename the entry.
    write("peers/Office", "/dev/ttyS0 user alice\nlinkname office-line\n");
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
    // Only options that any member of dip may give: pppd refuses linkname from anyone but root.
    EXPECT_EQ(log.readAll(), "call Office nodetach\n");
    ASSERT_TRUE(exists("run/ppp-office-line.pid"));

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
    EXPECT_TRUE(waitUntil(
        [&] { return !exists("run/ppp-office-line.pid") && !processAlive(static_cast<int>(handle)); }));
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
    // Its pppd writes no pid file before the line is up; the peer is busy all the same.
    test::DialRecorder second;
    ConnHandle secondHandle = 0;
    EXPECT_EQ(ras.dial({"Office", "", "", "", "", ""}, second.notifier(), secondHandle),
              ras::ErrorPortAlreadyOpen);
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
    PppRemoteAccess refused({path("peers"), {}, {path("run")}, notRunnable.toStdString()}, none.lookup());
    const std::uint32_t notPermitted = dialEnd(refused, "Office");
    EXPECT_EQ(notPermitted, ppp::ErrorNotPermitted);
    std::string text;
    ASSERT_EQ(refused.getErrorString(notPermitted, text), ras::Success);
    EXPECT_NE(text.find("dip 组"), std::string::npos) << text;

    PppRemoteAccess missing({path("peers"), {}, {path("run")}, path("no-pppd")}, none.lookup());
    const std::uint32_t absent = dialEnd(missing, "Office");
    EXPECT_EQ(absent, ppp::ErrorPppdMissing);
    ASSERT_EQ(missing.getErrorString(absent, text), ras::Success);
    EXPECT_NE(text.find("ppp 软件包"), std::string::npos) << text;

    // Refusals of the request itself, each with a text of its own for the dial status window.
    test::DialRecorder recorder;
    ConnHandle handle = 7;
    EXPECT_EQ(ras.dial({"Home", "", "", "", "", ""}, recorder.notifier(), handle),
              ras::ErrorCannotFindPhonebookEntry);
    EXPECT_EQ(handle, 0u);
    EXPECT_EQ(RasErrorText(ras, ras::ErrorCannotFindPhonebookEntry).toStdString(),
              "在电话簿中找不到该连接。");
    std::filesystem::create_symlink("Loop", path("peers/Loop")); // a peer file that cannot be read
    EXPECT_EQ(ras.dial({"Loop", "", "", "", "", ""}, recorder.notifier(), handle),
              ras::ErrorCannotOpenPhonebook);
    EXPECT_EQ(RasErrorText(ras, ras::ErrorCannotOpenPhonebook).toStdString(), "无法打开电话簿文件。");
    EXPECT_EQ(ras.dial({"Office", "", "", "", "", ""}, nullptr, handle), ras::ErrorInvalidParameter);
    std::vector<std::string> names;
    EXPECT_EQ(ras.enumEntries(1, names), ras::ErrorBufferTooSmall);
    EXPECT_EQ(ras.enumEntries(10, names), ras::Success);
    EXPECT_EQ(names, (std::vector<std::string>{"Office", "宽带"}));
    EXPECT_TRUE(recorder.notifications().empty());
}

TEST_F(PppRemoteAccessTest, PidFilesAreFoundInEveryFolderPppdVersionsKeepThemIn)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("run/pppd")));
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("run/ppp")));
    // pppd 2.5 writes into the pppd folder of the run folder, some distributions' pppd into ppp.
    const auto modern =
        startOutside({QStringLiteral("call"), QStringLiteral("Office"), QStringLiteral("nodetach")},
                     QStringLiteral("ppp0"), "run/pppd");
    const auto other =
        startOutside({QStringLiteral("call"), QStringLiteral("宽带"), QStringLiteral("nodetach")},
                     QStringLiteral("ppp1"), "run/ppp");
    interfaces.set("ppp0", true, "10.64.0.2");
    interfaces.set("ppp1", true, "100.64.1.9");
    setVariable("XARVANE_PPPD", kStandIn.toStdString());
    PppRemoteAccess located(PppLocations::fromEnvironment(), interfaces.lookup());

    const std::vector<RasConnection> list = test::activeConnections(located);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].handle, static_cast<ConnHandle>(modern->processId()));
    EXPECT_EQ(list[0].entryName, "Office");
    EXPECT_EQ(list[1].handle, static_cast<ConnHandle>(other->processId()));
    EXPECT_EQ(list[1].entryName, "宽带");
    EXPECT_EQ(test::stateOrResult(located, list[1].handle), ras::StateConnected);
    for (const auto& [connection, pppd] :
         {std::pair(list[0], modern.get()), std::pair(list[1], other.get())}) {
        EXPECT_EQ(located.hangUp(connection.handle), ras::Success);
        EXPECT_TRUE(pppd->waitForFinished());
    }

    ::unsetenv("XARVANE_PPP_RUN");
    EXPECT_EQ(PppLocations::fromEnvironment().runFolders,
              (std::vector<std::string>{"/run", "/run/pppd", "/run/ppp"}));
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
    ASSERT_EQ(service->name(), "pppd");
    std::vector<std::string> names;
    EXPECT_EQ(service->enumEntries(10, names), ras::Success);
    EXPECT_EQ(names, (std::vector<std::string>{"Office", "宽带"}));
    EXPECT_EQ(chosen("sim")->name(), "simulated");

    setVariable("XARVANE_PPP_PEERS", path("run")); // a folder without peers
    EXPECT_EQ(chosen(nullptr)->name(), "simulated");
    EXPECT_EQ(chosen("ppp")->name(), "pppd");
}

// A peer file of the test's own where Debian's pppd reads peers (its `call` knows no other
// folder), readable by the dip group as pppd's own are; removed at the end.
struct SystemPeer {
    SystemPeer(const std::string& options, gid_t group)
    {
        QFile file(QString::fromStdString(path()));
        created = file.open(QIODevice::WriteOnly | QIODevice::NewOnly) &&
                  file.write(options.data(), static_cast<qint64>(options.size())) ==
                      static_cast<qint64>(options.size());
        file.close();
        created = created && ::chown(path().c_str(), 0, group) == 0 && ::chmod(path().c_str(), 0640) == 0;
    }
    ~SystemPeer() { QFile::remove(QString::fromStdString(path())); }
    std::string path() const { return "/etc/ppp/peers/" + name; }

    const std::string name = "xarvane-test-" + std::to_string(::getpid());
    bool created = false;
};

// Debian's pppd, dialled by an ordinary member of dip the way the program dials it: the command
// line holds no option that only root may give, so pppd reads the peer and gets as far as the
// kernel's PPP device, which this machine lacks; the dial status window shows that failure.
TEST(RealPppdTest, MemberOfDipDialsPastPppdsOptionsUpToTheMissingPppDevice)
{
    const std::string pppd = "/usr/sbin/pppd";
    if (::geteuid() != 0)
        GTEST_SKIP() << "writing a peer to /etc/ppp/peers and becoming a member of dip need root";
    if (!QFile::exists(QString::fromStdString(pppd)) || !QFileInfo(QStringLiteral("/etc/ppp/peers")).isDir())
        GTEST_SKIP() << "Debian's ppp package is not installed (no " << pppd << " or /etc/ppp/peers)";
    const group* dip = ::getgrnam("dip");
    if (!dip)
        GTEST_SKIP() << "no dip group on this machine";
    if (QFile::exists(QStringLiteral("/dev/ppp")))
        GTEST_SKIP() << "this machine has /dev/ppp: pppd would go on to open a real line";
    // /dev/null is a character device pppd accepts as the line; it never gets to open it.
    const SystemPeer peer("/dev/null\n", dip->gr_gid);
    ASSERT_TRUE(peer.created) << peer.path();
    QTemporaryDir run;
    const gid_t dipGroup = dip->gr_gid;

    const std::optional<std::string> shown = test::runUnprivilegedFor(
        [&] {
            FakeInterfaces none;
            PppRemoteAccess service({"/etc/ppp/peers", "/etc/ppp", {run.path().toStdString()}, pppd},
                                    none.lookup());
            test::DialRecorder recorder;
            ConnHandle handle = 0;
            if (const std::uint32_t refused =
                    service.dial({peer.name, {}, {}, {}, {}, {}}, recorder.notifier(), handle))
                return "refused " + std::to_string(refused);
            const auto notes = recorder.waitForEnd();
            const std::uint32_t code = notes.empty() ? 0 : notes.back().error;
            return std::to_string(code) + "\n" + RasErrorText(service, code).toStdString();
        },
        {dipGroup});
    ASSERT_TRUE(shown) << "the child could not become an ordinary member of dip";
    EXPECT_EQ(*shown,
              std::to_string(ppp::exitStatusCode(4)) +
                  "\n系统内核不支持 PPP（没有 PPP 驱动，或无法打开 /dev/ppp 设备）。（pppd 退出状态 4）");
}

} // namespace
} // namespace xr
