#pragma once
// The printed usage list rptList: the report over the main window's list with its labels set,
// shown in a print preview from which the user prints, or written as a PDF file. It keeps the
// list's rows as they were when it was made, whatever becomes of the main window's list
// meanwhile. Printing and the PDF file are drawn as long work, beside the user interface.

#include "browser/RecordList.h"
#include "browser/ReportTexts.h"

class QPrinter;
class QWidget;

namespace xr {

class TrptList {
public:
    TrptList(const RecordList& list, ReportTexts texts);

    const ReportTexts& texts() const { return m_texts; }
    int pageCount() const;

    // Shows the preview modally and returns when the user closes it.
    void preview(QWidget* parent) const;
    // Prints the pages chosen in `printer` (to a file, when it names one); false when cancelled.
    // Throws std::runtime_error with a message for the user when it cannot print.
    bool print(QPrinter& printer, QWidget* parent) const;
    // Writes the report as the PDF file `file`, which appears only when complete; false, with
    // nothing written, when cancelled. Throws std::runtime_error with a message for the user
    // when it cannot be written.
    bool exportPdf(const QString& file, QWidget* parent) const;

private:
    void askAndPrint(QWidget* preview) const;

    RecordList m_rows; // over the main window's connection, for the preview
    ReportTexts m_texts;
};

} // namespace xr
