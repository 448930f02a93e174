#pragma once
// Online times as text: the word form (2天3小时4分5秒) for the usage list, the status bar and the
// totals, the compact form (02 03:04:05) for the floating display, and reading a word form back.

#include "store/UsedTime.h"

#include <QString>

namespace xr {

// The components of a duration: whole days, then the time of day rounded to the millisecond and
// cut to whole seconds.
struct DurationParts {
    qint64 days = 0;
    int hours = 0;
    int minutes = 0;
    int seconds = 0;
};

// The components of the duration between two day counts, in either order.
DurationParts DurationOf(double Start, double End);

// The duration between two day counts, in either order. Word form when Compact is false.
QString DurationText(bool Compact, double Start, double End);

// Room enough for any word form in UTF-8.
inline constexpr int kDurationWordsRoom = 48;
// The word form of `duration` as UTF-8 written to `out`, which has kDurationWordsRoom of room,
// without a QString: for the millions of an exported list. Returns the end of the text.
char* writeDurationWords(const DurationParts& duration, char* out);

// The time left of an allowance in the word form, after the period that runs out first:
// "今天剩余：1小时5分0秒". Empty without a limit.
QString TimeLeftText(const TimeLeft& left);
// The same in the compact form, for the floating display.
QString CompactTimeLeft(const TimeLeft& left);

// Components of a word-form text; 0 when the text holds no such component.
int ReadDays(const QString& Text);
int ReadHours(const QString& Text);
int ReadMinutes(const QString& Text);
int ReadSeconds(const QString& Text);

} // namespace xr
