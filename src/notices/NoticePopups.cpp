#include "notices/NoticePopups.h"

#include "common/AppContext.h"
#include "notices/NoticeSound.h"

namespace xr {

NoticePopups::NoticePopups(AppContext& context, platform::Sound& sound) : m_context(context), m_sound(sound)
{
}

NoticePopups::~NoticePopups()
{
    delete m_winInfo;
}

void NoticePopups::ShowNotice(TNoticeKind kind)
{
    if (!m_winInfo)
        show(kind, m_context.currentConnection.UserName);
}

void NoticePopups::ShowWarning(const QString& text)
{
    delete m_winInfo;
    show(TNoticeKind::nkAllowance, text);
}

void NoticePopups::show(TNoticeKind kind, const QString& detail)
{
    m_winInfo = new TwinInfo(m_sound, m_context.appPath, detail);
    m_winInfo->Kind = kind;
    m_winInfo->SlideNotice(true);
}

void NoticePopups::PlayNoticeSound(TNoticeKind kind)
{
    xr::PlayNoticeSound(m_sound, m_context.appPath, kind);
}

} // namespace xr
