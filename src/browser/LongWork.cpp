#include "browser/LongWork.h"

#include "browser/WorkProgress.h"
#include "browser/WorkProgressDialog.h"
#include "store/DatabaseError.h"
#include "store/ReadOnlyDatabase.h"

#include <QEventLoop>
#include <QThread>

#include <exception>
#include <memory>

namespace xr {

bool runLongWork(const LongWorkTexts& texts, QWidget* parent, const QString& databaseFile,
                 const LongWorkJob& job)
{
    WorkProgress progress;
    bool completed = false;
    std::exception_ptr failure;
    // The connection is made, used and closed on the work's thread: Qt binds it to its thread.
    const std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            const ReadOnlyDatabase database(databaseFile);
            if (!database.isOpen())
                throw DatabaseError(QStringLiteral("无法连接数据库！请与系统管理员联系！"));
            completed = job(database.connection(), progress);
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
