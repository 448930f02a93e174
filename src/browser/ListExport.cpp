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
// A line's room besides twice its two names: the names' quotes and apostrophes, seven
// separators, two date-times, a duration in words and in seconds, two byte counts, the line end.
constexpr qsizetype kLineRoom = 2 * 3 + 7 + 2 * kDayCountTextRoom + kDurationWordsRoom + 3 * 20 + 2;

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
        "\xEF\xBB\xBF" +
        QStringLiteral("连接,连接日期时间,断开日期时间,上网时间,上网秒数,接收字节数,发送字节数,电脑\r\n").toUtf8();
    out.wrote(std::copy(title.begin(), title.end(), out.next(title.size())));
}

// A byte count in plain bytes; nothing where the connection gave no counters.
char* writeByteCount(char* out, const std::optional<qint64>& bytes)
{
    return bytes ? writeDecimal(out, static_cast<quint64>(*bytes)) : out;
}

// The fields of one record's line, as read from this PC's database or from the server.
struct CsvRow {
    QByteArrayView name;
    double start = 0;
    double end = 0;
    std::optional<qint64> received;
    std::optional<qint64> sent;
    QByteArrayView station;
};

void writeRecord(CsvFile& out, const CsvRow& row, DayCountWriter& dates)
{
    const DurationParts duration = DurationOf(row.start, row.end);
    char* line = writeField(out.next(2 * (row.name.size() + row.station.size()) + kLineRoom), row.name);
    *line++ = ',';
    line = dates.write(row.start, line);
    *line++ = ',';
    line = dates.write(row.end, line);
    *line++ = ',';
    line = writeDurationWords(duration, line);
    *line++ = ',';
    line = writeDecimal(line, static_cast<quint64>(seconds(duration)));
    *line++ = ',';
    line = writeByteCount(line, row.received);
    *line++ = ',';
    line = writeByteCount(line, row.sent);
    *line++ = ',';
    line = writeField(line, row.station);
    *line++ = '\r';
    *line++ = '\n';
    out.wrote(line);
}

// This PC's rows, stepped through at the engine's speed.
bool writeLocalRows(CsvFile& out, const RecordList& rows, WorkProgress& progress)
{
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
            writeRecord(out,
                        {cursor.utf8(ListRowCursor::ConnName), cursor.real(ListRowCursor::Sdt),
                         cursor.real(ListRowCursor::Edt), cursor.optionalInteger(ListRowCursor::RxBytes),
                         cursor.optionalInteger(ListRowCursor::TxBytes), cursor.utf8(ListRowCursor::Station)},
                        dates);
    }
    progress.setDone(done);
    return true;
}

// The server's rows, read in blocks through the list; a row deleted meanwhile reads empty.
bool writeServerRows(CsvFile& out, const RecordList& rows, WorkProgress& progress)
{
    DayCountWriter dates;
    for (int row = 0; row < rows.count(); ++row) {
        if ((row + 1) % kRowsBetweenChecks == 0) {
            if (progress.cancelled())
                return false;
            progress.setDone(row + 1);
        }
        const UsageRecord record = rows.record(row);
        if (record.RecordId.isEmpty())
            continue;
        const QByteArray name = record.ConnName.toUtf8();
        const QByteArray station = record.Station.toUtf8();
        writeRecord(out, {name, record.Sdt, record.Edt, record.RxBytes, record.TxBytes, station}, dates);
    }
    progress.setDone(rows.count());
    return true;
}

} // namespace

bool exportCsv(const RecordList& rows, const QString& file, WorkProgress& progress)
{
    progress.setTotal(rows.count());
    CsvFile out(file);
    writeTitle(out);
    if (!(rows.onServer() ? writeServerRows(out, rows, progress) : writeLocalRows(out, rows, progress)))
        return false;
    out.commit();
    return true;
}

} // namespace xr
