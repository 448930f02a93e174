// Backup and restore of the database file: the online copy, the refusals, the file check before
// a restore, the safety copy and the sign-out.
#include "browser/BackupRestore.h"

#include "common/MessageBoxPrompter.h"
#include "connections/RASNotify.h"
#include "store/DatabaseCopy.h"
#include "store/Identifiers.h"
#include "store/ReadOnlyDatabase.h"
#include "users/Accounts.h"

#include "DatabaseFixture.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QSqlQuery>
#include <QTest>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <thread>

namespace xr::test {
namespace {

const QString kRestored = QStringLiteral("数据库文件恢复成功！请按恢复数据库的用户重新登录！");
const QString kRestoreFailed =
    QStringLiteral("数据库文件恢复失败！\r\r原数据库已经备份为XR安装路径下的[CurrXRDB.mdb]！");
const QString kNotOurs =
    QStringLiteral("所选文件不是本程序的数据库文件！\r\r数据库没有被恢复，现在的数据没有改变。");

// Runs one query on a file through a connection of its own; the first column of every row.
QStringList column(const QString& file, const QString& statement)
{
    const ReadOnlyDatabase db(file);
    QSqlQuery query(db.connection());
    QStringList values;
    if (query.exec(statement))
        while (query.next())
            values << query.value(0).toString();
    return values;
}

class BackupRestoreTest : public DatabaseFixture {
protected:
    BackupRestoreTest()
    {
        addUser(QStringLiteral("200403010800000"), QStringLiteral("alice"));
        context.currentConnection.UserId = kBuiltInUserId;
        context.currentConnection.UserName = QStringLiteral("admin");
        context.currentConnection.Admin = true;
        QObject::connect(&files, &BackupRestore::databaseClosing, [this] { closings++; });
        QObject::connect(&files, &BackupRestore::databaseReopened, [this] {
            reopenings++;
            EXPECT_TRUE(database.isOpen());
        });
    }

    QString path(const QString& name) const { return context.appPath + name; }
    QString live() const { return path(kDatabaseFileName); }

    QStringList liveUsers()
    {
        return values(QStringLiteral("select UserName from XRUser order by UserName"));
    }

    // A backup through the command, to `target`.
    void backUpTo(const QString& target)
    {
        prompter.fileAnswers << FileChoice{target, 0};
        files.actBackupExecute();
    }

    // Restore through the command, with Yes to the question and `chosen` in the dialog.
    bool restoreFrom(const QString& chosen)
    {
        prompter.answers << PromptAnswer::Yes;
        prompter.fileAnswers << FileChoice{chosen, 0};
        return files.actComebackExecute();
    }

    // A connection comes up (or goes) as the notifier's next poll sees it.
    void setConnected(bool connected)
    {
        if (connected)
            ras.addConnection("Office");
        else
            ras.connections.clear();
        notify.Poll();
    }

    TRASNotify notify{ras};
    BackupRestore files{context, database, notify};
    int closings = 0;
    int reopenings = 0;
};

TEST_F(BackupRestoreTest, BackupProposesTheTimeStampedNameAndMakesAnOrdinaryDatabase)
{
    setConnected(true);
    files.actBackupExecute();
    ASSERT_EQ(prompter.prompts.size(), 1);
    EXPECT_EQ(prompter.prompts[0].text, QStringLiteral("连接状态下不允许备份！"));
    EXPECT_TRUE(prompter.fileRequests.isEmpty());
    setConnected(false);

    clock.advanceMs(100);
    files.actBackupExecute(); // cancelled
    clock.advanceMs(800);     // the same second
    backUpTo(path(QStringLiteral("copy.mdb")));
    ASSERT_EQ(prompter.fileRequests.size(), 2);
    const FileRequest first = prompter.fileRequests[0];
    EXPECT_EQ(first.kind, FileDialogKind::Save);
    EXPECT_EQ(first.title, QStringLiteral("XR备份数据库"));
    EXPECT_EQ(first.filters, QStringList{QStringLiteral("数据库文件(*.mdb)")});
    EXPECT_EQ(first.proposed, path(QStringLiteral("XR20040307090503.mdb")));
    EXPECT_EQ(first.defaultSuffix, QStringLiteral("mdb"));
    EXPECT_EQ(prompter.fileRequests[1].proposed, first.proposed);

    EXPECT_EQ(prompter.prompts.last().text, QStringLiteral("备份成功！"));
    EXPECT_EQ(column(path(QStringLiteral("copy.mdb")), QStringLiteral("pragma integrity_check")),
              QStringList{QStringLiteral("ok")});
    EXPECT_EQ(column(path(QStringLiteral("copy.mdb")),
                     QStringLiteral("select UserName from XRUser order by UserName")),
              liveUsers());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("copy.mdb.part"))));
}

