#include "platform/DesktopHandlers.h"

#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

namespace xr::platform {

namespace {

// The MIME types a handler of `target` declares: a link's scheme handler, or the file's type
// with its aliases (a viewer may name the older alias only).
QStringList mimeTypesOf(const QString& target)
{
    const qsizetype colon = target.indexOf(QLatin1Char(':'));
    if (!target.startsWith(QLatin1Char('/')) && colon > 0)
        return {QStringLiteral("x-scheme-handler/") + target.left(colon).toLower()};
    const QMimeType type = QMimeDatabase().mimeTypeForFile(target);
    return QStringList{type.name()} + type.aliases();
}

// The values of `key` in the [`group`] of a desktop entry or an association list, split at ';'.
QStringList listValue(const QString& file, const QString& group, const QString& key)
{
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    bool inGroup = false;
    while (!input.atEnd()) {
        const QString line = QString::fromUtf8(input.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            inGroup = line == QLatin1Char('[') + group + QLatin1Char(']');
        else if (inGroup && line.section(QLatin1Char('='), 0, 0).trimmed() == key)
            return line.section(QLatin1Char('='), 1).split(QLatin1Char(';'), Qt::SkipEmptyParts);
    }
    return {};
}

bool declaresAny(const QStringList& declared, const QStringList& types)
{
    return std::any_of(types.begin(), types.end(),
                       [&](const QString& type) { return declared.contains(type); });
}

// Whether the [`group`] of the association list `file` names an installed application for one
// of `types`.
bool namesInstalledApplication(const QString& file, const QString& group, const QStringList& types)
{
    for (const QString& type : types) {
        for (const QString& id : listValue(file, group, type))
            if (!QStandardPaths::locate(QStandardPaths::ApplicationsLocation, id).isEmpty())
                return true;
    }
    return false;
}

// An installed application named in the user's or the system's association lists.
bool listedInAssociations(const QStringList& types)
{
    const QString defaults = QStringLiteral("Default Applications");
    QList<std::pair<QString, QString>> lists; // a list's file and the group that counts
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::GenericConfigLocation)) {
        lists.append({folder + QStringLiteral("/mimeapps.list"), defaults});
        lists.append({folder + QStringLiteral("/mimeapps.list"), QStringLiteral("Added Associations")});
    }
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        lists.append({folder + QStringLiteral("/mimeapps.list"), defaults});
        lists.append({folder + QStringLiteral("/mimeinfo.cache"), QStringLiteral("MIME Cache")});
    }
    return std::any_of(lists.begin(), lists.end(), [&](const std::pair<QString, QString>& list) {
        return namesInstalledApplication(list.first, list.second, types);
    });
}

// An installed desktop entry that declares one of `types`.
bool declaredByAnEntry(const QStringList& types)
{
    for (const QString& folder : QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)) {
        const QDir applications(folder);
        for (const QString& entry : applications.entryList({QStringLiteral("*.desktop")}, QDir::Files)) {
            const QString file = applications.filePath(entry);
            if (declaresAny(listValue(file, QStringLiteral("Desktop Entry"), QStringLiteral("MimeType")),
                            types))
                return true;
        }
    }
    return false;
}

} // namespace

bool defaultOpenerInstalled()
{
    return !QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty() ||
           !QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty();
}

void openWithDefaultHandler(const QString& target)
{
    if (!QStandardPaths::findExecutable(QStringLiteral("xdg-open")).isEmpty())
        QProcess::startDetached(QStringLiteral("xdg-open"), {target});
    else
        QProcess::startDetached(QStringLiteral("gio"), {QStringLiteral("open"), target});
}

bool hasAssociatedApplication(const QString& target)
{
    const QStringList types = mimeTypesOf(target);
    return listedInAssociations(types) || declaredByAnEntry(types);
}

} // namespace xr::platform
