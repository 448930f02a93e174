#pragma once
// All persistent settings, read once at start-up; the defaults are those used when the
// settings key is absent.

#include <QString>
#include <QSysInfo>

#include <algorithm>
#include <limits>

namespace xr {

inline const QString kNoDefaultConn = QStringLiteral("未指定");
inline const QString kAllConnections = QStringLiteral("所有连接");

struct TSettings {
    bool AutoRun = true;
    bool TimeRecord = false;
    int Interval = 6; // minutes between end-time rewrites
    bool SaveLastUser = false;
    QString LastUser;
    bool SavePwEnabled = false;
    bool SavePw = false;
    bool ShowToolsBar = true;
    int DefaultTime = 0;
    QString DefaultConnName = kAllConnections;
    int Precision = 0;
    bool LoginDial = false;
    QString DefaultConn = kNoDefaultConn;
    bool AutoBackup = false;
    bool SynRun = false;
    bool FloatWin = false;
    int FWStyle = 0;
    // The floating display shows the time left of an allowance instead of the time online.
    bool FWTimeLeft = false;
    QString SupportMail; // the address the mail commands write to; set by the installation
    // Wired and Wi-Fi network connections are recorded too, not only dial-up style ones.
    bool RecordLan = false;
    // The shared server of several PCs, as a PostgreSQL connection in libpq's key=value form;
    // empty: this PC keeps its records and accounts alone.
    QString Server;
    // This PC's name in the shared records; empty: the host name.
    QString Station;

    friend bool operator==(const TSettings&, const TSettings&) = default;
};

// The name this PC's records carry in the shared records.
inline QString stationName(const TSettings& settings)
{
    return settings.Station.trimmed().isEmpty() ? QSysInfo::machineHostName() : settings.Station.trimmed();
}

// The record timer's period for `Interval` minutes, kept within what a timer can take (at
// least a minute, at most about 24 days), whatever the stored setting holds.
inline int recordTimerIntervalMs(int minutes)
{
    constexpr int kMinute = 60000;
    constexpr int kMostMinutes = std::numeric_limits<int>::max() / kMinute;
    return std::clamp(minutes, 1, kMostMinutes) * kMinute;
}

} // namespace xr
