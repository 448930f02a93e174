#include "browser/utMain.h"

#include "browser/DurationText.h"
#include "browser/MainStatusBar.h"
#include "browser/QueryPanel.h"
#include "browser/StatisticsWindow.h"
#include "common/AppContext.h"
#include "common/DisplayFormats.h"
#include "common/RowIndicator.h"
#include "common/ScreenCentre.h"
#include "connections/RASNotify.h"
#include "settings/CustomTimes.h"
#include "settings/SettingsStore.h"
#include "store/AccountStore.h"
#include "store/ConnectionDetails.h"
#include "store/Database.h"
#include "store/DayCount.h"
#include "store/PickLists.h"
#include "users/SignOut.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace xr {

namespace {

constexpr int kWidth = 753;
constexpr int kHeight = 611;
constexpr int kBottomPanelHeight = 132;
constexpr int kSecond = 1000;
// The connection's column gives up room so that the PC's and the two byte columns show without
// scrolling.
constexpr int kColumnWidths[RecordListModel::ColumnCount] = {105, 70, 135, 135, 135, 72, 72};
constexpr int kIndicatorWidth = 12;
constexpr int kRowHeight = 19;
const QString kNotConnectedName = QStringLiteral("连接：未连接");

} // namespace

TwinMain::TwinMain(AppContext& context, Database& adoConnMain, SqlCommand& adocommSql, TRASNotify& RASNotify,
                   QWidget* parent)
    : QMainWindow(parent), m_context(context), m_adoConnMain(adoConnMain), m_adocommSql(adocommSql),
      m_RASNotify(RASNotify), m_actions(this)
{
    setObjectName(QStringLiteral("winMain"));
    setWindowTitle(QStringLiteral("XarvaneXR"));
    resize(kWidth, kHeight);

    menuBar()->setObjectName(QStringLiteral("mmMain"));
    buildMainMenu(*menuBar(), m_actions);
    m_tlbMain = addToolBar(QStringLiteral("tlbMain"));
    m_tlbMain->setObjectName(QStringLiteral("tlbMain"));
    buildToolBar(*m_tlbMain, m_actions);

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    setCentralWidget(central);
    createGrid();
    createBottomPanel();
    m_lblAllowance = new QLabel(this);
    m_lblAllowance->setObjectName(QStringLiteral("lblAllowance"));
    m_lblAllowance->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_lblAllowance->setContentsMargins(8, 2, 8, 2);
    layout->addWidget(m_dbgMain);
    layout->addWidget(m_lblAllowance);
    layout->addWidget(m_pnlMain);
    m_stbMain = new MainStatusBar(this);
    setStatusBar(m_stbMain);

    connectActions();
    connectLaterFeatures();
    connect(m_pnlFind, &QueryPanel::findRequested, this, &TwinMain::btnFindClick);
    connect(m_pnlFind, &QueryPanel::refreshRequested, this, &TwinMain::ShowDefaultRecords);
    m_tmClock.setInterval(kSecond);
    connect(&m_tmClock, &QTimer::timeout, this, &TwinMain::tmClockTimer);
    m_tmClock.start();
}

void TwinMain::createGrid()
{
    m_dbgMain = new QTableView(this);
    m_dbgMain->setObjectName(QStringLiteral("dbgMain"));
    auto* indicator = new RowIndicator(m_dbgMain);
    m_dbgMain->setVerticalHeader(indicator);
    m_dbgMain->setModel(&m_model);
    indicator->follow(*m_dbgMain);
    m_dbgMain->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_dbgMain->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_dbgMain->setSelectionMode(QAbstractItemView::SingleSelection);
    m_dbgMain->setShowGrid(true);
    m_dbgMain->setWordWrap(false);
    m_dbgMain->setToolTip(QStringLiteral("数据表默认只显示设定时间段内的上网记录"));
    m_dbgMain->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_dbgMain->horizontalHeader()->setHighlightSections(false);
    for (int column = 0; column < RecordListModel::ColumnCount; ++column)
        m_dbgMain->setColumnWidth(column, kColumnWidths[column]);
    // All rows of one height (the line spacing of CJK fonts would make them needlessly tall).
    indicator->setSectionResizeMode(QHeaderView::Fixed);
    indicator->setMinimumSectionSize(kRowHeight);
    indicator->setDefaultSectionSize(kRowHeight);
    indicator->setFixedWidth(kIndicatorWidth);
    connect(m_dbgMain, &QTableView::clicked, this, [this] { ShowCounter(); });
}

void TwinMain::createBottomPanel()
{
    m_pnlMain = new QFrame(this);
    m_pnlMain->setObjectName(QStringLiteral("pnlMain"));
    m_pnlMain->setFixedHeight(kBottomPanelHeight);
    m_pnlMain->setFrameStyle(QFrame::Panel | QFrame::Raised);
    m_pnlFind = new QueryPanel(m_pnlMain);
    m_pnlMain->installEventFilter(this);
}

