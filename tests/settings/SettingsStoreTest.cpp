#include "settings/SettingsStore.h"

#include "platform/XdgAutoStart.h"
#include "settings/SettingsWriteError.h"
#include "store/ConnectionDetails.h"

#include "SettingsFixture.h"
#include "Unprivileged.h"

#include <sys/stat.h>

namespace xr::test {
namespace {

class SettingsStoreTest : public SettingsFixture {
protected:
    TSettings load() { return LoadSettings(m_registry, m_remoteAccess, m_prompter); }

    std::optional<std::string> storedString(const std::string& name)
    {
        auto key = m_registry.openKey(kSettingsKey.toStdString(), false);
        return key ? key->readString(name) : std::nullopt;
    }

    std::optional<std::uint32_t> storedDword(const std::string& name)
    {
        auto key = m_registry.openKey(kSettingsKey.toStdString(), false);
        return key ? key->readDword(name) : std::nullopt;
    }
};

TEST_F(SettingsStoreTest, WithoutTheKeyTheDefaultsAreUsedAndNothingIsCreated)
{
    const TSettings settings = load();
    EXPECT_TRUE(settings.AutoRun);
    EXPECT_FALSE(settings.TimeRecord);
    EXPECT_EQ(settings.Interval, 6);
    EXPECT_FALSE(settings.SaveLastUser);
    EXPECT_EQ(settings.LastUser, QString());
    EXPECT_FALSE(settings.SavePwEnabled);
    EXPECT_FALSE(settings.SavePw);
    EXPECT_TRUE(settings.ShowToolsBar);
    EXPECT_EQ(settings.DefaultTime, 0);
    EXPECT_EQ(settings.DefaultConnName, QStringLiteral("所有连接"));
    EXPECT_EQ(settings.Precision, 0);
    EXPECT_FALSE(settings.LoginDial);
    EXPECT_EQ(settings.DefaultConn, QStringLiteral("未指定"));
    EXPECT_FALSE(settings.AutoBackup);
    EXPECT_FALSE(settings.SynRun);
    EXPECT_FALSE(settings.FloatWin);
    EXPECT_EQ(settings.FWStyle, 0);
    EXPECT_FALSE(QFile::exists(path()));

    const QByteArray otherKeys = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory]\n\"X\"=dword:00000001\n";
    writeFile(otherKeys);
    EXPECT_EQ(load(), TSettings());
    EXPECT_EQ(fileBytes(), otherKeys);
    EXPECT_TRUE(m_prompter.prompts.isEmpty());
}

TEST_F(SettingsStoreTest, AKeyThatCannotBeOpenedForWritingCountsAsAbsent)
{
    writeSettingsKey("\"AutoRun\"=dword:00000000\n\"Interval\"=dword:0000001e\n\"DefaultConn\"=\"Gone\"\n");
    const QByteArray before = fileBytes();
    ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0777), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), 0444), 0);

    EXPECT_TRUE(runUnprivileged([this] {
        TSettings changed;
        changed.ShowToolsBar = false;
        return load() == TSettings() && m_prompter.prompts.isEmpty() &&
               !writeSettings(m_registry, changed, {&TSettings::ShowToolsBar});
    }));
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(SettingsStoreTest, ReadsEveryValueAsStored)
{
    addPhonebookEntry("MyISP");
    writeSettingsKey("\"AutoRun\"=dword:00000000\n"
                     "\"TimeRecord\"=dword:00000002\n"
                     "\"Interval\"=dword:ffffffff\n"
                     "\"SaveLastUser\"=dword:00000001\n"
                     "\"LastUser\"=\"张三\"\n"
                     "\"SavePwEnabled\"=dword:00000001\n"
                     "\"SavePw\"=dword:00000001\n"
                     "\"ShowToolsBar\"=dword:00000000\n"
                     "\"DefaultTime\"=dword:00000003\n"
                     "\"DefaultConnName\"=\"MyISP\"\n"
                     "\"Precision\"=dword:00000001\n"
                     "\"LoginDial\"=dword:00000001\n"
                     "\"DefaultConn\"=\"MyISP\"\n"
                     "\"AutoBackup\"=dword:00000001\n"
                     "\"SynRun\"=dword:00000001\n"
                     "\"FloatWin\"=dword:00000001\n"
                     "\"FWStyle\"=dword:00000001\n"
                     "\"SupportMail\"=\"help@pellory.cn\"\n");
    const QByteArray before = fileBytes();
    const TSettings settings = load();
    EXPECT_FALSE(settings.AutoRun);
    EXPECT_TRUE(settings.TimeRecord);
    EXPECT_EQ(settings.Interval, -1);
    EXPECT_TRUE(settings.SaveLastUser);
    EXPECT_EQ(settings.LastUser, QStringLiteral("张三"));
    EXPECT_TRUE(settings.SavePwEnabled);
    EXPECT_TRUE(settings.SavePw);
    EXPECT_FALSE(settings.ShowToolsBar);
    EXPECT_EQ(settings.DefaultTime, 3);
    EXPECT_EQ(settings.DefaultConnName, QStringLiteral("MyISP"));
    EXPECT_EQ(settings.Precision, 1);
    EXPECT_TRUE(settings.LoginDial);
    EXPECT_EQ(settings.DefaultConn, QStringLiteral("MyISP"));
    EXPECT_TRUE(settings.AutoBackup);
    EXPECT_TRUE(settings.SynRun);
    EXPECT_TRUE(settings.FloatWin);
    EXPECT_EQ(settings.FWStyle, 1);
    EXPECT_EQ(settings.SupportMail, QStringLiteral("help@pellory.cn"));
    EXPECT_EQ(fileBytes(), before);
    EXPECT_TRUE(m_prompter.prompts.isEmpty());
}

