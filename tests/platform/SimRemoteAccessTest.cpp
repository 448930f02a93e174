// The simulated dial-up service: phonebook, connections, dials and their notifications,
// hang-up, error texts, and the choice of back-end.
#include "platform/SimRemoteAccess.h"
#include "platform/RemoteAccessFactory.h"
#include "platform/SimStateFile.h"

#include "DialRecorder.h"
#include "RemoteAccessQueries.h"
#include "SimToolProcess.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <cstdlib>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

namespace xr {
namespace {

using namespace platform;
using Notification = test::DialRecorder::Notification;

constexpr std::uint32_t LongDialMs = 600000;

class SimRemoteAccessTest : public ::testing::Test {
protected:
    std::string statePath() const { return m_dir.filePath(QStringLiteral("SimRas.json")).toStdString(); }

    void addEntry(const std::string& name, std::uint32_t dialMs, std::uint32_t failCode = 0)
    {
        std::string error;
        ASSERT_TRUE(m_file.update(
            [&](SimState& state) {
                state.entries.push_back({name, "user", "secret", "16300", dialMs, failCode});
                return true;
            },
            error))
            << error;
    }

    // Dials `entry` and answers its handle.
    ConnHandle dial(const std::string& entry, test::DialRecorder& recorder)
    {
        ConnHandle handle = 0;
        EXPECT_EQ(ras.dial({entry, {}, {}, "user", "secret", {}}, recorder.notifier(), handle), ras::Success);
        EXPECT_NE(handle, 0u);
        return handle;
    }

    std::vector<RasConnection> connections() { return test::activeConnections(ras); }

    std::uint32_t status(ConnHandle handle) { return test::stateOrResult(ras, handle); }

    QTemporaryDir m_dir;
    SimStateFile m_file{statePath()};
    SimRemoteAccess ras{statePath()};
};

std::vector<Notification> progress(std::initializer_list<std::uint32_t> states, std::thread::id thread)
{
    std::vector<Notification> list;
    for (std::uint32_t state : states)
        list.push_back({ras::DialEventMessage, state, 0, thread});
    return list;
}

TEST_F(SimRemoteAccessTest, DialGoesThroughEveryStateOnItsOwnThreadAndConnects)
{
    addEntry("Office", 0);
    test::DialRecorder recorder;
    const ConnHandle handle = dial("Office", recorder);

    const std::vector<Notification> seen = recorder.waitForEnd();
    ASSERT_FALSE(seen.empty());
    const std::thread::id dialThread = seen.front().thread;
    EXPECT_NE(dialThread, std::this_thread::get_id());
    EXPECT_EQ(seen, progress({ras::StateOpenPort, ras::StatePortOpened, ras::StateConnectDevice,
                              ras::StateDeviceConnected, ras::StateAllDevicesConnected,
                              ras::StateAuthenticate, ras::StateAuthenticated, ras::StateConnected},
                             dialThread));

    EXPECT_EQ(status(handle), ras::StateConnected);
    const std::vector<RasConnection> list = connections();
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].handle, handle);
    EXPECT_EQ(list[0].entryName, "Office");
    EXPECT_EQ(list[0].deviceType, "modem");
    EXPECT_FALSE(list[0].deviceName.empty());
    std::string ip;
    EXPECT_EQ(ras.getProjectionIp(handle, ip), ras::Success);
    EXPECT_EQ(ip, SimState::addressFor(handle));

    // A second dial of a connected entry is refused at once.
    test::DialRecorder again;
    ConnHandle second = 99;
    EXPECT_EQ(ras.dial({"Office", {}, {}, {}, {}, {}}, again.notifier(), second), ras::ErrorPortAlreadyOpen);
    EXPECT_EQ(second, 0u);

    EXPECT_EQ(ras.hangUp(handle), ras::Success);
    EXPECT_EQ(status(handle), ras::ErrorInvalidHandle);
    EXPECT_TRUE(connections().empty());
}