// Through the program's own dialog: a name typed without a suffix is saved as a .mdb file,
// which the restore dialog's filter shows.
TEST_F(BackupRestoreTest, BackupDialogAddsTheSuffixToANameTypedWithoutIt)
{
    MessageBoxPrompter boxes;
    AppContext onScreen(context.appPath, clock, boxes, ras, registry);
    BackupRestore backup{onScreen, database, notify};
    QStringList boxTexts;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&boxTexts] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<QFileDialog*>(modal)) {
            auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            name->setText(QStringLiteral("mine"));
            QTest::keyClick(name, Qt::Key_Return);
        } else if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            boxTexts << box->text();
            box->accept();
        }
    });
    user.start(20);
    backup.actBackupExecute();
    EXPECT_EQ(boxTexts, QStringList{QStringLiteral("备份成功！")});
    EXPECT_EQ(column(path(QStringLiteral("mine.mdb")),
                     QStringLiteral("select UserName from XRUser order by UserName")),
              liveUsers());
    EXPECT_FALSE(QFile::exists(path(QStringLiteral("mine"))));
}

TEST_F(BackupRestoreTest, BackupOntoTheLiveFileOrIntoAMissingFolderFails)
{
    backUpTo(live());
    EXPECT_EQ(prompter.prompts.last().kind, PromptKind::Error);
    EXPECT_EQ(prompter.prompts.last().text, QStringLiteral("备份失败！"));
    backUpTo(path(QStringLiteral("missing/copy.mdb")));
    EXPECT_EQ(prompter.prompts.last().text, QStringLiteral("备份失败！"));
    EXPECT_EQ(liveUsers().size(), 3) << "the live database is untouched";
}

// Another connection rewrites the open row's end time every few milliseconds (the recorder does
// it once a second) while backups are taken.
TEST_F(BackupRestoreTest, BackupWhileTheOpenRowIsWrittenIsConsistent)
{
    QSqlQuery insert(database.connection());
    ASSERT_TRUE(insert.exec(QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) "
                                           "values ('1', 100.0, 100.0, '000000000000000002', 'Office')")));
    std::atomic<bool> stop{false};
    std::atomic<int> writes{0};
    std::thread writer([&] {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("writer"));
            db.setDatabaseName(live());
            db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=5000"));
            db.open();
            QSqlQuery update(db);
            update.prepare(QStringLiteral("update XRRecord set Edt = ? where Sdt = 100.0"));
            for (double edt = 100.0; !stop; edt += 0.001) {
                update.addBindValue(edt);
                if (update.exec())
                    ++writes;
                std::this_thread::sleep_for(std::chrono::milliseconds(5));
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("writer"));
    });
    for (int copy = 0; copy < 5; ++copy) {
        const QString target = path(QStringLiteral("live%1.mdb").arg(copy));
        EXPECT_TRUE(backupDatabase(database.connection(), target));
        EXPECT_EQ(column(target, QStringLiteral("pragma integrity_check")),
                  QStringList{QStringLiteral("ok")});
        EXPECT_EQ(column(target, QStringLiteral("select count(*) from XRRecord")),
                  QStringList{QStringLiteral("1")});
    }
    stop = true;
    writer.join();
    EXPECT_GT(writes.load(), 0);
}

TEST_F(BackupRestoreTest, RestoreRefusalsChangeNothing)
{
    setConnected(true);
    EXPECT_FALSE(files.actComebackExecute());
    EXPECT_EQ(prompter.prompts.last().text, QStringLiteral("连接状态下不允许恢复！"));
    setConnected(false);
    EXPECT_FALSE(files.actComebackExecute()); // No to the question
    EXPECT_EQ(prompter.prompts.last().kind, PromptKind::Warning);
    EXPECT_TRUE(prompter.prompts.last().text.endsWith(QStringLiteral("\r\r继续吗？")));
    EXPECT_TRUE(prompter.fileRequests.isEmpty());
    prompter.answers << PromptAnswer::Yes;
    EXPECT_FALSE(files.actComebackExecute()); // the dialog cancelled
    ASSERT_EQ(prompter.fileRequests.size(), 1);
    EXPECT_EQ(prompter.fileRequests[0].kind, FileDialogKind::Open);
    EXPECT_EQ(prompter.fileRequests[0].title, QStringLiteral("XR恢复数据库"));
    EXPECT_EQ(closings, 0);
    EXPECT_TRUE(context.currentConnection.signedIn());
}

