#include "notices/utFloatWin.h"

#include "browser/DurationText.h"
#include "common/AppContext.h"
#include "notices/FloatWinRules.h"
#include "notices/NoticeTexts.h"
#include "settings/SettingsStore.h"

#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

#include <cstdint>

namespace xr {

namespace {
const QString kFWX = QStringLiteral("FWX");
const QString kFWY = QStringLiteral("FWY");
} // namespace

TwinFloatWin::TwinFloatWin(AppContext& context, QMenu* pmTray)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint), m_context(context),
      m_LEDDisplay1(new TLEDDisplay(this))
{
    setObjectName(QStringLiteral("winFloatWin"));
    setWindowTitle(QStringLiteral("XarvaneXR"));
    setAttribute(Qt::WA_DeleteOnClose);
    resize(208, 35);
    move(kFloatWinDesignPosition);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_LEDDisplay1);
    m_LEDDisplay1->setObjectName(QStringLiteral("LEDDisplay1"));
    m_LEDDisplay1->setBorderOuter(fsRaised);
    m_LEDDisplay1->setBorderInner(fsLowered);
    m_LEDDisplay1->setBorderWidth(1);
    m_LEDDisplay1->setCaption(kFloatWinBanner);
    m_LEDDisplay1->setScrolling(true);
    m_LEDDisplay1->setPopupMenu(pmTray);

    connect(m_LEDDisplay1, &TLEDDisplay::OnMouseDown, this,
            [this](Qt::MouseButton, QPoint position) { LEDDisplay1MouseDown(position); });
    connect(m_LEDDisplay1, &TLEDDisplay::OnMouseMove, this, &TwinFloatWin::LEDDisplay1MouseMove);
    connect(m_LEDDisplay1, &TLEDDisplay::OnMouseUp, this, [this] { LEDDisplay1MouseUp(); });
    connect(m_LEDDisplay1, &TLEDDisplay::OnContextPopup, this, &TwinFloatWin::endDragWithoutRelease);
    connect(m_LEDDisplay1, &TLEDDisplay::OnMouseEnter, this, &TwinFloatWin::LEDDisplay1MouseEnter);
    connect(m_LEDDisplay1, &TLEDDisplay::OnDblClick, this, &TwinFloatWin::LEDDisplay1DblClick);
    FormCreate();
}

// The stored position, when the settings key holds one; values are signed (a window partly
// off the left or top edge has a negative corner).
void TwinFloatWin::FormCreate()
{
    const auto key = m_context.registry.openKey(kSettingsKey.toStdString(), false);
    if (key) {
        const auto left = key->readDword(kFWX.toStdString());
        const auto top = key->readDword(kFWY.toStdString());
        if (left && top)
            move(static_cast<std::int32_t>(*left), static_cast<std::int32_t>(*top));
    }
    m_dragging = false;
}

void TwinFloatWin::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TwinFloatWin::FormShow()
{
    if (const auto size = floatWinSize(m_context.settings.FWStyle))
        setFixedSize(*size);
}

void TwinFloatWin::showOnlineTime(double sdt, double now)
{
    showCounter(DurationText(true, sdt, now));
}

void TwinFloatWin::showCounter(const QString& caption)
{
    m_LEDDisplay1->setScrolling(false);
    m_LEDDisplay1->setCaption(caption);
}

void TwinFloatWin::showBanner()
{
    m_LEDDisplay1->setScrolling(true);
    m_LEDDisplay1->setCaption(kFloatWinBanner);
}

void TwinFloatWin::LEDDisplay1MouseDown(QPoint position)
{
    m_downPosition = position;
    m_dragging = true;
}

// A drag is a move with a button held down. A move without one means the release went
// elsewhere (to a menu or another window that took the mouse): that drag is over.
void TwinFloatWin::LEDDisplay1MouseMove(Qt::MouseButtons buttons, QPoint position)
{
    if (!m_dragging)
        return;
    if (buttons == Qt::NoButton)
        endDragWithoutRelease();
    else
        move(pos() + position - m_downPosition);
}

// The drag ends where it is; only a release stores a position.
void TwinFloatWin::endDragWithoutRelease()
{
    m_dragging = false;
}

// The position at the release is stored; the window then comes back onto the screen.
void TwinFloatWin::LEDDisplay1MouseUp()
{
    m_dragging = false;
    writePosition();
    move(bringBackOnScreen(geometry(), screen()->geometry().size()));
}

void TwinFloatWin::writePosition()
{
    writeMainValues(m_context.registry, {{kFWX, x()}, {kFWY, y()}});
}

void TwinFloatWin::LEDDisplay1MouseEnter()
{
    m_LEDDisplay1->setToolTip(withLineBreaks(floatWinHint(m_context.currentConnection)));
}

} // namespace xr
