#include "notices/LEDDisplay.h"

#include "notices/LedFont.h"
#include "platform/Gbk.h"

#include <QImage>
#include <QPainter>

namespace xr {

namespace {

// Dot areas this low or lower show nothing but the frames.
constexpr int kMinDotAreaHeight = 8;

struct DotColors {
    QColor on;
    QColor off;
};

// One dot: a square of dot + 1 pixels, outlined with one black pixel, filled inside. Squares
// one pitch apart with no spacing share their outline.
void drawDot(QPainter& painter, QPoint at, int dot, const QColor& fill)
{
    painter.fillRect(QRect(at, QSize(dot + 1, dot + 1)), Qt::black);
    painter.fillRect(QRect(at + QPoint(1, 1), QSize(dot - 1, dot - 1)), fill);
}

// The cell of `code` with its top-left at `at`: five glyph columns and a sixth, always unlit,
// that separates it from the next character.
void drawCell(QPainter& painter, QPoint at, unsigned char code, const LedGeometry& g, const DotColors& colors)
{
    const LedGlyph& glyph = ledGlyph(code);
    for (int row = 0; row < 7; ++row)
        for (int column = 0; column < 6; ++column) {
            const bool lit = column < 5 && ledDotLit(glyph, column, row);
            drawDot(painter, at + QPoint(column * g.pitch, row * g.pitch), g.dot, lit ? colors.on : colors.off);
        }
}

} // namespace

TLEDDisplay::TLEDDisplay(QWidget* parent) : TBorderControl(parent)
{
    setBorderOuter(fsStatus);
    resize(100, 30);
    m_scrollTimer.setObjectName(QStringLiteral("scrollTimer"));
    m_scrollTimer.setParent(this);
    m_scrollTimer.setInterval(m_scrollDelay);
    connect(&m_scrollTimer, &QTimer::timeout, this, &TLEDDisplay::scrollStep);
}

void TLEDDisplay::setCaption(const QString& text)
{
    setCaptionBytes(QByteArray::fromStdString(platform::toGbk(text.toStdString())));
}

void TLEDDisplay::setCaptionBytes(const QByteArray& bytes) { assignAndRepaint(m_caption, bytes); }

void TLEDDisplay::setBackColor(const QColor& color) { assignAndRepaint(m_backColor, color); }
void TLEDDisplay::setSegOnColor(const QColor& color) { assignAndRepaint(m_segOnColor, color); }
void TLEDDisplay::setSegOffColor(const QColor& color) { assignAndRepaint(m_segOffColor, color); }

void TLEDDisplay::setScrollType(TLEDScrollType type)
{
    if (m_scrollType == type)
        return;
    m_scrollType = type;
    updateScrollTimer();
    update();
}

void TLEDDisplay::setScrolling(bool scrolling)
{
    if (m_scrolling == scrolling)
        return;
    m_scrolling = scrolling;
    if (!scrolling)
        m_scrollOffset = 0;
    updateScrollTimer();
    update();
}

void TLEDDisplay::setScrollDelay(quint16 milliseconds)
{
    if (m_scrollDelay == milliseconds)
        return;
    m_scrollDelay = milliseconds;
    m_scrollTimer.setInterval(milliseconds);
    updateScrollTimer();
}

// The timer runs while the text moves: scrolling is on, in a direction, with a delay (like a
// window timer, a delay of 0 never ticks).
void TLEDDisplay::updateScrollTimer()
{
    const bool run = m_scrolling && m_scrollType != stNone && m_scrollDelay > 0;
    if (!run)
        m_scrollTimer.stop();
    else if (!m_scrollTimer.isActive())
        m_scrollTimer.start();
}

LedGeometry TLEDDisplay::geometry() const { return ledGeometry(clientArea().height()); }

int TLEDDisplay::scrollExtent() const
{
    return geometry().cellWidth * static_cast<int>(m_caption.size()) + width();
}

void TLEDDisplay::scrollStep()
{
    m_scrollOffset += geometry().pitch;
    repaint();
    if (m_scrollOffset >= scrollExtent())
        m_scrollOffset = 0;
}

int TLEDDisplay::textStartX(const LedGeometry& g, int clientWidth) const
{
    if (!m_scrolling || m_scrollType == stNone)
        return 0;
    if (m_scrollType == stRightToLeft)
        return clientWidth / g.pitch * g.pitch - m_scrollOffset;
    return m_scrollOffset - g.cellWidth * static_cast<int>(m_caption.size());
}

// The dot area off screen: a row of blank cells, then the caption over it.
QImage TLEDDisplay::dotArea(QSize size, const LedGeometry& g) const
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(m_backColor);
    QPainter painter(&image);
    const DotColors colors{m_segOnColor, m_segOffColor};
    const int y0 = (size.height() - g.cellHeight) / 2;
    for (int x = 0; x < size.width(); x += g.cellWidth)
        drawCell(painter, QPoint(x, y0), ' ', g, colors);
    int x = textStartX(g, size.width());
    for (const char byte : m_caption) {
        drawCell(painter, QPoint(x, y0), static_cast<unsigned char>(byte), g, colors);
        x += g.cellWidth;
    }
    return image;
}

void TLEDDisplay::renderTo(QPainter& painter) const
{
    TBorderControl::renderTo(painter);
    const QRect client = clientArea();
    if (client.isEmpty() || client.height() < kMinDotAreaHeight)
        return;
    painter.drawImage(client.topLeft(), dotArea(client.size(), geometry()));
}

} // namespace xr
