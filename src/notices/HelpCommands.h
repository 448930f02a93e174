#pragma once
// The help, mail and calculator commands, through the desktop's handlers. Each tells the user
// what is missing when the desktop cannot do what was asked.

#include "common/Prompter.h"
#include "platform/DesktopShell.h"

#include <QString>

namespace xr {

inline const QString kHelpFileName = QStringLiteral("XRHelp.chm");
// The help as HTML pages, in this folder of the program folder.
inline const QString kHelpIndex = QStringLiteral("help/index.html");
inline const QString kNoSupportMailMessage =
    QStringLiteral("没有设置技术支持的邮件地址！\r\r(安装时可用 xarvane-setup --support-mail 地址 设置)");
inline const QString kNoMailProgramMessage =
    QStringLiteral("没有找到收发邮件的程序，无法给 %1 写信！\r\r请安装邮件程序后再试。");
inline const QString kNoCalculatorMessage = QStringLiteral(
    "没有找到计算器程序！\r\r请安装 gnome-calculator、kcalc、galculator、mate-calc 或 xcalc 中的一个。");
inline const QString kNoHelpViewerMessage =
    QStringLiteral("没有可以显示帮助的程序，无法打开帮助文件：\r%1\r\r请安装 CHM 阅读器或网页浏览器。");

// Opens the compiled help when the desktop can show it, else the HTML help in the browser.
// Without either file it says that the help file is missing; with files that nothing can show,
// it names them. Files are given by their full path.
void ShowHelp(platform::DesktopShell& shell, Prompter& prompter, const QString& appPath);
// Opens a new mail to `address` (the SupportMail setting) in the desktop's mail program.
void openSupportMail(platform::DesktopShell& shell, Prompter& prompter, const QString& address);
// Starts the desktop's calculator, the first installed of the common ones.
void startCalculator(platform::DesktopShell& shell, Prompter& prompter);

} // namespace xr
