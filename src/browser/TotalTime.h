#pragma once
// The total online time of the listed records, as the main window's total label shows it.

#include <QString>
#include <QStringList>

namespace xr {

inline const QString kTotalTimeCaption = QStringLiteral("累计上网时间： ");

// Sums the word-form duration texts of the list. Precision 0 counts every begun minute of each
// record as a whole minute; 1 counts seconds; any other value leaves the total at 0.
QString CalcTotalTime(const QStringList& TimeTexts, int Precision);

} // namespace xr
