#pragma once
// The one connection notice popup, as the tray controller holds it: at most one exists, and a
// notice that is due while it is open is dropped.

#include "notices/utInfoWin.h"

#include <QPointer>

namespace xr {

struct AppContext;

class NoticePopups {
public:
    NoticePopups(AppContext& context, platform::Sound& sound);
    ~NoticePopups();
    NoticePopups(const NoticePopups&) = delete;
    NoticePopups& operator=(const NoticePopups&) = delete;

    // The open popup, or nullptr.
    TwinInfo* winInfo() const { return m_winInfo; }
    bool exists() const { return m_winInfo != nullptr; }

    // A new popup of `kind` slides in, unless one is open.
    void ShowNotice(TNoticeKind kind);
    // A warning that the online time runs out: it takes the place of a popup that is open.
    void ShowWarning(const QString& text);
    // The sound of `kind` alone, without a popup.
    void PlayNoticeSound(TNoticeKind kind);

private:
    void show(TNoticeKind kind, const QString& detail);

    AppContext& m_context;
    platform::Sound& m_sound;
    QPointer<TwinInfo> m_winInfo;
};

} // namespace xr
