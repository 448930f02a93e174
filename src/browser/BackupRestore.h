#pragma once
// The database file's safeguards, commands of the main window: a backup to a file the user
// names, and a restore from such a file over the live database (the live database is first
// kept as CurrXRDB.mdb). Both are refused while a connection is up; the restore looks again
// just before it replaces the database, since its question and dialog leave time for one to
// come up.

#include <QObject>
#include <QString>

namespace xr {

struct AppContext;
class Database;
class TRASNotify;

inline const QString kRestoreSafetyFileName = QStringLiteral("CurrXRDB.mdb");

class BackupRestore : public QObject {
    Q_OBJECT
public:
    BackupRestore(AppContext& context, Database& adoConnMain, const TRASNotify& notify);

    void actBackupExecute();
    // True when the restore went past its file check: the user is signed out then.
    bool actComebackExecute();

signals:
    // The database connection is about to close for a restore: whatever reads it lets go.
    void databaseClosing();
    // After a restore the database is open again (the restored file, or the safety copy put
    // back): the one place where a reopened database is announced.
    void databaseReopened();

private:
    enum class Reopened { Live, SafetyCopy, None };

    bool refusedWhileConnected(const QString& refusal);
    QString chooseBackupFile();
    QString chooseRestoreFile();
    bool replaceLiveDatabase(const QString& chosen);
    Reopened reopenLiveOrSafetyCopy();
    bool reopen();
    void tellRestoreOutcome(bool copied, Reopened reopened);
    QString liveFile() const;
    QString safetyFile() const;

    AppContext& m_context;
    Database& m_adoConnMain;
    const TRASNotify& m_notify;
};

} // namespace xr
