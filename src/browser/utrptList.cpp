#include "browser/utrptList.h"

#include "browser/UsageReport.h"

#include <QDir>
#include <QPdfWriter>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QSaveFile>

#include <stdexcept>

namespace xr {

namespace {
const QString kDocumentName = QStringLiteral("[Xarvane]用户上网计时清单");
} // namespace

void TrptList::preview(QWidget* parent) const
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(kDocumentName);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("rptListPreview"));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [this](QPrinter* device) { renderUsageReport(*device, m_texts, m_rows); });
    dialog.exec();
}

void TrptList::exportPdf(const QString& file) const
{
    QSaveFile out(file);
    bool written = out.open(QIODevice::WriteOnly);
    if (written) {
        QPdfWriter writer(&out);
        writer.setTitle(kDocumentName);
        writer.setCreator(QStringLiteral("Xarvane"));
        written = renderUsageReport(writer, m_texts, m_rows);
    }
    if (!written || !out.commit())
        throw std::runtime_error(QStringLiteral("无法写入文件[%1]：%2")
                                     .arg(QDir::toNativeSeparators(file), out.errorString())
                                     .toStdString());
}

} // namespace xr
