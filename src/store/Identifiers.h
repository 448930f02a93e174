#pragma once
// Identifiers of new records and accounts, and the default backup file name, made from the clock.

#include <QDateTime>
#include <QString>

namespace xr {

inline const QString kBuiltInUserId = QStringLiteral("000000000000000001");
inline const QString kAnonymousUserId = QStringLiteral("000000000000000002");
inline const QString kAnonymousUserName = QStringLiteral("匿名用户");

// A number's decimal text, given a leading "0" unless it is exactly two characters long.
QString TwoDigits(const QString& text);
// Year, month, day, hour, minute, second and milliseconds run together: 15 to 17 digits.
QString NewId(const QDateTime& moment);
// "XR" + year, month, day, hour, minute, second + ".mdb".
QString BackupFileName(const QDateTime& moment);

} // namespace xr
