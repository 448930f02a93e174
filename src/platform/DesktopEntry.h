#pragma once
// The launch of a desktop entry file (".desktop", the freedesktop.org format): what its
// [Desktop Entry] group says to run.

#include <QString>
#include <QStringList>

namespace xr::platform {

struct DesktopLaunch {
    QStringList command;     // program and arguments of an application entry (empty: nothing to run)
    QString url;             // the address of a link entry
    QString workingFolder;   // "Path", empty when the entry names none
    bool inTerminal = false; // "Terminal=true"
};

// Reads the entry file `path`. An unreadable file, another type than Application or Link, and
// an Exec line that does not split into arguments give an empty launch.
DesktopLaunch readDesktopEntry(const QString& path);

// The arguments of an Exec value (the string escapes already undone): split at blanks, quoted
// arguments unescaped, then field codes expanded without files, inside quotes as well (%f %F
// %u %U and the deprecated ones vanish, %c gives `name`, %k `path`, %i "--icon" and `icon`, %% a
// percent sign). Empty when the quoting is broken.
QStringList execArguments(const QString& exec, const QString& name, const QString& icon, const QString& path);

} // namespace xr::platform
