#include "notices/BorderControl.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace xr {

namespace {

// Draws one one-pixel rectangle on the framed sides of `rect` and shrinks `rect` past it.
// Left and top come first, so the top-right and bottom-left corners take the second colour.
void drawEdgeRect(QPainter& painter, QRect& rect, const EdgeRect& edge, TBorderSides sides)
{
    if (rect.isEmpty())
        return;
    if (sides & sdLeft)
        painter.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), edge.first);
    if (sides & sdTop)
        painter.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), edge.first);
    if (sides & sdRight)
        painter.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), edge.second);
    if (sides & sdBottom)
        painter.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), edge.second);
    rect.adjust(sides & sdLeft ? 1 : 0, sides & sdTop ? 1 : 0, sides & sdRight ? -1 : 0,
                sides & sdBottom ? -1 : 0);
}

void drawEdges(QPainter& painter, QRect& rect, const std::vector<EdgeRect>& edges, TBorderSides sides)
{
    for (const EdgeRect& edge : edges)
        drawEdgeRect(painter, rect, edge, sides);
}

} // namespace

TBorderControl::TBorderControl(QWidget* parent)
    : QWidget(parent), m_borderColor(palette().color(QPalette::Button)),
      m_borderHighlight(palette().color(QPalette::Light)), m_borderShadow(palette().color(QPalette::Dark)),
      m_flatColor(palette().color(QPalette::Dark))
{
    setMouseTracking(true);
}

void TBorderControl::setBorderOuter(TFrameStyle style) { assignAndRepaint(m_borderOuter, style); }
void TBorderControl::setBorderInner(TFrameStyle style) { assignAndRepaint(m_borderInner, style); }
void TBorderControl::setBorderWidth(int width) { assignAndRepaint(m_borderWidth, width); }
void TBorderControl::setBorderColor(const QColor& color) { assignAndRepaint(m_borderColor, color); }
void TBorderControl::setBorderSides(TBorderSides sides) { assignAndRepaint(m_borderSides, sides); }
void TBorderControl::setBevelWidth(int width) { assignAndRepaint(m_bevelWidth, width); }
void TBorderControl::setBorderHighlight(const QColor& color) { assignAndRepaint(m_borderHighlight, color); }
void TBorderControl::setBorderShadow(const QColor& color) { assignAndRepaint(m_borderShadow, color); }
void TBorderControl::setFlatColor(const QColor& color) { assignAndRepaint(m_flatColor, color); }
void TBorderControl::setFlatColorAdjustment(int adjustment)
{
    assignAndRepaint(m_flatColorAdjustment, adjustment);
}

void TBorderControl::setPopupMenu(QMenu* menu) { m_popupMenu = menu; }

QRect TBorderControl::clientArea() const
{
    const int inset = frameWidth(m_borderOuter, m_bevelWidth) + std::max(m_borderWidth, 0) +
                      frameWidth(m_borderInner, m_bevelWidth);
    const auto on = [this, inset](TBorderSide side) { return m_borderSides & side ? inset : 0; };
    return rect().adjusted(on(sdLeft), on(sdTop), -on(sdRight), -on(sdBottom));
}

FrameStyleColors TBorderControl::frameStyleColors() const
{
    return {frameColorsOf(palette()), m_borderHighlight, m_borderShadow,
            adjustedColor(m_flatColor, m_flatColorAdjustment)};
}

void TBorderControl::renderTo(QPainter& painter) const
{
    const FrameStyleColors colors = frameStyleColors();
    QRect rest = rect();
    drawEdges(painter, rest, frameEdges(m_borderOuter, m_bevelWidth, colors), m_borderSides);
    drawEdges(painter, rest, repeatedEdge(m_borderWidth, {m_borderColor, m_borderColor}), m_borderSides);
    drawEdges(painter, rest, frameEdges(m_borderInner, m_bevelWidth, colors), m_borderSides);
}

void TBorderControl::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    renderTo(painter);
}

void TBorderControl::enterEvent(QEnterEvent*) { emit OnMouseEnter(); }

void TBorderControl::leaveEvent(QEvent*) { emit OnMouseLeave(); }

void TBorderControl::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        m_leftPressed = true;
    emit OnMouseDown(event->button(), event->position().toPoint());
}

void TBorderControl::mouseMoveEvent(QMouseEvent* event)
{
    emit OnMouseMove(event->buttons(), event->position().toPoint());
}

// A click is a left press and release over the control, as on any button.
void TBorderControl::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint position = event->position().toPoint();
    const bool click = event->button() == Qt::LeftButton && m_leftPressed && rect().contains(position);
    if (event->button() == Qt::LeftButton)
        m_leftPressed = false;
    emit OnMouseUp(event->button(), position);
    if (click)
        emit OnClick();
}

// The second press of a double-click is a button-down too, but it makes no click.
void TBorderControl::mouseDoubleClickEvent(QMouseEvent* event)
{
    emit OnMouseDown(event->button(), event->position().toPoint());
    if (event->button() == Qt::LeftButton)
        emit OnDblClick();
}

void TBorderControl::contextMenuEvent(QContextMenuEvent* event)
{
    if (m_popupMenu) {
        emit OnContextPopup();
        m_popupMenu->popup(event->globalPos());
    } else {
        QWidget::contextMenuEvent(event);
    }
}

} // namespace xr
