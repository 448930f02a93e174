#include "browser/PrintCommands.h"

#include "browser/ListExport.h"
#include "browser/LongWork.h"
#include "browser/RecordList.h"
#include "browser/utrptList.h"
#include "common/AppContext.h"
#include "connections/RASNotify.h"

#include <QFileInfo>

namespace xr {

namespace {

const QString kCsvSuffix = QStringLiteral("csv");
const QString kPdfSuffix = QStringLiteral("pdf");

// The chosen file with the suffix of its filter when it has neither of the two.
QString exportFileName(const FileChoice& choice)
{
    const QString suffix = QFileInfo(choice.fileName).suffix().toLower();
    if (suffix == kCsvSuffix || suffix == kPdfSuffix)
        return choice.fileName;
    return choice.fileName + QLatin1Char('.') + (choice.filter == 1 ? kPdfSuffix : kCsvSuffix);
}

} // namespace

bool exportListCsv(const RecordList& list, const QString& file, QWidget* parent)
{
    return runLongWork(
        {QStringLiteral("正在导出…"), QStringLiteral("条记录")}, parent, list.connection(),
        [&file, rowIds = list.rowIds()](const QSqlDatabase& db, WorkProgress& progress) mutable {
            return exportCsv(RecordList(db, std::move(rowIds)), file, progress);
        });
}

PrintCommands::PrintCommands(AppContext& context, const TRASNotify& RASNotify)
    : m_context(context), m_RASNotify(RASNotify)
{
}

bool PrintCommands::refused(const RecordList& list, const QString& connectedText, const QString& emptyText)
{
    if (m_RASNotify.IsConnected()) {
        m_context.prompter.inform(connectedText);
        return true;
    }
    if (list.count() == 0) {
        m_context.prompter.inform(emptyText);
        return true;
    }
    return false;
}

std::optional<ReportTexts> PrintCommands::prepareReport(const RecordList& list, const QString& total)
{
    if (refused(list, QStringLiteral("在上网连接状态下不允许打印上网清单！"),
                QStringLiteral("没有数据需要打印！")))
        return std::nullopt;
    return reportTexts(list.connection(), list.query(), m_context.currentConnection.UserName,
                       m_context.clock.now(), total, list.traffic().text());
}

void PrintCommands::actPrintExecute(const RecordList& list, const QString& total, QWidget* parent)
{
    if (const std::optional<ReportTexts> texts = prepareReport(list, total))
        TrptList(list, *texts).preview(parent);
}

void PrintCommands::actExportExecute(const RecordList& list, const QString& total, QWidget* parent)
{
    if (refused(list, QStringLiteral("在上网连接状态下不允许导出上网清单！"),
                QStringLiteral("没有数据需要导出！")))
        return;
    const FileChoice choice = m_context.prompter.chooseFile(
        {FileDialogKind::Save,
         QStringLiteral("导出上网清单"),
         {QStringLiteral("CSV 文件 (*.csv)"), QStringLiteral("PDF 文件 (*.pdf)")},
         QStringLiteral("上网清单.csv")});
    if (choice.fileName.isEmpty())
        return;
    const QString file = exportFileName(choice);
    if (QFileInfo(file).suffix().toLower() == kPdfSuffix) {
        const ReportTexts texts =
            reportTexts(list.connection(), list.query(), m_context.currentConnection.UserName,
                        m_context.clock.now(), total, list.traffic().text());
        TrptList(list, texts).exportPdf(file, parent);
    } else {
        exportListCsv(list, file, parent);
    }
}

} // namespace xr
