#include "browser/LongWork.h"

#include "browser/ServerListRows.h"
#include "browser/WorkProgress.h"
#include "browser/WorkProgressDialog.h"
#include "store/DatabaseError.h"
#include "store/ReadOnlyDatabase.h"
#include "store/ServerDatabase.h"

#include <QEventLoop>
#include <QThread>

#include <atomic>
#include <exception>
#include <memory>

namespace xr {

namespace {

// The job over a server connection of its own. The list's connection was opened with these
// options, so the work reads the same server even should the setting change meanwhile.
bool runOnServer(const QString& connectOptions, const LongWorkJob& job, WorkProgress& progress)
{
    static std::atomic<int> works{0};
    ServerDatabase server(QStringLiteral("serverWork-%1").arg(++works));
    if (server.open(connectOptions) != ServerAnswer::Answered)
        throw DatabaseError(server.problem());
    return job(server.connection(), progress);
}

bool runOnFile(const QString& databaseFile, const LongWorkJob& job, WorkProgress& progress)
{
    const ReadOnlyDatabase database(databaseFile);
    if (!database.isOpen())
        throw DatabaseError(QStringLiteral("无法连接数据库！请与系统管理员联系！"));
    return job(database.connection(), progress);
}

} // namespace

bool runLongWork(const LongWorkTexts& texts, QWidget* parent, const QSqlDatabase& listDb,
                 const LongWorkJob& job)
{
    const bool onServer = isServerConnection(listDb);
    const QString source = onServer ? listDb.connectOptions() : listDb.databaseName();
    WorkProgress progress;
    bool completed = false;
    std::exception_ptr failure;
    // The connection is made, used and closed on the work's thread: Qt binds it to its thread.
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            completed = onServer ? runOnServer(source, job, progress) : runOnFile(source, job, progress);
        } catch (...) {
            failure = std::current_exception();
        }
    }));
    WorkProgressDialog window(texts.caption, texts.unit, progress, parent);
    QEventLoop running;
    QObject::connect(thread.get(), &QThread::finished, &running, &QEventLoop::quit);
    thread->start();
    running.exec();
    // The loop also ends when the program is told to end: the work stops first.
    if (!thread->isFinished()) {
        progress.cancel();
        thread->wait();
    }
    if (failure)
        std::rethrow_exception(failure);
    return completed;
}

} // namespace xr
