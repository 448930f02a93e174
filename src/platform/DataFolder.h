#pragma once
// Where the program keeps its data (the database, the settings, the companion list, backups, the
// heartbeat, the sounds it plays): beside the program file for a portable folder, else one folder
// that every person on the PC records into.

#include <QString>

#include <optional>

namespace xr::platform {

// The folder of an installed program's data when XARVANE_DATA does not name another.
inline const QString kInstalledDataFolder = QStringLiteral("/var/lib/xarvane");

// The data folder, with a trailing separator: `programFolder` itself when it holds the database
// (a portable folder, a build folder), else $XARVANE_DATA when set, else the installed folder.
QString dataFolder(const QString& programFolder);

// A folder shared through its group (setgid) gets group-writable files from this process, so that
// the next person's copy can write what this one created (the settings, the heartbeat, backups).
void shareNewFilesWithFolderGroup(const QString& folder);

// Why this person may not use the existing `folder`, in a sentence for a message box; nothing
// when they may read and write it or it does not exist.
std::optional<QString> dataFolderRefusal(const QString& folder);

} // namespace xr::platform
