#pragma once
// The database file's safeguards, commands of the main window: a backup to a file the user
// names, and a restore from such a file over the live database (the live database is first
// kept as CurrXRDB.mdb). Both are refused while a connection is up.

#include <QObject>
#include <QString>

namespace xr {

struct AppContext;
class Database;

inline const QString kRestoreSafetyFileName = QStringLiteral("CurrXRDB.mdb");

class BackupRestore : public QObject {
    Q_OBJECT
public:
    BackupRestore(AppContext& context, Database& adoConnMain);

    void actBackupExecute(bool connected);
    // True when the restore went past its file check: the user is signed out then.
    bool actComebackExecute(bool connected);

signals:
    // The database connection is about to close for a restore: whatever reads it lets go.
    void databaseClosing();
    // After a restore the database is open again (the restored file, or the safety copy put
    // back): the one place where a reopened database is announced.
    void databaseReopened();

private:
    QString chooseRestoreFile();
    void replaceLiveDatabase(const QString& chosen);
    bool reopen();
    bool reopenSafetyCopy();
    QString liveFile() const;
    QString safetyFile() const;

    AppContext& m_context;
    Database& m_adoConnMain;
};

} // namespace xr
