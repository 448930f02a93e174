// How fast the listed records print and export, on stores of 10,000 and 1,000,000 records, each
// beside the floor of reading the same rows with one SQL statement.
//
// Usage: bench_print_report [RECORDS ...] (10000 and 1000000 when none are given).
//
// Every time is given as wall-clock and processor time (the machine may be shared); the
// ratios are of processor times.
//
// Prints per store: filling the list (the list opened for every record); the SQL floor; every
// record read through the list, which any report of it does before drawing;
// (a) the report's layout with its first page drawn, and for the smaller store the whole print
// preview as Qt's preview builds it; (b) every page drawn into a PDF file, with the file's size
// and the peak memory it took over the open list; (c) the CSV export.

#include "BenchStore.h"

#include "browser/ListExport.h"
#include "browser/RecordList.h"
#include "browser/ReportLayout.h"
#include "browser/UsageReport.h"
#include "browser/utrptList.h"
#include "store/Database.h"

#include <QApplication>
#include <QBuffer>
#include <QFileInfo>
#include <QPageRanges>
#include <QPdfWriter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <cstdio>

namespace {

const QString kListStatement =
    QStringLiteral("select * from XRRecord where (Sdt >= :s) and (Edt <= :e)  order by Sdt,ConnName");

xr::ReportTexts texts()
{
    return {QStringLiteral("[Xarvane]用户上网计时清单"),
            QStringLiteral("上网用户：所有用户"),
            QStringLiteral("连接名称：所有连接"),
            QStringLiteral("打印清单用户：admin"),
            QStringLiteral("打印时间：2026-12-9 10:00:00"),
            QStringLiteral("累计上网时间： 0天0小时0分"),
            QStringLiteral("Xarvane 上网计时 · Pellory Xarvane")};
}

xr::RecordQuery everyRecord()
{
    xr::RecordQuery query(kListStatement);
    query.bind(QStringLiteral(":s"), 0.0);
    query.bind(QStringLiteral(":e"), 1e6);
    return query;
}

// The floor: the same rows and fields read with one statement, in the list's order.
xr::bench::StepTimer readWithOneStatement(const QSqlDatabase& db, qint64& rows)
{
    xr::bench::StepTimer timer;
    QSqlQuery query(db);
    query.setForwardOnly(true);
    query.prepare(
        QStringLiteral("select Sdt,Edt,UserId,ConnName,RecordId from XRRecord where (Sdt >= :s) and "
                       "(Edt <= :e) order by Sdt,ConnName"));
    query.bindValue(QStringLiteral(":s"), 0.0);
    query.bindValue(QStringLiteral(":e"), 1e6);
    query.exec();
    rows = 0;
    while (query.next()) {
        query.value(0).toDouble();
        query.value(1).toDouble();
        query.value(2).toString();
        query.value(3).toString();
        query.value(4).toString();
        ++rows;
    }
    return timer;
}

// What any report of the list costs before it draws anything: every record fetched.
xr::bench::StepTimer readEveryRecord(const xr::RecordList& list, qsizetype& nameCharacters)
{
    xr::bench::StepTimer timer;
    nameCharacters = 0;
    for (int row = 0; row < list.count(); ++row)
        nameCharacters += list.record(row).ConnName.size();
    return timer;
}

// (a): the layout and the first page drawn, as a printer draws it.
xr::bench::StepTimer firstPage(const xr::RecordList& list)
{
    xr::bench::StepTimer timer;
    QBuffer sink;
    sink.open(QIODevice::WriteOnly);
    QPdfWriter writer(&sink);
    writer.setPageRanges(QPageRanges::fromString(QStringLiteral("1")));
    xr::renderUsageReport(writer, texts(), list);
    return timer;
}

// Qt's print preview draws every page before it shows the first.
xr::bench::StepTimer wholePreview(const xr::RecordList& list, int& pages)
{
    QPrinter printer(QPrinter::HighResolution);
    QPrintPreviewWidget preview(&printer);
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, &preview,
                     [&](QPrinter* device) { xr::renderUsageReport(*device, texts(), list); });
    xr::bench::StepTimer timer;
    preview.updatePreview();
    pages = preview.pageCount();
    return timer;
}

