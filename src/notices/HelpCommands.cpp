#include "notices/HelpCommands.h"

#include <QFileInfo>

namespace xr {

namespace {
const std::vector<std::string> kCalculators = {"gnome-calculator", "kcalc", "galculator", "mate-calc",
                                               "xcalc"};
} // namespace

void ShowHelp(platform::DesktopShell& shell, Prompter& prompter, const QString& appPath)
{
    QStringList present;
    for (const QString& name : {kHelpFileName, kHelpIndex})
        if (const QFileInfo file(appPath + name); file.isFile())
            present << file.absoluteFilePath();
    if (present.isEmpty()) {
        prompter.error(QStringLiteral("Xarvane(Xarvane)找不到帮助文件XRHelp.chm！"));
        return;
    }
    for (const QString& file : present) {
        if (shell.hasHandlerFor(file.toStdString())) {
            shell.open(file.toStdString());
            return;
        }
    }
    prompter.error(kNoHelpViewerMessage.arg(present.join(QLatin1Char('\r'))));
}

void openSupportMail(platform::DesktopShell& shell, Prompter& prompter, const QString& address)
{
    if (address.isEmpty()) {
        prompter.inform(kNoSupportMailMessage);
        return;
    }
    const std::string link = (QStringLiteral("mailto:") + address).toStdString();
    if (!shell.hasHandlerFor(link)) {
        prompter.warn(kNoMailProgramMessage.arg(address));
        return;
    }
    shell.open(link);
}

void startCalculator(platform::DesktopShell& shell, Prompter& prompter)
{
    if (!shell.startFirstInstalled(kCalculators))
        prompter.warn(kNoCalculatorMessage);
}

} // namespace xr
