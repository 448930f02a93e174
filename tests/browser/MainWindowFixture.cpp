#include "MainWindowFixture.h"

#include "store/DayCount.h"
#include "store/Identifiers.h"
#include "InstalledDatabase.h"

#include <QLabel>
#include <QSqlQuery>
#include <QTableView>

namespace xr::test {

namespace {

int g_nextDatabase = 0;

} // namespace

MainWindowFixture::MainWindowFixture() : database(QStringLiteral("main-window-%1").arg(++g_nextDatabase))
{
    createInstalledDatabase(context.appPath + kDatabaseFileName);
    EXPECT_TRUE(database.open(context.appPath + kDatabaseFileName));
    notify.Loaded();
    window = std::make_unique<TwinMain>(context, database, command, notify);
    checkedRecords =
        std::make_unique<CheckedModel>(window->findChild<QTableView*>(QStringLiteral("dbgMain"))->model());
    addUser(kZhangId, QStringLiteral("张三"));
    addUser(kLiId, QStringLiteral("李四"));
}

MainWindowFixture::~MainWindowFixture()
{
    checkedRecords.reset();
    window.reset();
    database.close();
}

void MainWindowFixture::addUser(const QString& id, const QString& name)
{
    EXPECT_TRUE(addAccount(database.connection(), {id, name}));
}

void MainWindowFixture::addRecord(const QDateTime& start, const QDateTime& end, const QString& userId,
                                  const QString& connName)
{
    QSqlQuery query(database.connection());
    query.prepare(QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) values (?,?,?,?,?)"));
    query.addBindValue(start.toString(QStringLiteral("yyyyMMddHHmmsszzz")));
    query.addBindValue(toDayCount(start));
    query.addBindValue(toDayCount(end));
    query.addBindValue(userId);
    query.addBindValue(connName);
    EXPECT_TRUE(query.exec());
}

void MainWindowFixture::setTraffic(const QDateTime& start, qint64 received, qint64 sent)
{
    QSqlQuery query(database.connection());
    query.prepare(QStringLiteral("update XRRecord set RxBytes = ?, TxBytes = ? where Sdt = ?"));
    query.addBindValue(received);
    query.addBindValue(sent);
    query.addBindValue(toDayCount(start));
    EXPECT_TRUE(query.exec());
}

int MainWindowFixture::storedRecords()
{
    QSqlQuery query(database.connection());
    query.exec(QStringLiteral("select count(*) from XRRecord"));
    query.next();
    return query.value(0).toInt();
}

void MainWindowFixture::signInAdmin()
{
    context.currentConnection = {kBuiltInUserId, QStringLiteral("admin"), {}, 0, 0, true};
}

void MainWindowFixture::connect(const QString& connName, const QDateTime& start)
{
    ras.addConnection(connName.toStdString(), platform::ras::StateConnected, "10.1.2.3");
    notify.Poll();
    context.currentConnection.ConnName = connName;
    context.currentConnection.Sdt = toDayCount(start);
}

QString MainWindowFixture::panel(int index) const
{
    return window->findChild<QLabel*>(QStringLiteral("stbPanel%1").arg(index))->text();
}

QString MainWindowFixture::counter() const
{
    return window->findChild<QLabel*>(QStringLiteral("lblCount"))->text();
}

QString MainWindowFixture::total() const
{
    return window->findChild<QLabel*>(QStringLiteral("lblFare"))->text();
}

bool MainWindowFixture::noErrorShown() const
{
    for (const Prompt& prompt : prompter.prompts) {
        if (prompt.kind == PromptKind::Error)
            return false;
    }
    return true;
}

} // namespace xr::test
