#include "notices/utInfoWin.h"

#include "notices/NoticeSound.h"
#include "notices/NoticeTexts.h"

#include <QEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace xr {

namespace {
constexpr int kAutoCloseMs = 8000;
constexpr QSize kClientSize(192, 138);
} // namespace

TwinInfo::TwinInfo(platform::Sound& sound, QString appPath, QString detail, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_sound(sound), m_appPath(std::move(appPath)),
      m_detail(std::move(detail)), m_pnlBg(new QFrame(this)), m_imgBk(new QLabel(m_pnlBg)),
      m_lblInfo(new QLabel(m_pnlBg))
{
    setObjectName(QStringLiteral("winInfo"));
    setWindowTitle(QStringLiteral("Xarvane-信息"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFixedSize(kClientSize);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_pnlBg);
    m_pnlBg->setObjectName(QStringLiteral("pnlBg"));
    m_pnlBg->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_imgBk->setObjectName(QStringLiteral("imgBk"));
    m_imgBk->setPixmap(QPixmap(QStringLiteral(":/notice-background.png")));
    m_imgBk->setScaledContents(true);
    m_lblInfo->setObjectName(QStringLiteral("lblInfo"));
    m_lblInfo->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_lblInfo->setAttribute(Qt::WA_TranslucentBackground);
    m_lblInfo->setStyleSheet(QStringLiteral("color: blue; background: transparent;"));
    m_lblInfo->installEventFilter(this);
    // The picture and the text cover the panel inside its bevel.
    const QRect inside = QRect(QPoint(0, 0), kClientSize).adjusted(1, 1, -1, -1);
    m_imgBk->setGeometry(inside);
    m_lblInfo->setGeometry(inside);

    m_tmAutoClose.setTimerType(Qt::PreciseTimer);
    m_tmAutoClose.setSingleShot(true);
    m_tmAutoClose.setInterval(kAutoCloseMs);
    connect(&m_tmAutoClose, &QTimer::timeout, this, &TwinInfo::tmAutoCloseTimer);
    m_tmAutoClose.start();
}

// Right edge of the screen, over a panel at the bottom (or from the bottom edge).
NoticePlacement TwinInfo::placement()
{
    const QScreen* target = screen() ? screen() : QGuiApplication::primaryScreen();
    return noticePlacement(target->geometry(), target->availableGeometry(), frameGeometry().size());
}

// Sliding in plays the sound first and shows the text only at the end; each step is one
// pixel, without pause and without giving way to other work.
void TwinInfo::SlideNotice(bool in)
{
    raise();
    if (!isVisible()) {
        // Shown once where it starts, so that the frame the window gets counts in its size.
        const NoticePlacement unframed = placement();
        move(unframed.left, unframed.hiddenTop);
        show();
    }
    const NoticePlacement place = placement();
    move(place.left, in ? place.hiddenTop : place.shownTop);
    if (in)
        PlayNoticeSound(m_sound, m_appPath, Kind);
    const int step = in ? -1 : 1;
    const int last = in ? place.shownTop : place.hiddenTop;
    for (int top = in ? place.hiddenTop : place.shownTop;; top += step) {
        move(place.left, top);
        show();
        if (top == last)
            break;
    }
    if (in)
        SetNoticeText(Kind);
}

void TwinInfo::SetNoticeText(TNoticeKind kind)
{
    m_lblInfo->setText(withLineBreaks(noticeText(kind, m_detail)));
}

void TwinInfo::tmAutoCloseTimer()
{
    SlideNotice(false);
    close();
}

// A double-click on the text closes the popup at once.
bool TwinInfo::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_lblInfo && event->type() == QEvent::MouseButtonDblClick) {
        close();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace xr
