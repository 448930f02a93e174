#pragma once
// The main window's commands over the listed records: print (with a preview) and export (CSV or
// PDF). Both are refused while a connection is up and when the list is empty; once they have
// begun, a connection that comes up is recorded and the work goes on, beside the user interface.

#include "browser/ReportTexts.h"

#include <optional>

class QWidget;

namespace xr {

struct AppContext;
class RecordList;
class TRASNotify;

// Writes `list` as the CSV file `file` as long work, its progress window modal over `parent`;
// false, with no file written, when cancelled. Throws as exportCsv does.
bool exportListCsv(const RecordList& list, const QString& file, QWidget* parent);

class PrintCommands {
public:
    PrintCommands(AppContext& context, const TRASNotify& RASNotify);

    // The report's labels for the list and the window's total text `total` (the listed user's
    // name read where the list was); nothing, after the refusal's message, when printing is not
    // allowed. Throws DatabaseError.
    std::optional<ReportTexts> prepareReport(const RecordList& list, const QString& total);

    // Prints the list through the preview.
    void actPrintExecute(const RecordList& list, const QString& total, QWidget* parent);
    // Asks for a file and writes the list to it: a PDF of the report for "*.pdf", else CSV. The
    // progress window is modal over `parent`.
    void actExportExecute(const RecordList& list, const QString& total, QWidget* parent);

private:
    bool refused(const RecordList& list, const QString& connectedText, const QString& emptyText);

    AppContext& m_context;
    const TRASNotify& m_RASNotify;
};

} // namespace xr