// A foreign SQLite file, a text file and a truncated copy of a good backup.
TEST_F(BackupRestoreTest, RestoringAFileThatIsNoDatabaseOfOursChangesNothing)
{
    const QString foreign = path(QStringLiteral("foreign.mdb"));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("foreign"));
        db.setDatabaseName(foreign);
        db.open();
        QSqlQuery(db).exec(QStringLiteral("create table Things (Name text)"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
    const QString text = path(QStringLiteral("text.mdb"));
    QFile textFile(text);
    ASSERT_TRUE(textFile.open(QIODevice::WriteOnly));
    textFile.write("XRRecord XRUser 000000000000000001\n");
    textFile.close();
    database.connection().transaction();
    for (int user = 0; user < 300; ++user)
        addUser(QStringLiteral("2004%1").arg(user), QStringLiteral("user %1").arg(user)); // several pages
    database.connection().commit();
    const QString truncated = path(QStringLiteral("truncated.mdb"));
    ASSERT_TRUE(backupDatabase(database.connection(), truncated));
    QFile truncatedFile(truncated);
    ASSERT_TRUE(truncatedFile.resize(truncatedFile.size() / 2));

    const QStringList before = liveUsers();
    for (const QString& chosen : {foreign, text, truncated}) {
        EXPECT_FALSE(restoreFrom(chosen)) << chosen.toStdString();
        EXPECT_EQ(prompter.prompts.last().text, kNotOurs);
        EXPECT_EQ(prompter.prompts.last().kind, PromptKind::Warning);
    }
    EXPECT_FALSE(QFile::exists(path(kRestoreSafetyFileName)));
    EXPECT_EQ(closings, 0);
    EXPECT_TRUE(database.isOpen());
    EXPECT_EQ(liveUsers(), before);
    EXPECT_TRUE(context.currentConnection.signedIn());
}

TEST_F(BackupRestoreTest, RestoringAGoodCopyBringsBackUsersAndRecordsAndSignsOut)
{
    backUpTo(path(QStringLiteral("old.mdb")));
    const QStringList old = liveUsers();
    addUser(QStringLiteral("200403010800009"), QStringLiteral("bob"));
    QSqlQuery(database.connection())
        .exec(QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName) "
                             "values ('1', 100.0, 101.0, '200403010800009', 'Office')"));
    const QStringList present = liveUsers();

    EXPECT_TRUE(restoreFrom(path(QStringLiteral("old.mdb"))));
    EXPECT_EQ(prompter.prompts.last().text, kRestored);
    EXPECT_EQ(closings, 1);
    EXPECT_EQ(reopenings, 1);
    EXPECT_EQ(liveUsers(), old);
    QSqlQuery records(database.connection());
    records.exec(QStringLiteral("select count(*) from XRRecord"));
    records.next();
    EXPECT_EQ(records.value(0).toInt(), 0);
    EXPECT_FALSE(context.currentConnection.signedIn());
    EXPECT_FALSE(context.currentConnection.Admin);
    EXPECT_EQ(
        column(path(kRestoreSafetyFileName), QStringLiteral("select UserName from XRUser order by UserName")),
        present)
        << "the safety copy holds the database as it was before";
}

// In a folder shared through its group the program's files are group-writable (umask 007):
// copies and the restored database too, so that every person's copy can still record.
TEST_F(BackupRestoreTest, CopiesAndTheRestoredDatabaseStayWritableForTheGroup)
{
    const mode_t before = ::umask(007);
    backUpTo(path(QStringLiteral("copy.mdb")));
    const bool restored = restoreFrom(path(QStringLiteral("copy.mdb")));
    ::umask(before);
    ASSERT_TRUE(restored);
    for (const QString& file : {path(QStringLiteral("copy.mdb")), live(), path(kRestoreSafetyFileName)}) {
        struct stat info {};
        ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0660u) << file.toStdString() << " " << std::oct << info.st_mode;
    }
}

