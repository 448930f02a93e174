#include "settings/SaveOptions.h"

#include "settings/CustomTimes.h"
#include "settings/SettingsStore.h"

namespace xr {

void storeOptionValues(platform::Registry& registry, const TSettings& settings,
                       const QStringList& customPeriods)
{
    writeSettings(registry, settings,
                  {&TSettings::TimeRecord, &TSettings::Interval, &TSettings::DefaultTime, &TSettings::AutoRun,
                   &TSettings::DefaultConnName, &TSettings::Precision, &TSettings::AutoBackup,
                   &TSettings::SavePwEnabled, &TSettings::SavePw, &TSettings::FWStyle, &TSettings::RecordLan,
                   &TSettings::FWTimeLeft, &TSettings::Server, &TSettings::Station});
    writeCustomTimes(registry, customPeriods);
}

void SaveOptions(platform::Registry& registry, platform::AutoStart& autoStart, const QString& appPath,
                 const TSettings& settings, const QStringList& customPeriods)
{
    storeOptionValues(registry, settings, customPeriods);
    writeRunValue(autoStart, appPath, settings.AutoRun);
}

} // namespace xr
