// How fast the listed records print and export, on stores of 10,000 and 1,000,000 records, beside
// the floor of reading the same rows with one SQL statement and the sqlite3 shell's own CSV
// output of them, each measured in the same run.
//
// Usage: bench_print_report [RECORDS ...] (10000 and 1000000 when none are given).
//
// Every time is given as wall-clock and processor time (the machine may be shared; the
// processor time is what the step itself cost, the shell's as a child process); ratios and
// targets are of processor times. Prints per store, each figure with its target:
// (a) the first preview page shown; (b) every page into a PDF file as the export writes it, on
// its worker thread, and the time per page; (c) the CSV export, the same way; (d) the longest
// time the user-interface thread was held during (b) and (c); (e) the peak memory over the open
// list during (b) and (c), as the process's high-water mark with the peak reset first and the
// resident size watched every 5 ms. For the largest store also how soon a cancelled PDF export
// stops. Last, the time per page at the largest store against the smallest.

#include "BenchStore.h"

#include "browser/PrintCommands.h"
#include "browser/RecordList.h"
#include "browser/utrptList.h"
#include "store/Database.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

constexpr double kFirstPageTargetMs = 1000;
constexpr double kPdfTargetMs = 1000; // for 10,000 records
constexpr double kPerPageGrowthTarget = 1.2;
constexpr double kCsvTargetRatio = 1.5;
constexpr double kHoldTargetMs = 50;
constexpr double kPeakTargetMb = 128; // at 1,000,000 records
constexpr int kWatchMs = 5;
constexpr int kCancelAfterMs = 1000;
constexpr double kCancelTargetMs = 200;

const QString kConditions = QStringLiteral("where (Sdt >= :s) and (Edt <= :e)  order by Sdt,ConnName");

xr::ReportTexts texts()
{
    return {QStringLiteral("[Xarvane]用户上网计时清单"),
            QStringLiteral("上网用户：所有用户"),
            QStringLiteral("连接名称：所有连接"),
            QStringLiteral("打印清单用户：admin"),
            QStringLiteral("打印时间：2026-12-9 10:00:00"),
            QStringLiteral("累计上网时间： 0天0小时0分"),
            QStringLiteral("Xarvane 上网计时 · Pellory Xarvane"),
            QStringLiteral("流量： 接收 0 B 发送 0 B")};
}

xr::RecordQuery everyRecord()
{
    xr::RecordQuery query(QStringLiteral("select * from XRRecord ") + kConditions);
    query.bind(QStringLiteral(":s"), 0.0);
    query.bind(QStringLiteral(":e"), 1e6);
    return query;
}

const char* verdict(bool met)
{
    return met ? "met" : "NOT MET";
}

// The floor: the same rows and the fields of the CSV read with one statement, in the list's order.
xr::bench::StepTimer readWithOneStatement(const QSqlDatabase& db, qint64& rows)
{
    xr::bench::StepTimer timer;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("select ConnName,Sdt,Edt from XRRecord ") + kConditions);
    query.bindValue(QStringLiteral(":s"), 0.0);
    query.bindValue(QStringLiteral(":e"), 1e6);
    query.exec();
    rows = 0;
    while (query.next()) {
        query.value(0).toString();
        query.value(1).toDouble();
        query.value(2).toDouble();
        ++rows;
    }
    return timer;
}

double childCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000.0 +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1000.0;
}

// The sqlite3 shell's CSV of the same rows into a file beside ours; its processor time in `cpuMs`,
// negative when the shell is not installed or fails.
double shellCsv(const QString& database, const QString& file, double& wallMs)
{
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty())
        return -1;
    QProcess process;
    process.setStandardOutputFile(file);
    const double before = childCpuMs();
    const xr::bench::StepTimer timer;
    process.start(shell, {QStringLiteral("-csv"), database,
                          QStringLiteral("select ConnName,Sdt,Edt from XRRecord where (Sdt >= 0) and "
                                         "(Edt <= 1e6) order by Sdt,ConnName")});
    const bool ran = process.waitForFinished(-1) && process.exitCode() == 0;
    wallMs = timer.wallMs();
    return ran ? childCpuMs() - before : -1;
}

double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1000.0 + now.tv_nsec / 1e6;
}

