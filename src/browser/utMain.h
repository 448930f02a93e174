#pragma once
// The main window winMain: the usage list of the signed-in user with its query panel, total and
// record counter, a status bar with the user and the current connection, the menu, the toolbar
// and the commands behind both. Created hidden at start-up; closing it only hides it.

#include "browser/MainActions.h"
#include "browser/RecordListModel.h"
#include "browser/UsageStatistics.h"

#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <functional>

class QFrame;
class QLabel;
class QTableView;
class QToolBar;

namespace xr {

struct AppContext;
class Database;
class MainStatusBar;
class QueryPanel;
class SqlCommand;
class StatisticsWindow;
class TRASNotify;
class TwinPassword;
class TwinSelUser;

class TwinMain : public QMainWindow {
    Q_OBJECT
public:
    // The tray controller's database connection, statement object and connection notifier.
    TwinMain(AppContext& context, Database& adoConnMain, SqlCommand& adocommSql, TRASNotify& RASNotify,
             QWidget* parent = nullptr);

    // A connection came up while the window is showing: panels 2, 3 and 5, and the clock.
    void showConnection(const QString& connName, double sdt);
    // The listed person's used time and time left in each period, beside the total.
    void showAllowanceSummary();
    // The time left of the signed-in person's allowance in the status bar ("" for no limit).
    void showTimeLeft(const QString& text);
    // The connect and disconnect commands, in step with whether a connection is up.
    void syncConnectionCommands(bool connected);
    // The total label from the open list in the present precision (also after the options).
    void CalcTotalTime();
    // The default list: reset the panel, open the signed-in user's records of the default period.
    void ShowDefaultRecords();

    // Each second: the online time so far, and the connection panels should nobody have
    // written them since the connection came up.
    void tmClockTimer();

    const MainActions& actions() const { return m_actions; }
    QTimer& tmClock() { return m_tmClock; }
    const RecordList& list() const { return m_model.list(); }
    // The total label's text as it stands.
    QString totalText() const;
    // Runs `work` over the open list (printing, export). Should the shared server go away during
    // it, the list opens again from this PC's records and the status bar says so; any other
    // error is thrown on.
    // False when the list was opened again so.
    bool workOnList(const std::function<void()>& work);
    // After the options: the period list replaced, DefaultTime and DefaultConnName chosen.
    void applyQueryOptions(const QStringList& periods);

signals:
    void changeUserRequested();
    void dialRequested(const QString& entry);
    void hangUpRequested();
    void connectionSettingsRequested();
    void printRequested();
    void exportRequested();
    void backupRequested();
    void restoreRequested();
    void optionsRequested();
    void allowancesRequested();
    void companionProgramsRequested();
    void floatWinToggled(bool open);
    void calculatorRequested();
    void helpRequested();
    void mailRequested();
    void aboutRequested();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createGrid();
    void createBottomPanel();
    void connectActions();
    void connectLaterFeatures();
    void FormShow();
    void FormHide();
    void FormClose();
    void pnlMainResize();
    void showUser();
    void showConnectionState();
    void fillPickLists();
    void btnFindClick();
    void openList(RecordQuery query);
    // Runs `work` on the server's connection: false when no server answers, also when it goes
    // away during the work (any other error is thrown on).
    bool onServer(const std::function<void(const QSqlDatabase&)>& work);
    // Changing records is refused while the server is set but the list is this PC's alone.
    bool refusedWhileServerAway(const QString& refusal);
    void adodsRecordAfterOpen();
    void ShowCounter();
    int currentRow() const;
    void setCurrentRow(int row);
    void bringCurrentRowIntoView();
    void actFirstExecute();
    void actPreExecute();
    void actNextExecute();
    void actLastExecute();
    void enableMoves(bool towardsStart, bool towardsEnd);
    void actDelRecordExecute();
    void actDelAllExecute();
    bool deleteAllowed();
    void actLogoutExecute();
    void actChangeUserExecute();
    void mmiToolsBarClick(bool checked);
    void actUserManageExecute();
    void actPasswordExecute();
    void actMoveRecordExecute();
    void assignCurrentRecord(const TwinSelUser& winSelUser);
    void actStatsExecute();
    // The list's user and connection choice, for the statistics window.
    RecordChoice listChoice() const;

    AppContext& m_context;
    Database& m_adoConnMain;
    SqlCommand& m_adocommSql;
    TRASNotify& m_RASNotify;
    MainActions m_actions;
    RecordListModel m_model;
    QToolBar* m_tlbMain;
    QTableView* m_dbgMain;
    QLabel* m_lblAllowance; // the listed person's used time and time left, over the bottom panel
    QFrame* m_pnlMain;
    QueryPanel* m_pnlFind;
    MainStatusBar* m_stbMain;
    QTimer m_tmClock;
    bool m_centred = false;
    QPointer<TwinPassword> m_winPassword;  // the open password dialog
    QPointer<TwinSelUser> m_winSelUser;    // the open user picker
    QPointer<StatisticsWindow> m_winStats; // the open statistics window
};

} // namespace xr