void TwinMain::connectActions()
{
    const auto on = [this](QAction* action, void (TwinMain::*handler)()) {
        connect(action, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
    };
    connect(m_actions.actClose, &QAction::triggered, this, &TwinMain::close);
    on(m_actions.actFirst, &TwinMain::actFirstExecute);
    on(m_actions.actPre, &TwinMain::actPreExecute);
    on(m_actions.actNext, &TwinMain::actNextExecute);
    on(m_actions.actLast, &TwinMain::actLastExecute);
    on(m_actions.actDelRecord, &TwinMain::actDelRecordExecute);
    on(m_actions.actDelAll, &TwinMain::actDelAllExecute);
    on(m_actions.actChangeUser, &TwinMain::actChangeUserExecute);
    on(m_actions.actLogout, &TwinMain::actLogoutExecute);
    on(m_actions.actUserManage, &TwinMain::actUserManageExecute);
    on(m_actions.actPassword, &TwinMain::actPasswordExecute);
    on(m_actions.actMoveRecord, &TwinMain::actMoveRecordExecute);
    on(m_actions.actStats, &TwinMain::actStatsExecute);
    connect(m_actions.mmiToolsBar, &QAction::triggered, this, &TwinMain::mmiToolsBarClick);
}

// Commands whose windows and services live outside the main window.
void TwinMain::connectLaterFeatures()
{
    const MainActions& a = m_actions;
    connect(a.actConnect, &QAction::triggered, this, [this] { emit dialRequested(m_context.settings.DefaultConn); });
    connect(a.actDisConn, &QAction::triggered, this, &TwinMain::hangUpRequested);
    connect(a.actConnSetting, &QAction::triggered, this, &TwinMain::connectionSettingsRequested);
    connect(a.actPrint, &QAction::triggered, this, &TwinMain::printRequested);
    connect(a.actExport, &QAction::triggered, this, &TwinMain::exportRequested);
    connect(a.actBackup, &QAction::triggered, this, &TwinMain::backupRequested);
    connect(a.actComeback, &QAction::triggered, this, &TwinMain::restoreRequested);
    connect(a.actOption, &QAction::triggered, this, &TwinMain::optionsRequested);
    connect(a.actAllowance, &QAction::triggered, this, &TwinMain::allowancesRequested);
    connect(a.actSyn, &QAction::triggered, this, &TwinMain::companionProgramsRequested);
    connect(a.mmiFloatWin, &QAction::triggered, this, &TwinMain::floatWinToggled);
    connect(a.actCalc, &QAction::triggered, this, &TwinMain::calculatorRequested);
    connect(a.actHelp, &QAction::triggered, this, &TwinMain::helpRequested);
    connect(a.actMail, &QAction::triggered, this, &TwinMain::mailRequested);
    connect(a.actAbout, &QAction::triggered, this, &TwinMain::aboutRequested);
}

void TwinMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (event->spontaneous())
        return;
    // Centred once, at the first showing, when the window has its final size; later showings
    // keep the place the user gave it.
    if (!m_centred) {
        xr::centreOnScreen(*this);
        m_centred = true;
    }
    FormShow();
    // The grid takes its final height only once the window is laid out; the current row is
    // brought into view again then.
    QMetaObject::invokeMethod(this, &TwinMain::bringCurrentRowIntoView, Qt::QueuedConnection);
}

void TwinMain::hideEvent(QHideEvent* event)
{
    QMainWindow::hideEvent(event);
    if (!event->spontaneous())
        FormHide();
}

void TwinMain::closeEvent(QCloseEvent* event)
{
    FormClose();
    QMainWindow::closeEvent(event);
}

bool TwinMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_pnlMain && event->type() == QEvent::Resize)
        pnlMainResize();
    return QMainWindow::eventFilter(watched, event);
}

void TwinMain::FormShow()
{
    pnlMainResize();
    showUser();
    showConnectionState();
    fillPickLists();
    ShowDefaultRecords();
    const bool toolBar = m_context.settings.ShowToolsBar;
    m_actions.mmiToolsBar->setChecked(toolBar);
    m_actions.mmiFloatWin->setChecked(m_context.settings.FloatWin);
    m_tlbMain->setVisible(toolBar);
}

// The statistics window shows the signed-in user's records: it goes when the main window does.
void TwinMain::FormHide()
{
    m_model.close();
    m_pnlFind->clearUsers();
    if (m_winStats)
        m_winStats->close();
}

void TwinMain::FormClose()
{
    if (m_winStats)
        m_winStats->close();
    m_model.close();
    m_tmClock.stop();
    m_pnlFind->clearUsers();
}

