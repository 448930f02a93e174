#include "MainWindowFixture.h"

#include "browser/MainStatusBar.h"
#include "browser/ToolPictures.h"
#include "settings/SettingsStore.h"
#include "store/Allowances.h"
#include "store/DayCount.h"
#include "store/Identifiers.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

namespace xr::test {
namespace {

QDateTime at(int month, int day, int hour, int minute, int second = 0)
{
    return QDateTime(QDate(2004, month, day), QTime(hour, minute, second));
}

const QString kEmptyCounter = QStringLiteral("共 0 条记录 * 当前第 0 条");
const QString kZeroTotal = QStringLiteral("累计上网时间： 0");
// 1小时5分7秒, 0分42秒 and 2小时0分0秒, every begun minute counted whole.
const QString kWeekTotal = QStringLiteral("累计上网时间： 0天3小时7分");

class MainWindow : public MainWindowFixture {
protected:
    // Three records of this week (Monday 2004-03-01 to Sunday 03-07) and one of the week before.
    void addWeek(const QString& userId)
    {
        addRecord(at(3, 2, 10, 0), at(3, 2, 11, 5, 7), userId);
        addRecord(at(3, 3, 8, 0), at(3, 3, 8, 0, 42), userId, QStringLiteral("169"));
        addRecord(at(3, 5, 20, 0), at(3, 5, 22, 0), userId);
        addRecord(at(2, 27, 10, 0), at(2, 27, 10, 30), userId);
    }

