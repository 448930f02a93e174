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
                                      "; written by hand\n"
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

TEST_F(RegistryFileTest, AFileThatCannotBeReadAtAllCountsAsAbsentIsNeverRewrittenAndIsToldOnce)
{
    const QByteArray unreadable[] = {
        "",
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n\"AutoRun\"=dword:00000001\n",
        "\nREGEDIT5\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n",
        "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n\"LastUser\"=\"\xFF\xFE\"\n",
    };
    const char* const wrongLine[] = {"第 1 行", "第 1 行", "第 2 行", "第 3 行"};
    for (std::size_t i = 0; i < std::size(unreadable); ++i) {
        const QByteArray& text = unreadable[i];
        SCOPED_TRACE(text.toStdString());
        writeFile(text);
        RegistryFile registry(path());
        ::testing::internal::CaptureStderr();
        EXPECT_EQ(registry.openKey(kKey, false), nullptr);
        EXPECT_EQ(registry.openKey(kKey, true), nullptr);
        EXPECT_EQ(registry.openKey("SOFTWARE\\Elsewhere", true), nullptr);
        EXPECT_FALSE(registry.deleteKey(kKey));
        const QString warnings = QString::fromStdString(::testing::internal::GetCapturedStderr());
        EXPECT_EQ(fileBytes(), text);
        EXPECT_EQ(warnings.count(QLatin1Char('\n')), 1) << warnings.toStdString();
        EXPECT_TRUE(warnings.contains(path())) << warnings.toStdString();
        EXPECT_TRUE(warnings.contains(QString::fromUtf8(wrongLine[i]))) << warnings.toStdString();
    }
}

TEST_F(RegistryFileTest, LinesThatCannotBeReadAreSkippedAndWrittenBackAsTheyWere)
{
    const QByteArray handWritten = "REGEDIT4\n"
                                   "stray words\n"
                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n"
                                   "\"AutoRun\"=dword:xyz\n"
                                   "\"Interval\"=dword:0000000a\n"
                                   "; keep me\n"
                                   "\"LastUser\"=\"open\n"
                                   "\"Path\"=\"C:\\Temp\"\n"
                                   "\"DefaultConn\"=\"Office\"\n"
                                   "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\n"
                                   "\"Precision\"=dword:00000001\n"
                                   "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane\n"
                                   "\"SynRun\"=dword:00000001\n";
    writeFile(handWritten);
    ::testing::internal::CaptureStderr();
    auto key = m_registry.openKey(kKey, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->readDword("Interval"), 10u);
    EXPECT_EQ(key->readString("DefaultConn"), "Office");
    for (const char* unread : {"AutoRun", "LastUser", "Path", "Precision", "SynRun"})
        EXPECT_FALSE(key->readDword(unread) || key->readString(unread)) << unread;

    // Rewriting keeps every line it could not use, in its section, as written.
    ASSERT_TRUE(key->writeString("LastUser", "li"));
    const QString warnings = QString::fromStdString(::testing::internal::GetCapturedStderr());
    EXPECT_EQ(fileBytes(), QByteArray("REGEDIT4\n"
                                      "stray words\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory]\n"
                                      "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n"
                                      "\"Interval\"=dword:0000000a\n"
                                      "\"DefaultConn\"=\"Office\"\n"
                                      "\"LastUser\"=\"li\"\n"
                                      "\"AutoRun\"=dword:xyz\n"
                                      "; keep me\n"
                                      "\"LastUser\"=\"open\n"
                                      "\"Path\"=\"C:\\Temp\"\n"
                                      "[-HKEY_LOCAL_MACHINE\\SOFTWARE\\Gone]\n"
                                      "\"Precision\"=dword:00000001\n"
                                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane\n"
                                      "\"SynRun\"=dword:00000001\n"));
    // Each skipped line is told once, by its number, however often the file is read.
    for (const char* line :
         {"第 2 行", "第 4 行", "第 7 行", "第 8 行", "第 10 行", "第 11 行", "第 12 行", "第 13 行"})
        EXPECT_EQ(warnings.count(QString::fromUtf8(line)), 1) << line << "\n" << warnings.toStdString();
    EXPECT_EQ(warnings.count(QLatin1Char('\n')), 8) << warnings.toStdString();
}

TEST_F(RegistryFileTest, AGbkFileIsReadAndRewrittenInUtf8)
{
    // "LastUser"="张三", "DefaultConn"="拨号连接" and a comment "注释", as a Chinese system exports them.
    writeFile("REGEDIT4\r\n"
              "; \xD7\xA2\xCA\xCD\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\r\n"
              "\"LastUser\"=\"\xD5\xC5\xC8\xFD\"\r\n"
              "\"DefaultConn\"=\"\xB2\xA6\xBA\xC5\xC1\xAC\xBD\xD3\"\r\n"
              "\"Interval\"=dword:00000003\r\n");
    auto key = m_registry.openKey(kKey, false);
    ASSERT_NE(key, nullptr);
    EXPECT_EQ(key->readString("LastUser"), "张三");
    EXPECT_EQ(key->readString("DefaultConn"), "拨号连接");
    EXPECT_EQ(key->readDword("Interval"), 3u);

    ASSERT_TRUE(key->writeDword("Interval", 4));
    EXPECT_EQ(QString::fromUtf8(fileBytes()),
              QStringLiteral("REGEDIT4\n"
                             "; 注释\n"
                             "\n[HKEY_LOCAL_MACHINE\\SOFTWARE]\n"
                             "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory]\n"
                             "\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Pellory\\Xarvane]\n"
                             "\"LastUser\"=\"张三\"\n"
                             "\"DefaultConn\"=\"拨号连接\"\n"
                             "\"Interval\"=dword:00000004\n"));
    EXPECT_EQ(RegistryFile(path()).openKey(kKey, false)->readString("LastUser"), "张三");
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
