#pragma once
// The sound of a connection notice, played from the program folder to its end.

#include "connections/RecorderWindows.h"
#include "platform/Sound.h"

#include <QString>

#include <chrono>

namespace xr {

// The longest a notice sound holds the program up; a longer file is cut there.
inline constexpr std::chrono::milliseconds kNoticeSoundBound{10000};

// Plays the sound file of `kind` from `appPath` when the file exists, and returns when it has
// ended. A missing file, or a machine that cannot play it, gives silence and no message.
void PlayNoticeSound(platform::Sound& sound, const QString& appPath, TNoticeKind kind,
                     std::chrono::milliseconds bound = kNoticeSoundBound);

} // namespace xr
