#pragma once
// A control that draws configurable 3D frames, and a ring of one colour between them, around
// its client area; the base of the dot-matrix display.

#include "notices/FrameStyle.h"

#include <QColor>
#include <QMenu>
#include <QPointer>
#include <QWidget>

namespace xr {

class TBorderControl : public QWidget {
    Q_OBJECT
public:
    explicit TBorderControl(QWidget* parent = nullptr);

    TFrameStyle BorderOuter() const { return m_borderOuter; }
    void setBorderOuter(TFrameStyle style);
    TFrameStyle BorderInner() const { return m_borderInner; }
    void setBorderInner(TFrameStyle style);
    int BorderWidth() const { return m_borderWidth; }
    void setBorderWidth(int width);
    QColor BorderColor() const { return m_borderColor; }
    void setBorderColor(const QColor& color);
    TBorderSides BorderSides() const { return m_borderSides; }
    void setBorderSides(TBorderSides sides);
    int BevelWidth() const { return m_bevelWidth; }
    void setBevelWidth(int width);
    QColor BorderHighlight() const { return m_borderHighlight; }
    void setBorderHighlight(const QColor& color);
    QColor BorderShadow() const { return m_borderShadow; }
    void setBorderShadow(const QColor& color);
    QColor FlatColor() const { return m_flatColor; }
    void setFlatColor(const QColor& color);
    int FlatColorAdjustment() const { return m_flatColorAdjustment; }
    void setFlatColorAdjustment(int adjustment);

    // The menu that a right-click opens (none by default); the control does not own it.
    QMenu* PopupMenu() const { return m_popupMenu; }
    void setPopupMenu(QMenu* menu);

    // The bounds without the frames and the ring, on the framed sides.
    QRect clientArea() const;

    // Paints the whole control, its top-left at the painter's origin; the paint event and
    // anyone wanting a picture of the control (tests, previews) go through here.
    virtual void renderTo(QPainter& painter) const;

signals:
    void OnMouseEnter();
    void OnMouseLeave();
    void OnClick();
    void OnDblClick();
    // Positions are inside the control.
    void OnMouseDown(Qt::MouseButton button, QPoint position);
    void OnMouseMove(Qt::MouseButtons buttons, QPoint position);
    void OnMouseUp(Qt::MouseButton button, QPoint position);
    // The popup menu opens; it takes the mouse, so the release of the press that opened it
    // never reaches the control.
    void OnContextPopup();

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

    // Stores `value` in `member` and repaints, unless they are equal already.
    template <typename T>
    void assignAndRepaint(T& member, const T& value)
    {
        if (member == value)
            return;
        member = value;
        update();
    }

private:
    FrameStyleColors frameStyleColors() const;

    TFrameStyle m_borderOuter = fsGroove;
    TFrameStyle m_borderInner = fsNone;
    int m_borderWidth = 0;
    QColor m_borderColor;
    TBorderSides m_borderSides = kAllBorderSides;
    int m_bevelWidth = 1;
    QColor m_borderHighlight;
    QColor m_borderShadow;
    QColor m_flatColor;
    int m_flatColorAdjustment = 30;
    QPointer<QMenu> m_popupMenu;
    bool m_leftPressed = false;
};

} // namespace xr
