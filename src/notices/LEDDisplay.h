#pragma once
// A framed display that shows one line of text as green dots on black, like a dot-matrix LED
// panel, and can scroll it across its width. The face of the floating time display.

#include "notices/BorderControl.h"
#include "notices/LedGeometry.h"

#include <QByteArray>
#include <QTimer>

namespace xr {

enum TLEDScrollType { stNone, stRightToLeft, stLeftToRight };

class TLEDDisplay : public TBorderControl {
    Q_OBJECT
public:
    explicit TLEDDisplay(QWidget* parent = nullptr);

    // The caption is bytes, one character each: text is shown in its GBK form, so a Chinese
    // character takes two cells.
    const QByteArray& Caption() const { return m_caption; }
    void setCaption(const QString& text);
    void setCaptionBytes(const QByteArray& bytes);

    QColor BackColor() const { return m_backColor; }
    void setBackColor(const QColor& color);
    QColor SegOnColor() const { return m_segOnColor; }
    void setSegOnColor(const QColor& color);
    QColor SegOffColor() const { return m_segOffColor; }
    void setSegOffColor(const QColor& color);

    TLEDScrollType ScrollType() const { return m_scrollType; }
    void setScrollType(TLEDScrollType type);
    bool Scrolling() const { return m_scrolling; }
    void setScrolling(bool scrolling);
    quint16 ScrollDelay() const { return m_scrollDelay; }
    void setScrollDelay(quint16 milliseconds);

    // The dot measures for the present client area.
    LedGeometry geometry() const;
    // How far the text has moved, in pixels, and the distance after which it starts again.
    int scrollOffset() const { return m_scrollOffset; }
    int scrollExtent() const;

    void renderTo(QPainter& painter) const override;

    // One scroll step, the scroll timer's tick: the text moves one dot pitch.
    void scrollStep();

private:
    int textStartX(const LedGeometry& geometry, int clientWidth) const;
    QImage dotArea(QSize size, const LedGeometry& geometry) const;
    void updateScrollTimer();

    QByteArray m_caption;
    QColor m_backColor = Qt::black;
    QColor m_segOnColor = QColor(0, 255, 0);
    QColor m_segOffColor = QColor(0, 51, 0);
    TLEDScrollType m_scrollType = stRightToLeft;
    bool m_scrolling = false;
    quint16 m_scrollDelay = 100;
    int m_scrollOffset = 0;
    QTimer m_scrollTimer;
};

} // namespace xr
