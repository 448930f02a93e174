#pragma once
// One run of the program from start-up to stop: the one database connection, the shared
// statement object, the connection notifier, backup and restore, the recorder with its two
// timers, and the tray controller that shows them in the notification area. Making it runs the
// start-up in its order; the tray's exit command and the session's end run the stops.

#include "app/AppWindows.h"
#include "app/SharedServer.h"
#include "app/utTray.h"
#include "common/AppContext.h"
#include "connections/AllowanceWatch.h"
#include "connections/RASNotify.h"
#include "browser/BackupRestore.h"
#include "store/Database.h"
#include "connections/Recorder.h"
#include "store/SqlCommand.h"

#include <QObject>
#include <QTimer>

namespace xr {

class XarvaneSession : public QObject {
    Q_OBJECT
public:
    // `windows` are the other windows as the recorder and the tray menu reach them.
    XarvaneSession(AppContext& context, AppWindows& windows);

    bool databaseOpened() const { return m_adoConnMain.isOpen(); }
    // True when the start-up ended at the database: the program must end. (An error earlier
    // in the start-up is shown and leaves the program in the notification area.)
    bool databaseFailed() const { return m_databaseFailed; }

    // What the start-up windows are built over.
    Database& adoConnMain() { return m_adoConnMain; }
    SqlCommand& adocommSql() { return m_adocommSql; }
    TRASNotify& RASNotify() { return m_RASNotify; }
    Recorder& recorder() { return m_recorder; }
    // The online-time allowance of the person at the PC.
    AllowanceWatch& allowance() { return m_allowance; }
    // Backup and restore of the database file; it announces when a restore reopens the database.
    BackupRestore& backupRestore() { return m_backupRestore; }
    TwinTray& winTray() { return m_winTray; }
    const QTimer& tmConn() const { return m_tmConn; }
    const QTimer& tmRecord() const { return m_tmRecord; }
    // Each second, also while offline: the allowance is read again once the person or the day
    // has changed.
    const QTimer& tmAllowance() const { return m_tmAllowance; }

    // The options dialog's new record period.
    void setRecordTimerPeriod(int ms) { m_tmRecord.setInterval(ms); }

    // The session is about to end (the system's query): the close query's end-time write.
    void queryEndSession();
    // The session ends: the end time is written once more, and the program ends.
    void WMEndSession();
    // The program is ending, maybe without its display: the open record gets the present time
    // when the database is open; a failure is told on standard error.
    void writeEndTimeOnExit() noexcept;

private:
    void FormCreate();
    void reconcileHeartbeat();
    void tmConnTimer();
    void FormCloseQuery();
    void FormClose();

    AppContext& m_context;
    Database m_adoConnMain;
    SqlCommand m_adocommSql{m_adoConnMain};
    TRASNotify m_RASNotify;
    BackupRestore m_backupRestore{m_context, m_adoConnMain, m_RASNotify};
    SharedServer m_sharedServer{m_context, m_backupRestore};
    QTimer m_tmConn;
    QTimer m_tmRecord;
    Recorder m_recorder;
    AllowanceWatch m_allowance{m_context, m_adoConnMain, m_recorder};
    QTimer m_tmAllowance;
    TwinTray m_winTray;
    bool m_databaseFailed = false;
};

} // namespace xr
