#pragma once
// Byte counts as people read them: whole bytes below 1 KB, else KB, MB or GB with one decimal
// (1 KB = 1024 B); an unknown count (a record whose connection gave no counters) is empty. The
// usage list, its traffic total and the statistics window all write bytes through this.

#include <QString>

#include <optional>

namespace xr {

QString byteCountText(std::optional<qint64> bytes);

} // namespace xr
