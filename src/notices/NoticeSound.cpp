#include "notices/NoticeSound.h"

#include "notices/NoticeTexts.h"

#include <QFileInfo>

namespace xr {

void PlayNoticeSound(platform::Sound& sound, const QString& appPath, TNoticeKind kind,
                     std::chrono::milliseconds bound)
{
    const QString file = appPath + noticeSoundFile(kind);
    if (QFileInfo(file).isFile())
        platform::playToEnd(sound, file.toStdString(), bound);
}

} // namespace xr
