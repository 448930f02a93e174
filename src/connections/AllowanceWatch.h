#pragma once
// Keeps the person at the PC within his online-time allowance. The time left is read from the
// database when a connection starts, when the person changes (a sign-in) and when a day, a
// week or a month begins; in between it is counted down with the clock while connections are
// up, with no database work. At 10, 5 and 1 minutes left a warning is due; with nothing left
// every connection is hung up, its record ending at that moment, and dialling is refused. While
// nobody is signed in the anonymous account's allowance applies. With a shared server the
// allowance, the grants and the records of every PC are the server's; while it is away, this PC's.

#include "common/AppContext.h"
#include "store/AccountStore.h"
#include "store/UsedTime.h"

#include <QDateTime>
#include <QObject>
#include <QString>

namespace xr {

class Database;
class Recorder;

class AllowanceWatch : public QObject {
    Q_OBJECT
public:
    AllowanceWatch(AppContext& context, const Database& db, Recorder& recorder, QObject* parent = nullptr);

    // Reads the time left afresh: after a grant, a changed allowance, a connection's start.
    // Throws DatabaseError.
    void recompute();
    // Reads it afresh only when the person or the day has changed since the last reading.
    void refresh();
    // A connection came up and its record is open: one without time left is hung up at once.
    void connectionStarted();
    // Each second while records are open: counts down, warns, hangs up at the limit.
    void tmConnTimer();
    // Before any dial starts: true, with the reason told, when the person has no time left.
    bool refusesDial();

    TimeLeft timeLeft() const { return m_left; }

signals:
    // The time left was read again or counted down.
    void timeLeftChanged();
    // A warning for the notice popup, e.g. "您今天的上网时间还剩 5 分钟".
    void warningDue(const QString& text);

private:
    QString person() const;
    bool timeIsUp() const { return m_left.limited && m_left.seconds <= 0; }
    void countDown(const QDateTime& now);
    void warnWhenDue();
    void hangUpWhenTimeIsUp();
    QString timeUpText() const;
    void tellLater(const QString& text);

    AppContext& m_context;
    AccountStore m_accounts;
    Recorder& m_recorder;
    QString m_person;    // whose time m_left is
    QDate m_day;         // the day it was read on
    QDateTime m_counted; // the clock when m_left was last brought up to date
    TimeLeft m_left;
    int m_warnedAt = 0;     // the minutes of the last warning given; 0 for none yet
    bool m_telling = false; // a time-up message is waiting or showing
};

// "您今天的上网时间还剩 5 分钟": the period named, the minutes rounded up.
QString allowanceWarningText(const TimeLeft& left);

} // namespace xr
