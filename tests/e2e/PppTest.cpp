// The real program on the pppd back-end: a stand-in pppd and a real point-to-point interface
// named like a ppp link, in a network namespace of the test's own (needs root; skipped
// elsewhere), so that the program's own interface lookup runs.
#include "ProgramFolder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <sched.h>
#include <unistd.h>

namespace xr::test {
namespace {

const QString kStandIn = QStringLiteral(XARVANE_SOURCE_DIR "/tests/support/stand-in-pppd.sh");
const QString kAnonymousId = QStringLiteral("000000000000000002");

bool ip(const QStringList& arguments)
{
    QProcess command;
    command.start(QStringLiteral("ip"), arguments);
    return command.waitForFinished() && command.exitStatus() == QProcess::NormalExit &&
           command.exitCode() == 0;
}

class PppEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (::geteuid() != 0)
            GTEST_SKIP() << "a network namespace of the test's own needs root";
        if (::unshare(CLONE_NEWNET) != 0)
            GTEST_SKIP() << "no network namespace: " << std::strerror(errno);
        // A tun device is point-to-point like a ppp unit and needs no driver beyond tun.
        if (!ip({QStringLiteral("tuntap"), QStringLiteral("add"), QStringLiteral("dev"),
                 QStringLiteral("ppp0"), QStringLiteral("mode"), QStringLiteral("tun")}))
            GTEST_SKIP() << "no tun device in this namespace";
        QDir(folder.path()).mkpath(QStringLiteral("peers"));
        QDir(folder.path()).mkpath(QStringLiteral("ppp-run"));
        QFile peer(folder.path(QStringLiteral("peers/Office")));
        ASSERT_TRUE(peer.open(QIODevice::WriteOnly));
        peer.write("/dev/ttyS0 115200\nuser alice\n");
        peer.close();
        for (const auto& [name, value] : pppEnvironment())
            folder.setEnvironment(name, value);
        folder.setEnvironment(QStringLiteral("XARVANE_RAS"), QStringLiteral("ppp"));
    }
    void TearDown() override
    {
        if (m_pppd.state() != QProcess::NotRunning) {
            m_pppd.kill();
            m_pppd.waitForFinished();
        }
    }

    QList<std::pair<QString, QString>> pppEnvironment() const
    {
        return {{QStringLiteral("XARVANE_PPP_PEERS"), folder.path(QStringLiteral("peers"))},
                {QStringLiteral("XARVANE_PPP_RUN"), folder.path(QStringLiteral("ppp-run"))},
                {QStringLiteral("XARVANE_PPPD"), kStandIn}};
    }

    // pppd started outside the program, as `pon` would, and its link coming up.
    void startLink()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const auto& [name, value] : pppEnvironment())
            environment.insert(name, value);
        m_pppd.setProcessEnvironment(environment);
        m_pppd.start(kStandIn,
                     {QStringLiteral("call"), QStringLiteral("Office"), QStringLiteral("nodetach")});
        ASSERT_TRUE(m_pppd.waitForStarted());
        ASSERT_TRUE(ProgramFolder::waitUntil(
            [&] { return QFile::exists(folder.path(QStringLiteral("ppp-run/ppp0.pid"))); }));
        ASSERT_TRUE(ip({QStringLiteral("addr"), QStringLiteral("add"), QStringLiteral("10.64.0.2"),
                        QStringLiteral("peer"), QStringLiteral("10.64.0.1"), QStringLiteral("dev"),
                        QStringLiteral("ppp0")}));
        ASSERT_TRUE(ip(
            {QStringLiteral("link"), QStringLiteral("set"), QStringLiteral("ppp0"), QStringLiteral("up")}));
    }
    void endLink()
    {
        m_pppd.terminate();
        ASSERT_TRUE(m_pppd.waitForFinished());
        EXPECT_EQ(m_pppd.exitCode(), 5);
    }

    QList<QStringList> records()
    {
        return folder.rows(QStringLiteral("select UserId, Sdt, Edt, ConnName from XRRecord order by Sdt"));
    }
    bool waitForEnd()
    {
        return ProgramFolder::waitUntil([&] {
            const auto rows = records();
            return rows.size() == 1 && rows[0][2].toDouble() > rows[0][1].toDouble();
        });
    }

    ProgramFolder folder;
    QProcess m_pppd;
};

TEST_F(PppEndToEnd, LinkStartedOutsideTheProgramIsRecordedAndItsEndToo)
{
    ASSERT_TRUE(folder.start());
    startLink();
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return records().size() == 1; }))
        << folder.errorOutput().toStdString();
    EXPECT_EQ(records()[0][0], kAnonymousId);
    EXPECT_EQ(records()[0][3], QStringLiteral("Office"));
    QThread::msleep(1200);
    endLink();
    EXPECT_TRUE(waitForEnd());
    EXPECT_EQ(records().size(), 1);
    folder.terminate();
    EXPECT_TRUE(folder.waitForExit());
}

TEST_F(PppEndToEnd, ProgramStartedWhileALinkIsUpRecordsIt)
{
    startLink();
    ASSERT_TRUE(folder.start());
    ASSERT_TRUE(ProgramFolder::waitUntil([&] { return records().size() == 1; }))
        << folder.errorOutput().toStdString();
    EXPECT_EQ(records()[0][3], QStringLiteral("Office"));
    QThread::msleep(1200);
    folder.terminate();
    ASSERT_TRUE(folder.waitForExit());
    EXPECT_TRUE(waitForEnd());
    EXPECT_EQ(m_pppd.state(), QProcess::Running) << "a link that is up stays up when the program ends";
    endLink();
}

} // namespace
} // namespace xr::test