TEST_F(SimRemoteAccessTest, ScriptedFailureReportsItsCodeInTheStateItFailedInAndLeavesNoConnection)
{
    struct Case {
        std::uint32_t code;
        std::vector<std::uint32_t> statesBefore; // progress up to and including the failing state
    };
    const std::vector<Case> cases = {
        {ras::ErrorAuthenticationFailure,
         {ras::StateOpenPort, ras::StatePortOpened, ras::StateConnectDevice, ras::StateDeviceConnected,
          ras::StateAllDevicesConnected, ras::StateAuthenticate}},
        {ras::ErrorPortDisconnected, {ras::StateOpenPort, ras::StatePortOpened, ras::StateConnectDevice}},
        {ras::ErrorPortNotAvailable, {ras::StateOpenPort}},
        {1000, {ras::StateOpenPort, ras::StatePortOpened, ras::StateConnectDevice}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        const std::string entry = "Fails" + std::to_string(c.code);
        addEntry(entry, 0, c.code);
        test::DialRecorder recorder;
        const ConnHandle handle = dial(entry, recorder);
        const std::vector<Notification> seen = recorder.waitForEnd();
        ASSERT_EQ(seen.size(), c.statesBefore.size() + 1);
        for (std::size_t i = 0; i < c.statesBefore.size(); ++i) {
            EXPECT_EQ(seen[i].state, c.statesBefore[i]);
            EXPECT_EQ(seen[i].error, 0u);
        }
        EXPECT_EQ(seen.back().state, c.statesBefore.back());
        EXPECT_EQ(seen.back().error, c.code);
        EXPECT_EQ(status(handle), ras::ErrorInvalidHandle);
        EXPECT_TRUE(connections().empty());
    }
}

TEST_F(SimRemoteAccessTest, HangUpWhileDialingEndsTheDial)
{
    addEntry("Slow", LongDialMs);
    test::DialRecorder recorder;
    const ConnHandle handle = dial("Slow", recorder);
    ASSERT_EQ(recorder.waitFor(1).size(), 1u);

    EXPECT_EQ(status(handle), ras::StateOpenPort);
    ASSERT_EQ(connections().size(), 1u);
    std::string ip;
    EXPECT_EQ(ras.getProjectionIp(handle, ip), ras::ErrorProjectionNotComplete);

    EXPECT_EQ(ras.hangUp(handle), ras::Success);
    const std::vector<Notification> seen = recorder.waitForEnd();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].state, ras::StateOpenPort);
    EXPECT_EQ(seen[1].error, ras::ErrorPortDisconnected);
    EXPECT_EQ(status(handle), ras::ErrorInvalidHandle);
    EXPECT_TRUE(connections().empty());
    EXPECT_EQ(ras.hangUp(handle), ras::ErrorInvalidHandle);

    // The entry can be dialled again once the dial has ended.
    test::DialRecorder next;
    dial("Slow", next);
}

TEST_F(SimRemoteAccessTest, HangUpFromAnotherProcessEndsTheDial)
{
    addEntry("Slow", LongDialMs);
    test::DialRecorder recorder;
    const ConnHandle handle = dial("Slow", recorder);
    ASSERT_EQ(recorder.waitFor(1).size(), 1u);

    const test::SimToolResult result =
        test::runSimTool({QStringLiteral("--state"), QString::fromStdString(statePath()),
                          QStringLiteral("disconnect"), QStringLiteral("Slow")});
    ASSERT_EQ(result.exitCode, 0) << result.err.toStdString();

    const std::vector<Notification> seen = recorder.waitForEnd();
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[1].error, ras::ErrorPortDisconnected);
    EXPECT_EQ(status(handle), ras::ErrorInvalidHandle);
}

TEST_F(SimRemoteAccessTest, DestroyingTheServiceStopsItsDialsSilently)
{
    addEntry("Slow", LongDialMs);
    test::DialRecorder recorder;
    {
        SimRemoteAccess service(statePath());
        ConnHandle handle = 0;
        ASSERT_EQ(service.dial({"Slow", {}, {}, {}, {}, {}}, recorder.notifier(), handle), ras::Success);
        ASSERT_EQ(recorder.waitFor(1).size(), 1u);
    }
    const std::vector<Notification> seen = recorder.notifications();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].error, 0u);
    // The unfinished dial left nothing behind.
    EXPECT_TRUE(connections().empty());
}

