#include "browser/BackupRestore.h"

#include "common/AppContext.h"
#include "connections/RASNotify.h"
#include "store/Database.h"
#include "store/DatabaseCheck.h"
#include "store/DatabaseCopy.h"
#include "store/Identifiers.h"

namespace xr {

namespace {

const QString kFilter = QStringLiteral("数据库文件(*.mdb)");
const QString kDatabaseSuffix = QStringLiteral("mdb");
const QString kBackupRefused = QStringLiteral("连接状态下不允许备份！");
const QString kRestoreRefused = QStringLiteral("连接状态下不允许恢复！");
const QString kRestoreQuestion =
    QStringLiteral("恢复数据库操作将会覆盖现在数据库的所有数据(包括用户和上网记录)！\r\r"
                   "并且当前数据库的数据将恢复为指定数据库文件中的数据！\r\r继续吗？");
const QString kNotOurDatabase =
    QStringLiteral("所选文件不是本程序的数据库文件！\r\r数据库没有被恢复，现在的数据没有改变。");
const QString kNewerDatabase = QStringLiteral("所选数据库文件由较新版本的本程序建立，本程序不能使用它！\r\r"
                                              "数据库没有被恢复，现在的数据没有改变。");
const QString kRestoreFailed =
    QStringLiteral("数据库文件恢复失败！\r\r原数据库已经备份为XR安装路径下的[CurrXRDB.mdb]！");
const QString kSafetyCopyBack = QStringLiteral("恢复的数据库文件无法打开！\r\r"
                                               "已经用XR安装路径下的[CurrXRDB.mdb]还原了原数据库。");

} // namespace

BackupRestore::BackupRestore(AppContext& context, Database& adoConnMain, const TRASNotify& notify)
    : m_context(context), m_adoConnMain(adoConnMain), m_notify(notify)
{
}

QString BackupRestore::liveFile() const
{
    return m_context.appPath + kDatabaseFileName;
}

QString BackupRestore::safetyFile() const
{
    return m_context.appPath + kRestoreSafetyFileName;
}

bool BackupRestore::refusedWhileConnected(const QString& refusal)
{
    if (!m_notify.IsConnected())
        return false;
    m_context.prompter.inform(refusal);
    return true;
}

void BackupRestore::actBackupExecute()
{
    if (refusedWhileConnected(kBackupRefused))
        return;
    const QString target = chooseBackupFile();
    if (target.isEmpty())
        return;
    if (backupDatabase(m_adoConnMain.connection(), target))
        m_context.prompter.inform(QStringLiteral("备份成功！"));
    else
        m_context.prompter.error(QStringLiteral("备份失败！"));
}

bool BackupRestore::actComebackExecute()
{
    if (refusedWhileConnected(kRestoreRefused))
        return false;
    if (m_context.prompter.ask(PromptKind::Warning, kRestoreQuestion, PromptButtons::YesNo) !=
        PromptAnswer::Yes)
        return false;
    const QString chosen = chooseRestoreFile();
    if (chosen.isEmpty())
        return false;
    // Tested before anything is replaced: a file that is no database of ours, or one this
    // program is too old for, changes nothing. An older one is converted when it is opened.
    switch (checkDatabaseFile(chosen)) {
    case DatabaseFileCheck::Ours:
        break;
    case DatabaseFileCheck::NotOurs:
        m_context.prompter.warn(kNotOurDatabase);
        return false;
    case DatabaseFileCheck::Newer:
        m_context.prompter.warn(kNewerDatabase);
        return false;
    }
    // A connection that came up while the question or the dialog showed is being recorded in
    // the live database, which must stay.
    if (refusedWhileConnected(kRestoreRefused))
        return false;
    const bool copied = replaceLiveDatabase(chosen);
    const Reopened reopened = reopenLiveOrSafetyCopy();
    ClearCurrentUser(m_context.currentConnection);
    // Told only now: a connection that comes up while the box shows is recorded in the
    // database in place, for nobody signed in.
    tellRestoreOutcome(copied, reopened);
    return true;
}

// A name typed without a suffix gets ".mdb", so that the restore dialog shows the file.
QString BackupRestore::chooseBackupFile()
{
    const QString proposed = m_context.appPath + BackupFileName(m_context.clock.now());
    FileRequest request{FileDialogKind::Save, QStringLiteral("XR备份数据库"), {kFilter}, proposed};
    request.defaultSuffix = kDatabaseSuffix;
    return m_context.prompter.chooseFile(request).fileName;
}

QString BackupRestore::chooseRestoreFile()
{
    return m_context.prompter
        .chooseFile({FileDialogKind::Open, QStringLiteral("XR恢复数据库"), {kFilter}, m_context.appPath})
        .fileName;
}

// The live database is kept as the safety copy first (whether that works is not looked at),
// then the chosen file takes its place. True when it did.
bool BackupRestore::replaceLiveDatabase(const QString& chosen)
{
    emit databaseClosing();
    m_adoConnMain.close();
    copyDatabaseFile(liveFile(), safetyFile());
    return copyDatabaseFile(chosen, liveFile());
}

// The program is never left without a working database: when the file in place does not open,
// the safety copy goes back.
BackupRestore::Reopened BackupRestore::reopenLiveOrSafetyCopy()
{
    Reopened reopened = Reopened::None;
    if (reopen())
        reopened = Reopened::Live;
    else if (copyDatabaseFile(safetyFile(), liveFile()) && reopen())
        reopened = Reopened::SafetyCopy;
    if (reopened != Reopened::None)
        emit databaseReopened();
    return reopened;
}

bool BackupRestore::reopen()
{
    return m_adoConnMain.open(liveFile());
}

void BackupRestore::tellRestoreOutcome(bool copied, Reopened reopened)
{
    if (copied)
        m_context.prompter.inform(QStringLiteral("数据库文件恢复成功！请按恢复数据库的用户重新登录！"));
    else
        m_context.prompter.error(kRestoreFailed);
    if (reopened == Reopened::SafetyCopy)
        m_context.prompter.error(kSafetyCopyBack);
    else if (reopened == Reopened::None)
        m_context.prompter.error(cannotOpenText(m_adoConnMain));
}

} // namespace xr
