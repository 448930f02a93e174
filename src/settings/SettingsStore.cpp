#include "settings/SettingsStore.h"

#include "settings/SettingsWriteError.h"
#include "store/ConnectionDetails.h"

#include <algorithm>
#include <vector>

namespace xr {

namespace {

template <class... Ts> struct Overloaded : Ts... {
    using Ts::operator()...;
};

struct Field {
    QString name;
    SettingMember member;
};

// The values of the settings key, in the order the load reads them.
const std::vector<Field>& fields()
{
    static const std::vector<Field> all{
        {QStringLiteral("AutoRun"), &TSettings::AutoRun},
        {QStringLiteral("TimeRecord"), &TSettings::TimeRecord},
        {QStringLiteral("Interval"), &TSettings::Interval},
        {QStringLiteral("SaveLastUser"), &TSettings::SaveLastUser},
        {QStringLiteral("LastUser"), &TSettings::LastUser},
        {QStringLiteral("SavePwEnabled"), &TSettings::SavePwEnabled},
        {QStringLiteral("SavePw"), &TSettings::SavePw},
        {QStringLiteral("ShowToolsBar"), &TSettings::ShowToolsBar},
        {QStringLiteral("DefaultTime"), &TSettings::DefaultTime},
        {QStringLiteral("DefaultConnName"), &TSettings::DefaultConnName},
        {QStringLiteral("Precision"), &TSettings::Precision},
        {QStringLiteral("LoginDial"), &TSettings::LoginDial},
        {QStringLiteral("DefaultConn"), &TSettings::DefaultConn},
        {QStringLiteral("AutoBackup"), &TSettings::AutoBackup},
        {QStringLiteral("SynRun"), &TSettings::SynRun},
        {QStringLiteral("FloatWin"), &TSettings::FloatWin},
        {QStringLiteral("FWStyle"), &TSettings::FWStyle},
        {QStringLiteral("FWTimeLeft"), &TSettings::FWTimeLeft},
        {QStringLiteral("SupportMail"), &TSettings::SupportMail},
        {QStringLiteral("RecordLan"), &TSettings::RecordLan},
        {QStringLiteral("Server"), &TSettings::Server},
        {QStringLiteral("Station"), &TSettings::Station},
    };
    return all;
}

// The stored value of a field; nothing when it is missing or of another type.
std::optional<SettingsValue> readField(const platform::RegistryKey& key, const Field& field)
{
    const std::string name = field.name.toStdString();
    return std::visit(Overloaded{
                          [&](bool TSettings::*) -> std::optional<SettingsValue> {
                              const auto number = key.readDword(name);
                              return number ? std::optional(SettingsValue{field.name, *number != 0}) : std::nullopt;
                          },
                          [&](int TSettings::*) -> std::optional<SettingsValue> {
                              const auto number = key.readDword(name);
                              return number ? std::optional(SettingsValue{field.name, static_cast<std::int32_t>(*number)})
                                            : std::nullopt;
                          },
                          [&](QString TSettings::*) -> std::optional<SettingsValue> {
                              const auto text = key.readString(name);
                              return text ? std::optional(SettingsValue{field.name, QString::fromStdString(*text)})
                                          : std::nullopt;
                          },
                      },
                      field.member);
}

void assign(TSettings& settings, const SettingMember& member, const SettingsValue& value)
{
    std::visit(Overloaded{
                   [&](bool TSettings::*m) { settings.*m = std::get<bool>(value.data); },
                   [&](int TSettings::*m) { settings.*m = std::get<int>(value.data); },
                   [&](QString TSettings::*m) { settings.*m = std::get<QString>(value.data); },
               },
               member);
}

SettingsValue valueOf(const TSettings& settings, const Field& field)
{
    return std::visit([&](auto member) { return SettingsValue{field.name, settings.*member}; }, field.member);
}

const Field& fieldOf(const SettingMember& member)
{
    const auto& all = fields();
    return *std::find_if(all.begin(), all.end(), [&](const Field& field) { return field.member == member; });
}

} // namespace

TSettings LoadSettings(platform::Registry& registry, platform::RemoteAccess& remoteAccess, Prompter& prompter)
{
    TSettings settings;
    const auto key = registry.openKey(kSettingsKey.toStdString(), false);
    if (!key)
        return settings;
    for (const Field& field : fields())
        if (const auto value = readField(*key, field))
            assign(settings, field.member, *value);
    // Before the phonebook check: the setting decides which entries there are.
    remoteAccess.setRecordLan(settings.RecordLan);
    if (settings.DefaultConn != kNoDefaultConn && !EntryExists(remoteAccess, prompter, settings.DefaultConn)) {
        settings.DefaultConn = kNoDefaultConn;
        writeValue(*key, valueOf(settings, fieldOf(&TSettings::DefaultConn)));
    }
    return settings;
}

void writeValue(platform::RegistryKey& key, const SettingsValue& value)
{
    const std::string name = value.name.toStdString();
    const bool stored = std::visit(Overloaded{
                                       [&](bool flag) { return key.writeDword(name, flag ? 1 : 0); },
                                       [&](int number) { return key.writeDword(name, static_cast<std::uint32_t>(number)); },
                                       [&](const QString& text) { return key.writeString(name, text.toStdString()); },
                                   },
                                   value.data);
    if (!stored)
        throw SettingsWriteError(value.name);
}

bool writeMainValues(platform::Registry& registry, const QList<SettingsValue>& values)
{
    const auto key = registry.openKey(kSettingsKey.toStdString(), false);
    if (!key)
        return false;
    for (const SettingsValue& value : values)
        writeValue(*key, value);
    return true;
}

bool writeSettings(platform::Registry& registry, const TSettings& settings, std::initializer_list<SettingMember> members)
{
    QList<SettingsValue> values;
    for (const SettingMember& member : members)
        values.append(valueOf(settings, fieldOf(member)));
    return writeMainValues(registry, values);
}

void writeRunValue(platform::AutoStart& autoStart, const QString& appPath, bool autoRun)
{
    const bool stored = autoRun ? autoStart.write(appPath.toStdString()) : autoStart.remove();
    if (!stored)
        throw SettingsWriteError(QStringLiteral("Xarvane"));
}

void installDefaultSettings(platform::Registry& registry)
{
    const auto key = registry.openKey(kSettingsKey.toStdString(), true);
    if (!key)
        throw SettingsWriteError(kSettingsKey);
    const TSettings defaults;
    for (const Field& field : fields())
        if (!readField(*key, field))
            writeValue(*key, valueOf(defaults, field));
}

} // namespace xr
