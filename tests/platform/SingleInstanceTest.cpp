// One copy per desktop session, however the session's display is spelled.
#include "platform/SingleInstance.h"
#include "platform/SessionTag.h"

#include <gtest/gtest.h>

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
                                             "DISPLAY"};
    QTemporaryDir m_dir;
    std::vector<std::pair<std::string, std::string>> m_saved;
};

TEST_F(SingleInstanceTest, TheSameDisplayWithAScreenNumberIsRefused)
{
    ::setenv("DISPLAY", ":83", 1);
    const SingleInstance first("PyXarvane");
    EXPECT_FALSE(first.heldByAnother());

    ::setenv("DISPLAY", ":83.0", 1);
    EXPECT_TRUE(SingleInstance("PyXarvane").heldByAnother());
    ::setenv("DISPLAY", "unix:83", 1);
    EXPECT_TRUE(SingleInstance("PyXarvane").heldByAnother());

    // Another display is another session.
    ::setenv("DISPLAY", ":84", 1);
    EXPECT_FALSE(SingleInstance("PyXarvane").heldByAnother());
}

} // namespace
