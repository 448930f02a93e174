#pragma once
// A connection's byte count as a statement binds it to RxBytes or TxBytes: NULL when unknown.

#include "platform/RemoteAccess.h"

#include <QVariant>

#include <optional>

namespace xr {

inline QVariant byteCountValue(const std::optional<platform::ByteCounts>& counts,
                               std::uint64_t platform::ByteCounts::*field)
{
    if (!counts)
        return QVariant(QMetaType::fromType<qlonglong>());
    return static_cast<qlonglong>((*counts).*field);
}

} // namespace xr
