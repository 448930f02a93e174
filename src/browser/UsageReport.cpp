#include "browser/UsageReport.h"

#include "browser/ByteCountText.h"

#include "browser/RecordList.h"
#include "browser/ReportFont.h"
#include "browser/ReportLayout.h"
#include "browser/WorkProgress.h"
#include "store/DayCount.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPageLayout>
#include <QPageRanges>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>

#include <vector>

namespace xr {

namespace {

using namespace report;

constexpr double kFontPoints = 9;
constexpr double kTitlePoints = 15;
constexpr double kLineWidth = 2; // tenths of a millimetre
constexpr int kTextTop = 11;
constexpr double kTenthsPerInch = 254;
// The baseline of a text below its top, in ems: the ascent of 宋体, so that a text stands where it
// stands in that font also when another CJK font with a taller line replaces it.
constexpr double kAscent = 0.86;
constexpr int kTableRight = 1886;
// Name, start, end, duration, received, sent.
constexpr int kColumnLines[] = {400, 790, 1180, 1526, 1706};

enum class ReportFont { Normal, Bold, Title };

QFont reportFont(double points, bool bold)
{
    QFont font(reportFontFamily());
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// Draws in tenths of a millimetre from the top left corner of the printable area.
class BandPainter {
public:
    // `pageCorner` is where the page's top left corner lies in the device's pixels.
    BandPainter(QPaintDevice& device, QPointF pageCorner)
        : m_painter(&device),
          m_scale(device.logicalDpiX() / kTenthsPerInch), m_fonts{reportFont(kFontPoints, false),
                                                                  reportFont(kFontPoints, true),
                                                                  reportFont(kTitlePoints, true)},
          m_metrics(m_fonts[0], &device)
    {
        m_painter.translate(pageCorner + QPointF(kMargin * m_scale, kMargin * m_scale));
        m_painter.setPen(QPen(Qt::black, kLineWidth * m_scale, Qt::SolidLine, Qt::FlatCap));
        setFont(ReportFont::Normal);
    }

    bool isActive() const { return m_painter.isActive(); }

    void setFont(ReportFont which)
    {
        const QFont& font = m_fonts[static_cast<int>(which)];
        m_painter.setFont(font);
        m_metrics = QFontMetricsF(font, m_painter.device());
        m_ascent = kAscent * font.pointSizeF() / 72 * m_painter.device()->logicalDpiY();
    }

    void line(int x1, int y1, int x2, int y2) { m_painter.drawLine(point(x1, y1), point(x2, y2)); }
    void rectangle(int left, int top, int right, int bottom)
    {
        m_painter.drawRect(QRectF(point(left, top), point(right, bottom)));
    }
    // One line of `text` from its top at `top`, aligned left, right or centred between `left` and
    // `right`.
    void text(int left, int top, int right, const QString& text, Qt::Alignment alignment)
    {
        double x = point(left, 0).x();
        if (alignment & Qt::AlignRight)
            x = point(right, 0).x() - m_metrics.horizontalAdvance(text);
        else if (alignment & Qt::AlignHCenter)
            x = (point(left, 0).x() + point(right, 0).x() - m_metrics.horizontalAdvance(text)) / 2;
        m_painter.drawText(QPointF(x, point(0, top).y() + m_ascent), text);
    }
    // `text` from `left`, elided at its end so that it stops before `right`, as the grid does.
    void elidedText(int left, int top, int right, const QString& text)
    {
        const double room = point(right, 0).x() - point(left, 0).x();
        this->text(left, top, right, m_metrics.elidedText(text, Qt::ElideRight, room), Qt::AlignLeft);
    }
    // Text that wraps within its box, its lines centred.
    void wrappedText(int left, int top, int right, int bottom, const QString& text)
    {
        m_painter.drawText(QRectF(point(left, top), point(right, bottom)),
                           Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextDontClip, text);
    }

private:
    QPointF point(int x, int y) const { return {x * m_scale, y * m_scale}; }

    QPainter m_painter;
    double m_scale; // device pixels per tenth of a millimetre
    QFont m_fonts[3];
    QFontMetricsF m_metrics; // of the present font
    double m_ascent = 0;     // of the present font, in device pixels
};

void drawTitleBand(BandPainter& painter, const ReportTexts& texts)
{
    painter.setFont(ReportFont::Title);
    painter.wrappedText(21, 21, 21 + 1844, 21 + 56, texts.title);
    painter.setFont(ReportFont::Normal);
    painter.text(8, 106, 513, texts.user, Qt::AlignLeft);
    painter.text(513, 106, 1008, texts.conn, Qt::AlignLeft);
    painter.text(1008, 106, 1397, texts.pUser, Qt::AlignLeft);
    painter.text(1397, 106, 1397 + 476, texts.date, Qt::AlignRight);
}

void drawColumnHeaderBand(BandPainter& painter, int top)
{
    painter.rectangle(-3, top, 1889, top + 53);
    for (const int x : kColumnLines)
        painter.line(x, top, x, top + 53);
    painter.setFont(ReportFont::Bold);
    const QString titles[] = {QStringLiteral("连接名称"), QStringLiteral("连接日期时间"),
                              QStringLiteral("断开日期时间"), QStringLiteral("上网时间"),
                              QStringLiteral("接收"), QStringLiteral("发送")};
    int left = 0;
    for (std::size_t column = 0; column < std::size(titles); ++column) {
        const int right = column < std::size(kColumnLines) ? kColumnLines[column] : kTableRight;
        painter.text(left, top + kTextTop, right, titles[column], Qt::AlignHCenter);
        left = right;
    }
    painter.setFont(ReportFont::Normal);
}

// The table's sides and column lines beside the records of a page, from 0.8 mm above the first
// (joining the column header) to the rule under the last: one line each, not one a record.
void drawColumnLines(BandPainter& painter, int firstTop, int lastTop)
{
    painter.line(0, firstTop - 8, 0, lastTop + 48);
    for (const int x : kColumnLines)
        painter.line(x, firstTop - 8, x, lastTop + 48);
    painter.line(kTableRight, firstTop - 8, kTableRight, lastTop + 48);
}

void drawDetailBand(BandPainter& painter, int top, const UsageRecord& record)
{
    painter.line(0, top + 48, kTableRight, top + 48);
    painter.elidedText(21, top + kTextTop, kColumnLines[0] - 5, record.ConnName);
    painter.text(kColumnLines[0], top + kTextTop, kColumnLines[1], dayCountText(record.Sdt),
                 Qt::AlignHCenter);
    painter.text(kColumnLines[1], top + kTextTop, kColumnLines[2], dayCountText(record.Edt),
                 Qt::AlignHCenter);
    painter.text(kColumnLines[2], top + kTextTop, kColumnLines[3], record.Time, Qt::AlignHCenter);
    painter.text(kColumnLines[3], top + kTextTop, kColumnLines[4] - 15, byteCountText(record.RxBytes), Qt::AlignRight);
    painter.text(kColumnLines[4], top + kTextTop, kTableRight - 15, byteCountText(record.TxBytes), Qt::AlignRight);
}

// The list's closing line: the note, the bytes of every listed record and the time total.
void drawSummaryBand(BandPainter& painter, int top, const ReportTexts& texts)
{
    painter.line(0, top - 5, 0, top + 51);
    painter.line(kTableRight, top - 5, kTableRight, top + 51);
    painter.line(0, top + 50, kTableRight, top + 50);
    painter.text(21, top + kTextTop, 1000, texts.memo, Qt::AlignLeft);
    painter.text(700, top + kTextTop, 1300, texts.traffic, Qt::AlignHCenter);
    painter.text(1000, top + kTextTop, 1844, texts.total, Qt::AlignRight);
}

// The page's number among all, so that loose pages can be put back in order.
void drawPageFooterBand(BandPainter& painter, int index, int pageCount)
{
    const int top = kBodyHeight - kPageFooterBand;
    painter.text(0, top + kTextTop, kTableRight,
                 QStringLiteral("第 %1 页 / 共 %2 页").arg(index + 1).arg(pageCount), Qt::AlignHCenter);
}

// Page `index` of `layout` with its footer.
void drawPage(BandPainter& painter, const ReportLayout& layout, int index, const ReportTexts& texts,
              const RecordList& rows)
{
    const ReportPage page = layout.page(index);
    int top = 0;
    if (page.title) {
        drawTitleBand(painter, texts);
        top += kTitleBand;
    }
    drawColumnHeaderBand(painter, top);
    top += kColumnHeaderBand;
    if (page.rows > 0)
        drawColumnLines(painter, top, top + (page.rows - 1) * kDetailBand);
    for (int row = page.firstRow; row < page.firstRow + page.rows; ++row, top += kDetailBand)
        drawDetailBand(painter, top, rows.record(row));
    if (page.summary)
        drawSummaryBand(painter, top, texts);
    drawPageFooterBand(painter, index, layout.pageCount());
}

// The indexes of the pages in `ranges` (numbered from 1), or of every page when it is empty.
std::vector<int> pagesToDraw(int pageCount, const QPageRanges& ranges)
{
    std::vector<int> pages;
    for (int index = 0; index < pageCount; ++index) {
        if (ranges.isEmpty() || ranges.contains(index + 1))
            pages.push_back(index);
    }
    return pages;
}

} // namespace

bool renderUsageReport(QPagedPaintDevice& device, const ReportTexts& texts, const RecordList& rows,
                       WorkProgress& progress)
{
    device.setPageLayout(QPageLayout(
        QPageSize(QPageSize::A4), QPageLayout::Portrait,
        QMarginsF(kMargin / 10.0, kMargin / 10.0, kMargin / 10.0, kMargin / 10.0), QPageLayout::Millimeter));
    const ReportLayout layout(rows.count());
    const std::vector<int> pages = pagesToDraw(layout.pageCount(), device.pageRanges());
    progress.setTotal(static_cast<qint64>(pages.size()));
    // The device starts drawing at its margins rounded to its own units; the bands are placed
    // from the page's edge instead, exactly.
    const QRect printable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    BandPainter painter(device, -QPointF(printable.topLeft()));
    if (!painter.isActive())
        return false;
    for (std::size_t drawn = 0; drawn < pages.size() && !progress.cancelled(); ++drawn) {
        if (drawn > 0)
            device.newPage();
        drawPage(painter, layout, pages[drawn], texts, rows);
        progress.setDone(static_cast<qint64>(drawn + 1));
    }
    // A printer drops the job rather than print the pages drawn so far.
    if (auto* printer = dynamic_cast<QPrinter*>(&device); printer && progress.cancelled())
        printer->abort();
    return true;
}

int usageReportPageCount(const RecordList& rows)
{
    return ReportLayout(rows.count()).pageCount();
}

QImage usageReportPage(const ReportTexts& texts, const RecordList& rows, int index, double dpi)
{
    constexpr double kMetresPerInch = 0.0254;
    QImage image(qRound(kPageWidth * dpi / kTenthsPerInch), qRound(kPageHeight * dpi / kTenthsPerInch),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / kMetresPerInch));
    image.setDotsPerMeterY(qRound(dpi / kMetresPerInch));
    image.fill(Qt::white);
    BandPainter painter(image, QPointF(0, 0));
    drawPage(painter, ReportLayout(rows.count()), index, texts, rows);
    return image;
}

} // namespace xr
