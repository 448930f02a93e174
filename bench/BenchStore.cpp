#include "BenchStore.h"

#include "store/DayCount.h"
#include "store/Schema.h"

#include <QDateTime>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>

#include <ctime>
#include <random>

namespace xr::bench {

QString userId(int user)
{
    return QStringLiteral("2004030100%1").arg(user, 5, 10, QLatin1Char('0'));
}

void buildStore(const QString& file, int records, int userCount)
{
    const QString name = QStringLiteral("bench-build");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(file);
        db.open();
        createSchema(db, QString());
        db.transaction();
        QSqlQuery users(db);
        users.prepare(QStringLiteral("insert into XRUser (UserId,UserName,UserPw,Admin,Enabled,Remark) "
                                     "values (?,?,'',0,1,'')"));
        for (int user = 0; user < userCount; ++user) {
            users.addBindValue(userId(user));
            users.addBindValue(QStringLiteral("用户%1").arg(user));
            users.exec();
        }
        QSqlQuery rows(db);
        rows.prepare(QStringLiteral("insert into XRRecord (RecordId,Sdt,Edt,UserId,ConnName,RxBytes,TxBytes) "
                                    "values (?,?,?,?,?,?,?)"));
        const QDateTime now = QDateTime::currentDateTime();
        const double first = toDayCount(now.addYears(-10));
        const double gap = (toDayCount(now.addSecs(-3600)) - first) / records;
        std::mt19937 random(2004);
        std::uniform_real_distribution<double> share(0.0, 0.9);
        std::uniform_int_distribution<qint64> received(0, 20 * 1024 * 1024);
        for (int i = 0; i < records; ++i) {
            const double start = first + i * gap;
            rows.addBindValue(QString::number(200403010000000LL + i));
            rows.addBindValue(start);
            rows.addBindValue(start + gap * share(random));
            rows.addBindValue(userId(static_cast<int>(random() % userCount)));
            rows.addBindValue(kConnections[static_cast<int>(random() % kConnections.size())]);
            const qint64 bytes = received(random);
            rows.addBindValue(bytes);
            rows.addBindValue(bytes / 8);
            rows.exec();
        }
        db.commit();
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
}

long statusKb(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').first().toLong();
    }
    return -1;
}

namespace {
double clockMs(clockid_t clock)
{
    timespec now{};
    clock_gettime(clock, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}
} // namespace

StepTimer::StepTimer() : m_wallStart(clockMs(CLOCK_MONOTONIC)), m_cpuStart(clockMs(CLOCK_PROCESS_CPUTIME_ID))
{
}

double StepTimer::wallMs() const
{
    return clockMs(CLOCK_MONOTONIC) - m_wallStart;
}

double StepTimer::cpuMs() const
{
    return clockMs(CLOCK_PROCESS_CPUTIME_ID) - m_cpuStart;
}

QString StepTimer::text() const
{
    return QStringLiteral("%1 ms (%2 ms CPU)").arg(wallMs(), 0, 'f', 0).arg(cpuMs(), 0, 'f', 0);
}

bool resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    if (!refs.open(QIODevice::WriteOnly | QIODevice::Unbuffered) || refs.write("5") != 1)
        return false;
    // The peak starts again from the resident size (a few pages may be touched in between).
    constexpr long kSlackKb = 1024;
    return statusKb("VmHWM") - statusKb("VmRSS") < kSlackKb;
}

} // namespace xr::bench
