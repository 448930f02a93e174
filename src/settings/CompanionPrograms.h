#pragma once
// Starting the companion programs after a sign-in: every entry of the list file in order, a
// warning for each entry that names no existing file.

#include "common/Prompter.h"
#include "platform/FileOpener.h"

#include <QString>

namespace xr {

// Nothing happens when the list file in `appPath` does not exist. An entry names a file (not a
// folder) by its full path or relative to the process's current folder; the starts are not
// waited for.
void StartCompanionPrograms(const QString& appPath, Prompter& prompter, platform::FileOpener& opener);

} // namespace xr
