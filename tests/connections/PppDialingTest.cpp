// The program's dialer and dial status window over the pppd back-end with a stand-in pppd:
// each exit status of pppd and the back-end's own refusal reach the error layout with their
// code and text, and a dial whose link comes up is recorded for the signed-in user.
#include "DialingFixture.h"
#include "FakeInterfaces.h"

#include "platform/PppErrors.h"
#include "platform/PppRemoteAccess.h"

#include <QFile>
#include <QProcess>

#include <cstdlib>

namespace xr::test {
namespace {

const QString kStandIn = QStringLiteral(XARVANE_SOURCE_DIR "/tests/support/stand-in-pppd.sh");

// The pppd back-end over a peers folder of its own; constructed before the windows and
// destroyed after them.
struct PppService {
    PppService()
    {
        QDir(folder.path()).mkpath(QStringLiteral("peers"));
        QDir(folder.path()).mkpath(QStringLiteral("run"));
        write("peers/Office", "/dev/ttyS0\nuser alice\n");
        write("chap-secrets", "alice * secret\n");
        ::setenv("XARVANE_PPP_PEERS", path("peers").c_str(), 1);
        ::setenv("XARVANE_PPP_RUN", path("run").c_str(), 1);
        ::setenv("STANDIN_PPPD_DELAY", "0.01", 1);
    }
    ~PppService()
    {
        for (const char* name :
             {"XARVANE_PPP_PEERS", "XARVANE_PPP_RUN", "STANDIN_PPPD_DELAY", "STANDIN_PPPD_EXIT"})
            ::unsetenv(name);
    }
    std::string path(const char* name) const
    {
        return folder.filePath(QString::fromUtf8(name)).toStdString();
    }
    void write(const char* name, const QByteArray& text) const
    {
        QFile file(QString::fromStdString(path(name)));
        if (file.open(QIODevice::WriteOnly))
            file.write(text);
    }

    QTemporaryDir folder;
    FakeInterfaces interfaces;
    platform::PppRemoteAccess ppp{
        {path("peers"), folder.path().toStdString(), {path("run")}, kStandIn.toStdString()},
        interfaces.lookup()};
};

class PppDialing : protected PppService, public DialingFixture {
protected:
    PppDialing() : DialingFixture(&ppp) {}
};

TEST_F(PppDialing, EachExitStatusOfPppdReachesTheErrorLayoutWithItsCodeAndText)
{
    for (int exitStatus = 0; exitStatus <= 19; ++exitStatus) {
        SCOPED_TRACE(exitStatus);
        ::setenv("STANDIN_PPPD_EXIT", std::to_string(exitStatus).c_str(), 1);
        dialer->DialEntry(QStringLiteral("Office"));
        const std::uint32_t code = platform::ppp::exitStatusCode(exitStatus);
        std::string text;
        ASSERT_EQ(ppp.getErrorString(code, text), platform::ras::Success);
        const QString expected = QStringLiteral("错误信息：") + QString::fromStdString(text) +
                                 QStringLiteral("\n错误码：") + QString::number(code);
        EXPECT_TRUE(QTest::qWaitFor([&] { return errorShown() && errorLines() == expected; }, 5000))
            << errorLines().toStdString();
    }
    EXPECT_TRUE(prompter.prompts.isEmpty()) << promptTexts().join(QLatin1Char('\n')).toStdString();
}

TEST_F(PppDialing, DialOfAPeerWhosePppdRunsShowsTheBusyPortWithItsText)
{
    QProcess outside; // `pon Office`: its pppd runs, its link is not up
    outside.start(kStandIn, {QStringLiteral("call"), QStringLiteral("Office"), QStringLiteral("nodetach")});
    ASSERT_TRUE(outside.waitForStarted());
    ASSERT_TRUE(QTest::qWaitFor(
        [this] { return QFile::exists(QString::fromStdString(path("run/ppp0.pid"))); }, 5000));
    dialer->DialEntry(QStringLiteral("Office"));
    ASSERT_TRUE(QTest::qWaitFor([this] { return errorShown(); }, 5000));
    EXPECT_EQ(errorLines().toStdString(),
              "错误信息：该连接的端口已经打开，连接正在拨号或已经连接。\n错误码：602");
    outside.terminate();
    EXPECT_TRUE(outside.waitForFinished());
}

TEST_F(PppDialing, DialWhoseLinkComesUpIsRecordedForTheSignedInUser)
{
    signInAdmin();
    interfaces.set("ppp0", true, "10.64.0.9");
    dialer->DialEntry(QStringLiteral("Office"));
    ASSERT_TRUE(winDialStatus->isVisible());
    EXPECT_TRUE(QTest::qWaitFor(
        [this] { return recordedUsers() == QStringList{kAdminId + QStringLiteral("/Office")}; }, 10000));
    EXPECT_TRUE(QTest::qWaitFor([this] { return !winDialStatus->isVisible(); }, 3000));
    EXPECT_TRUE(prompter.prompts.isEmpty()) << promptTexts().join(QLatin1Char('\n')).toStdString();

    // Hanging up as the tray does ends the stand-in pppd.
    ASSERT_EQ(tray->RASNotify().Count(), 1);
    const auto pid = static_cast<int>(tray->RASNotify().Handles(0));
    EXPECT_EQ(ppp.hangUp(tray->RASNotify().Handles(0)), platform::ras::Success);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !platform::processAlive(pid); }, 5000));
}

} // namespace
} // namespace xr::test
