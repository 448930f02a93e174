#include "settings/CompanionPrograms.h"

#include "settings/CompanionList.h"

#include <QFileInfo>

namespace xr {

namespace {

QString missingEntryWarning(const QString& entry)
{
    return QStringLiteral("[Xarvane]同时启动其它程序：\r\r[") + entry + QStringLiteral("] 不存在！") +
           QStringLiteral("\r\r") + QStringLiteral("请检查同时启动的其它程序列表。");
}

} // namespace

void StartCompanionPrograms(const QString& appPath, Prompter& prompter, platform::FileOpener& opener)
{
    const std::optional<QStringList> entries = readCompanionList(companionListPath(appPath));
    if (!entries)
        return;
    for (const QString& entry : *entries) {
        if (!entry.isEmpty() && QFileInfo(entry).isFile())
            opener.open(entry.toStdString());
        else
            prompter.warn(missingEntryWarning(entry));
    }
}

} // namespace xr
