#pragma once
// Storing the options dialog's settings: the fourteen values of the settings key, the custom periods
// and the start-with-the-desktop entry, in that order.

#include "common/Settings.h"
#include "platform/AutoStart.h"
#include "platform/Registry.h"

#include <QString>
#include <QStringList>

namespace xr {

// What SaveOptions stores before the Run entry: the fourteen values and the custom periods; also
// how the stored options are put back when the Run entry fails.
void storeOptionValues(platform::Registry& registry, const TSettings& settings,
                       const QStringList& customPeriods);

// The fourteen values go only into an existing settings key (skipped silently without it); the
// custom periods and the Run entry are written all the same. Throws SettingsWriteError naming
// the first value that could not be stored; what was written before it stays.
void SaveOptions(platform::Registry& registry, platform::AutoStart& autoStart, const QString& appPath,
                 const TSettings& settings, const QStringList& customPeriods);

} // namespace xr