// Watches the user-interface thread while work runs beside it: how much later than its 5 ms a
// tick of a timer came, at most, with how long the thread itself ran in that gap (on a shared
// machine a gap may also be time the thread waited for a processor), and the largest resident
// size seen at a tick.
class InterfaceWatch {
public:
    InterfaceWatch()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { tick(); });
        m_peakReset = xr::bench::resetPeak();
        m_startKb = xr::bench::statusKb("VmRSS");
        m_peakKb = m_startKb;
        m_last.start();
        m_lastCpuMs = threadCpuMs();
        m_timer.start(kWatchMs);
    }
    ~InterfaceWatch() { m_timer.stop(); }

    double longestHoldMs() const { return m_longestMs; }
    double longestRunMs() const { return m_longestRunMs; }
    // The peak over the resident size when the watch began, in MB.
    double peakGrowthMb()
    {
        m_peakKb = std::max(m_peakKb, xr::bench::statusKb("VmHWM"));
        return (m_peakKb - m_startKb) / 1024.0;
    }
    const char* peakMethod() const
    {
        return m_peakReset ? "VmHWM with the peak reset, and VmRSS every 5 ms"
                           : "VmRSS every 5 ms (the peak could not be reset)";
    }

private:
    void tick()
    {
        const double cpuMs = threadCpuMs();
        m_longestMs = std::max(m_longestMs, m_last.nsecsElapsed() / 1e6 - kWatchMs);
        m_longestRunMs = std::max(m_longestRunMs, cpuMs - m_lastCpuMs);
        m_peakKb = std::max(m_peakKb, xr::bench::statusKb("VmRSS"));
        m_last.start();
        m_lastCpuMs = threadCpuMs();
    }

    QTimer m_timer;
    QElapsedTimer m_last;
    double m_lastCpuMs = 0;
    bool m_peakReset = false;
    long m_startKb = 0;
    long m_peakKb = 0;
    double m_longestMs = 0;
    double m_longestRunMs = 0;
};

// (a): from the print command's report to the preview's window painted with its first page.
xr::bench::StepTimer firstPreviewPage(const xr::RecordList& list, int& pages)
{
    const xr::bench::StepTimer timer;
    const xr::TrptList report(list, texts());
    pages = report.pageCount();
    QTimer::singleShot(0, [] {
        QWidget* preview = QApplication::activeModalWidget();
        preview->grab();
        preview->close();
    });
    report.preview(nullptr);
    return timer;
}

// How soon a PDF export stops once the cancel button of its progress window is clicked, a second
// after it began.
void cancelledPdf(const xr::RecordList& list, const QString& pdf)
{
    QElapsedTimer sinceClick;
    QTimer::singleShot(kCancelAfterMs, [&] {
        QWidget* window = QApplication::activeModalWidget();
        if (!window || window->objectName() != QStringLiteral("winWorkProgress"))
            return;
        window->findChild<QPushButton*>(QStringLiteral("btnCancelWork"))->click();
        sinceClick.start();
    });
    const bool completed = xr::TrptList(list, texts()).exportPdf(pdf, nullptr);
    if (completed || !sinceClick.isValid()) {
        std::printf("  cancel: not measured, the PDF export ended before its cancel button was clicked\n");
        return;
    }
    const double stopMs = sinceClick.nsecsElapsed() / 1e6;
    std::printf(
        "  cancel: the PDF export stopped %.1f ms after its cancel button was clicked, %s; target <= %.0f "
        "ms: %s\n",
        stopMs, QFileInfo::exists(pdf) ? "a file left behind" : "no file left", kCancelTargetMs,
        verdict(stopMs <= kCancelTargetMs && !QFileInfo::exists(pdf)));
}

struct Figures {
    double pdfMsPerPage = 0;
};

// Runs `work` while the user-interface thread is watched; prints (d) and (e) for it.
xr::bench::StepTimer watched(const char* name, bool largest, const std::function<void()>& work)
{
    InterfaceWatch watch;
    const xr::bench::StepTimer timer;
    work();
    const double holdMs = watch.longestHoldMs();
    const double peakMb = watch.peakGrowthMb();
    std::printf(
        "      (d) longest hold of the user-interface thread during the %s: %.1f ms (the longest it ran "
        "itself between two ticks: %.1f ms); target <= %.0f ms: %s\n",
        name, holdMs, watch.longestRunMs(), kHoldTargetMs, verdict(holdMs <= kHoldTargetMs));
    std::printf("      (e) peak memory over the open list during the %s: %.1f MB (%s)", name, peakMb,
                watch.peakMethod());
    if (largest)
        std::printf("; target <= +%.0f MB: %s", kPeakTargetMb, verdict(peakMb <= kPeakTargetMb));
    std::printf("\n");
    return timer;
}

