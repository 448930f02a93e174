#include "users/LoginOptions.h"

#include "settings/SettingsStore.h"

namespace xr {

LoginChoices choicesFromSettings(const TSettings& settings)
{
    return {settings.SaveLastUser, settings.SavePw, settings.LoginDial, settings.SynRun};
}

bool SaveLoginOptions(TSettings& settings, platform::Registry& registry, const LoginChoices& choices,
                      const QString& typedName)
{
    settings.LoginDial = choices.loginDial;
    settings.SaveLastUser = choices.saveName;
    settings.LastUser = typedName.trimmed();
    settings.SavePw = choices.savePw;
    settings.SynRun = choices.synRun;
    if (!settings.SaveLastUser)
        return false;
    return writeSettings(registry, settings,
                         {&TSettings::SaveLastUser, &TSettings::LastUser, &TSettings::LoginDial,
                          &TSettings::SavePw, &TSettings::SynRun});
}

} // namespace xr
