#include "notices/ProgramFiles.h"

#include "notices/HelpCommands.h"
#include "notices/NoticeTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace xr {

namespace {

// Copies `from` to `to`, replacing it when `replace`; true when `to` is in place afterwards.
bool copyFile(const QString& from, const QString& to, bool replace)
{
    if (QFileInfo::exists(to)) {
        if (!replace)
            return true;
        QFile::remove(to);
    }
    return QFile::copy(from, to);
}

struct Item {
    QString name; // the path inside the folder
    bool replace; // false for a file that a user may have replaced with their own
};

// The files of `source` to place: the sounds, the compiled help and the help pages.
QList<Item> programFileItems(const QDir& source)
{
    QList<Item> items;
    for (const TNoticeKind kind : {TNoticeKind::nkNoUser, TNoticeKind::nkDisconnected, TNoticeKind::nkUser})
        items.append({noticeSoundFile(kind), false});
    items.append({kHelpFileName, true});
    items.append({kHelpIndex, true});
    const QString helpFolder = QFileInfo(kHelpIndex).path();
    for (const QString& page : QDir(source.filePath(helpFolder)).entryList(QDir::Files))
        if (const QString name = helpFolder + QLatin1Char('/') + page; name != kHelpIndex)
            items.append({name, true});
    return items;
}

bool holdsProgramFiles(const QDir& folder)
{
    const QList<Item> items = programFileItems(folder);
    return std::any_of(items.cbegin(), items.cend(), [&folder](const Item& item) {
        return QFileInfo(folder.filePath(item.name)).isFile();
    });
}

} // namespace

QString programFilesSource(const QString& toolFolder)
{
    const QDir shared(QDir(toolFolder).filePath(QStringLiteral("../share/xarvane")));
    if (!holdsProgramFiles(QDir(toolFolder)) && holdsProgramFiles(shared))
        return QDir::cleanPath(shared.absolutePath());
    return toolFolder;
}

ProgramFilesResult installProgramFiles(const QString& from, const QString& to)
{
    const QDir source(from);
    const QDir target(to);
    if (source.canonicalPath() == target.canonicalPath())
        return {};
    const QList<Item> items = programFileItems(source);

    ProgramFilesResult result;
    for (const Item& item : items) {
        if (!QFileInfo(source.filePath(item.name)).isFile()) {
            result.missing << item.name;
            continue;
        }
        target.mkpath(QFileInfo(item.name).path());
        if (!copyFile(source.filePath(item.name), target.filePath(item.name), item.replace))
            result.failed << target.filePath(item.name);
    }
    return result;
}

} // namespace xr