TEST_F(SimRemoteAccessTest, QueriesAnswerTheServiceCodes)
{
    std::uint32_t state = 0;
    EXPECT_EQ(ras.getConnectStatus(12345, state), ras::ErrorInvalidHandle);
    std::string ip;
    EXPECT_EQ(ras.getProjectionIp(12345, ip), ras::ErrorInvalidHandle);
    EXPECT_EQ(ras.hangUp(12345), ras::ErrorInvalidHandle);
    EXPECT_TRUE(connections().empty());

    test::DialRecorder recorder;
    ConnHandle handle = 7;
    EXPECT_EQ(ras.dial({"Missing", {}, {}, {}, {}, {}}, recorder.notifier(), handle),
              ras::ErrorCannotFindPhonebookEntry);
    EXPECT_EQ(handle, 0u);
    RasDialParams params;
    EXPECT_EQ(ras.getEntryDialParams("Missing", params), ras::ErrorCannotFindPhonebookEntry);
    addEntry("Office", 0);
    EXPECT_EQ(ras.dial({"Office", {}, {}, {}, {}, {}}, nullptr, handle), ras::ErrorInvalidParameter);
    EXPECT_TRUE(connections().empty());

    for (int i = 0; i < 3; ++i)
        addEntry("Entry" + std::to_string(i), 0);
    std::vector<std::string> names;
    EXPECT_EQ(ras.enumEntries(4, names), ras::Success);
    EXPECT_EQ(names, (std::vector<std::string>{"Office", "Entry0", "Entry1", "Entry2"}));
    EXPECT_EQ(ras.enumEntries(3, names), ras::ErrorBufferTooSmall);

    EXPECT_EQ(ras.getEntryDialParams("Entry1", params), ras::Success);
    EXPECT_EQ(params.entryName, "Entry1");
    EXPECT_EQ(params.userName, "user");
    EXPECT_EQ(params.password, "secret");
    EXPECT_EQ(params.phoneNumber, "16300");
    EXPECT_EQ(ras.getEntryDialParams("entry1", params), ras::ErrorCannotFindPhonebookEntry);

    std::string error;
    ASSERT_TRUE(m_file.update(
        [](SimState& s) {
            s.addConnection("Entry0", ras::StateConnected, "1.2.3.4", 0);
            s.addConnection("Entry1", ras::StateConnected, "", 0);
            return true;
        },
        error));
    std::vector<RasConnection> list;
    std::size_t needed = 0;
    EXPECT_EQ(ras.enumConnections(1, list, needed), ras::ErrorBufferTooSmall);
    EXPECT_EQ(needed, 2u);
    EXPECT_EQ(ras.enumConnections(2, list, needed), ras::Success);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].entryName, "Entry0");
    EXPECT_EQ(ras.getProjectionIp(list[0].handle, ip), ras::Success);
    EXPECT_EQ(ip, "1.2.3.4");
}

TEST_F(SimRemoteAccessTest, EveryCodeTheServiceProducesHasItsOwnText)
{
    const std::vector<std::uint32_t> produced = {ras::ErrorInvalidHandle,
                                                 ras::ErrorInvalidParameter,
                                                 ras::ErrorPortAlreadyOpen,
                                                 ras::ErrorBufferTooSmall,
                                                 ras::ErrorPortDisconnected,
                                                 ras::ErrorCannotOpenPhonebook,
                                                 ras::ErrorCannotFindPhonebookEntry,
                                                 ras::ErrorPortNotAvailable,
                                                 ras::ErrorLineBusy,
                                                 ras::ErrorNoAnswer,
                                                 ras::ErrorNoDialTone,
                                                 ras::ErrorAuthenticationFailure,
                                                 ras::ErrorNoProjection,
                                                 ras::ErrorProjectionNotComplete};
    std::set<std::string> texts;
    for (std::uint32_t code : produced) {
        std::string text;
        EXPECT_EQ(ras.getErrorString(code, text), ras::Success) << code;
        EXPECT_FALSE(text.empty()) << code;
        texts.insert(text);
    }
    EXPECT_EQ(texts.size(), produced.size());

    std::string text = "unchanged";
    EXPECT_NE(ras.getErrorString(1000, text), ras::Success);
    EXPECT_EQ(text, "unchanged");
}

