#include "store/RecordHeartbeat.h"

#include "store/DayCount.h"

#include <QFile>

#include <cstdio>
#include <cstdlib>

namespace xr {

RecordHeartbeat::RecordHeartbeat(QString databaseFile, QString heartbeatFile, const Clock& clock)
    : m_databaseFile(std::move(databaseFile)), m_heartbeatFile(std::move(heartbeatFile)), m_clock(clock)
{
}

void RecordHeartbeat::name(const QList<HeartbeatRecord>& records)
{
    if (records.isEmpty())
        QFile::remove(m_heartbeatFile);
    else
        write(records);
}

// The distance counts either way, so that a clock set back does not silence the file.
bool RecordHeartbeat::due() const
{
    return std::llabs(m_lastWritten.secsTo(m_clock.now())) >= kHeartbeatPeriodSeconds;
}

void RecordHeartbeat::seen(const QList<HeartbeatRecord>& records)
{
    if (!records.isEmpty() && due())
        write(records);
}

void RecordHeartbeat::caughtUp()
{
    QFile::remove(m_heartbeatFile);
    m_lastWritten = m_clock.now();
}

// A failure is told once on standard error until a write succeeds again; the recording goes on.
void RecordHeartbeat::write(const QList<HeartbeatRecord>& records)
{
    m_lastWritten = m_clock.now();
    const Heartbeat heartbeat{databaseIdentity(m_databaseFile), records, toDayCount(m_lastWritten)};
    const bool written = writeHeartbeat(m_heartbeatFile, heartbeat);
    if (!written && !m_failing)
        std::fprintf(stderr, "xarvane: cannot write %s; a crash now would lose the open records' time\n",
                     m_heartbeatFile.toUtf8().constData());
    m_failing = !written;
}

} // namespace xr
