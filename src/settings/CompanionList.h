#pragma once
// The companion program list "XRSynRum.TXT" in the program folder: one entry (a file to start)
// per line, in GBK, written with CR LF after every entry; read with a line break at CR, LF or
// CR LF, a final break making no extra entry and empty lines in between kept as empty entries.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace xr {

inline const QString kCompanionListFileName = QStringLiteral("XRSynRum.TXT");

// The list file in the program folder `appPath` (with its trailing separator).
QString companionListPath(const QString& appPath);

// Whether the list file can keep `entry` as it is: GBK holds every one of its characters.
bool companionListHolds(const QString& entry);

QStringList parseCompanionList(const QByteArray& gbk);
QByteArray companionListBytes(const QStringList& entries);

// The entries of the list file; nothing when the file does not exist. Throws std::runtime_error
// with a message for the user when it exists but cannot be read.
std::optional<QStringList> readCompanionList(const QString& file);
// Replaces (or creates) the list file. Throws std::runtime_error with a message for the user
// when it cannot be written; the old file then stays as it was.
void writeCompanionList(const QString& file, const QStringList& entries);

} // namespace xr
