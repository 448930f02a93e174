#pragma once
// The connection notice popup winInfo: a small always-on-top window that rises from the panel
// at the bottom right of the screen with a sound, shows what happened to the connection, and
// sinks away eight seconds after it was created.

#include "connections/RecorderWindows.h"
#include "notices/NoticePlacement.h"
#include "platform/Sound.h"

#include <QDialog>
#include <QTimer>

class QFrame;
class QLabel;

namespace xr {

class TwinInfo : public QDialog {
    Q_OBJECT
public:
    // `appPath` holds the sound files; `detail` is what the text of its kind names (NoticeTexts.h).
    TwinInfo(platform::Sound& sound, QString appPath, QString detail, QWidget* parent = nullptr);

    TNoticeKind Kind = TNoticeKind::nkNoUser;

    void SlideNotice(bool in);
    void SetNoticeText(TNoticeKind kind);
    QLabel* lblInfo() const { return m_lblInfo; }
    QTimer& tmAutoClose() { return m_tmAutoClose; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    NoticePlacement placement();
    void tmAutoCloseTimer();

    platform::Sound& m_sound;
    QString m_appPath;
    QString m_detail;
    QFrame* m_pnlBg;
    QLabel* m_imgBk;
    QLabel* m_lblInfo;
    QTimer m_tmAutoClose;
};

} // namespace xr