TEST_F(SettingsStoreTest, AValueMissingOrOfAnotherTypeKeepsItsDefaultAndTheLoadGoesOn)
{
    writeSettingsKey("\"Interval\"=\"thirty\"\n"
                     "\"LastUser\"=hex:41,42\n"
                     "\"DefaultConnName\"=dword:00000001\n"
                     "\"Precision\"=dword:00000001\n"
                     "\"FWStyle\"=dword:00000001\n");
    TSettings expected;
    expected.Precision = 1;
    expected.FWStyle = 1;
    EXPECT_EQ(load(), expected);
    EXPECT_TRUE(m_prompter.prompts.isEmpty());
}

TEST_F(SettingsStoreTest, ADefaultConnectionThePhonebookLacksBecomesUnset)
{
    addPhonebookEntry("NewISP");
    for (const QByteArray name : {"OldISP", "newisp"}) {
        writeSettingsKey("\"DefaultConn\"=\"" + name + "\"\n\"Interval\"=dword:00000009\n");
        const TSettings settings = load();
        EXPECT_EQ(settings.DefaultConn, QStringLiteral("未指定"));
        EXPECT_EQ(settings.Interval, 9);
        EXPECT_EQ(storedString("DefaultConn"), "未指定");
        EXPECT_EQ(storedDword("Interval"), 9u);
    }
    EXPECT_TRUE(m_prompter.prompts.isEmpty());

    // An unreadable phonebook says so, and the entry is reset too.
    m_remoteAccess.enumEntriesResult = xr::platform::ras::ErrorBufferTooSmall;
    writeSettingsKey("\"DefaultConn\"=\"NewISP\"\n");
    EXPECT_EQ(load().DefaultConn, QStringLiteral("未指定"));
    EXPECT_EQ(storedString("DefaultConn"), "未指定");
    ASSERT_EQ(m_prompter.prompts.size(), 1);
    EXPECT_EQ(m_prompter.prompts.at(0).text, kPhonebookReadFailed);

    // "未指定" itself is never looked up.
    m_prompter.prompts.clear();
    const QByteArray before = fileBytes();
    EXPECT_EQ(load().DefaultConn, QStringLiteral("未指定"));
    EXPECT_TRUE(m_prompter.prompts.isEmpty());
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(SettingsStoreTest, WritersWriteOnlyTheirValuesAndOnlyIntoAnExistingKey)
{
    TSettings changed;
    changed.ShowToolsBar = false;
    changed.Interval = 20;
    EXPECT_FALSE(writeSettings(m_registry, changed, {&TSettings::ShowToolsBar}));
    EXPECT_FALSE(writeMainValues(m_registry, {{QStringLiteral("FWX"), 5}}));
    EXPECT_FALSE(QFile::exists(path()));

    installDefaultSettings(m_registry);
    EXPECT_TRUE(writeSettings(m_registry, changed, {&TSettings::ShowToolsBar}));
    TSettings expected;
    expected.ShowToolsBar = false;
    EXPECT_EQ(load(), expected);

    EXPECT_TRUE(writeMainValues(m_registry, {{QStringLiteral("FWX"), -5}, {QStringLiteral("FWY"), 700}}));
    EXPECT_EQ(storedDword("FWX"), 0xFFFFFFFBu);
    EXPECT_EQ(storedDword("FWY"), 700u);
}

TEST_F(SettingsStoreTest, AWriteThatFailsNamesTheValueAndStopsThere)
{
    installDefaultSettings(m_registry);
    TSettings changed;
    changed.SaveLastUser = true;
    changed.LastUser = QStringLiteral("two\nlines");
    changed.LoginDial = true;
    try {
        writeSettings(m_registry, changed, {&TSettings::SaveLastUser, &TSettings::LastUser, &TSettings::LoginDial});
        FAIL() << "the write did not fail";
    } catch (const SettingsWriteError& error) {
        EXPECT_EQ(error.valueName(), QStringLiteral("LastUser"));
        EXPECT_EQ(QString::fromUtf8(error.what()), QStringLiteral("写入设置值“LastUser”失败！"));
    }
    EXPECT_EQ(storedDword("SaveLastUser"), 1u);
    EXPECT_EQ(storedString("LastUser"), "");
    EXPECT_EQ(storedDword("LoginDial"), 0u);
}

TEST_F(SettingsStoreTest, InstallationCreatesAllValuesAndKeepsThoseAlreadyThere)
{
    installDefaultSettings(m_registry);
    const auto tree = m_registry.read();
    ASSERT_TRUE(tree);
    const auto* key = tree->findKey(QStringLiteral("HKEY_LOCAL_MACHINE\\") + kSettingsKey);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->values.size(), 22u);
    EXPECT_EQ(storedDword("FWTimeLeft"), 0u);
    EXPECT_EQ(storedString("SupportMail"), "") << "no support address unless the installation is given one";
    EXPECT_EQ(load(), TSettings());

    TSettings changed;
    changed.Interval = 30;
    ASSERT_TRUE(writeSettings(m_registry, changed, {&TSettings::Interval}));
    ASSERT_TRUE(writeMainValues(m_registry, {{QStringLiteral("Precision"), QStringLiteral("one")}}));
    installDefaultSettings(m_registry);
    EXPECT_EQ(storedDword("Interval"), 30u);
    EXPECT_EQ(storedDword("Precision"), 0u);

    writeFile("not a registry file");
    EXPECT_THROW(installDefaultSettings(m_registry), SettingsWriteError);
    EXPECT_EQ(fileBytes(), QByteArray("not a registry file"));
}

