// Reading pppd's configuration: options words, peers, secrets, chat scripts and the peers folder.
#include "platform/PppOptionWords.h"
#include "platform/PppPeer.h"
#include "platform/PppPeerFolder.h"
#include "platform/PppSecrets.h"

#include "Unprivileged.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sys/stat.h>

namespace xr {
namespace {

using namespace platform;
using Words = std::vector<std::string>;

TEST(PppOptionWordsTest, QuotesEscapesAndCommentsAsPppdReadsThem)
{
    const auto lines = optionLines("# a peer\n"
                                   "user \"li lei@isp\"   # the account\n"
                                   "\n"
                                   "connect '/usr/sbin/chat -v -f /etc/chatscripts/isp'\n"
                                   "name a\\ b x#y \"\"\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (Words{"user", "li lei@isp"}));
    EXPECT_EQ(lines[1], (Words{"connect", "/usr/sbin/chat -v -f /etc/chatscripts/isp"}));
    EXPECT_EQ(lines[2], (Words{"name", "a b", "x#y", ""}));
    EXPECT_EQ(optionWords("OK \"ATDT\\T\" CONNECT \\d\\c", Backslash::Kept),
              (Words{"OK", "ATDT\\T", "CONNECT", "\\d\\c"}));
}

TEST(PppPeerTest, OptionsGiveAccountConnectCommandAndDeviceType)
{
    PppPeer modem = parsePppPeer(optionWords("/dev/ttyUSB0 115200 user first user \"second\"\n"
                                             "remotename isp connect \"chat -f x\" noauth\n"));
    EXPECT_EQ(modem.user, "second");
    EXPECT_EQ(modem.remoteName, "isp");
    EXPECT_EQ(modem.connect, "chat -f x");
    EXPECT_FALSE(modem.password.has_value());
    EXPECT_EQ(modem.deviceType(), "modem");

    for (const char* options : {"plugin rp-pppoe.so eth0", "plugin pppoe.so nic-eth0", "nic-enp3s0",
                                "pty \"/usr/sbin/pppoe -I eth0 -T 80 -m 1452\""}) {
        SCOPED_TRACE(options);
        EXPECT_EQ(parsePppPeer(optionWords(options)).deviceType(), "PPPoE");
    }
    EXPECT_EQ(parsePppPeer(optionWords("user u password \"p w\"")).password, "p w");
}

TEST(PppChatTest, PhoneNumberFromTheAtdCommandOfAScriptOrTheCommandLine)
{
    const ChatSource fromFile = chatSource("/usr/sbin/chat -v -t 30 -f /etc/chatscripts/isp -T 16300");
    EXPECT_EQ(fromFile.scriptFile, "/etc/chatscripts/isp");
    EXPECT_EQ(fromFile.telephone, "16300");
    EXPECT_TRUE(fromFile.inlineWords.empty());

    const ChatSource inlineChat = chatSource("exec chat -v ABORT BUSY '' ATZ OK ATDT95963 CONNECT ''");
    EXPECT_TRUE(inlineChat.scriptFile.empty());
    EXPECT_EQ(chatPhoneNumber(inlineChat.inlineWords, inlineChat.telephone), "95963");
    EXPECT_TRUE(chatSource("/usr/lib/pppd/pppoe-discovery eth0").inlineWords.empty());

    EXPECT_EQ(chatPhoneNumber({"OK", "atd*99#", "CONNECT"}, {}), "*99#");
    EXPECT_EQ(chatPhoneNumber({"OK-AT-OK", "ATDP2630"}, {}), "2630");
    EXPECT_EQ(chatPhoneNumber({"OK", "ATDT\\T"}, "16300"), "16300");
    EXPECT_EQ(chatPhoneNumber({"ABORT", "BUSY", "", "ATZ"}, {}), "");
}

TEST(PppSecretsTest, SecretOfTheUserTowardsThePeerWithQuotesAndComments)
{
    const std::string secrets = "# Secrets for authentication using CHAP\n"
                                "# client\tserver\tsecret\t\t\tIP addresses\n"
                                "alice\t*\t\"open sesame\"\t*\n"
                                "\"bob smith\" * 'b#2' # bob's line\n"
                                "alice\tcampus\tcampus-secret\n"
                                "carol\n";
    EXPECT_EQ(findPppSecret(secrets, "alice", ""), "open sesame");
    EXPECT_EQ(findPppSecret(secrets, "alice", "campus"), "campus-secret");
    EXPECT_EQ(findPppSecret(secrets, "alice", "elsewhere"), "open sesame");
    EXPECT_EQ(findPppSecret(secrets, "bob smith", "isp"), "b#2");
    EXPECT_FALSE(findPppSecret(secrets, "carol", ""));
    EXPECT_FALSE(findPppSecret(secrets, "Alice", ""));
}

class PppPeerFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("peers")));
        ASSERT_EQ(::chmod(m_dir.path().toUtf8().constData(), 0755), 0); // reachable for an ordinary user
        m_folder = std::make_unique<PppPeerFolder>(
            PppLocations{path("peers"), m_dir.path().toStdString(), {path("run")}, "/nonexistent/pppd"});
    }
    std::string path(const char* name) const { return m_dir.filePath(QString::fromUtf8(name)).toStdString(); }
    void write(const char* name, const std::string& text,
               QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther)
    {
        QFile file(QString::fromStdString(path(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text.data(), static_cast<qint64>(text.size()));
        file.close();
        file.setPermissions(permissions);
    }
    RasDialParams params(const std::string& peer, std::uint32_t expected = ras::Success)
    {
        RasDialParams result;
        EXPECT_EQ(m_folder->dialParams(peer, result), expected);
        return result;
    }

    QTemporaryDir m_dir;
    std::unique_ptr<PppPeerFolder> m_folder;
};

TEST_F(PppPeerFolderTest, PeerNamesInByteOrderWithoutBackupsHiddenFilesOrFolders)
{
    for (const char* name :
         {"peers/宽带", "peers/Office", "peers/dsl-provider", "peers/.hidden", "peers/dsl-provider~",
          "peers/Office.bak", "peers/provider.dpkg-old", "peers/#Office#", "peers/Office.swp"})
        write(name, "noauth\n");
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("peers/sub")));
    std::vector<std::string> names;
    EXPECT_EQ(m_folder->peerNames(names), ras::Success);
    EXPECT_EQ(names, (Words{"Office", "dsl-provider", "宽带"}));

    PppPeerFolder absent(PppLocations{path("none"), {}, {}, {}});
    EXPECT_EQ(absent.peerNames(names), ras::Success);
    EXPECT_TRUE(names.empty());

    // A folder this user may not read (pppd's is only for the dip group) is a failure, not "no peers".
    ASSERT_EQ(::chmod(path("peers").c_str(), 0700), 0);
    EXPECT_TRUE(test::runUnprivileged([&] {
        std::vector<std::string> list;
        return m_folder->peerNames(list) == ras::ErrorCannotOpenPhonebook && list.empty();
    }));
    ::chmod(path("peers").c_str(), 0755);
}

