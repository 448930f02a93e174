#pragma once
// A time window of the usage list: a record matches when Sdt >= s and Edt <= e (day counts).

namespace xr {

struct TimeBounds {
    double s = 0;
    double e = 0;
};

} // namespace xr
