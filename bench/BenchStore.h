#pragma once
// What the benchmarks share: a usage store of years of records, and the process's memory
// figures from /proc.

#include <QString>
#include <QStringList>

namespace xr::bench {

inline constexpr int kUsers = 50;
inline const QStringList kConnections{QStringLiteral("163"), QStringLiteral("169"),
                                      QStringLiteral("电信ADSL"), QStringLiteral("联通拨号"),
                                      QStringLiteral("办公室")};

// The id of bench user `user`.
QString userId(int user);

// A database file with the installed schema, `userCount` users and `records` records over ten years
// up to an hour ago, in time order, each shorter than the gap to the next, each with up to 20 MB
// received and an eighth of that sent.
void buildStore(const QString& file, int records, int userCount = kUsers);

// A value of /proc/self/status in kB ("VmHWM", "VmRSS"); -1 when it cannot be read.
long statusKb(const char* field);
// Wall-clock and processor time of a step: the machine may be shared, and the processor time
// is what the step itself cost.
class StepTimer {
public:
    StepTimer();
    double wallMs() const;
    double cpuMs() const;
    // "W ms (C ms CPU)"
    QString text() const;

private:
    double m_wallStart;
    double m_cpuStart;
};

// Lets the peak (VmHWM) start again from the present resident size; false where it cannot.
bool resetPeak();

} // namespace xr::bench