// A backup in write-ahead-log mode whose last change is still in its log, as a copy taken
// while another program had it open: the change is restored, and the folder gets no
// -shm or -wal file of ours.
TEST_F(BackupRestoreTest, RestoringAWriteAheadLogFileLeavesItsFolderAsItWas)
{
    ASSERT_TRUE(QDir(context.appPath).mkdir(QStringLiteral("kept")));
    const QString original = path(QStringLiteral("wal.mdb"));
    const QString kept = path(QStringLiteral("kept/wal.mdb"));
    backUpTo(original);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("wal"));
        db.setDatabaseName(original);
        ASSERT_TRUE(db.open());
        QSqlQuery query(db);
        ASSERT_TRUE(query.exec(QStringLiteral("pragma journal_mode = wal")));
        ASSERT_TRUE(query.exec(QStringLiteral("pragma wal_autocheckpoint = 0")));
        ASSERT_TRUE(
            query.exec(QStringLiteral("insert into XRUser (UserId,UserName,UserPw,Admin,Enabled,Remark) "
                                      "values ('200403010800009','carol','',0,1,'')")));
        ASSERT_TRUE(QFile::copy(original, kept));
        ASSERT_TRUE(QFile::copy(original + QStringLiteral("-wal"), kept + QStringLiteral("-wal")));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("wal"));
    const QStringList folder = QDir(path(QStringLiteral("kept"))).entryList(QDir::Files);
    ASSERT_EQ(folder, (QStringList{QStringLiteral("wal.mdb"), QStringLiteral("wal.mdb-wal")}));

    EXPECT_TRUE(restoreFrom(kept));
    EXPECT_EQ(prompter.prompts.last().text, kRestored);
    EXPECT_TRUE(liveUsers().contains(QStringLiteral("carol")));
    EXPECT_EQ(QDir(path(QStringLiteral("kept"))).entryList(QDir::Files), folder);
}

TEST_F(BackupRestoreTest, RestoringFromTheSafetyCopyRestoresNothingOlder)
{
    backUpTo(path(QStringLiteral("old.mdb")));
    EXPECT_TRUE(restoreFrom(path(QStringLiteral("old.mdb")))); // CurrXRDB.mdb now holds this state
    addUser(QStringLiteral("200403010800009"), QStringLiteral("bob"));
    const QStringList present = liveUsers();
    EXPECT_TRUE(restoreFrom(path(kRestoreSafetyFileName)));
    EXPECT_EQ(prompter.prompts.last().text, kRestored);
    EXPECT_EQ(liveUsers(), present);
}

TEST_F(BackupRestoreTest, RestoringFromTheLiveFileFailsKeepsTheDataAndSignsOut)
{
    const QStringList present = liveUsers();
    EXPECT_TRUE(restoreFrom(live()));
    EXPECT_EQ(prompter.prompts.last().kind, PromptKind::Error);
    EXPECT_EQ(prompter.prompts.last().text, kRestoreFailed);
    EXPECT_TRUE(database.isOpen());
    EXPECT_EQ(liveUsers(), present);
    EXPECT_EQ(reopenings, 1);
    EXPECT_FALSE(context.currentConnection.signedIn());
}

// A backup made by a program of the first schema version holds plain passwords: restored, it
// is converted, and its users sign in as before. One made by a newer program is refused.
TEST_F(BackupRestoreTest, AnOlderBackupIsConvertedAndANewerOneRefused)
{
    const QString older = path(QStringLiteral("older.mdb"));
    createVersionOneDatabase(
        older, {{QStringLiteral("200403010800005"), QStringLiteral("dora"), QStringLiteral("dora-secret")}});
    EXPECT_TRUE(restoreFrom(older));
    EXPECT_EQ(prompter.prompts.last().text, kRestored);
    EXPECT_TRUE(database.isOpen());
    EXPECT_EQ(values(QStringLiteral("select Version from SchemaVersion")), QStringList{QString::number(kSchemaVersion)});
    EXPECT_EQ(findAccounts(database.connection(), QStringLiteral("dora"), QStringLiteral("dora-secret")).size(), 1);
    EXPECT_FALSE(fileHoldsText(live(), QStringLiteral("dora-secret")));

    const QString newer = path(QStringLiteral("newer.mdb"));
    backUpTo(newer);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("newer"));
        db.setDatabaseName(newer);
        db.open();
        QSqlQuery(db).exec(QStringLiteral("update SchemaVersion set Version = 99"));
        QSqlQuery(db).exec(QStringLiteral("delete from XRUser where UserName = 'dora'"));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("newer"));
    const int closed = closings;
    EXPECT_FALSE(restoreFrom(newer));
    EXPECT_EQ(prompter.prompts.last().kind, PromptKind::Warning);
    EXPECT_EQ(prompter.prompts.last().text,
              QStringLiteral("所选数据库文件由较新版本的本程序建立，本程序不能使用它！\r\r"
                             "数据库没有被恢复，现在的数据没有改变。"));
    EXPECT_EQ(closings, closed);
    EXPECT_TRUE(liveUsers().contains(QStringLiteral("dora")));
}

} // namespace
} // namespace xr::test
