#pragma once
// What each kind of connection notice says and which sound file it plays.

#include "connections/RecorderWindows.h"

#include <QString>

namespace xr {

// The sound file of `kind`, found in the program folder.
QString noticeSoundFile(TNoticeKind kind);
// The popup's text for `kind`; "\r" breaks the line. `detail` is the signed-in user's name,
// shown as stored in the nkUser text, and the warning itself in the nkAllowance text.
QString noticeText(TNoticeKind kind, const QString& detail);

// A text whose lines are broken by "\r", as a label or a hint shows it.
inline QString withLineBreaks(QString text)
{
    return text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
}

} // namespace xr