void TwinMain::pnlMainResize()
{
    const int left = (m_pnlMain->width() - QueryPanel::kWidth) / 2;
    const int top = (m_pnlMain->height() - QueryPanel::kHeight) / 2;
    m_pnlFind->move(left, top);
}

void TwinMain::showUser()
{
    const TConnection& user = m_context.currentConnection;
    m_stbMain->setPanelText(MainStatusBar::UserPanel, QStringLiteral("用户：") + user.UserName);
    m_stbMain->setPanelText(MainStatusBar::KindPanel, user.Admin ? QStringLiteral("管理员") : QStringLiteral("普通用户"));
    for (QAction* action : m_actions.adminActions())
        action->setEnabled(user.Admin);
    if (user.Admin) {
        // The server's accounts while it answers, else the PC's copy of them.
        const UserPickList users = AccountStore(m_context.server, m_adoConnMain).read(
            [](const QSqlDatabase& db) { return FillUserNames(db); });
        m_pnlFind->setUsers(users.names, users.ids);
    } else {
        m_pnlFind->setUsers({user.UserName}, {user.UserId});
    }
}

void TwinMain::showConnectionState()
{
    if (m_RASNotify.IsConnected()) {
        showConnection(m_context.currentConnection.ConnName, m_context.currentConnection.Sdt);
        return;
    }
    m_stbMain->showNotConnected();
    syncConnectionCommands(false);
}

void TwinMain::showConnection(const QString& connName, double sdt)
{
    m_stbMain->setPanelText(MainStatusBar::ConnNamePanel, QStringLiteral("连接：") + connName);
    m_stbMain->setPanelText(MainStatusBar::StartPanel, QStringLiteral("连接时间：") + dateTimeText(fromDayCount(sdt)));
    m_stbMain->setPanelText(MainStatusBar::AddressPanel, QStringLiteral("IP：") + GetDynamicIP(m_context.remoteAccess));
    m_tmClock.start();
}

void TwinMain::showTimeLeft(const QString& text)
{
    m_stbMain->showTimeLeft(text);
}

void TwinMain::syncConnectionCommands(bool connected)
{
    m_actions.actDisConn->setEnabled(connected);
    m_actions.actConnect->setEnabled(!connected);
}

void TwinMain::fillPickLists()
{
    m_pnlFind->setPeriods(readTimePeriods(m_context.registry));
    // Every PC's connections and the PCs themselves when the server answers; this PC's otherwise.
    const auto fillRecordLists = [this](const QSqlDatabase& records) {
        m_pnlFind->setConnections(FillConnNames(records));
        m_pnlFind->setStations(FillStationNames(records));
    };
    if (!onServer(fillRecordLists))
        fillRecordLists(m_adoConnMain.connection());
}

QString TwinMain::totalText() const
{
    return m_pnlFind->total();
}

void TwinMain::applyQueryOptions(const QStringList& periods)
{
    m_pnlFind->setPeriods(periods);
    m_pnlFind->choose(m_context.settings.DefaultTime, m_context.settings.DefaultConnName);
}

void TwinMain::tmClockTimer()
{
    if (!m_RASNotify.IsConnected()) {
        // The connection ended while the window showed it: no stale time or address stays.
        if (m_stbMain->panelText(MainStatusBar::ConnNamePanel) != kNotConnectedName)
            m_stbMain->showNotConnected();
        return;
    }
    const TConnection& connection = m_context.currentConnection;
    m_stbMain->setPanelText(MainStatusBar::OnlinePanel,
                            QStringLiteral("已连接：") +
                                DurationText(false, connection.Sdt, toDayCount(m_context.clock.now())));
    if (m_stbMain->panelText(MainStatusBar::ConnNamePanel) != kNotConnectedName)
        return;
    showConnection(connection.ConnName, connection.Sdt);
    ShowDefaultRecords();
}

RecordChoice TwinMain::listChoice() const
{
    // A list that did not open (a period that is no dates) stands for the default list: the
    // signed-in user's own records.
    if (!list().isOpen())
        return {m_context.currentConnection.UserId, std::nullopt};
    return recordChoiceOf(list().query());
}

void TwinMain::actStatsExecute()
{
    if (m_winStats) {
        m_winStats->showChoice(listChoice());
    } else {
        m_winStats = new StatisticsWindow(m_context, m_adoConnMain, listChoice(), this);
        m_winStats->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_winStats->show();
    m_winStats->raise();
    m_winStats->activateWindow();
}

void TwinMain::actChangeUserExecute()
{
    hide();
    emit changeUserRequested();
}

void TwinMain::actLogoutExecute()
{
    if (SignOut(m_context, m_RASNotify.IsConnected()))
        close();
}

void TwinMain::mmiToolsBarClick(bool checked)
{
    m_tlbMain->setVisible(checked);
    m_context.settings.ShowToolsBar = checked;
    writeSettings(m_context.registry, m_context.settings, {&TSettings::ShowToolsBar});
}

} // namespace xr
