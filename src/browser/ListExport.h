#pragma once
// The listed records as a CSV file for a spreadsheet: UTF-8 with a byte-order mark (so that the
// Chinese texts open right), a title row, the grid's four columns as the grid shows them and
// the duration in seconds, CR LF line ends, in the list's order.

#include <QString>

namespace xr {

class RecordList;

// Writes the file in one piece (a file left half-written by a failure is never seen). Throws
// std::runtime_error with a message for the user when it cannot be written.
void exportCsv(const RecordList& rows, const QString& file);

// A text as one CSV field: quoted when it holds a comma, a quote or a line break; a text that a
// spreadsheet would take for a formula is led by an apostrophe.
QString csvField(const QString& text);

} // namespace xr