TEST_F(SimRemoteAccessTest, UnreadableStateFileIsReportedAndNeverOverwritten)
{
    QFile file(QString::fromStdString(statePath()));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("{ not json");
    file.close();

    std::vector<std::string> names;
    EXPECT_EQ(ras.enumEntries(10, names), ras::ErrorCannotOpenPhonebook);
    std::uint32_t state = 0;
    EXPECT_EQ(ras.getConnectStatus(1, state), ras::ErrorCannotOpenPhonebook);
    test::DialRecorder recorder;
    ConnHandle handle = 0;
    EXPECT_EQ(ras.dial({"Office", {}, {}, {}, {}, {}}, recorder.notifier(), handle),
              ras::ErrorCannotOpenPhonebook);

    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("{ not json"));
}

TEST_F(SimRemoteAccessTest, DialOfAProcessThatEndedIsDropped)
{
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(0);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);

    addEntry("Office", 0);
    std::string error;
    ConnHandle abandoned = 0;
    ConnHandle live = 0;
    ASSERT_TRUE(m_file.update(
        [&](SimState& s) {
            abandoned = s.addConnection("Office", ras::StateAuthenticate, "", child).handle;
            live = s.addConnection("Other", ras::StateAuthenticate, "", ::getpid()).handle;
            return true;
        },
        error));
    EXPECT_EQ(status(abandoned), ras::ErrorInvalidHandle);
    EXPECT_EQ(status(live), ras::StateAuthenticate);
    // The entry is free to dial again.
    test::DialRecorder recorder;
    dial("Office", recorder);
    EXPECT_EQ(recorder.waitForEnd().back().state, ras::StateConnected);
}

// Sets an environment variable for the life of the object, then puts back what was there.
class ScopedEnvironment {
public:
    ScopedEnvironment(const char* name, const char* value) : m_name(name)
    {
        if (const char* old = std::getenv(name)) {
            m_hadValue = true;
            m_oldValue = old;
        }
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        if (m_hadValue)
            ::setenv(m_name, m_oldValue.c_str(), 1);
        else
            ::unsetenv(m_name);
    }
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;

private:
    const char* m_name;
    bool m_hadValue = false;
    std::string m_oldValue;
};

TEST(RemoteAccessFactoryTest, StateFileIsBesideTheProgramUnlessTheEnvironmentNamesOne)
{
    {
        const ScopedEnvironment unset("XARVANE_SIM_STATE", nullptr);
        EXPECT_EQ(simStatePath("/opt/xarvane/"), "/opt/xarvane/SimRas.json");
        EXPECT_EQ(simStatePath("/opt/xarvane"), "/opt/xarvane/SimRas.json");
    }
    const ScopedEnvironment state("XARVANE_SIM_STATE", "/tmp/elsewhere.json");
    EXPECT_EQ(simStatePath("/opt/xarvane/"), "/tmp/elsewhere.json");
}

TEST(RemoteAccessFactoryTest, UnknownBackEndFallsBackToTheSimulatedServiceWithAMessage)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("state.json")).toStdString();
    std::string error;
    ASSERT_TRUE(SimStateFile(path).update(
        [](SimState& s) {
            s.entries.push_back({"Office", {}, {}, {}, 0, 0});
            return true;
        },
        error));
    const ScopedEnvironment state("XARVANE_SIM_STATE", path.c_str());

    for (const char* choice : {"sim", "pigeon"}) {
        SCOPED_TRACE(choice);
        const ScopedEnvironment backEnd("XARVANE_RAS", choice);
        ::testing::internal::CaptureStderr();
        const std::unique_ptr<RemoteAccess> service = createRemoteAccess("/nonexistent/");
        const std::string message = ::testing::internal::GetCapturedStderr();
        ASSERT_NE(service, nullptr);
        std::vector<std::string> names;
        EXPECT_EQ(service->enumEntries(10, names), ras::Success);
        EXPECT_EQ(names, std::vector<std::string>{"Office"});
        EXPECT_EQ(message.find("pigeon") != std::string::npos, std::string(choice) == "pigeon") << message;
    }
}

} // namespace
} // namespace xr
