#include "notices/HelpCommands.h"

#include <QFileInfo>

namespace xr {

namespace {
const std::vector<std::string> kCalculators = {"gnome-calculator", "kcalc", "galculator", "mate-calc",
                                               "xcalc"};
} // namespace

void ShowHelp(platform::DesktopShell& shell, Prompter& prompter, const QString& appPath)
{
    const QFileInfo compiled(appPath + kHelpFileName);
    const QFileInfo pages(appPath + kHelpIndex);
    if (compiled.isFile() && shell.hasHandlerFor(compiled.absoluteFilePath().toStdString()))
        shell.open(compiled.absoluteFilePath().toStdString());
    else if (pages.isFile())
        shell.open(pages.absoluteFilePath().toStdString());
    else
        prompter.error(QStringLiteral("Xarvane(Xarvane)找不到帮助文件XRHelp.chm！"));
}

void openAuthorMail(platform::DesktopShell& shell)
{
    shell.open((QStringLiteral("mailto:") + kAuthorMail).toStdString());
}

void startCalculator(platform::DesktopShell& shell)
{
    shell.startFirstInstalled(kCalculators);
}

} // namespace xr