    QComboBox* combo(const QString& name) { return window->findChild<QComboBox*>(name); }
    QTableView* grid() { return window->findChild<QTableView*>(QStringLiteral("dbgMain")); }
    QStringList items(const QString& name)
    {
        QStringList texts;
        for (int i = 0; i < combo(name)->count(); ++i)
            texts << combo(name)->itemText(i);
        return texts;
    }
    QString cell(int row, int column) { return grid()->model()->index(row, column).data().toString(); }
    const MainActions& actions() { return window->actions(); }
};

TEST_F(MainWindow, OrdinaryUserSeesTheAdminActionsDisabledAndOnlyHisOwnName)
{
    signInZhang();
    window->show();
    for (QAction* action : actions().adminActions())
        EXPECT_FALSE(action->isEnabled()) << action->objectName().toStdString();
    for (const QString& button :
         {QStringLiteral("btnDelRecord"), QStringLiteral("btnDelAll"), QStringLiteral("btnMoveRecord"),
          QStringLiteral("btnUserManage"), QStringLiteral("btnOption")})
        EXPECT_FALSE(window->findChild<QToolButton*>(button)->isEnabled()) << button.toStdString();
    EXPECT_FALSE(window->findChild<QAction*>(QStringLiteral("mmiOption"))->isEnabled());
    EXPECT_TRUE(actions().actPassword->isEnabled());
    EXPECT_TRUE(window->findChild<QToolButton*>(QStringLiteral("btnPassword"))->isEnabled());
    EXPECT_EQ(items(QStringLiteral("cbUserName")), QStringList{QStringLiteral("张三")});
    EXPECT_EQ(combo(QStringLiteral("cbUserName"))->currentText(), QStringLiteral("张三"));
    EXPECT_EQ(panel(MainStatusBar::UserPanel), QStringLiteral("用户：张三"));
    EXPECT_EQ(panel(MainStatusBar::KindPanel), QStringLiteral("普通用户"));
    EXPECT_EQ(panel(MainStatusBar::ConnNamePanel), QStringLiteral("连接：未连接"));
    EXPECT_EQ(panel(MainStatusBar::StartPanel), QStringLiteral("连接时间：未连接"));
    EXPECT_EQ(panel(MainStatusBar::OnlinePanel), QStringLiteral("已连接：未连接"));
    EXPECT_EQ(panel(MainStatusBar::AddressPanel), QStringLiteral("IP：未连接"));
    EXPECT_TRUE(actions().actConnect->isEnabled());
    EXPECT_FALSE(actions().actDisConn->isEnabled());
}

TEST_F(MainWindow, AdministratorGetsEveryAccountAndAllUsers)
{
    signInAdmin();
    window->show();
    for (QAction* action : actions().adminActions())
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
    EXPECT_EQ(items(QStringLiteral("cbUserName")),
              (QStringList{QStringLiteral("admin"), QStringLiteral("匿名用户"), QStringLiteral("张三"),
                           QStringLiteral("李四"), QStringLiteral("所有用户")}));
    EXPECT_EQ(combo(QStringLiteral("cbUserName"))->currentText(), QStringLiteral("admin"));
    EXPECT_EQ(panel(MainStatusBar::UserPanel), QStringLiteral("用户：admin"));
    EXPECT_EQ(panel(MainStatusBar::KindPanel), QStringLiteral("管理员"));
}

TEST_F(MainWindow, OpeningShowsTheLastRecordCurrentTheCounterAndTheTotal)
{
    addWeek(kZhangId);
    addRecord(at(3, 4, 9, 0), at(3, 4, 10, 0), kLiId);
    signInZhang();
    window->show();
    EXPECT_EQ(counter(), QStringLiteral("共 3 条记录 * 当前第 3 条"));
    EXPECT_EQ(grid()->currentIndex().row(), 2);
    EXPECT_EQ(total(), kWeekTotal);
    EXPECT_EQ(cell(0, 0), QStringLiteral("163"));
    EXPECT_EQ(cell(0, RecordListModel::SdtColumn), QStringLiteral("2004-3-2 10:00:00"));
    EXPECT_EQ(cell(0, RecordListModel::EdtColumn), QStringLiteral("2004-3-2 11:05:07"));
    EXPECT_EQ(cell(0, RecordListModel::TimeColumn), QStringLiteral("1小时5分7秒"));
    EXPECT_EQ(cell(1, 0), QStringLiteral("169"));
    EXPECT_TRUE(noErrorShown());

    window->hide();
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_TRUE(items(QStringLiteral("cbUserName")).isEmpty());
    signInAdmin();
    window->show();
    EXPECT_EQ(counter(), kEmptyCounter);
    EXPECT_EQ(total(), kZeroTotal);
}

// Beside the total: the listed person's use and time left today, this week and this month, a
// grant of today counted in; the status bar names the signed-in person's time left.
TEST_F(MainWindow, TheListedPersonsUseAndTimeLeftShowBesideTheTotal)
{
    addRecord(at(3, 7, 8, 0), at(3, 7, 9, 0), kZhangId);
    addRecord(at(3, 1, 10, 0), at(3, 1, 10, 30), kZhangId);
    addRecord(at(3, 7, 7, 0), at(3, 7, 8, 0), kLiId);
    storeAllowance(database.connection(), {kZhangId, 120, std::nullopt, 600});
    addGrant(database.connection(), {kZhangId, toDayCount(at(3, 7, 9, 0)), 30, kBuiltInUserId});
    signInZhang();
    window->show();
    EXPECT_EQ(window->findChild<QLabel*>(QStringLiteral("lblAllowance"))->text(),
              QStringLiteral("今天：已用1小时0分0秒，剩余1小时30分0秒　本周：已用1小时30分0秒，剩余不限　"
                             "本月：已用1小时30分0秒，剩余9小时0分0秒"));
    EXPECT_EQ(panel(MainStatusBar::TimeLeftPanel), QStringLiteral("剩余：不限"));
    window->showTimeLeft(QStringLiteral("今天剩余：1小时30分0秒"));
    EXPECT_EQ(panel(MainStatusBar::TimeLeftPanel), QStringLiteral("今天剩余：1小时30分0秒"));
}

// Records whose connection gave no counters show empty byte cells and add nothing to the total;
// deleting one record leaves the byte total as it was, like the time total.
TEST_F(MainWindow, ListShowsTheBytesOfEachRecordAndTheirTotalBesideTheTime)
{
    addWeek(kBuiltInUserId);
    setTraffic(at(3, 2, 10, 0), 1536, 512);
    setTraffic(at(3, 5, 20, 0), 3LL * 1024 * 1024 * 1024, 5LL * 1024 * 1024);
    signInAdmin();
    window->show();
    auto* model = grid()->model();
    EXPECT_EQ(model->headerData(RecordListModel::ReceivedColumn, Qt::Horizontal).toString(),
              QStringLiteral("接收"));
    EXPECT_EQ(model->headerData(RecordListModel::SentColumn, Qt::Horizontal).toString(),
              QStringLiteral("发送"));
    const QStringList received{cell(0, RecordListModel::ReceivedColumn),
                               cell(1, RecordListModel::ReceivedColumn),
                               cell(2, RecordListModel::ReceivedColumn)};
    const QStringList sent{cell(0, RecordListModel::SentColumn), cell(1, RecordListModel::SentColumn),
                           cell(2, RecordListModel::SentColumn)};
    EXPECT_EQ(received, (QStringList{QStringLiteral("1.5 KB"), QString(), QStringLiteral("3.0 GB")}));
    EXPECT_EQ(sent, (QStringList{QStringLiteral("512 B"), QString(), QStringLiteral("5.0 MB")}));
    auto* traffic = window->findChild<QLabel*>(QStringLiteral("lblTraffic"));
    ASSERT_NE(traffic, nullptr);
    EXPECT_EQ(traffic->text(), QStringLiteral("流量： 接收 3.0 GB 发送 5.0 MB"));
    EXPECT_EQ(total(), kWeekTotal);
    // The counter and both totals share their line, each shown whole.
    QCoreApplication::processEvents();
    auto* fare = window->findChild<QLabel*>(QStringLiteral("lblFare"));
    auto* count = window->findChild<QLabel*>(QStringLiteral("lblCount"));
    EXPECT_LT(count->geometry().right(), traffic->geometry().left());
    EXPECT_LT(traffic->geometry().right(), fare->geometry().left());
    for (const QLabel* label : {count, traffic, fare})
        EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();

    prompter.answers = {PromptAnswer::Yes};
    actions().actDelRecord->trigger();
    EXPECT_EQ(traffic->text(), QStringLiteral("流量： 接收 3.0 GB 发送 5.0 MB"));
    window->findChild<QPushButton*>(QStringLiteral("btnRefresh"))->click();
    EXPECT_EQ(traffic->text(), QStringLiteral("流量： 接收 1.5 KB 发送 512 B"));
    signInZhang();
    window->hide();
    window->show();
    EXPECT_EQ(traffic->text(), QStringLiteral("流量： 0"));
    EXPECT_TRUE(noErrorShown());
}

TEST_F(MainWindow, FindListsEveryUsersRecordsForAnAdministrator)
{
    addWeek(kZhangId);
    addRecord(at(3, 4, 9, 0), at(3, 4, 10, 0), kLiId);
    signInAdmin();
    window->show();
    combo(QStringLiteral("cbUserName"))->setCurrentIndex(4);
    window->findChild<QPushButton*>(QStringLiteral("btnFind"))->click();
    EXPECT_EQ(counter(), QStringLiteral("共 4 条记录 * 当前第 4 条"));
    EXPECT_EQ(total(), QStringLiteral("累计上网时间： 0天4小时7分"));
    EXPECT_EQ(window->list().query().values().keys(),
              (QStringList{QStringLiteral(":e"), QStringLiteral(":s")}));
}

TEST_F(MainWindow, PreviousOnTheSecondRecordLeavesFirstEnabledOnlyASecondPressDisablesIt)
{
    addWeek(kZhangId);
    signInZhang();
    window->show();
    actions().actPre->trigger();
    actions().actPre->trigger();
    EXPECT_EQ(counter(), QStringLiteral("共 3 条记录 * 当前第 1 条"));
    EXPECT_TRUE(actions().actFirst->isEnabled());
    EXPECT_TRUE(actions().actPre->isEnabled());

    actions().actPre->trigger();
    EXPECT_EQ(counter(), QStringLiteral("共 3 条记录 * 当前第 1 条"));
    EXPECT_FALSE(actions().actFirst->isEnabled());
    EXPECT_FALSE(actions().actPre->isEnabled());
    EXPECT_TRUE(actions().actNext->isEnabled());
    EXPECT_TRUE(actions().actLast->isEnabled());

    actions().actNext->trigger();
    actions().actNext->trigger();
    EXPECT_EQ(counter(), QStringLiteral("共 3 条记录 * 当前第 3 条"));
    EXPECT_TRUE(actions().actNext->isEnabled());
    actions().actNext->trigger();
    EXPECT_FALSE(actions().actNext->isEnabled());
    EXPECT_FALSE(actions().actLast->isEnabled());
    EXPECT_TRUE(actions().actFirst->isEnabled());

    actions().actFirst->trigger();
    EXPECT_EQ(counter(), QStringLiteral("共 3 条记录 * 当前第 1 条"));
    EXPECT_FALSE(actions().actPre->isEnabled());
    actions().actLast->trigger();
    EXPECT_EQ(counter(), QStringLiteral("共 3 条记录 * 当前第 3 条"));
    EXPECT_FALSE(actions().actLast->isEnabled());
    EXPECT_TRUE(actions().actPre->isEnabled());
}

TEST_F(MainWindow, DeletingOneRecordUpdatesTheCounterAndKeepsTheTotal)
{
    addWeek(kBuiltInUserId);
    signInAdmin();
    window->show();
    prompter.answers = {PromptAnswer::No};
    actions().actDelRecord->trigger();
    EXPECT_EQ(storedRecords(), 4);

    prompter.answers = {PromptAnswer::Yes};
    actions().actDelRecord->trigger();
    EXPECT_EQ(promptTexts().last(),
              QStringLiteral("执行删除操作将永久删除上网记录，删除后将不能恢复，确认删除吗？"));
    EXPECT_EQ(prompter.prompts.last().kind, PromptKind::Confirmation);
    EXPECT_EQ(storedRecords(), 3);
    EXPECT_EQ(counter(), QStringLiteral("共 2 条记录 * 当前第 2 条"));
    EXPECT_EQ(total(), kWeekTotal);
    EXPECT_EQ(cell(1, RecordListModel::TimeColumn), QStringLiteral("0分42秒"));
    EXPECT_TRUE(noErrorShown());
}

TEST_F(MainWindow, DeletingAllEmptiesTheListAndResetsTheTotal)
{
    addWeek(kBuiltInUserId);
    addWeek(kZhangId);
    signInAdmin();
    window->show();
    prompter.answers = {PromptAnswer::Yes, PromptAnswer::No};
    actions().actDelAll->trigger();
    EXPECT_EQ(storedRecords(), 8);
    EXPECT_EQ(prompter.prompts.last().kind, PromptKind::Warning);
    EXPECT_EQ(prompter.prompts.last().buttons, PromptButtons::YesNo);
    EXPECT_EQ(promptTexts().last(), QStringLiteral("您将删除列表中的所有上网记录！！继续吗？"));

    prompter.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
    actions().actDelAll->trigger();
    EXPECT_EQ(storedRecords(), 5); // the week before and the other user's records stay
    EXPECT_EQ(counter(), kEmptyCounter);
    EXPECT_EQ(total(), kZeroTotal);
    EXPECT_EQ(grid()->model()->rowCount(), 0);
    EXPECT_TRUE(noErrorShown());
}

TEST_F(MainWindow, DeleteAllAfterMidnightOnSundayDeletesTheWeekThatWasShown)
{
    clock.set(at(3, 7, 23, 59));
    addRecord(at(3, 2, 10, 0), at(3, 2, 11, 0), kBuiltInUserId);
    addRecord(at(3, 7, 23, 0), at(3, 7, 23, 30), kBuiltInUserId);
    signInAdmin();
    window->show();
    EXPECT_EQ(counter(), QStringLiteral("共 2 条记录 * 当前第 2 条"));
    addRecord(at(3, 8, 0, 0, 10), at(3, 8, 0, 0, 40), kBuiltInUserId);
    clock.set(at(3, 8, 0, 1));
    prompter.answers = {PromptAnswer::Yes, PromptAnswer::Yes};
    actions().actDelAll->trigger();
    EXPECT_EQ(storedRecords(), 1); // the new week's record
    EXPECT_EQ(counter(), kEmptyCounter);
}

TEST_F(MainWindow, DeletesAndSignOutAreRefusedWhileConnected)
{
    addWeek(kBuiltInUserId);
    signInAdmin();
    window->show();
    connect(QStringLiteral("163"), clock.now());
    actions().actDelRecord->trigger();
    actions().actDelAll->trigger();
    actions().actLogout->trigger();
    EXPECT_EQ(promptTexts(),
              (QStringList{QStringLiteral("连接状态下不允许删除！"), QStringLiteral("连接状态下不允许删除！"),
                           QStringLiteral("在连接状态下用户不可以注销！")}));
    EXPECT_EQ(prompter.prompts.first().kind, PromptKind::Information);
    EXPECT_EQ(storedRecords(), 4);
    EXPECT_TRUE(window->isVisible());
}

TEST_F(MainWindow, ClockWritesThePanelsWhenItFindsAConnectionNobodyAnnounced)
{
    addWeek(kZhangId);
    signInZhang();
    window->show();
    window->tmClockTimer();
    EXPECT_EQ(panel(MainStatusBar::OnlinePanel), QStringLiteral("已连接：未连接"));

    addRecord(at(3, 7, 8, 0), at(3, 7, 8, 30), kZhangId);
    connect(QStringLiteral("163"), clock.now().addSecs(-65));
    const platform::ConnHandle connectedHandle = ras.connections.back().info.handle;
    window->tmClockTimer();
    EXPECT_EQ(panel(MainStatusBar::ConnNamePanel), QStringLiteral("连接：163"));
    EXPECT_EQ(panel(MainStatusBar::StartPanel), QStringLiteral("连接时间：2004-3-7 9:03:58"));
    EXPECT_EQ(panel(MainStatusBar::OnlinePanel), QStringLiteral("已连接：1分5秒"));
    EXPECT_EQ(panel(MainStatusBar::AddressPanel), QStringLiteral("IP：10.1.2.3"));
    EXPECT_EQ(counter(), QStringLiteral("共 4 条记录 * 当前第 4 条"));

    // Written once: the next tick only renews the online time.
    addRecord(at(3, 7, 8, 40), at(3, 7, 8, 50), kZhangId);
    clock.advanceMs(1000);
    window->tmClockTimer();
    EXPECT_EQ(panel(MainStatusBar::OnlinePanel), QStringLiteral("已连接：1分6秒"));
    EXPECT_EQ(counter(), QStringLiteral("共 4 条记录 * 当前第 4 条"));

    // The connection ends: the panels say so instead of keeping a stale time and address.
    ras.removeConnection(connectedHandle);
    notify.Poll();
    window->tmClockTimer();
    for (const auto& [index, text] : {std::pair{MainStatusBar::ConnNamePanel, "连接：未连接"},
                                      std::pair{MainStatusBar::OnlinePanel, "已连接：未连接"},
                                      std::pair{MainStatusBar::AddressPanel, "IP：未连接"}})
        EXPECT_EQ(panel(index), QString::fromUtf8(text)) << index;
}

TEST_F(MainWindow, RecorderWritesTheConnectionPanelsAndKeepsTheCommandsInStep)
{
    signInZhang();
    window->show();
    window->tmClock().stop();
    window->showConnection(QStringLiteral("163"), toDayCount(at(3, 7, 9, 0)));
    EXPECT_EQ(panel(MainStatusBar::ConnNamePanel), QStringLiteral("连接：163"));
    EXPECT_EQ(panel(MainStatusBar::StartPanel), QStringLiteral("连接时间：2004-3-7 9:00:00"));
    EXPECT_EQ(panel(MainStatusBar::AddressPanel), QStringLiteral("IP："));
    EXPECT_TRUE(window->tmClock().isActive());
    window->syncConnectionCommands(true);
    EXPECT_TRUE(actions().actDisConn->isEnabled());
    EXPECT_FALSE(actions().actConnect->isEnabled());
    window->syncConnectionCommands(false);
    EXPECT_FALSE(actions().actDisConn->isEnabled());
    EXPECT_TRUE(actions().actConnect->isEnabled());
}

TEST_F(MainWindow, ToolbarSwitchIsWrittenToTheSettings)
{
    installDefaultSettings(registry);
    signInZhang();
    window->show();
    auto* toolBar = window->findChild<QToolBar*>(QStringLiteral("tlbMain"));
    EXPECT_TRUE(toolBar->isVisible());
    EXPECT_TRUE(actions().mmiToolsBar->isChecked());
    actions().mmiToolsBar->trigger();
    EXPECT_FALSE(toolBar->isVisible());
    EXPECT_FALSE(context.settings.ShowToolsBar);
    EXPECT_FALSE(LoadSettings(registry, ras, prompter).ShowToolsBar);

    window->hide();
    window->show();
    EXPECT_FALSE(toolBar->isVisible());
    EXPECT_FALSE(actions().mmiToolsBar->isChecked());
    actions().mmiToolsBar->trigger();
    EXPECT_TRUE(toolBar->isVisible());
    EXPECT_TRUE(LoadSettings(registry, ras, prompter).ShowToolsBar);
}

TEST_F(MainWindow, ChangeUserHidesTheWindowAndSignOutClosesIt)
{
    signInZhang();
    QSignalSpy changeUser(window.get(), &TwinMain::changeUserRequested);
    window->show();
    actions().actChangeUser->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(changeUser.count(), 1);

    window->show();
    prompter.answers = {PromptAnswer::No};
    actions().actLogout->trigger();
    EXPECT_TRUE(window->isVisible());
    prompter.answers = {PromptAnswer::Yes};
    actions().actLogout->trigger();
    EXPECT_EQ(promptTexts().last(), QStringLiteral("注销吗？"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(context.currentConnection.signedIn());
    EXPECT_FALSE(window->tmClock().isActive());
}

TEST_F(MainWindow, LaterFeaturesAreAnnounced)
{
    signInAdmin();
    context.settings.DefaultConn = QStringLiteral("163");
    QSignalSpy dial(window.get(), &TwinMain::dialRequested);
    QSignalSpy print(window.get(), &TwinMain::printRequested);
    window->show();
    actions().actConnect->trigger();
    actions().actPrint->trigger();
    ASSERT_EQ(dial.count(), 1);
    EXPECT_EQ(dial.first().first().toString(), QStringLiteral("163"));
    EXPECT_EQ(print.count(), 1);
}

TEST_F(MainWindow, LayoutAsDesigned)
{
    signInZhang();
    window->show();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("XarvaneXR"));
    EXPECT_EQ(window->size(), QSize(753, 611));
    const QStringList titles{QStringLiteral("连接"),         QStringLiteral("电脑"),
                             QStringLiteral("连接日期时间"), QStringLiteral("断开日期时间"),
                             QStringLiteral("上网时间"),     QStringLiteral("接收"),
                             QStringLiteral("发送")};
    const int widths[] = {105, 70, 135, 135, 135, 72, 72};
    for (int column = 0; column < 7; ++column) {
        EXPECT_EQ(grid()->model()->headerData(column, Qt::Horizontal).toString(), titles[column]);
        EXPECT_EQ(grid()->columnWidth(column), widths[column]);
    }
    const auto alignment = [this](int column) {
        return grid()
            ->model()
            ->headerData(column, Qt::Horizontal, Qt::TextAlignmentRole)
            .value<Qt::Alignment>();
    };
    EXPECT_TRUE(alignment(0) & Qt::AlignLeft);
    EXPECT_EQ(alignment(RecordListModel::EdtColumn), Qt::AlignCenter);
    EXPECT_TRUE(alignment(RecordListModel::ReceivedColumn) & Qt::AlignRight);
    // Every column shows without scrolling in the window's own width.
    EXPECT_FALSE(grid()->horizontalScrollBar()->isVisible());
    auto* pnlMain = window->findChild<QWidget*>(QStringLiteral("pnlMain"));
    auto* pnlFind = window->findChild<QWidget*>(QStringLiteral("pnlFind"));
    EXPECT_EQ(pnlMain->height(), 132);
    EXPECT_EQ(pnlFind->size(), QSize(625, 110));
    EXPECT_EQ(pnlFind->x(), (pnlMain->width() - 625) / 2);
    window->resize(900, 611);
    window->layout()->activate();
    EXPECT_EQ(pnlFind->x(), (pnlMain->width() - 625) / 2);
    auto* toolBar = window->findChild<QToolBar*>(QStringLiteral("tlbMain"));
    int separators = 0;
    for (QAction* action : toolBar->actions())
        separators += action->isSeparator() ? 1 : 0;
    EXPECT_EQ(toolBar->actions().size() - separators, 21);
    EXPECT_EQ(separators, 7);
    EXPECT_EQ(window->findChild<QToolButton*>(QStringLiteral("btnFirst"))->size(), QSize(32, 30));
    EXPECT_EQ(actions().actDelAll->toolTip(), QStringLiteral("删除列表中的所有记录"));
    EXPECT_EQ(window->findChild<QAction*>(QStringLiteral("mmiDelRecord"))->toolTip(),
              QStringLiteral("删除选择的一条记录"));
}

// Every panel is at least its design width and shows its longest text whole; the last panel
// takes what the window has to spare, and the window keeps its design width.
TEST_F(MainWindow, StatusBarPanelsShowTheirLongestTextsWhole)
{
    signInZhang();
    context.currentConnection.UserName = QStringLiteral("欧阳诸葛长名字");
    window->show();
    window->resize(1100, 611);
    auto* bar = window->findChild<MainStatusBar*>(QStringLiteral("stbMain"));
    bar->setPanelText(MainStatusBar::UserPanel, QStringLiteral("用户：欧阳诸葛长名字"));
    bar->setPanelText(MainStatusBar::ConnNamePanel, QStringLiteral("连接：中国电信宽带拨号连接"));
    bar->setPanelText(MainStatusBar::StartPanel, QStringLiteral("连接时间：2026-12-19 17:19:38"));
    bar->setPanelText(MainStatusBar::OnlinePanel, QStringLiteral("已连接：120天23小时59分58秒"));
    window->showTimeLeft(QStringLiteral("本月剩余：30天23小时59分59秒"));
    bar->setPanelText(MainStatusBar::AddressPanel, QStringLiteral("IP：218.104.111.222"));
    window->layout()->activate();
    bar->layout()->activate();
    const int designWidths[] = {105, 55, 125, 170, 163, 70, 100};
    int lastRight = 0;
    for (int index = 0; index < 7; ++index) {
        auto* label = window->findChild<QLabel*>(QStringLiteral("stbPanel%1").arg(index));
        EXPECT_GE(label->width(), designWidths[index]) << index;
        const int textRoom = label->contentsRect().width();
        EXPECT_GE(textRoom, label->fontMetrics().horizontalAdvance(label->text())) << index;
        lastRight = label->geometry().right();
    }
    EXPECT_GT(lastRight, 1100 - 40);

    // At the design width the panels that do not fit are cut at the right edge: none is
    // squeezed under its text and no text runs into the next panel.
    window->resize(753, 611);
    window->layout()->activate();
    bar->layout()->activate();
    EXPECT_EQ(window->width(), 753);
    int previousRight = -1;
    for (int index = 0; index < 7; ++index) {
        auto* label = window->findChild<QLabel*>(QStringLiteral("stbPanel%1").arg(index));
        EXPECT_GT(label->x(), previousRight) << index;
        EXPECT_GE(label->contentsRect().width(), label->fontMetrics().horizontalAdvance(label->text()))
            << index;
        previousRight = label->geometry().right();
    }

    // A name of 10,000 characters is elided to a bounded panel, whole in its tool tip.
    const QString endless = QStringLiteral("用户：") + QString(10000, QChar(0x540D));
    bar->setPanelText(MainStatusBar::UserPanel, endless);
    bar->layout()->activate();
    auto* user = window->findChild<QLabel*>(QStringLiteral("stbPanel0"));
    EXPECT_LE(user->width(), 140);
    EXPECT_TRUE(user->text().startsWith(QStringLiteral("用户：名")) && user->text().endsWith(QChar(0x2026)))
        << user->text().size();
    EXPECT_GE(user->contentsRect().width(), user->fontMetrics().horizontalAdvance(user->text()));
    EXPECT_EQ(user->toolTip(), endless);
    EXPECT_EQ(bar->panelText(MainStatusBar::UserPanel), endless);
    bar->setPanelText(MainStatusBar::UserPanel, QStringLiteral("用户：张三"));
    EXPECT_EQ(user->toolTip(), QString()) << "a name shown whole has no tip";
}

TEST_F(MainWindow, ReturnInTheQueryPanelRunsTheSearch)
{
    addWeek(kZhangId);
    signInZhang();
    window->show();
    QComboBox* connections = combo(QStringLiteral("cbConnName"));
    connections->setCurrentIndex(connections->findText(QStringLiteral("169")));
    QTest::keyClick(connections, Qt::Key_Return);
    EXPECT_EQ(counter(), QStringLiteral("共 1 条记录 * 当前第 1 条"));
    connections->setCurrentIndex(connections->count() - 1);
    QTest::keyClick(window->findChild<QDateEdit*>(QStringLiteral("dtpSd")), Qt::Key_Enter);
    EXPECT_EQ(counter(), QStringLiteral("共 3 条记录 * 当前第 3 条"));
}

// After every opening of a long list the current row is on screen, selected and marked in the
// row indicator: the user deletes what he sees.
TEST_F(MainWindow, CurrentRowIsVisibleSelectedAndMarkedAfterEveryOpening)
{
    for (int day = 0; day < 60; ++day)
        addRecord(at(3, 1, 0, day), at(3, 1, 0, day, 30), kZhangId);
    signInZhang();
    window->show();
    QCoreApplication::processEvents();
    const auto currentRowShown = [this] {
        const QRect row = grid()->visualRect(grid()->currentIndex());
        return grid()->viewport()->rect().contains(row);
    };
    ASSERT_EQ(grid()->currentIndex().row(), 59);
    EXPECT_TRUE(currentRowShown());

    grid()->scrollToTop();
    window->findChild<QPushButton*>(QStringLiteral("btnFind"))->click();
    EXPECT_EQ(counter(), QStringLiteral("共 60 条记录 * 当前第 60 条"));
    EXPECT_TRUE(currentRowShown());
    EXPECT_TRUE(grid()->selectionModel()->isRowSelected(59, {}));

    actions().actFirst->trigger();
    EXPECT_TRUE(currentRowShown());
    EXPECT_TRUE(grid()->selectionModel()->isRowSelected(0, {}));

    // The indicator: a dark mark beside the current row, none beside the next.
    QHeaderView* indicator = grid()->verticalHeader();
    QImage picture(indicator->size(), QImage::Format_ARGB32);
    indicator->render(&picture);
    const auto darkPixels = [&picture, indicator](int row) {
        const int top = indicator->sectionViewportPosition(row);
        int dark = 0;
        for (int y = top; y < top + indicator->sectionSize(row); ++y)
            for (int x = 0; x < picture.width(); ++x)
                dark += qGray(picture.pixel(x, y)) < 80 ? 1 : 0;
        return dark;
    };
    EXPECT_GT(darkPixels(0), 4);
    EXPECT_EQ(darkPixels(1), 0);
}

TEST(ToolPictures, DisabledPicturesAreGreyedVersions)
{
    QImage enabled(24, 24, QImage::Format_ARGB32);
    QImage disabled(24, 24, QImage::Format_ARGB32);
    for (auto [image, state] : {std::pair{&enabled, true}, std::pair{&disabled, false}}) {
        image->fill(Qt::transparent);
        QPainter painter(image);
        renderToolPicture(painter, QRectF(0, 0, 24, 24), ToolPicture::DelAll, state);
    }
    const QColor tile = enabled.pixelColor(3, 12);
    const QColor grey = disabled.pixelColor(3, 12);
    EXPECT_GT(tile.red(), tile.blue() + 60);
    EXPECT_EQ(grey.red(), grey.green());
    EXPECT_EQ(grey.green(), grey.blue());
    EXPECT_EQ(enabled.pixelColor(0, 0).alpha(), 0);
}

} // namespace
} // namespace xr::test
