#pragma once
// One row of the usage list: a stored usage record with its calculated duration text.

#include <QString>

namespace xr {

struct UsageRecord {
    double Sdt = 0;
    double Edt = 0;
    QString UserId;
    QString ConnName;
    QString Time; // word-form duration from Sdt to Edt, never stored
    QString RecordId;
};

} // namespace xr
