// One copy per desktop session, however the session's display is spelled; and the platform
// services of this build, as the program entry takes them.
#include "platform/LockFileInstance.h"
#include "platform/PlatformServices.h"
#include "platform/SessionTag.h"
#include "platform/SimStateFile.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

using namespace xr::platform;

namespace {

TEST(SessionTagTest, OneXServerIsOneSessionWhateverTheSpelling)
{
    const std::string local = sessionTag(nullptr, nullptr, ":83");
    EXPECT_EQ(sessionTag(nullptr, "", ":83.0"), local);
    EXPECT_EQ(sessionTag("", nullptr, "unix:83.1"), local);
    EXPECT_EQ(sessionTag(nullptr, nullptr, ":083"), local);
    EXPECT_NE(sessionTag(nullptr, nullptr, ":84"), local);
    EXPECT_NE(sessionTag(nullptr, nullptr, "otherhost:83.0"), local);
    EXPECT_EQ(sessionTag(nullptr, nullptr, "otherhost:83.0"), sessionTag(nullptr, nullptr, "otherhost:83"));
    // A text that names no display number is kept as it is.
    EXPECT_EQ(sessionTag(nullptr, nullptr, "odd"), "DISPLAY=odd");

    // The login session, when known, wins over the display; then a Wayland display.
    EXPECT_EQ(sessionTag("c2", "wayland-0", ":83"), "XDG_SESSION_ID=c2");
    EXPECT_EQ(sessionTag(nullptr, "wayland-0", ":83"), "WAYLAND_DISPLAY=wayland-0");
    EXPECT_EQ(sessionTag(nullptr, nullptr, nullptr), "console");
}

// The guard's environment for one case, put back afterwards.
class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* name : kNames)
            if (const char* value = std::getenv(name))
                m_saved.emplace_back(name, value);
        for (const char* name : kNames)
            ::unsetenv(name);
        ::setenv("XDG_RUNTIME_DIR", m_dir.path().toLocal8Bit().constData(), 1);
    }
    void TearDown() override
    {
        for (const char* name : kNames)
            ::unsetenv(name);
        for (const auto& [name, value] : m_saved)
            ::setenv(name.c_str(), value.c_str(), 1);
    }

    static constexpr const char* kNames[] = {"XDG_RUNTIME_DIR", "XDG_SESSION_ID", "WAYLAND_DISPLAY",
                                             "DISPLAY",         "XDG_CONFIG_HOME", "XARVANE_RAS",
                                             "XARVANE_SIM_STATE"};
    QTemporaryDir m_dir;
    std::vector<std::pair<std::string, std::string>> m_saved;
};

TEST_F(SingleInstanceTest, TheSameDisplayWithAScreenNumberIsRefused)
{
    ::setenv("DISPLAY", ":83", 1);
    const LockFileInstance first("PyXarvane");
    EXPECT_FALSE(first.heldByAnother());

    ::setenv("DISPLAY", ":83.0", 1);
    EXPECT_TRUE(LockFileInstance("PyXarvane").heldByAnother());
    ::setenv("DISPLAY", "unix:83", 1);
    EXPECT_TRUE(LockFileInstance("PyXarvane").heldByAnother());

    // Another display is another session.
    ::setenv("DISPLAY", ":84", 1);
    EXPECT_FALSE(LockFileInstance("PyXarvane").heldByAnother());
}

// The guard, the start-with-the-desktop entry and the dial-up back-end come from the one
// factory, as the desktop session and the environment say.
TEST_F(SingleInstanceTest, ThePlatformServicesAreThoseOfTheDesktopSession)
{
    ::setenv("DISPLAY", ":83", 1);
    ::setenv("XDG_CONFIG_HOME", m_dir.filePath(QStringLiteral("config")).toLocal8Bit().constData(), 1);
    ::setenv("XARVANE_RAS", "sim", 1);
    const std::unique_ptr<PlatformServices> platform = createPlatformServices();

    const std::unique_ptr<SingleInstance> first = platform->takeSingleInstance("PyXarvane");
    EXPECT_FALSE(first->heldByAnother());
    EXPECT_TRUE(platform->takeSingleInstance("PyXarvane")->heldByAnother());
    EXPECT_TRUE(LockFileInstance("PyXarvane").heldByAnother()) << "one lock, however it is taken";
    EXPECT_FALSE(platform->takeSingleInstance("Other")->heldByAnother());

    EXPECT_EQ(platform->autoStart().location(),
              m_dir.filePath(QStringLiteral("config/autostart/xarvane.desktop")).toStdString());
    ASSERT_TRUE(platform->autoStart().write("/opt/xarvane/"));
    EXPECT_TRUE(QFile::exists(m_dir.filePath(QStringLiteral("config/autostart/xarvane.desktop"))));

    const std::string programFolder = m_dir.path().toStdString() + "/";
    std::string error;
    ASSERT_TRUE(SimStateFile(programFolder + "SimRas.json")
                    .update(
                        [](SimState& state) {
                            state.entries.push_back({"Office", {}, {}, {}, 0, 0});
                            return true;
                        },
                        error))
        << error;
    ::testing::internal::CaptureStderr();
    const std::unique_ptr<RemoteAccess> service = platform->createRemoteAccess(programFolder);
    const std::string message = ::testing::internal::GetCapturedStderr();
    std::vector<std::string> names;
    EXPECT_EQ(service->enumEntries(10, names), ras::Success);
    EXPECT_EQ(names, std::vector<std::string>{"Office"}) << "the simulated phonebook beside the program";
    EXPECT_NE(message.find("dial-up back-end"), std::string::npos) << message;
}

} // namespace