TEST_F(SettingsStoreTest, AFileThatCannotBeReadIsNotDestroyed)
{
    const QByteArray corrupt =
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n\"LastUser\"=\"\xFF\xFE\"\n";
    writeFile(corrupt);
    EXPECT_EQ(load(), TSettings());
    EXPECT_FALSE(writeSettings(m_registry, TSettings(), {&TSettings::AutoRun}));
    EXPECT_EQ(fileBytes(), corrupt);
}

TEST_F(SettingsStoreTest, AMalformedLineCostsOnlyItsOwnValueAndIsKept)
{
    writeFile("REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n\"AutoRun\"=dword:zz\n"
              "\"Interval\"=dword:0000000a\n\"LastUser\"=\"li\"\n");
    const TSettings settings = load();
    EXPECT_EQ(settings.Interval, 10);
    EXPECT_EQ(settings.LastUser, QStringLiteral("li"));
    EXPECT_EQ(settings.AutoRun, TSettings().AutoRun);
    TSettings changed = settings;
    changed.TimeRecord = true;
    EXPECT_TRUE(writeSettings(m_registry, changed, {&TSettings::TimeRecord}));
    EXPECT_TRUE(fileBytes().contains("\n\"AutoRun\"=dword:zz\n"));
    EXPECT_TRUE(fileBytes().contains("\n\"TimeRecord\"=dword:00000001\n"));
}

TEST(RunValue, NamesTheFixedProgramFileOrIsRemoved)
{
    QTemporaryDir dir;
    platform::XdgAutoStart autoStart(dir.path());
    writeRunValue(autoStart, QStringLiteral("/opt/xr/"), true);
    QFile entry(autoStart.filePath());
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    EXPECT_TRUE(entry.readAll().contains("\nExec=\"/opt/xr/xarvane\"\n"));

    writeRunValue(autoStart, QStringLiteral("/opt/xr/"), false);
    EXPECT_FALSE(QFile::exists(autoStart.filePath()));
    EXPECT_NO_THROW(writeRunValue(autoStart, QStringLiteral("/opt/xr/"), false));

    QFile blocker(dir.filePath(QStringLiteral("plain-file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    platform::XdgAutoStart unusable(dir.filePath(QStringLiteral("plain-file/autostart")));
    try {
        writeRunValue(unusable, QStringLiteral("/opt/xr/"), true);
        FAIL() << "the write did not fail";
    } catch (const SettingsWriteError& error) {
        EXPECT_EQ(error.valueName(), QStringLiteral("Xarvane"));
    }
}

} // namespace
} // namespace xr::test
