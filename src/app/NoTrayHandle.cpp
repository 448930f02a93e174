#include "app/NoTrayHandle.h"

#include "app/TrayIconImage.h"

#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

namespace xr {

namespace {
constexpr int kIconSize = 32;
constexpr int kMargin = 4;
constexpr int kScreenGap = 8;
const QString kCaption = QStringLiteral("XarvaneXR");
} // namespace

NoTrayHandle::NoTrayHandle(QMenu& pmTray, std::function<void()> openManager, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_pmTray(pmTray),
      m_openManager(std::move(openManager))
{
    setObjectName(QStringLiteral("noTrayHandle"));
    setWindowTitle(kCaption);
    setToolTip(QStringLiteral("XarvaneXR：右键单击打开菜单，双击打开管理器"));
    const int textWidth = fontMetrics().horizontalAdvance(kCaption);
    setFixedSize(kIconSize + textWidth + 3 * kMargin, kIconSize + 2 * kMargin);
}

void NoTrayHandle::placeInCorner()
{
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        move(free.right() - width() - kScreenGap, free.bottom() - height() - kScreenGap);
    }
}

void NoTrayHandle::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    painter.setPen(palette().mid().color());
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.drawPixmap(kMargin, kMargin, trayIconImage().pixmap(kIconSize, kIconSize));
    painter.setPen(palette().windowText().color());
    painter.drawText(rect().adjusted(kIconSize + 2 * kMargin, 0, 0, 0), Qt::AlignVCenter | Qt::AlignLeft,
                     kCaption);
}

void NoTrayHandle::contextMenuEvent(QContextMenuEvent* event)
{
    m_pmTray.popup(event->globalPos());
}

void NoTrayHandle::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_openManager();
}

void NoTrayHandle::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_grab = event->position().toPoint();
}

void NoTrayHandle::mouseMoveEvent(QMouseEvent* event)
{
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - m_grab);
}

} // namespace xr
