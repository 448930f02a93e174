#pragma once
// The main window's action list (actlMain): every command of its menu and toolbar, with its
// caption, hint and pictures, and the menu and toolbar built from them.

#include <QList>

class QAction;
class QMenuBar;
class QObject;
class QToolBar;

namespace xr {

struct MainActions {
    explicit MainActions(QObject* owner);

    // The commands only an administrator may use: the six of the design and 上网时限.
    QList<QAction*> adminActions() const;

    QAction* actClose;
    QAction* actFirst;
    QAction* actPre;
    QAction* actNext;
    QAction* actLast;
    QAction* actDelRecord;
    QAction* actDelAll;
    QAction* actPrint;
    QAction* actBackup;
    QAction* actComeback;
    QAction* actUserManage;
    // The online-time allowances of the accounts, and extra time for today.
    QAction* actAllowance;
    QAction* actPassword;
    QAction* actChangeUser;
    QAction* actLogout;
    QAction* actMoveRecord;
    QAction* actConnect;
    QAction* actDisConn;
    QAction* actConnSetting;
    QAction* actOption;
    QAction* actSyn;
    QAction* actHelp;
    QAction* actMail;
    QAction* actAbout;
    QAction* actCalc;
    // Writes the listed records to a CSV or PDF file; beside 打印 in the menu.
    QAction* actExport;
    // Opens the statistics window; in the records menu and beside 打印 in the toolbar.
    QAction* actStats;
    // Menu items of their own: the floating display and the toolbar switches.
    QAction* mmiFloatWin;
    QAction* mmiToolsBar;
};

// The menu mmMain: 设置, 连接, 记录, 用户, 帮助.
void buildMainMenu(QMenuBar& menuBar, const MainActions& actions);
// The toolbar tlbMain, its buttons in groups between separators.
void buildToolBar(QToolBar& toolBar, const MainActions& actions);

} // namespace xr
