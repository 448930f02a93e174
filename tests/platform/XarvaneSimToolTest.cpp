// xarvane-sim, run as a separate program: its commands, its output formats, its refusals,
// and several copies changing the state file at once.
#include "DialRecorder.h"
#include "SimToolProcess.h"

#include "platform/SimRemoteAccess.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

#include <memory>
#include <vector>

namespace xr {
namespace {

using test::SimToolResult;

class XarvaneSimToolTest : public ::testing::Test {
protected:
    QString statePath() const { return m_dir.filePath(QStringLiteral("SimRas.json")); }

    SimToolResult sim(QStringList arguments)
    {
        arguments.prepend(statePath());
        arguments.prepend(QStringLiteral("--state"));
        return test::runSimTool(arguments);
    }

    QStringList lines(const QString& text) { return text.split(QLatin1Char('\n'), Qt::SkipEmptyParts); }

    QTemporaryDir m_dir;
};

TEST_F(XarvaneSimToolTest, PhonebookEntriesAreAddedReplacedListedAndRemoved)
{
    EXPECT_EQ(sim({QStringLiteral("entries")}).out, QString());
    EXPECT_EQ(sim({QStringLiteral("add-entry"), QStringLiteral("宽带连接"), QStringLiteral("--user"),
                   QStringLiteral("alice"), QStringLiteral("--password"), QStringLiteral("pw"),
                   QStringLiteral("--phone"), QStringLiteral("16300"), QStringLiteral("--dial-ms"),
                   QStringLiteral("500")})
                  .exitCode,
              0);
    EXPECT_EQ(
        sim({QStringLiteral("add-entry"), QStringLiteral("Office"), QStringLiteral("--fail=691")}).exitCode,
        0);
    EXPECT_EQ(sim({QStringLiteral("entries")}).out,
              QStringLiteral("宽带连接\talice\tpw\t16300\t500\t0\nOffice\t\t\t\t2000\t691\n"));

    // Adding an existing name replaces that entry in its place.
    EXPECT_EQ(sim({QStringLiteral("add-entry"), QStringLiteral("宽带连接"), QStringLiteral("--user"),
                   QStringLiteral("bob")})
                  .exitCode,
              0);
    EXPECT_EQ(lines(sim({QStringLiteral("entries")}).out).front(),
              QStringLiteral("宽带连接\tbob\t\t\t2000\t0"));

    EXPECT_EQ(sim({QStringLiteral("remove-entry"), QStringLiteral("宽带连接")}).exitCode, 0);
    EXPECT_EQ(sim({QStringLiteral("entries")}).out, QStringLiteral("Office\t\t\t\t2000\t691\n"));
    const SimToolResult missing = sim({QStringLiteral("remove-entry"), QStringLiteral("宽带连接")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_TRUE(missing.err.contains(QStringLiteral("宽带连接"))) << missing.err.toStdString();
}

TEST_F(XarvaneSimToolTest, ConnectionsAreMadeListedAndEnded)
{
    for (const QString& name : {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")})
        ASSERT_EQ(sim({QStringLiteral("add-entry"), name}).exitCode, 0);

    const SimToolResult a = sim({QStringLiteral("connect"), QStringLiteral("A"), QStringLiteral("--ip"),
                                 QStringLiteral("202.101.172.135")});
    ASSERT_EQ(a.exitCode, 0) << a.err.toStdString();
    const SimToolResult b = sim({QStringLiteral("connect"), QStringLiteral("B")});
    ASSERT_EQ(b.exitCode, 0) << b.err.toStdString();
    const QString handleA = a.out.trimmed();
    const QString handleB = b.out.trimmed();
    EXPECT_NE(handleA, handleB);

    const QStringList status = lines(sim({QStringLiteral("status")}).out);
    ASSERT_EQ(status.size(), 2);
    EXPECT_EQ(status[0], handleA + QStringLiteral("\tA\tconnected\t202.101.172.135\t0\t0"));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^%1\tB\tconnected\t10\\.\\d+\\.\\d+\\.\\d+\t0\t0$").arg(handleB))
                    .match(status[1])
                    .hasMatch())
        << status[1].toStdString();

    EXPECT_EQ(sim({QStringLiteral("connect"), QStringLiteral("A")}).exitCode, 1);    // already up
    EXPECT_EQ(sim({QStringLiteral("connect"), QStringLiteral("Nope")}).exitCode, 1); // no such entry
    EXPECT_EQ(sim({QStringLiteral("disconnect"), QStringLiteral("C")}).exitCode, 1); // not connected

    // Traffic adds up on the connection's counters, which the service reports as its statistics.
    EXPECT_EQ(sim({QStringLiteral("traffic"), QStringLiteral("A"), QStringLiteral("--rx"),
                   QStringLiteral("6000000000")}).exitCode, 0);
    EXPECT_EQ(sim({QStringLiteral("traffic"), QStringLiteral("A"), QStringLiteral("--rx=1"), QStringLiteral("--tx"),
                   QStringLiteral("700")}).exitCode, 0);
    EXPECT_EQ(sim({QStringLiteral("traffic"), QStringLiteral("C"), QStringLiteral("--rx=1")}).exitCode, 1);
    EXPECT_EQ(lines(sim({QStringLiteral("status")}).out).front(),
              handleA + QStringLiteral("\tA\tconnected\t202.101.172.135\t6000000001\t700"));
    platform::SimRemoteAccess service(statePath().toStdString());
    platform::ByteCounts counts;
    ASSERT_EQ(service.getConnectionStatistics(handleA.toUInt(), counts), platform::ras::Success);
    EXPECT_EQ(counts, (platform::ByteCounts{6000000001ULL, 700}));
    EXPECT_EQ(service.getConnectionStatistics(handleB.toUInt(), counts), platform::ras::Success);
    EXPECT_EQ(counts, platform::ByteCounts{});

    EXPECT_EQ(sim({QStringLiteral("disconnect"), QStringLiteral("A")}).exitCode, 0);
    EXPECT_EQ(lines(sim({QStringLiteral("status")}).out).size(), 1);
    ASSERT_EQ(sim({QStringLiteral("connect"), QStringLiteral("C")}).exitCode, 0);
    EXPECT_EQ(sim({QStringLiteral("disconnect"), QStringLiteral("--all")}).exitCode, 0);
    EXPECT_EQ(sim({QStringLiteral("status")}).out, QString());
    EXPECT_EQ(sim({QStringLiteral("disconnect"), QStringLiteral("--all")}).exitCode, 0);

    // A handle is never given out twice, even after its connection has ended.
    const SimToolResult again = sim({QStringLiteral("connect"), QStringLiteral("A")});
    EXPECT_FALSE(QSet<QString>({handleA, handleB}).contains(again.out.trimmed()));
}

// fail-next makes only the next dial fail, with any code; the dial after it connects.
TEST_F(XarvaneSimToolTest, FailNextFailsOnlyTheNextDialOfTheEntry)
{
    ASSERT_EQ(sim({QStringLiteral("add-entry"), QStringLiteral("Office"), QStringLiteral("--dial-ms"),
                   QStringLiteral("0")})
                  .exitCode,
              0);
    ASSERT_EQ(sim({QStringLiteral("fail-next"), QStringLiteral("Office"), QStringLiteral("--code"),
                   QStringLiteral("1000")})
                  .exitCode,
              0);
    EXPECT_EQ(
        sim({QStringLiteral("fail-next"), QStringLiteral("Nope"), QStringLiteral("--code=691")}).exitCode, 1);
    EXPECT_EQ(sim({QStringLiteral("fail-next"), QStringLiteral("Office")}).exitCode, 2);

    platform::SimRemoteAccess service(statePath().toStdString());
    std::vector<std::uint32_t> ends;
    for (int dial = 0; dial < 2; ++dial) {
        test::DialRecorder recorder;
        platform::ConnHandle handle = 0;
        ASSERT_EQ(service.dial({"Office", {}, {}, "u", "p", {}}, recorder.notifier(), handle), 0u);
        const auto seen = recorder.waitForEnd();
        ends.push_back(seen.back().error ? seen.back().error : seen.back().state);
    }
    EXPECT_EQ(ends, (std::vector<std::uint32_t>{1000, platform::ras::StateConnected}));
}

TEST_F(XarvaneSimToolTest, BadArgumentsGiveTheUsageAndExitCodeTwo)
{
    const std::vector<QStringList> bad = {
        {},
        {QStringLiteral("dial")},
        {QStringLiteral("add-entry")},
        {QStringLiteral("add-entry"), QStringLiteral("A"), QStringLiteral("B")},
        {QStringLiteral("add-entry"), QStringLiteral("A"), QStringLiteral("--dial-ms"),
         QStringLiteral("soon")},
        {QStringLiteral("add-entry"), QStringLiteral("A"), QStringLiteral("--fail"), QStringLiteral("-1")},
        {QStringLiteral("add-entry"), QStringLiteral("A"), QStringLiteral("--user")},
        {QStringLiteral("add-entry"), QStringLiteral("A"), QStringLiteral("--ip"), QStringLiteral("1.2.3.4")},
        {QStringLiteral("add-entry"), QStringLiteral("A\tB")},
        {QStringLiteral("add-entry"), QString(257, QLatin1Char('x'))},
        {QStringLiteral("connect"), QStringLiteral("A"), QStringLiteral("--ip"), QStringLiteral("1.2.3")},
        {QStringLiteral("connect"), QStringLiteral("A"), QStringLiteral("--ip"), QStringLiteral("1.2.3.256")},
        {QStringLiteral("disconnect")},
        {QStringLiteral("disconnect"), QStringLiteral("A"), QStringLiteral("--all")},
        {QStringLiteral("status"), QStringLiteral("A")},
        {QStringLiteral("traffic"), QStringLiteral("A"), QStringLiteral("--rx"), QStringLiteral("-5")},
        {QStringLiteral("traffic"), QStringLiteral("A"), QStringLiteral("--tx"), QStringLiteral("lots")},
        {QStringLiteral("entries"), QStringLiteral("--frobnicate")},
    };
    for (const QStringList& arguments : bad) {
        SCOPED_TRACE(arguments.join(QLatin1Char(' ')).toStdString());
        const SimToolResult result = sim(arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_TRUE(result.err.contains(QStringLiteral("Usage: xarvane-sim"))) << result.err.toStdString();
    }
    EXPECT_EQ(test::runSimTool({QStringLiteral("status"), QStringLiteral("--state")}).exitCode, 2);
    // Nothing was written by any of them.
    EXPECT_FALSE(QFile::exists(statePath()));

    const SimToolResult help = test::runSimTool({QStringLiteral("--help")});
    EXPECT_EQ(help.exitCode, 0);
    for (const char* command : {"entries", "add-entry", "remove-entry", "fail-next", "connect", "disconnect",
                                "status", "--state", "XARVANE_SIM_STATE"})
        EXPECT_TRUE(help.out.contains(QLatin1String(command))) << command;
}

TEST_F(XarvaneSimToolTest, EnvironmentNamesTheStateFileAndTheOptionWins)
{
    const QString fromEnvironment = m_dir.filePath(QStringLiteral("env.json"));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XARVANE_SIM_STATE"), fromEnvironment);

    ASSERT_EQ(test::runSimTool({QStringLiteral("add-entry"), QStringLiteral("ViaEnv")}, environment).exitCode,
              0);
    EXPECT_TRUE(QFile::exists(fromEnvironment));
    ASSERT_EQ(sim({QStringLiteral("add-entry"), QStringLiteral("ViaOption")}).exitCode, 0);

    EXPECT_EQ(test::runSimTool({QStringLiteral("entries")}, environment).out,
              QStringLiteral("ViaEnv\t\t\t\t2000\t0\n"));
    EXPECT_EQ(
        test::runSimTool({QStringLiteral("--state"), statePath(), QStringLiteral("entries")}, environment)
            .out,
        QStringLiteral("ViaOption\t\t\t\t2000\t0\n"));
}

TEST_F(XarvaneSimToolTest, ProcessesChangingTheStateAtOnceLoseNoChange)
{
    constexpr int copies = 24;
    // Every copy adds its own entry at the same time.
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < copies; ++i) {
        processes.push_back(std::make_unique<QProcess>());
        test::startSimTool(*processes.back(), {QStringLiteral("--state"), statePath(),
                                               QStringLiteral("add-entry"), QStringLiteral("E%1").arg(i)});
    }
    for (auto& process : processes)
        EXPECT_EQ(test::finishSimTool(*process).exitCode, 0);
    const QStringList entries = lines(sim({QStringLiteral("entries")}).out);
    EXPECT_EQ(entries.size(), copies);
    for (int i = 0; i < copies; ++i)
        EXPECT_EQ(entries.filter(QRegularExpression(QStringLiteral("^E%1\t").arg(i))).size(), 1) << i;

    // Then every copy connects its entry at the same time: each gets a handle of its own.
    processes.clear();
    for (int i = 0; i < copies; ++i) {
        processes.push_back(std::make_unique<QProcess>());
        test::startSimTool(*processes.back(), {QStringLiteral("--state"), statePath(),
                                               QStringLiteral("connect"), QStringLiteral("E%1").arg(i)});
    }
    QSet<QString> handles;
    for (auto& process : processes) {
        const SimToolResult result = test::finishSimTool(*process);
        EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
        handles.insert(result.out.trimmed());
    }
    EXPECT_EQ(handles.size(), copies);
    EXPECT_EQ(lines(sim({QStringLiteral("status")}).out).size(), copies);
}

} // namespace
} // namespace xr