void measure(const QString& folder, int records, bool withPreview)
{
    const QString file = folder + QStringLiteral("/XRDB-%1.mdb").arg(records);
    const xr::bench::StepTimer building;
    xr::bench::buildStore(file, records);
    std::printf("\nstore of %d records (built in %s)\n", records, qPrintable(building.text()));

    xr::Database database(QStringLiteral("bench-%1").arg(records));
    if (!database.open(file))
        return;
    xr::RecordList list;
    const xr::bench::StepTimer filling;
    list.open(database.connection(), everyRecord());
    const double fillMs = filling.cpuMs();
    std::printf("  fill the list: %s, %d rows\n", qPrintable(filling.text()), list.count());
    qint64 rows = 0;
    const xr::bench::StepTimer sql = readWithOneStatement(database.connection(), rows);
    const double sqlMs = sql.cpuMs();
    std::printf("  one SQL statement reading the same rows: %s, %lld rows\n", qPrintable(sql.text()),
                static_cast<long long>(rows));

    qsizetype nameCharacters = 0;
    const xr::bench::StepTimer reading = readEveryRecord(list, nameCharacters);
    std::printf("  every record read through the list, as the report reads them: %s (%lld characters of "
                "names); %.1f x filling the list\n",
                qPrintable(reading.text()), static_cast<long long>(nameCharacters),
                fillMs > 0 ? reading.cpuMs() / fillMs : 0.0);
    const xr::report::ReportLayout layout(list.count());
    std::printf("  (a) layout and first page drawn: %s (%d pages)\n", qPrintable(firstPage(list).text()),
                layout.pageCount());
    if (withPreview) {
        int pages = 0;
        const xr::bench::StepTimer preview = wholePreview(list, pages);
        std::printf("      the whole print preview, every page recorded: %s (%d pages)\n",
                    qPrintable(preview.text()), pages);
    }

    const bool peakReset = xr::bench::resetPeak();
    const long beforeKb = peakReset ? xr::bench::statusKb("VmRSS") : xr::bench::statusKb("VmHWM");
    const QString pdf = folder + QStringLiteral("/list-%1.pdf").arg(records);
    const xr::bench::StepTimer printing;
    xr::TrptList(list, texts()).exportPdf(pdf);
    const double pdfMs = printing.cpuMs();
    const long peakKb = xr::bench::statusKb("VmHWM");
    std::printf("  (b) every page into a PDF file: %s, %.1f MB file; %.1f x filling the list, %.1f x the SQL "
                "floor\n",
                qPrintable(printing.text()), QFileInfo(pdf).size() / 1048576.0,
                fillMs > 0 ? pdfMs / fillMs : 0.0, sqlMs > 0 ? pdfMs / sqlMs : 0.0);
    std::printf("      peak memory over the open list: %.1f MB (%s)\n", (peakKb - beforeKb) / 1024.0,
                peakReset ? "VmHWM after, less VmRSS before with the peak reset" : "VmHWM difference");

    const xr::bench::StepTimer exporting;
    xr::exportCsv(list, folder + QStringLiteral("/list-%1.csv").arg(records));
    std::printf("  (c) CSV export: %s; %.1f x the SQL floor\n", qPrintable(exporting.text()),
                sqlMs > 0 ? exporting.cpuMs() / sqlMs : 0.0);
    list.close();
    database.close();
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    // The store sizes may be given on the command line; Qt's preview is timed up to 100,000.
    QStringList sizes = QCoreApplication::arguments().mid(1);
    if (sizes.isEmpty())
        sizes = {QStringLiteral("10000"), QStringLiteral("1000000")};
    for (const QString& size : sizes)
        measure(dir.path(), size.toInt(), size.toInt() <= 100'000);
    return 0;
}
