#include "platform/RegistryFile.h"

#include "RegistryFileFixture.h"
#include "Unprivileged.h"

#include <sys/stat.h>

using namespace xr::platform;

namespace {

const std::string kKey = "SOFTWARE\\Pellory\\Xarvane";

class RegistryFileTest : public xr::test::RegistryFileFixture {
protected:
    // Gives the folder and the file these permission bits.
    void setModes(mode_t folder, mode_t file) const
    {
        ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), folder), 0);
        ASSERT_EQ(::chmod(QFile::encodeName(path()).constData(), file), 0);
    }
};

TEST_F(RegistryFileTest, OpensOnlyExistingKeysUnlessAskedToCreateThem)
{
    EXPECT_EQ(m_registry.openKey(kKey, false), nullptr);
    EXPECT_FALSE(QFile::exists(path()));

    ASSERT_NE(m_registry.openKey(kKey, true), nullptr);
    EXPECT_EQ(fileBytes(), QByteArray("REGEDIT4\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory]\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n"));

    // Names compare without letter case; a new key joins its parent's sub-tree.
    EXPECT_NE(m_registry.openKey("software\\PELLORY", false), nullptr);
    ASSERT_NE(m_registry.openKey("SOFTWARE\\Other", true), nullptr);
    ASSERT_NE(m_registry.openKey("software\\pellory\\Xarvane\\CustomTime", true), nullptr);
    EXPECT_EQ(fileBytes(), QByteArray("REGEDIT4\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory]\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane\\CustomTime]\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Other]\n"));

    EXPECT_EQ(m_registry.openKey("SOFTWARE\\\\Pellory", true), nullptr);
}

TEST_F(RegistryFileTest, TypedValuesAreStoredAtOnceAndReadBack)
{
    auto key = m_registry.openKey(kKey, true);
    ASSERT_NE(key, nullptr);
    EXPECT_TRUE(key->writeDword("AutoRun", 1));
    EXPECT_TRUE(key->writeDword("FWX", 0xFFFFFFFB));
    EXPECT_TRUE(key->writeString("LastUser", "张三 \"q\" C:\\x"));
    EXPECT_TRUE(key->writeDword("autorun", 0)); // the same value, in its place
    EXPECT_TRUE(fileBytes().endsWith("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n"
                                     "\"AutoRun\"=dword:00000000\n"
                                     "\"FWX\"=dword:fffffffb\n"
                                     "\"LastUser\"=\"张三 \\\"q\\\" C:\\\\x\"\n"));

    RegistryFile again(path());
    auto reopened = again.openKey(kKey, false);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->readDword("AutoRun"), 0u);
    EXPECT_EQ(reopened->readDword("FWX"), 0xFFFFFFFBu);
    EXPECT_EQ(reopened->readString("lastuser"), "张三 \"q\" C:\\x");
    EXPECT_EQ(reopened->readString("AutoRun"), std::nullopt);
    EXPECT_EQ(reopened->readDword("LastUser"), std::nullopt);
    EXPECT_EQ(reopened->readDword("Missing"), std::nullopt);
}

TEST_F(RegistryFileTest, AHandWrittenFileIsReadAndWhatTheProgramDoesNotUseIsKept)
{
    writeFile("\xEF\xBB\xBFREGEDIT4\r\n"
              "; written by hand\r\n"
              "\r\n"
              "[HKEY_CURRENT_USER\\Software\\Other]\r\n"
              "@=\"default\"\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\r\n"
              "\"Blob\"=hex(2):41,00,\\\r\n"
              "  42,00\r\n"
              "\"Interval\"=dword:1E\r\n");
    auto key = m_registry.openKey(kKey, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->readDword("Interval"), 30u);
    EXPECT_EQ(key->readString("Blob"), std::nullopt);

    EXPECT_TRUE(key->writeString("LastUser", "li"));
    EXPECT_EQ(fileBytes(), QByteArray("REGEDIT4\n"
                                      "\n[HKEY_CURRENT_USER\\Software]\n"
                                      "\n[HKEY_CURRENT_USER\\Software\\Other]\n"
                                      "@=\"default\"\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory]\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n"
                                      "\"Blob\"=hex(2):41,00,42,00\n"
                                      "\"Interval\"=dword:0000001e\n"
                                      "\"LastUser\"=\"li\"\n"));
}

