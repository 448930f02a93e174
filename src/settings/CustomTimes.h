#pragma once
// The custom time periods of the usage browser, kept in the sub-key CustomTime of the settings
// key: "Count", then one text per period named "0", "1", ... ("first*last" short dates).

#include "platform/Registry.h"
#include "settings/SettingsStore.h"

#include <QString>
#include <QStringList>

namespace xr {

inline const QString kThisWeek = QStringLiteral("本周");
inline const QString kThisMonth = QStringLiteral("本月");
inline const QString kCustomTimeKey = kSettingsKey + QStringLiteral("\\CustomTime");

// The period list: "本周", "本月", then the stored custom periods in order. Without the key or
// its "Count" there are no custom periods; a period value that is missing gives an empty entry.
QStringList readTimePeriods(platform::Registry& registry);

// Replaces the stored custom periods with `periods` (the list without "本周" and "本月"); the
// key is made anew, with the settings key when that is missing. Nothing is written when the
// registry cannot be changed; a value that fails once the key is open throws
// SettingsWriteError naming it.
void writeCustomTimes(platform::Registry& registry, const QStringList& periods);

} // namespace xr
