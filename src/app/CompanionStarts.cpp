#include "app/CompanionStarts.h"

#include "common/AppContext.h"
#include "settings/CompanionPrograms.h"
#include "users/utLogin.h"

namespace xr {

void connectCompanionStarts(AppContext& context, TwinLogin& winLogin, platform::FileOpener& opener)
{
    QObject::connect(&winLogin, &TwinLogin::companionProgramsWanted, &winLogin, [&context, &opener] {
        StartCompanionPrograms(context.appPath, context.prompter, opener);
    });
}

} // namespace xr