TEST_F(RegistryFileTest, DeletesValuesAndKeysWithTheirSubKeys)
{
    auto key = m_registry.openKey(kKey, true);
    ASSERT_NE(key, nullptr);
    ASSERT_TRUE(key->writeDword("AutoRun", 1));
    ASSERT_TRUE(key->writeDword("Interval", 6));
    EXPECT_TRUE(key->deleteValue("autorun"));
    EXPECT_TRUE(key->deleteValue("NeverThere"));
    ASSERT_NE(m_registry.openKey(kKey + "\\CustomTime\\Deeper", true), nullptr);

    auto reopened = m_registry.openKey(kKey, false);
    ASSERT_NE(reopened, nullptr);
    EXPECT_EQ(reopened->readDword("AutoRun"), std::nullopt);
    EXPECT_EQ(reopened->readDword("Interval"), 6u);

    EXPECT_TRUE(m_registry.deleteKey(kKey + "\\customtime"));
    EXPECT_EQ(m_registry.openKey(kKey + "\\CustomTime\\Deeper", false), nullptr);
    EXPECT_EQ(m_registry.openKey(kKey + "\\CustomTime", false), nullptr);
    EXPECT_NE(m_registry.openKey(kKey, false), nullptr);
    EXPECT_TRUE(m_registry.deleteKey(kKey + "\\CustomTime"));

    // A key deleted while open takes no more values, and is not brought back.
    ASSERT_TRUE(m_registry.deleteKey(kKey));
    EXPECT_FALSE(key->writeDword("Interval", 7));
    EXPECT_EQ(m_registry.openKey(kKey, false), nullptr);
}

TEST_F(RegistryFileTest, TextsTheFileCannotHoldAreRefused)
{
    auto key = m_registry.openKey(kKey, true);
    ASSERT_NE(key, nullptr);
    const QByteArray before = fileBytes();
    EXPECT_FALSE(key->writeString("LastUser", "two\nlines"));
    EXPECT_FALSE(key->writeDword("Bad\rName", 1));
    EXPECT_EQ(fileBytes(), before);
}

TEST_F(RegistryFileTest, AFileThatCannotBeParsedCountsAsAbsentAndIsNeverRewritten)
{
    const QByteArray broken[] = {
        "",
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n\"AutoRun\"=dword:00000001\n",
        "REGEDIT4\n\"AutoRun\"=dword:00000001\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n\"AutoRun\"=dword:xyz\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n\"LastUser\"=\"open\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n\"Path\"=\"C:\\Temp\"\n",
        "REGEDIT4\n[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n\"LastUser\"=\"\xFF\xFE\"\n",
    };
    for (const QByteArray& text : broken) {
        SCOPED_TRACE(text.toStdString());
        writeFile(text);
        EXPECT_EQ(m_registry.openKey(kKey, false), nullptr);
        EXPECT_EQ(m_registry.openKey(kKey, true), nullptr);
        EXPECT_EQ(m_registry.openKey("SOFTWARE\\Elsewhere", true), nullptr);
        EXPECT_FALSE(m_registry.deleteKey(kKey));
        EXPECT_EQ(fileBytes(), text);
    }
}

TEST_F(RegistryFileTest, WithoutWriteAccessNoKeyOpens)
{
    ASSERT_NE(m_registry.openKey(kKey, true), nullptr);
    const QByteArray before = fileBytes();
    const auto opensInChild = [this](bool create) {
        return xr::test::runUnprivileged([this, create] { return RegistryFile(path()).openKey(kKey, create) != nullptr; });
    };

    setModes(0777, 0666);
    EXPECT_TRUE(opensInChild(false)); // the child itself can reach the file

    setModes(0777, 0444); // the file is read-only
    EXPECT_FALSE(opensInChild(false));
    EXPECT_FALSE(opensInChild(true));

    setModes(0755, 0666); // the folder cannot take the replacement file
    EXPECT_FALSE(opensInChild(false));
    EXPECT_EQ(fileBytes(), before);
}

TEST(RegistryFilePath, LiesBesideTheProgramUnlessChosen)
{
    const QByteArray saved = qgetenv("XARVANE_REGISTRY");
    qunsetenv("XARVANE_REGISTRY");
    EXPECT_EQ(defaultRegistryPath(QStringLiteral("/opt/xarvane/")), QStringLiteral("/opt/xarvane/Xarvane.reg"));
    EXPECT_EQ(defaultRegistryPath(QStringLiteral("/opt/xarvane")), QStringLiteral("/opt/xarvane/Xarvane.reg"));
    qputenv("XARVANE_REGISTRY", "/var/lib/xr/settings.reg");
    EXPECT_EQ(defaultRegistryPath(QStringLiteral("/opt/xarvane/")), QStringLiteral("/var/lib/xr/settings.reg"));
    if (saved.isNull())
        qunsetenv("XARVANE_REGISTRY");
    else
        qputenv("XARVANE_REGISTRY", saved);
}

} // namespace
