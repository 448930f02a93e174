#pragma once
// The tray controller: the program's hidden main window. It owns the database connection, the
// shared statement object, the connection notifier, the recorder's two timers and the
// notification icon, and it runs the start-up and the orderly stop.

#include "app/AppWindows.h"
#include "app/TrayMenu.h"
#include "browser/BackupRestore.h"
#include "common/AppContext.h"
#include "connections/RASNotify.h"
#include "connections/Recorder.h"
#include "store/Database.h"
#include "store/SqlCommand.h"

#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QWidget>

namespace xr {

class TwinTray : public QWidget {
    Q_OBJECT
public:
    // `windows` are the other windows as the recorder and the menu reach them.
    TwinTray(AppContext& context, AppWindows& windows);
    ~TwinTray() override;

    bool databaseOpened() const { return m_adoConnMain.isOpen(); }
    // True when the start-up ended at the database: the program must end. (An error earlier
    // in the start-up is shown and leaves the program in the notification area.)
    bool databaseFailed() const { return m_databaseFailed; }

    Database& adoConnMain() { return m_adoConnMain; }
    SqlCommand& adocommSql() { return m_adocommSql; }
    TRASNotify& RASNotify() { return m_RASNotify; }
    QTimer& tmConn() { return m_tmConn; }
    QTimer& tmRecord() { return m_tmRecord; }
    QMenu& pmTray() { return m_pmTray; }
    TrayMenu& trayMenu() { return m_trayMenu; }
    Recorder& recorder() { return m_recorder; }
    // Backup and restore of the database file; it announces when a restore reopens the database.
    BackupRestore& backupRestore() { return m_backupRestore; }

    // The session is about to end (the system's query): the close query's end-time write.
    void queryEndSession();
    // The session ends: the end time is written once more, and the program ends.
    void WMEndSession();
    // The program is ending, maybe without its display: the open record gets the present time
    // when the database is open; a failure is told on standard error.
    void writeEndTimeOnExit() noexcept;
    void pmiExitClick();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void FormCreate();
    void reconcileHeartbeat();
    void FormCloseQuery();
    void FormClose();
    void AddTrayIcon();
    void RemoveTrayIcon();
    void WMTrayIcon(QSystemTrayIcon::ActivationReason reason);

    AppContext& m_context;
    AppWindows& m_windows;
    Database m_adoConnMain;
    SqlCommand m_adocommSql{m_adoConnMain};
    TRASNotify m_RASNotify;
    BackupRestore m_backupRestore{m_context, m_adoConnMain, m_RASNotify};
    QTimer m_tmConn;
    QTimer m_tmRecord;
    QMenu m_pmTray;
    TrayMenu m_trayMenu;
    QSystemTrayIcon* m_trayIcon = nullptr;
    Recorder m_recorder;
    bool m_databaseFailed = false;
};

} // namespace xr