Figures measure(const QString& folder, int records)
{
    const QString file = folder + QStringLiteral("/XRDB-%1.mdb").arg(records);
    const xr::bench::StepTimer building;
    xr::bench::buildStore(file, records);
    std::printf("\nstore of %d records (built in %s)\n", records, qPrintable(building.text()));
    const bool largest = records >= 1'000'000;

    xr::Database database(QStringLiteral("bench-%1").arg(records));
    if (!database.open(file))
        return {};
    xr::RecordList list;
    const xr::bench::StepTimer filling;
    list.open(database.connection(), everyRecord());
    std::printf("  the list filled: %s, %d rows\n", qPrintable(filling.text()), list.count());
    qint64 rows = 0;
    const xr::bench::StepTimer sql = readWithOneStatement(database.connection(), rows);
    const double sqlMs = sql.cpuMs();
    std::printf("  one SQL statement reading the same rows: %s, %lld rows\n", qPrintable(sql.text()),
                static_cast<long long>(rows));
    double shellWallMs = 0;
    const double shellMs = shellCsv(file, folder + QStringLiteral("/shell-%1.csv").arg(records), shellWallMs);
    if (shellMs >= 0)
        std::printf(
            "  the sqlite3 shell's CSV of the same rows (.mode csv, into a file): %.0f ms (%.0f ms CPU)\n",
            shellWallMs, shellMs);
    else
        std::printf("  the sqlite3 shell's CSV: not measured (sqlite3 is not installed or failed)\n");

    int pages = 0;
    const xr::bench::StepTimer preview = firstPreviewPage(list, pages);
    std::printf("  (a) the first preview page shown: %s (%d pages); target <= %.0f ms: %s\n",
                qPrintable(preview.text()), pages, kFirstPageTargetMs,
                verdict(preview.cpuMs() <= kFirstPageTargetMs));

    const QString pdf = folder + QStringLiteral("/list-%1.pdf").arg(records);
    const xr::bench::StepTimer printing =
        watched("PDF", largest, [&] { xr::TrptList(list, texts()).exportPdf(pdf, nullptr); });
    Figures figures;
    figures.pdfMsPerPage = printing.cpuMs() / std::max(pages, 1);
    std::printf("  (b) every page into a PDF file: %s, %.1f MB file, %.2f ms CPU a page",
                qPrintable(printing.text()), QFileInfo(pdf).size() / 1048576.0, figures.pdfMsPerPage);
    if (!largest)
        std::printf("; target <= %.0f ms: %s", kPdfTargetMs, verdict(printing.cpuMs() <= kPdfTargetMs));
    std::printf("\n");

    if (largest)
        cancelledPdf(list, folder + QStringLiteral("/cancelled-%1.pdf").arg(records));

    const QString csv = folder + QStringLiteral("/list-%1.csv").arg(records);
    const xr::bench::StepTimer exporting =
        watched("CSV", largest, [&] { xr::exportListCsv(list, csv, nullptr); });
    const double toSql = sqlMs > 0 ? exporting.cpuMs() / sqlMs : 0.0;
    std::printf("  (c) CSV export: %s, %.1f MB file; %.2f x the SQL floor, target <= %.1f: %s",
                qPrintable(exporting.text()), QFileInfo(csv).size() / 1048576.0, toSql, kCsvTargetRatio,
                verdict(toSql <= kCsvTargetRatio));
    if (shellMs > 0) {
        const double toShell = exporting.cpuMs() / shellMs;
        std::printf("; %.2f x the sqlite3 shell, target <= %.1f: %s", toShell, kCsvTargetRatio,
                    verdict(toShell <= kCsvTargetRatio));
    }
    std::printf("\n");
    list.close();
    database.close();
    return figures;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QStringList sizes = QCoreApplication::arguments().mid(1);
    if (sizes.isEmpty())
        sizes = {QStringLiteral("10000"), QStringLiteral("1000000")};
    std::vector<std::pair<int, Figures>> measured;
    for (const QString& size : sizes)
        measured.emplace_back(size.toInt(), measure(dir.path(), size.toInt()));
    if (measured.size() >= 2 && measured.front().second.pdfMsPerPage > 0) {
        const double growth = measured.back().second.pdfMsPerPage / measured.front().second.pdfMsPerPage;
        std::printf("\n(b) time per PDF page at %d records against %d: %.2f x; target <= %.1f: %s\n",
                    measured.back().first, measured.front().first, growth, kPerPageGrowthTarget,
                    verdict(growth <= kPerPageGrowthTarget));
    }
    return 0;
}
