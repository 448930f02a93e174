// The usage list over the shared server of several PCs, against a real PostgreSQL server of the
// test's own: every station's records with their PC, the PC filter, deleting for good, printing
// and export from the server, and this PC's records when the server stops.
#include "MainWindowFixture.h"

#include "browser/DurationSums.h"
#include "browser/MainStatusBar.h"
#include "browser/PrintCommands.h"
#include "browser/utrptList.h"
#include "store/DayCount.h"
#include "store/Identifiers.h"
#include "store/ServerDatabase.h"

#include "PgServer.h"
#include "FirstColumn.h"

#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTableView>

namespace xr::test {
namespace {

QDateTime at(int day, int hour, int minute, int second = 0, int ms = 0)
{
    return QDateTime(QDate(2004, 3, day), QTime(hour, minute, second, ms));
}

const QString kLocalOnly = QStringLiteral("服务器不可用：只显示本机记录");

class ServerList : public MainWindowFixture {
protected:
    void SetUp() override
    {
        if (!server.available())
            GTEST_SKIP() << server.whyUnavailable().toStdString();
        const QString name = QStringLiteral("list_%1").arg(++databases);
        ASSERT_TRUE(server.createXarvaneDatabase(name, QStringLiteral("pw")));
        ASSERT_EQ(records.open(server.conninfo(name)), ServerAnswer::Answered)
            << records.problem().toStdString();
        context.server.configure(server.conninfo(name));
        signInAdmin();
    }

    // A record of the administrator's on the server, as station `station` copied it.
    void addServerRecord(const QString& station, const QDateTime& start, const QDateTime& end,
                         const QString& connName = QStringLiteral("163"))
    {
        QSqlQuery query(records.connection());
        query.prepare(
            QStringLiteral("insert into XRRecord (Station, RecordId, Sdt, Edt, UserId, ConnName, RxBytes) "
                           "values (:p, :i, :s, :e, :u, :c, :r)"));
        query.bindValue(QStringLiteral(":p"), station);
        query.bindValue(QStringLiteral(":i"), start.toString(QStringLiteral("yyyyMMddHHmmsszzz")));
        query.bindValue(QStringLiteral(":s"), toDayCount(start));
        query.bindValue(QStringLiteral(":e"), toDayCount(end));
        query.bindValue(QStringLiteral(":u"), kBuiltInUserId);
        query.bindValue(QStringLiteral(":c"), connName);
        query.bindValue(QStringLiteral(":r"), 1000);
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
    }

    // Two PCs' records of this week, with durations that round at a millisecond and at a second.
    void addTwoStations()
    {
        addServerRecord(QStringLiteral("PC-A"), at(2, 10, 0), at(2, 11, 5, 7));
        addServerRecord(QStringLiteral("PC-B"), at(2, 10, 0), at(2, 10, 59, 59, 600), QStringLiteral("169"));
        addServerRecord(QStringLiteral("PC-A"), at(3, 8, 0), at(5, 11, 4, 5, 999));
        addServerRecord(QStringLiteral("PC-B"), at(6, 9, 0), at(6, 9, 0, 42));
        // This PC's own record, not yet on the server.
        addRecord(at(4, 8, 0), at(4, 8, 30), kBuiltInUserId);
        QSqlQuery(database.connection()).exec(QStringLiteral("update XRRecord set Station = 'HERE'"));
    }

    QTableView* grid() { return window->findChild<QTableView*>(QStringLiteral("dbgMain")); }
    QString cell(int row, int column) { return grid()->model()->index(row, column).data().toString(); }
    QStringList column(int column)
    {
        QStringList texts;
        for (int row = 0; row < grid()->model()->rowCount(); ++row)
            texts << cell(row, column);
        return texts;
    }
    QString listSource() { return window->findChild<QLabel*>(QStringLiteral("stbListSource"))->text(); }
    QComboBox* combo(const QString& name) { return window->findChild<QComboBox*>(name); }
    void findStation(const QString& station)
    {
        combo(QStringLiteral("cbStation"))
            ->setCurrentIndex(combo(QStringLiteral("cbStation"))->findText(station));
        window->findChild<QPushButton*>(QStringLiteral("btnFind"))->click();
    }
    QStringList serverValues(const QString& statement)
    {
        return firstColumn(records.connection(), statement);
    }
    // The total of the listed rows, summed here from each row's start and end.
    QString totalOfRows(int precision)
    {
        DurationSums sums;
        for (int row = 0; row < window->list().count(); ++row) {
            const UsageRecord record = window->list().record(row);
            sums.add(DurationOf(record.Sdt, record.Edt));
        }
        return sums.totalText(precision);
    }

