#include "browser/ListExport.h"

#include "browser/DurationText.h"
#include "browser/ListRowCursor.h"
#include "browser/RecordList.h"
#include "browser/WorkProgress.h"
#include "common/DecimalText.h"
#include "store/DayCount.h"

#include <QDir>
#include <QSaveFile>

#include <algorithm>
#include <stdexcept>

namespace xr {

namespace {

constexpr qint64 kSecondsPerDay = 86400;
constexpr int kRowsBetweenChecks = 1024; // about a millisecond of rows
constexpr qsizetype kWriteBytes = 1 << 18;
// A line's room besides twice its connection name: the name's quotes and apostrophe, six
// separators, two date-times, a duration in words and in seconds, two byte counts, the line end.
constexpr qsizetype kLineRoom = 3 + 6 + 2 * kDayCountTextRoom + kDurationWordsRoom + 3 * 20 + 2;

qint64 seconds(const DurationParts& parts)
{
    return parts.days * kSecondsPerDay + parts.hours * 3600 + parts.minutes * 60 + parts.seconds;
}

bool needsQuotes(QByteArrayView text)
{
    return std::any_of(text.begin(), text.end(),
                       [](char c) { return c == ',' || c == '"' || c == '\r' || c == '\n'; });
}

// `text` as one field; it needs twice its size and three more characters of room.
char* writeField(char* out, QByteArrayView text)
{
    const bool formula = !text.isEmpty() && QByteArrayView("=+-@").contains(text.front());
    const bool quoted = needsQuotes(text);
    if (quoted)
        *out++ = '"';
    if (formula)
        *out++ = '\'';
    for (const char c : text) {
        if (c == '"')
            *out++ = '"';
        *out++ = c;
    }
    if (quoted)
        *out++ = '"';
    return out;
}

// The file being written, beside its place until commit() puts it there, and the bytes on their
// way to it. Each step throws with the reason when it fails.
class CsvFile {
public:
    explicit CsvFile(const QString& file) : m_out(file), m_bytes(2 * kWriteBytes, Qt::Uninitialized)
    {
        if (!m_out.open(QIODevice::WriteOnly))
            fail();
    }

    // Where the next `room` bytes go; wrote() takes what went there.
    char* next(qsizetype room)
    {
        if (m_used + room > m_bytes.size())
            m_bytes.resize(m_used + room);
        return m_bytes.data() + m_used;
    }
    void wrote(const char* end)
    {
        m_used = end - m_bytes.constData();
        if (m_used >= kWriteBytes)
            flush();
    }
    void commit()
    {
        flush();
        if (!m_out.commit())
            fail();
    }

private:
    void flush()
    {
        if (m_out.write(m_bytes.constData(), m_used) != m_used)
            fail();
        m_used = 0;
    }
    [[noreturn]] void fail() const
    {
        throw std::runtime_error(QStringLiteral("无法写入文件[%1]：%2")
                                     .arg(QDir::toNativeSeparators(m_out.fileName()), m_out.errorString())
                                     .toStdString());
    }

    QSaveFile m_out;
    QByteArray m_bytes;
    qsizetype m_used = 0;
};

void writeTitle(CsvFile& out)
{
    const QByteArray title =
        "\xEF\xBB\xBF" + QStringLiteral("连接,连接日期时间,断开日期时间,上网时间,上网秒数,接收字节数,发送字节数\r\n").toUtf8();
    out.wrote(std::copy(title.begin(), title.end(), out.next(title.size())));
}

// A byte count in plain bytes; nothing where the connection gave no counters.
char* writeByteCount(char* out, const std::optional<qint64>& bytes)
{
    return bytes ? writeDecimal(out, static_cast<quint64>(*bytes)) : out;
}

// One record's line, from the row the cursor stands on.
void writeRecord(CsvFile& out, const ListRowCursor& row, DayCountWriter& dates)
{
    const QByteArrayView name = row.utf8(ListRowCursor::ConnName);
    const double start = row.real(ListRowCursor::Sdt);
    const double end = row.real(ListRowCursor::Edt);
    const DurationParts duration = DurationOf(start, end);
    char* line = writeField(out.next(2 * name.size() + kLineRoom), name);
    *line++ = ',';
    line = dates.write(start, line);
    *line++ = ',';
    line = dates.write(end, line);
    *line++ = ',';
    line = writeDurationWords(duration, line);
    *line++ = ',';
    line = writeDecimal(line, static_cast<quint64>(seconds(duration)));
    *line++ = ',';
    line = writeByteCount(line, row.optionalInteger(ListRowCursor::RxBytes));
    *line++ = ',';
    line = writeByteCount(line, row.optionalInteger(ListRowCursor::TxBytes));
    *line++ = '\r';
    *line++ = '\n';
    out.wrote(line);
}

} // namespace

bool exportCsv(const RecordList& rows, const QString& file, WorkProgress& progress)
{
    progress.setTotal(rows.count());
    CsvFile out(file);
    writeTitle(out);
    ListRowCursor cursor(rows.connection());
    DayCountWriter dates;
    qint64 done = 0;
    for (const qint64 rowId : rows.rowIds()) {
        if (++done % kRowsBetweenChecks == 0) {
            if (progress.cancelled())
                return false;
            progress.setDone(done);
        }
        if (cursor.find(rowId))
            writeRecord(out, cursor, dates);
    }
    out.commit();
    progress.setDone(done);
    return true;
}

} // namespace xr
