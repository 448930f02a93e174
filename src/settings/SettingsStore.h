#pragma once
// Reading and writing the settings key SOFTWARE\Pellory\Xarvane and the Run entry.
// Keys are opened with full access and never created here (except by the installation); a
// key that does not open makes reads give the defaults and writes be skipped silently. A
// write that fails once the key is open throws SettingsWriteError naming the value.

#include "common/Prompter.h"
#include "common/Settings.h"
#include "platform/AutoStart.h"
#include "platform/Registry.h"
#include "platform/RemoteAccess.h"

#include <QList>
#include <QString>

#include <initializer_list>
#include <variant>

namespace xr {

inline const QString kSettingsKey = QStringLiteral("SOFTWARE\\Pellory\\Xarvane");

// One field of TSettings.
using SettingMember = std::variant<bool TSettings::*, int TSettings::*, QString TSettings::*>;

// One value of the settings key, with the type it is stored as: a boolean as DWORD 0 or 1,
// an integer as DWORD, a text as SZ.
struct SettingsValue {
    QString name;
    std::variant<bool, int, QString> data;
};

// The settings at start-up. With the key present, each value is read; a value that is missing
// or of another type keeps its default. A DefaultConn other than "未指定" that the phonebook
// lacks becomes "未指定" and is written back.
TSettings LoadSettings(platform::Registry& registry, platform::RemoteAccess& remoteAccess, Prompter& prompter);

// Writes one value into an open key; throws SettingsWriteError when it is not stored.
void writeValue(platform::RegistryKey& key, const SettingsValue& value);

// The writing rule of every writer of the settings key: open it without creating it and write
// the values in order. False, with nothing written, when the key does not open.
bool writeMainValues(platform::Registry& registry, const QList<SettingsValue>& values);
// writeMainValues with the named fields of `settings`, in the order given, e.g.
// writeSettings(registry, settings, {&TSettings::ShowToolsBar}).
bool writeSettings(platform::Registry& registry, const TSettings& settings,
                   std::initializer_list<SettingMember> members);

// The Run entry: `autoRun` names the program file in `appPath`, otherwise the entry is
// removed. A failure throws SettingsWriteError naming "Xarvane".
void writeRunValue(platform::AutoStart& autoStart, const QString& appPath, bool autoRun);

// For the installation: creates the settings key and gives each of its values that
// is missing or of another type its default; values already present are kept. Throws
// SettingsWriteError when the key cannot be created or a value not stored.
void installDefaultSettings(platform::Registry& registry);

} // namespace xr
