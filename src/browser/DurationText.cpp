#include "browser/DurationText.h"

#include "common/DecimalText.h"

#include <algorithm>
#include <cmath>

namespace xr {

namespace {

constexpr qint64 kMsPerSecond = 1000;
constexpr qint64 kMsPerMinute = 60 * kMsPerSecond;
constexpr qint64 kMsPerHour = 60 * kMsPerMinute;
constexpr qint64 kMsPerDay = 24 * kMsPerHour;
constexpr double kSecondsPerDay = 86400.0;
// Far beyond any real record; keeps a damaged day count from overflowing the arithmetic.
constexpr double kLongestDays = 1.0e8;

const QChar kDayUnit(u'天');
const QChar kHourUnit(u'小');
const QChar kHourUnitEnd(u'时');
const QChar kMinuteUnit(u'分');
const QChar kSecondUnit(u'秒');

// The units' UTF-8 bytes.
constexpr char kDayWord[] = "天";
constexpr char kHourWord[] = "小时";
constexpr char kMinuteWord[] = "分";
constexpr char kSecondWord[] = "秒";

template <std::size_t Size> char* writeWord(char* out, const char (&word)[Size])
{
    return std::copy(word, word + Size - 1, out);
}

QString wordForm(const DurationParts& d)
{
    char text[kDurationWordsRoom];
    return QString::fromUtf8(text, writeDurationWords(d, text) - text);
}

QString twoDigits(qint64 value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString compactForm(const DurationParts& d)
{
    return twoDigits(d.days) + QLatin1Char(' ') + twoDigits(d.hours) + QLatin1Char(':') +
           twoDigits(d.minutes) + QLatin1Char(':') + twoDigits(d.seconds);
}

// The number written from position `from` up to (not including) position `to`.
int numberBetween(const QString& text, qsizetype from, qsizetype to)
{
    return text.mid(from, to - from).toInt();
}

} // namespace

// A time of day that rounds up to a full day counts as one more day.
DurationParts DurationOf(double Start, double End)
{
    double days = std::fabs(End - Start);
    if (!(days < kLongestDays))
        days = kLongestDays;
    const qint64 ms = std::llround(days * static_cast<double>(kMsPerDay));
    return {ms / kMsPerDay, static_cast<int>(ms % kMsPerDay / kMsPerHour),
            static_cast<int>(ms % kMsPerHour / kMsPerMinute),
            static_cast<int>(ms % kMsPerMinute / kMsPerSecond)};
}

char* writeDurationWords(const DurationParts& d, char* out)
{
    if (d.days > 0)
        out = writeWord(writeDecimal(out, static_cast<quint64>(d.days)), kDayWord);
    if (d.days > 0 || d.hours > 0)
        out = writeWord(writeDecimal(out, static_cast<quint64>(d.hours)), kHourWord);
    out = writeWord(writeDecimal(out, static_cast<quint64>(d.minutes)), kMinuteWord);
    return writeWord(writeDecimal(out, static_cast<quint64>(d.seconds)), kSecondWord);
}

QString DurationText(bool Compact, double Start, double End)
{
    const DurationParts duration = DurationOf(Start, End);
    return Compact ? compactForm(duration) : wordForm(duration);
}

int ReadDays(const QString& Text)
{
    const qsizetype day = Text.indexOf(kDayUnit);
    return day < 0 ? 0 : numberBetween(Text, 0, day);
}

// The digits run from just after the unit before them, or from the start when that unit is
// missing (indexOf gives -1, so the start is position 0).
int ReadHours(const QString& Text)
{
    const qsizetype hour = Text.indexOf(kHourUnit);
    return hour < 0 ? 0 : numberBetween(Text, Text.indexOf(kDayUnit) + 1, hour);
}

int ReadMinutes(const QString& Text)
{
    const qsizetype minute = Text.indexOf(kMinuteUnit);
    return minute < 0 ? 0 : numberBetween(Text, Text.indexOf(kHourUnitEnd) + 1, minute);
}

// A text cut off before its "秒" still yields the two characters after "分".
int ReadSeconds(const QString& Text)
{
    const qsizetype minute = Text.indexOf(kMinuteUnit);
    if (minute < 0)
        return 0;
    const qsizetype second = Text.indexOf(kSecondUnit, minute);
    return numberBetween(Text, minute + 1, second < 0 ? minute + 3 : second);
}

QString TimeLeftText(const TimeLeft& left)
{
    if (!left.limited)
        return {};
    return periodName(left.period) + QStringLiteral("剩余：") + DurationText(false, 0, left.seconds / kSecondsPerDay);
}

QString CompactTimeLeft(const TimeLeft& left)
{
    return DurationText(true, 0, left.seconds / kSecondsPerDay);
}

} // namespace xr
