#pragma once
// One row of the usage list: a stored usage record with its calculated duration text.

#include <QString>

#include <optional>

namespace xr {

struct UsageRecord {
    double Sdt = 0;
    double Edt = 0;
    QString UserId;
    QString ConnName;
    QString Time; // word-form duration from Sdt to Edt, never stored
    QString RecordId;
    std::optional<qint64> RxBytes; // bytes received, unknown when the connection gave no counters
    std::optional<qint64> TxBytes; // bytes sent
    QString Station;               // the PC that recorded it; empty for rows older than the stations
};

} // namespace xr
