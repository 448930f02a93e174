#include "connections/AllowanceWatch.h"

#include "connections/Recorder.h"
#include "store/Identifiers.h"

#include <QTimer>

#include <cmath>

namespace xr {

namespace {

// The minutes left at which a warning is due, largest first.
constexpr int kWarningMinutes[] = {10, 5, 1};

int minutesRoundedUp(double seconds)
{
    return static_cast<int>(std::ceil(seconds / 60.0));
}

} // namespace

QString allowanceWarningText(const TimeLeft& left)
{
    return QStringLiteral("您%1的上网时间还剩 %2 分钟")
        .arg(periodName(left.period))
        .arg(minutesRoundedUp(left.seconds));
}

AllowanceWatch::AllowanceWatch(AppContext& context, const Database& db, Recorder& recorder, QObject* parent)
    : QObject(parent), m_context(context), m_accounts(context.server, db), m_recorder(recorder)
{
}

QString AllowanceWatch::person() const
{
    const TConnection& current = m_context.currentConnection;
    return current.signedIn() ? current.UserId : kAnonymousUserId;
}

// The open records count up to now, though their end times are written later.
void AllowanceWatch::recompute()
{
    const QDateTime now = m_context.clock.now();
    const QString who = person();
    const AllowancePeriods periods = allowancePeriods(now.date());
    const QList<UnwrittenTime> unwritten = m_recorder.unwrittenTimes(now);
    const TimeLeft left = m_accounts.read([&](const QSqlDatabase& db) {
        const UsedTime used = usedTime(db, who, periods, unwritten);
        return xr::timeLeft(readAllowance(db, who), used,
                            grantedMinutes(db, who, periods.today.s, periods.today.e));
    });
    if (left.seconds > m_left.seconds || who != m_person)
        m_warnedAt = 0; // a grant or another person: the warnings start again
    m_person = who;
    m_day = now.date();
    m_counted = now;
    m_left = left;
    emit timeLeftChanged();
}

void AllowanceWatch::refresh()
{
    if (person() != m_person || m_context.clock.now().date() != m_day)
        recompute();
}

void AllowanceWatch::connectionStarted()
{
    recompute();
    warnWhenDue();
    hangUpWhenTimeIsUp();
}

void AllowanceWatch::tmConnTimer()
{
    const QDateTime now = m_context.clock.now();
    if (person() != m_person || now.date() != m_day) {
        recompute();
    } else {
        countDown(now);
        emit timeLeftChanged();
    }
    warnWhenDue();
    hangUpWhenTimeIsUp();
}

// Each open record uses the time that passes. A clock set back takes nothing and gives nothing
// back: counting goes on from the new present.
void AllowanceWatch::countDown(const QDateTime& now)
{
    const double passed = std::max<qint64>(0, m_counted.msecsTo(now)) / 1000.0;
    m_counted = now;
    if (m_left.limited)
        m_left.seconds = std::max(0.0, m_left.seconds - passed * m_recorder.openHandles().size());
}

// One warning for the smallest mark passed since the last one.
void AllowanceWatch::warnWhenDue()
{
    if (!m_left.limited || m_left.seconds <= 0)
        return;
    int due = 0;
    for (const int minutes : kWarningMinutes)
        if (m_left.seconds <= minutes * 60.0 && (m_warnedAt == 0 || minutes < m_warnedAt))
            due = minutes;
    if (due == 0)
        return;
    m_warnedAt = due;
    emit warningDue(allowanceWarningText(m_left));
}

void AllowanceWatch::hangUpWhenTimeIsUp()
{
    const QList<platform::ConnHandle> handles = m_recorder.openHandles();
    if (!timeIsUp() || handles.isEmpty())
        return;
    m_recorder.hungUpAt(m_context.clock.now());
    for (const platform::ConnHandle handle : handles)
        m_context.remoteAccess.hangUp(handle);
    tellLater(timeUpText() + QStringLiteral("\r\r连接已经断开。"));
}

bool AllowanceWatch::refusesDial()
{
    refresh();
    if (!timeIsUp())
        return false;
    m_context.prompter.warn(timeUpText() + QStringLiteral("\r\r不能拨号。"));
    return true;
}

QString AllowanceWatch::timeUpText() const
{
    const QString period = periodName(m_left.period);
    if (m_person == kAnonymousUserId)
        return QStringLiteral("未登录时%1的上网时间已经用完！请先登录。").arg(period);
    return QStringLiteral("您%1的上网时间已经用完！").arg(period);
}

// The message waits for the event loop: the hang-up may come from inside the notifier's poll,
// which a message box's own loop must not run again. One at a time.
void AllowanceWatch::tellLater(const QString& text)
{
    if (m_telling)
        return;
    m_telling = true;
    QTimer::singleShot(0, this, [this, text] {
        m_context.prompter.inform(text);
        m_telling = false;
    });
}

} // namespace xr
