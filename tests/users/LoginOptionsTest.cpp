// Keeping the sign-in dialog's choices: in the settings always, in the settings key only while
// the name is to be saved, in a fixed order.
#include "users/LoginOptions.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <memory>

namespace xr::test {
namespace {

// A settings key that writes down the values written to it, in order.
class RecordingKey final : public platform::RegistryKey {
public:
    explicit RecordingKey(QStringList& written) : m_written(written) {}
    std::optional<std::uint32_t> readDword(const std::string&) const override { return std::nullopt; }
    std::optional<std::string> readString(const std::string&) const override { return std::nullopt; }
    bool writeDword(const std::string& name, std::uint32_t value) override
    {
        m_written << QStringLiteral("%1=%2").arg(QString::fromStdString(name)).arg(value);
        return true;
    }
    bool writeString(const std::string& name, const std::string& value) override
    {
        m_written << QStringLiteral("%1=%2").arg(QString::fromStdString(name), QString::fromStdString(value));
        return true;
    }
    bool deleteValue(const std::string&) override { return true; }

private:
    QStringList& m_written;
};

class RecordingRegistry final : public platform::Registry {
public:
    std::unique_ptr<platform::RegistryKey> openKey(const std::string& path, bool create) override
    {
        opened << QStringLiteral("%1 %2").arg(QString::fromStdString(path),
                                              create ? QStringLiteral("create") : QStringLiteral("open"));
        if (!keyExists)
            return nullptr;
        return std::make_unique<RecordingKey>(written);
    }
    bool deleteKey(const std::string&) override { return true; }

    bool keyExists = true;
    QStringList opened;
    QStringList written;
};

TEST(LoginOptions, SavedNameWritesTheFiveValuesInOrderWithoutCreatingTheKey)
{
    RecordingRegistry registry;
    TSettings settings;
    settings.FloatWin = true;
    EXPECT_TRUE(SaveLoginOptions(settings, registry, {true, true, false, true}, QStringLiteral("  alice ")));
    EXPECT_EQ(registry.opened, QStringList{QStringLiteral("SOFTWARE\\Pellory\\Xarvane open")});
    EXPECT_EQ(registry.written, (QStringList{QStringLiteral("SaveLastUser=1"),
                                             QStringLiteral("LastUser=alice"), QStringLiteral("LoginDial=0"),
                                             QStringLiteral("SavePw=1"), QStringLiteral("SynRun=1")}));
    EXPECT_TRUE(settings.SaveLastUser);
    EXPECT_EQ(settings.LastUser, QStringLiteral("alice"));
    EXPECT_TRUE(settings.SavePw);
    EXPECT_FALSE(settings.LoginDial);
    EXPECT_TRUE(settings.SynRun);
    EXPECT_TRUE(settings.FloatWin) << "only the dialog's own settings change";
}

TEST(LoginOptions, UncheckedNameKeepsTheChoicesForTheRunOnly)
{
    RecordingRegistry registry;
    TSettings settings;
    settings.SaveLastUser = true;
    EXPECT_FALSE(SaveLoginOptions(settings, registry, {false, false, true, true}, QStringLiteral("bob")));
    EXPECT_TRUE(registry.opened.isEmpty());
    EXPECT_FALSE(settings.SaveLastUser);
    EXPECT_TRUE(settings.LoginDial);
    EXPECT_TRUE(settings.SynRun);
    EXPECT_EQ(settings.LastUser, QStringLiteral("bob"));
}

TEST(LoginOptions, MissingKeyChangesTheRunSilently)
{
    RecordingRegistry registry;
    registry.keyExists = false;
    TSettings settings;
    EXPECT_FALSE(SaveLoginOptions(settings, registry, {true, false, false, false}, QStringLiteral("carol")));
    EXPECT_TRUE(registry.written.isEmpty());
    EXPECT_EQ(registry.opened, QStringList{QStringLiteral("SOFTWARE\\Pellory\\Xarvane open")});
    EXPECT_EQ(settings.LastUser, QStringLiteral("carol"));
}

TEST(LoginOptions, ChoicesStartFromTheSettings)
{
    TSettings settings;
    settings.SaveLastUser = true;
    settings.SynRun = true;
    const LoginChoices choices = choicesFromSettings(settings);
    EXPECT_TRUE(choices.saveName);
    EXPECT_FALSE(choices.savePw);
    EXPECT_FALSE(choices.loginDial);
    EXPECT_TRUE(choices.synRun);
}

} // namespace
} // namespace xr::test