    static PgServer server;
    static int databases;
    ServerDatabase records{QStringLiteral("server-list-test")};
};

PgServer ServerList::server;
int ServerList::databases = 0;

TEST_F(ServerList, ListsEveryStationsRecordsWithTheirPcAndTheRowsTotal)
{
    addTwoStations();
    ASSERT_TRUE(QSqlQuery(records.connection())
                    .exec(QStringLiteral("insert into XRUser (UserId, UserName, UserPw) values ('20261210', 'zhao', '')")));
    window->show();
    ASSERT_TRUE(window->list().onServer());
    EXPECT_NE(combo(QStringLiteral("cbUserName"))->findText(QStringLiteral("zhao")), -1)
        << "the administrator picks among the server's accounts";
    EXPECT_EQ(column(RecordListModel::StationColumn),
              (QStringList{QStringLiteral("PC-A"), QStringLiteral("PC-B"), QStringLiteral("PC-A"),
                           QStringLiteral("PC-B")}))
        << "by start, then connection name; this PC's record is not on the server yet";
    EXPECT_EQ(cell(1, RecordListModel::TimeColumn), QStringLiteral("59分59秒"));
    EXPECT_EQ(cell(2, RecordListModel::TimeColumn), QStringLiteral("2天3小时4分5秒"));
    EXPECT_TRUE(listSource().isEmpty());
    EXPECT_EQ(total(), QStringLiteral("累计上网时间： 2天5小时12分"));
    EXPECT_EQ(total(), totalOfRows(0));
    context.settings.Precision = 1;
    window->CalcTotalTime();
    EXPECT_EQ(total(), totalOfRows(1));
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblTraffic"))->text(),
              QStringLiteral("流量： 接收 3.9 KB 发送 0 B"));

