#pragma once
// The files that come with the program and live in its folder beside it: the notice sounds and
// the help (the compiled help file, where it was built, and the HTML pages).

#include <QString>
#include <QStringList>

namespace xr {

// Copies those files from the folder `from` into the folder `to`. Sounds already in `to` are
// kept (a user may have chosen their own); the help is replaced. Files that `from` lacks are
// skipped. Returns the files that could not be copied.
QStringList installProgramFiles(const QString& from, const QString& to);

} // namespace xr
