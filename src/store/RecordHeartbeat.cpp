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

void RecordHeartbeat::name(double sdt, const QString& connName, const QString& userId)
{
    m_record = Heartbeat{databaseIdentity(m_databaseFile), sdt, connName, userId, 0};
    write();
}

// The distance counts either way, so that a clock set back does not silence the file.
void RecordHeartbeat::seen()
{
    if (m_record && std::llabs(m_lastWritten.secsTo(m_clock.now())) >= kHeartbeatPeriodSeconds)
        write();
}

void RecordHeartbeat::caughtUp()
{
    QFile::remove(m_heartbeatFile);
    m_lastWritten = m_clock.now();
}

void RecordHeartbeat::forget()
{
    QFile::remove(m_heartbeatFile);
    m_record.reset();
}

// A failure is told once on standard error until a write succeeds again; the recording goes on.
void RecordHeartbeat::write()
{
    m_lastWritten = m_clock.now();
    m_record->lastSeen = toDayCount(m_lastWritten);
    const bool written = writeHeartbeat(m_heartbeatFile, *m_record);
    if (!written && !m_failing)
        std::fprintf(stderr, "xarvane: cannot write %s; a crash now would lose this connection's time\n",
                     m_heartbeatFile.toUtf8().constData());
    m_failing = !written;
}

} // namespace xr
