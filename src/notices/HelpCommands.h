#pragma once
// The help, mail and calculator commands, through the desktop's handlers.

#include "common/Prompter.h"
#include "platform/DesktopShell.h"

#include <QString>

namespace xr {

// The address that the about box shows and the mail command writes to.
inline const QString kAuthorMail = QStringLiteral("support@xarvane.example");
inline const QString kHelpFileName = QStringLiteral("XRHelp.chm");
// The help as HTML pages, in this folder of the program folder.
inline const QString kHelpIndex = QStringLiteral("help/index.html");

// Opens the compiled help when the desktop can show it, else the HTML help in the browser;
// with neither, says that the help file is missing. Files are given by their full path.
void ShowHelp(platform::DesktopShell& shell, Prompter& prompter, const QString& appPath);
// Opens a new mail to the author in the desktop's mail program.
void openAuthorMail(platform::DesktopShell& shell);
// Starts the desktop's calculator, the first installed of the common ones; none: nothing.
void startCalculator(platform::DesktopShell& shell);

} // namespace xr
