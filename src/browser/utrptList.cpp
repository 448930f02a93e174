#include "browser/utrptList.h"

#include "browser/LongWork.h"
#include "browser/ReportPreview.h"
#include "browser/UsageReport.h"
#include "browser/WorkProgress.h"

#include <QDir>
#include <QPageRanges>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrinter>
#include <QSaveFile>

#include <stdexcept>

namespace xr {

namespace {

const QString kDocumentName = QStringLiteral("[Xarvane]用户上网计时清单");
const QString kPageUnit = QStringLiteral("页");

[[noreturn]] void cannotWrite(const QString& file, const QString& reason)
{
    throw std::runtime_error(
        QStringLiteral("无法写入文件[%1]：%2").arg(QDir::toNativeSeparators(file), reason).toStdString());
}

// The pages of `ranges` (all when empty) as a PDF file, written beside it and put in its place
// once complete; false, with nothing left behind, when the work is cancelled.
bool writePdf(const QString& file, const ReportTexts& texts, const RecordList& rows,
              const QPageRanges& ranges, WorkProgress& progress)
{
    QSaveFile out(file);
    if (!out.open(QIODevice::WriteOnly))
        cannotWrite(file, out.errorString());
    bool drawn = false;
    {
        QPdfWriter writer(&out);
        writer.setTitle(kDocumentName);
        writer.setCreator(QStringLiteral("Xarvane"));
        writer.setPageRanges(ranges);
        drawn = renderUsageReport(writer, texts, rows, progress);
    }
    if (progress.cancelled())
        return false;
    if (!drawn || !out.commit())
        cannotWrite(file, out.errorString());
    return true;
}

} // namespace

TrptList::TrptList(const RecordList& list, ReportTexts texts)
    : m_rows(list.connection(), list.rowIds()), m_texts(std::move(texts))
{
}

int TrptList::pageCount() const
{
    return usageReportPageCount(m_rows);
}

void TrptList::preview(QWidget* parent) const
{
    ReportPreview dialog(
        pageCount(), [this](int index, double dpi) { return usageReportPage(m_texts, m_rows, index, dpi); },
        [this](QWidget* preview) { askAndPrint(preview); }, parent);
    dialog.exec();
}

void TrptList::askAndPrint(QWidget* preview) const
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(kDocumentName);
    QPrintDialog dialog(&printer, preview);
    dialog.setMinMax(1, pageCount());
    if (dialog.exec() == QDialog::Accepted)
        print(printer, preview);
}

bool TrptList::print(QPrinter& printer, QWidget* parent) const
{
    const QString file = printer.outputFileName();
    return runLongWork({QStringLiteral("正在打印…"), kPageUnit}, parent, m_rows.connection(),
                       [&](const QSqlDatabase& db, WorkProgress& progress) {
                           const RecordList rows(db, m_rows.rowIds());
                           if (!file.isEmpty())
                               return writePdf(file, m_texts, rows, printer.pageRanges(), progress);
                           if (!renderUsageReport(printer, m_texts, rows, progress))
                               throw std::runtime_error(
                                   QStringLiteral("无法打印到[%1]").arg(printer.printerName()).toStdString());
                           return !progress.cancelled();
                       });
}

bool TrptList::exportPdf(const QString& file, QWidget* parent) const
{
    return runLongWork({QStringLiteral("正在导出…"), kPageUnit}, parent, m_rows.connection(),
                       [&](const QSqlDatabase& db, WorkProgress& progress) {
                           return writePdf(file, m_texts, RecordList(db, m_rows.rowIds()), QPageRanges(),
                                           progress);
                       });
}

} // namespace xr
