#pragma once
// The one source of the present moment; tests set their own.

#include <QDateTime>

namespace xr {

class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
};

} // namespace xr