TEST_F(PppPeerFolderTest, DialParamsFromOptionsSecretsAndChatScript)
{
    write("chat-isp", "ABORT BUSY ABORT 'NO CARRIER'\n'' ATZ\nOK \"ATDT\\T\"\nCONNECT \\d\\c\n");
    write("peers/isp",
          "/dev/ttyS0 57600\nuser \"li lei\" # account\nremotename isp\nconnect \"/usr/sbin/chat -v -f " +
              path("chat-isp") + " -T 16300\"\n");
    write("peers/dsl", "plugin rp-pppoe.so eth0\nuser dsl@isp\n");
    write("peers/nobody", "noauth\n");
    write("chap-secrets", "# client server secret\n\"li lei\" isp \"chap secret\"\n");
    write("pap-secrets", "dsl@isp * pap-secret\n\"li lei\" * \"pap secret\"\n");

    const RasDialParams isp = params("isp");
    EXPECT_EQ(isp.entryName, "isp");
    EXPECT_EQ(isp.userName, "li lei");
    EXPECT_EQ(isp.password, "chap secret");
    EXPECT_EQ(isp.phoneNumber, "16300");
    const RasDialParams dsl = params("dsl");
    EXPECT_EQ(dsl.userName, "dsl@isp");
    EXPECT_EQ(dsl.password, "pap-secret");
    EXPECT_EQ(dsl.phoneNumber, "");
    EXPECT_EQ(m_folder->deviceType("dsl"), "PPPoE");
    EXPECT_EQ(m_folder->deviceType("isp"), "modem");
    const RasDialParams none = params("nobody");
    EXPECT_EQ(none.userName, "");
    EXPECT_EQ(none.password, "");

    params("absent", ras::ErrorCannotFindPhonebookEntry);
    params("../chap-secrets", ras::ErrorCannotFindPhonebookEntry);
    params(".hidden", ras::ErrorCannotFindPhonebookEntry);
}

TEST_F(PppPeerFolderTest, UnreadableFilesAsAnOrdinaryUserSeesThem)
{
    write("chat-isp", "OK ATDT16300\n", QFile::ReadOwner | QFile::WriteOwner);
    write("peers/isp", "user alice connect \"chat -f " + path("chat-isp") + "\"\n");
    write("peers/secret-peer", "user bob\n", QFile::ReadOwner | QFile::WriteOwner);
    write("chap-secrets", "alice * hidden-secret\n", QFile::ReadOwner | QFile::WriteOwner);
    write("pap-secrets", "carol * visible\n");

    EXPECT_TRUE(test::runUnprivileged([&] {
        RasDialParams isp;
        RasDialParams other;
        // The secret is stored where only pppd reads it: a password that is there but hidden.
        return m_folder->dialParams("isp", isp) == ras::Success && isp.userName == "alice" &&
               isp.password == PppPeerFolder::HiddenPassword && isp.phoneNumber.empty() &&
               m_folder->dialParams("secret-peer", other) == ras::ErrorCannotOpenPhonebook;
    }));
    // With the rights to read them, the same files give everything.
    const RasDialParams isp = params("isp");
    EXPECT_EQ(isp.password, "hidden-secret");
    EXPECT_EQ(isp.phoneNumber, "16300");
}

} // namespace
} // namespace xr