    // The PC list: the PCs with records on the server, then every PC, which is chosen.
    QStringList stations;
    for (int i = 0; i < combo(QStringLiteral("cbStation"))->count(); ++i)
        stations << combo(QStringLiteral("cbStation"))->itemText(i);
    EXPECT_EQ(stations,
              (QStringList{QStringLiteral("PC-A"), QStringLiteral("PC-B"), QStringLiteral("所有电脑")}));
    EXPECT_EQ(combo(QStringLiteral("cbStation"))->currentText(), QStringLiteral("所有电脑"));
    findStation(QStringLiteral("PC-B"));
    EXPECT_EQ(column(RecordListModel::StationColumn),
              (QStringList{QStringLiteral("PC-B"), QStringLiteral("PC-B")}));
    EXPECT_EQ(column(RecordListModel::ConnNameColumn),
              (QStringList{QStringLiteral("169"), QStringLiteral("163")}));
    EXPECT_TRUE(window->list().query().text().contains(QStringLiteral("(Station = :p)")));
    EXPECT_TRUE(noErrorShown());
}

TEST_F(ServerList, DeletingOnTheServerKeepsTheDeletedFromComingBack)
{
    addTwoStations();
    window->show();
    prompter.answers = {PromptAnswer::Yes};
    window->actions().actDelRecord->trigger(); // the last row: PC-B's of 3-6
    EXPECT_EQ(window->list().count(), 3);
    EXPECT_EQ(serverValues(QStringLiteral("select Station || '/' || RecordId from XRRecordGone")),
              QStringList{QStringLiteral("PC-B/20040306090000000")});
    EXPECT_EQ(serverValues(QStringLiteral("select count(*) from XRRecord")),
              QStringList{QStringLiteral("3")});

    findStation(QStringLiteral("PC-A"));
    prompter.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
    window->actions().actDelAll->trigger();
    EXPECT_EQ(window->list().count(), 0);
    EXPECT_EQ(serverValues(QStringLiteral("select Station || '/' || RecordId from XRRecordGone order by 1")),
              (QStringList{QStringLiteral("PC-A/20040302100000000"), QStringLiteral("PC-A/20040303080000000"),
                           QStringLiteral("PC-B/20040306090000000")}));
    EXPECT_EQ(serverValues(QStringLiteral("select Station from XRRecord")),
              QStringList{QStringLiteral("PC-B")});
    EXPECT_EQ(storedRecords(), 1) << "this PC's own database is left alone";
    EXPECT_TRUE(noErrorShown());
}

TEST_F(ServerList, PrintingAndExportReadTheServersRows)
{
    addTwoStations();
    window->show();
    ASSERT_TRUE(window->list().onServer());
    const QString csv = dir.filePath(QStringLiteral("清单.csv"));
    prompter.fileAnswers = {{csv, 0}};
    PrintCommands(context, notify).actExportExecute(window->list(), window->totalText(), window.get());
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll().mid(3)).split(QStringLiteral("\r\n"));
    EXPECT_EQ(lines.mid(1),
              (QStringList{
                  QStringLiteral("163,2004-3-2 10:00:00,2004-3-2 11:05:07,1小时5分7秒,3907,1000,,PC-A"),
                  QStringLiteral("169,2004-3-2 10:00:00,2004-3-2 10:59:59,59分59秒,3599,1000,,PC-B"),
                  QStringLiteral("163,2004-3-3 8:00:00,2004-3-5 11:04:05,2天3小时4分5秒,183845,1000,,PC-A"),
                  QStringLiteral("163,2004-3-6 9:00:00,2004-3-6 9:00:42,0分42秒,42,1000,,PC-B"), QString()}));

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    const std::optional<ReportTexts> texts =
        PrintCommands(context, notify).prepareReport(window->list(), window->totalText());
    ASSERT_TRUE(texts);
    const QString pdf = dir.filePath(QStringLiteral("清单.pdf"));
    ASSERT_TRUE(TrptList(window->list(), *texts).exportPdf(pdf, window.get()));
    QProcess process;
    process.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished();
    const QString text = QString::fromUtf8(process.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("2004-3-5 11:04:05"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("2004-3-6 9:00:42"))) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("2004-3-4 8:30:00")))
        << "this PC's record is not on the server";
}

TEST_F(ServerList, AStoppedServerLeavesThisPcsRecordsAndRefusesChanges)
{
    addTwoStations();
    window->show();
    ASSERT_TRUE(window->list().onServer());
    server.stop();
    window->findChild<QPushButton*>(QStringLiteral("btnFind"))->click();
    EXPECT_FALSE(window->list().onServer());
    EXPECT_EQ(listSource(), kLocalOnly);
    EXPECT_EQ(column(RecordListModel::StationColumn), QStringList{QStringLiteral("HERE")});
    EXPECT_EQ(total(), QStringLiteral("累计上网时间： 0天0小时30分"));
    EXPECT_TRUE(noErrorShown());

    prompter.prompts.clear();
    window->actions().actDelRecord->trigger();
    window->actions().actDelAll->trigger();
    ASSERT_EQ(prompter.prompts.size(), 2);
    for (const Prompt& prompt : prompter.prompts) {
        EXPECT_EQ(prompt.kind, PromptKind::Information);
        EXPECT_TRUE(prompt.text.startsWith(QStringLiteral("服务器不可用，不能删除记录")))
            << prompt.text.toStdString();
    }
    EXPECT_EQ(storedRecords(), 1);

    // Back again: the next opening after the server is heard from lists every PC's records.
    ASSERT_TRUE(server.start());
    context.server.reportAnswered();
    window->findChild<QPushButton*>(QStringLiteral("btnFind"))->click();
    EXPECT_TRUE(window->list().onServer());
    EXPECT_TRUE(listSource().isEmpty());
    EXPECT_EQ(window->list().count(), 4);
}

} // namespace
} // namespace xr::test
