// A long export runs beside the program: a connection that comes up meanwhile is recorded and
// its end time written while the export goes on, and a cancelled export leaves no file.
#include "DialingFixture.h"

#include "browser/ReportLayout.h"
#include "store/DayCount.h"

#include <QApplication>
#include <QSqlError>
#include <QTimer>

#include <functional>

namespace xr::test {
namespace {

constexpr int kRecords = 400'000; // some eight thousand pages: many seconds of work

class LongWork : public DialingFixture {
protected:
    void SetUp() override
    {
        DialingFixture::SetUp();
        addEntry("Office");
        fillTheWeek();
        signInAdmin();
        winMain->show();
        ASSERT_EQ(winMain->list().count(), kRecords);
    }

    // The administrator's records of this week (from Monday 2004-03-01), a few seconds apart.
    void fillTheWeek()
    {
        QSqlQuery query(tray->adoConnMain().connection());
        query.prepare(QStringLiteral(
            "with recursive n(i) as (select 0 union all select i + 1 from n where i < :last) "
            "insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) "
            "select 'R' || i, :first + i * :step, :first + i * :step + :length, :u, 'Office' from n"));
        const double step = 5.0 / kRecords;
        query.bindValue(QStringLiteral(":last"), kRecords - 1);
        query.bindValue(QStringLiteral(":first"), toDayCount(QDateTime(QDate(2004, 3, 1), QTime(0, 0))));
        query.bindValue(QStringLiteral(":step"), step);
        query.bindValue(QStringLiteral(":length"), step / 2);
        query.bindValue(QStringLiteral(":u"), kAdminId);
        ASSERT_TRUE(query.exec()) << query.lastError().text().toStdString();
    }

    void connectOffice()
    {
        changeService([](platform::SimState& state) {
            platform::SimConnection up;
            up.handle = 7;
            up.entryName = "Office";
            up.state = platform::ras::StateConnected;
            state.connections.push_back(up);
        });
    }
    void disconnectOffice()
    {
        changeService([](platform::SimState& state) { state.connections.clear(); });
    }

    // The records of connections, besides the week's: "UserId/ConnName" each.
    QStringList connectionRecords()
    {
        QStringList records;
        QSqlQuery query(tray->adoConnMain().connection());
        query.exec(QStringLiteral("select UserId, ConnName from XRRecord where RecordId not like 'R%'"));
        while (query.next())
            records << query.value(0).toString() + QLatin1Char('/') + query.value(1).toString();
        return records;
    }
    // The end time of the connection's record, once there is one.
    std::optional<double> officeEnd()
    {
        QSqlQuery query(tray->adoConnMain().connection());
        query.exec(QStringLiteral("select Edt from XRRecord where RecordId not like 'R%'"));
        return query.next() ? std::optional<double>(query.value(0).toDouble()) : std::nullopt;
    }

    QString panelText(int index) const
    {
        return winMain->findChild<QLabel*>(QStringLiteral("stbPanel%1").arg(index))->text();
    }

    QWidget* progressWindow() const
    {
        QWidget* window = QApplication::activeModalWidget();
        return window && window->objectName() == QStringLiteral("winWorkProgress") ? window : nullptr;
    }
    QString progressText(const char* label) const
    {
        return progressWindow()->findChild<QLabel*>(QString::fromLatin1(label))->text();
    }
};

// Steps run in turn while the export runs, each once its condition holds, checked every 20 ms.
class Meanwhile {
public:
    struct Step {
        std::function<bool()> ready;
        std::function<void()> run;
    };
    explicit Meanwhile(QList<Step> steps) : m_steps(std::move(steps))
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            if (!m_steps.isEmpty() && m_steps.first().ready())
                m_steps.takeFirst().run();
        });
        m_timer.start(20);
    }
    bool allRan() const { return m_steps.isEmpty(); }

private:
    QList<Step> m_steps;
    QTimer m_timer;
};

TEST_F(LongWork, AConnectionDuringAnExportIsRecordedAndEndedAndCancelLeavesNoFile)
{
    const QString target = file(QStringLiteral("清单.pdf"));
    prompter.fileAnswers = {{target, 1}};
    double connected = 0;
    double disconnected = 0;
    bool exporting = true;
    QString caption;
    QString done;
    const Meanwhile meanwhile({
        {[&] { return progressWindow() != nullptr; },
         [&] {
             caption = progressText("lblWorkCaption");
             connected = toDayCount(clock.now());
             connectOffice();
         }},
        // Recorded at the notifier's next poll, the main window's clock showing the time online.
        {[&] { return officeEnd().has_value() && panelText(4).startsWith(QStringLiteral("已连接：")); },
         [&] {
             EXPECT_TRUE(exporting);
             EXPECT_EQ(officeEnd(), connected);
             clock.advanceMs(90'000);
             disconnected = toDayCount(clock.now());
             disconnectOffice();
         }},
        // The end time, at the connection timer's first tick after the notifier saw it go.
        {[&] { return officeEnd() == disconnected; },
         [&] {
             EXPECT_TRUE(exporting);
             done = progressText("lblWorkDone");
             progressWindow()->findChild<QPushButton*>(QStringLiteral("btnCancelWork"))->click();
         }},
    });
    emit winMain->exportRequested();
    exporting = false;

    EXPECT_TRUE(meanwhile.allRan());
    EXPECT_EQ(caption, QStringLiteral("正在导出…"));
    const QString pages = QStringLiteral(" / %1 页").arg(report::ReportLayout(kRecords).pageCount());
    EXPECT_TRUE(done.startsWith(QStringLiteral("已完成 ")) && done.endsWith(pages)) << done.toStdString();
    EXPECT_EQ(connectionRecords(), QStringList{kAdminId + QStringLiteral("/Office")});
    EXPECT_EQ(progressWindow(), nullptr);
    // Neither the file nor a part of it.
    EXPECT_EQ(QDir(dir.path()).entryList({QStringLiteral("清单*")}), QStringList());
    EXPECT_EQ(promptTexts(), QStringList());
}

} // namespace
} // namespace xr::test
