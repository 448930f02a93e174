#pragma once
// The listed records as a CSV file for a spreadsheet: UTF-8 with a byte-order mark (so that the
// Chinese texts open right), a title row, the grid's columns as the grid shows them, the
// duration in seconds and, last, the PC that recorded it; CR LF line ends, in the list's order.
// A text is quoted when it holds a comma, a quote or a line break; one that a spreadsheet would
// take for a formula is led by an apostrophe. A row deleted since the list opened is left out.

#include <QString>

namespace xr {

class RecordList;
class WorkProgress;

// Writes the file from the rows as they are read through the list's connection, counting them
// in `progress`. The file appears only when complete: false, with nothing written, when the
// work is cancelled. Throws std::runtime_error with a message for the user when the file cannot
// be written, DatabaseError when the rows cannot be read.
bool exportCsv(const RecordList& rows, const QString& file, WorkProgress& progress);

} // namespace xr
