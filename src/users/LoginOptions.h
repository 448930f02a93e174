#pragma once
// The sign-in dialog's choices and how a successful sign-in keeps them: always in the
// settings of the run, and in the settings key only while the name is to be saved.

#include "common/Settings.h"
#include "platform/Registry.h"

#include <QString>

namespace xr {

struct LoginChoices {
    bool saveName = false;  // "保存用户名(&S)"
    bool savePw = false;    // "保存密码(&W)"
    bool loginDial = false; // "登录后自动拨号(&D)"
    bool synRun = false;    // "登录后同时启动其它程序(&Y)"
};

// The choices as the settings give them when the dialog opens.
LoginChoices choicesFromSettings(const TSettings& settings);

// Sets LoginDial, SaveLastUser, LastUser (`typedName` without surrounding blanks), SavePw and
// SynRun; then, when SaveLastUser is set, writes SaveLastUser, LastUser, LoginDial, SavePw and
// SynRun in that order by the settings key's writing rule. True when they were written.
bool SaveLoginOptions(TSettings& settings, platform::Registry& registry, const LoginChoices& choices,
                      const QString& typedName);

} // namespace xr
