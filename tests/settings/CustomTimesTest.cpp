#include "settings/CustomTimes.h"

#include "SettingsFixture.h"

namespace xr::test {
namespace {

class CustomTimesTest : public SettingsFixture {
protected:
    // The names of the values held by the CustomTime key.
    QStringList storedNames() const
    {
        QStringList names;
        const auto tree = m_registry.read();
        if (const auto* key = tree ? tree->findKey(QStringLiteral("HKEY_LOCAL_MACHINE\\") + kCustomTimeKey) : nullptr)
            for (const auto& value : key->values)
                names.append(value.name);
        return names;
    }

    void writeCustomTimeKey(const QByteArray& valueLines) const
    {
        writeFile("REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane\\CustomTime]\n" + valueLines);
    }
};

TEST_F(CustomTimesTest, PeriodsAreWrittenAnewAndReadBackAfterTheFixedOnes)
{
    EXPECT_EQ(readTimePeriods(m_registry), (QStringList{QStringLiteral("本周"), QStringLiteral("本月")}));

    writeCustomTimes(m_registry, {QStringLiteral("2004-3-1*2004-3-7"), QStringLiteral("2004-2-1*2004-2-29")});
    EXPECT_EQ(readTimePeriods(m_registry), (QStringList{kThisWeek, kThisMonth, QStringLiteral("2004-3-1*2004-3-7"),
                                                        QStringLiteral("2004-2-1*2004-2-29")}));

    writeCustomTimes(m_registry, {QStringLiteral("2004-1-1*2004-1-2")});
    EXPECT_EQ(readTimePeriods(m_registry), (QStringList{kThisWeek, kThisMonth, QStringLiteral("2004-1-1*2004-1-2")}));
    EXPECT_EQ(storedNames(), (QStringList{QStringLiteral("Count"), QStringLiteral("0")}));

    writeCustomTimes(m_registry, {});
    EXPECT_EQ(readTimePeriods(m_registry), (QStringList{kThisWeek, kThisMonth}));
    EXPECT_EQ(storedNames(), QStringList{QStringLiteral("Count")});
    EXPECT_TRUE(fileBytes().endsWith("\\CustomTime]\n\"Count\"=dword:00000000\n"));
}

TEST_F(CustomTimesTest, WritingMakesTheSettingsKeyWhenItIsMissing)
{
    writeCustomTimes(m_registry, {QStringLiteral("2004-3-1*2004-3-7")});
    EXPECT_NE(m_registry.openKey(kSettingsKey.toStdString(), false), nullptr);
    EXPECT_EQ(readTimePeriods(m_registry).size(), 3);
    // The key now lacks its values; each keeps its default.
    EXPECT_EQ(LoadSettings(m_registry, m_remoteAccess, m_prompter), TSettings());
    EXPECT_TRUE(m_prompter.prompts.isEmpty());
}

TEST_F(CustomTimesTest, CountDecidesHowManyPeriodsAreRead)
{
    writeCustomTimeKey("\"Count\"=dword:00000003\n\"0\"=\"a\"\n\"2\"=\"c\"\n");
    EXPECT_EQ(readTimePeriods(m_registry),
              (QStringList{kThisWeek, kThisMonth, QStringLiteral("a"), QString(), QStringLiteral("c")}));

    writeCustomTimeKey("\"0\"=\"a\"\n");
    EXPECT_EQ(readTimePeriods(m_registry), (QStringList{kThisWeek, kThisMonth}));

    writeCustomTimeKey("\"Count\"=dword:ffffffff\n\"0\"=\"a\"\n");
    EXPECT_EQ(readTimePeriods(m_registry), (QStringList{kThisWeek, kThisMonth}));

    writeCustomTimeKey("\"Count\"=dword:7fffffff\n");
    EXPECT_EQ(readTimePeriods(m_registry).size(), 1002);
}

TEST_F(CustomTimesTest, AFileThatCannotBeReadIsLeftAlone)
{
    const QByteArray corrupt =
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane\\CustomTime]\n\"Count\"=dword:00000001\n";
    writeFile(corrupt);
    writeCustomTimes(m_registry, {QStringLiteral("2004-3-1*2004-3-7")});
    EXPECT_EQ(readTimePeriods(m_registry), (QStringList{kThisWeek, kThisMonth}));
    EXPECT_EQ(fileBytes(), corrupt);
}

} // namespace
} // namespace xr::test
