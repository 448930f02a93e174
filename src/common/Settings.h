#pragma once
// All persistent settings, read once at start-up; the defaults are those used when the
// settings key is absent.

#include <QString>

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
    QString SupportMail; // the address the mail commands write to; set by the installation

    friend bool operator==(const TSettings&, const TSettings&) = default;
};

} // namespace xr
