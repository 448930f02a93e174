#include "settings/CustomTimes.h"

#include "settings/SettingsStore.h"

#include <algorithm>

namespace xr {

namespace {

const std::string kCountName = "Count";
// A count beyond this is taken as this: the list stays of a size a person can use, whatever
// number a damaged file holds.
constexpr std::int32_t kMaxCustomTimes = 1000;

} // namespace

QStringList readTimePeriods(platform::Registry& registry)
{
    QStringList periods{kThisWeek, kThisMonth};
    const auto key = registry.openKey(kCustomTimeKey.toStdString(), false);
    if (!key)
        return periods;
    const auto count = key->readDword(kCountName);
    if (!count)
        return periods;
    const std::int32_t total = std::min(static_cast<std::int32_t>(*count), kMaxCustomTimes);
    for (std::int32_t i = 0; i < total; ++i)
        periods.append(QString::fromStdString(key->readString(std::to_string(i)).value_or(std::string())));
    return periods;
}

void writeCustomTimes(platform::Registry& registry, const QStringList& periods)
{
    const std::string path = kCustomTimeKey.toStdString();
    if (!registry.deleteKey(path))
        return; // a registry that cannot be changed is skipped like an absent key
    const auto key = registry.openKey(path, true);
    if (!key)
        return;
    writeValue(*key, {QString::fromStdString(kCountName), static_cast<int>(periods.size())});
    for (qsizetype i = 0; i < periods.size(); ++i)
        writeValue(*key, {QString::number(i), periods.at(i)});
}

} // namespace xr
