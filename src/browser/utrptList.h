#pragma once
// The printed usage list rptList: the report over the main window's list with its labels set,
// shown in Qt's print preview (from which the user prints or saves a PDF) or written as a PDF.

#include "browser/ReportTexts.h"

class QWidget;

namespace xr {

class RecordList;

class TrptList {
public:
    TrptList(const RecordList& rows, ReportTexts texts) : m_rows(rows), m_texts(std::move(texts)) {}

    const ReportTexts& texts() const { return m_texts; }

    // Shows the preview modally and returns when the user closes it.
    void preview(QWidget* parent) const;
    // Writes the report as the PDF file `file`. Throws std::runtime_error with a message for the
    // user when it cannot be written.
    void exportPdf(const QString& file) const;

private:
    const RecordList& m_rows;
    ReportTexts m_texts;
};

} // namespace xr
