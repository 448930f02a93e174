#pragma once
// The files that come with the program and live in its folder beside it: the notice sounds and
// the help (the compiled help file, where it was built, and the HTML pages).

#include <QString>
#include <QStringList>

namespace xr {

struct ProgramFilesResult {
    QStringList missing; // expected files that `from` lacks, by their names in the folder
    QStringList failed;  // files of `to` that could not be written
};

// The folder that the installation takes those files from, for a tool in `toolFolder`: that
// folder itself when it holds any of them (a build folder, a portable folder), else the shared
// data folder of an installed tool (`toolFolder`/../share/xarvane) when that one holds any.
QString programFilesSource(const QString& toolFolder);

// Copies those files from the folder `from` into the folder `to`. Sounds already in `to` are
// kept (a user may have chosen their own); the help is replaced. Files that `from` lacks are
// skipped and reported as missing.
ProgramFilesResult installProgramFiles(const QString& from, const QString& to);

} // namespace xr
