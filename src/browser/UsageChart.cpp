#include "browser/UsageChart.h"

#include "browser/ByteCountText.h"
#include "browser/DurationText.h"

#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QSvgGenerator>

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>

namespace xr {

namespace {

constexpr double kMargin = 8;
constexpr double kBarShare = 0.7; // of its column
constexpr double kWidestBar = 56;
constexpr double kSecondsPerDay = 86400.0;
// SVG readers take 96 pixels to the inch (CSS's reference pixel): the file shows at the size it
// had on the screen, its texts in the same sizes.
constexpr int kSvgResolution = 96;
const QColor kAxisColour(0x60, 0x60, 0x60);
const QColor kGridColour(0xE0, 0xE0, 0xE0);
const QColor kTextColour(0x20, 0x20, 0x20);

// 1, 2 or 5 times a power of ten, the smallest at least `value`.
double niceStep(double value)
{
    const double power = std::pow(10.0, std::floor(std::log10(value)));
    const double fraction = value / power;
    if (fraction <= 1)
        return power;
    if (fraction <= 2)
        return 2 * power;
    if (fraction <= 5)
        return 5 * power;
    return 10 * power;
}

// About four steps up to the largest value, in `unit`s.
ChartScale scaleFor(double largest, double unit, const QString& unitName)
{
    const double value = largest > 0 ? largest / unit : 1.0;
    const double step = niceStep(value / 4);
    return {unit, unitName, step, std::ceil(value / step - 1e-9) * step};
}

ChartScale timeScaleFor(double seconds)
{
    if (seconds < 3600)
        return scaleFor(seconds, 60, QStringLiteral("分钟"));
    return scaleFor(seconds, 3600, QStringLiteral("小时"));
}

ChartScale byteScaleFor(double bytes)
{
    const std::array<QString, 4> units{QStringLiteral("B"), QStringLiteral("KB"), QStringLiteral("MB"),
                                       QStringLiteral("GB")};
    std::size_t unit = 0;
    double size = 1;
    while (unit + 1 < units.size() && bytes >= size * 1024) {
        size *= 1024;
        ++unit;
    }
    return scaleFor(bytes, size, units.at(unit));
}

QString tickText(const ChartScale& scale, double value)
{
    const int decimals = scale.step < 1 ? static_cast<int>(std::ceil(-std::log10(scale.step) - 1e-9)) : 0;
    return QString::number(value, 'f', decimals);
}

double widestTick(const ChartScale& scale, const QFontMetricsF& metrics)
{
    return metrics.horizontalAdvance(tickText(scale, scale.top));
}

// The pixels of `value` in a plot `height` high on `scale`.
double barHeight(double value, const ChartScale& scale, double height)
{
    return std::round(value / (scale.unit * scale.top) * height);
}

struct Panels {
    QRectF time;
    QRectF traffic;
};

// The two plots: each below a caption line, above a line of names, right of the axis texts.
Panels plotAreas(const QRectF& box, double titleHeight, double axisWidth, const QFontMetricsF& metrics)
{
    const double line = std::ceil(metrics.height());
    const double left = std::round(box.left() + kMargin + axisWidth + 6);
    const double right = std::round(box.right() - kMargin);
    const double top = box.top() + titleHeight;
    const double panelHeight = (box.bottom() - kMargin - top) / 2;
    const auto plot = [&](double panelTop) {
        const double plotTop = std::round(panelTop + line + line / 2 + 4);
        const double plotBottom = std::round(panelTop + panelHeight - line - 6);
        return QRectF(left, plotTop, std::max(0.0, right - left), std::max(0.0, plotBottom - plotTop));
    };
    return {plot(top), plot(top + panelHeight)};
}

QRectF barRect(const QRectF& plot, int index, int count, double height)
{
    const double column = plot.width() / count;
    const double width = std::clamp(std::floor(column * kBarShare), 1.0, kWidestBar);
    const double left = std::round(plot.left() + index * column + (column - width) / 2);
    return {left, plot.bottom() - height, width, height};
}

int labelEvery(const UsageStatistics& statistics, double column, const QFontMetricsF& metrics)
{
    double widest = 0;
    for (const ChartBar& bar : statistics.bars)
        widest = std::max(widest, metrics.horizontalAdvance(bar.label) + 4);
    return std::max(1, static_cast<int>(std::ceil(widest / std::max(column, 1.0))));
}

// The line above a plot that names what it shows.
QRectF captionLine(const QRectF& box, const QRectF& plot, const QFontMetricsF& metrics)
{
    const double line = std::ceil(metrics.height());
    return {box.left() + kMargin, plot.top() - line - line / 2 - 4, box.width() - 2 * kMargin, line};
}

void drawTitle(QPainter& painter, const QRectF& place, const QString& title)
{
    painter.save();
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(kTextColour);
    painter.drawText(place, Qt::AlignCenter, title);
    painter.restore();
}

void drawAxis(QPainter& painter, const QRectF& box, const QRectF& plot, const ChartScale& scale,
              const QString& caption)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.setPen(kTextColour);
    painter.drawText(captionLine(box, plot, metrics), Qt::AlignLeft | Qt::AlignVCenter,
                     caption + QStringLiteral("（") + scale.unitName + QStringLiteral("）"));
    for (double value = 0; value <= scale.top + scale.step / 2; value += scale.step) {
        const double y = plot.bottom() - barHeight(value * scale.unit, scale, plot.height());
        painter.setPen(value > 0 ? kGridColour : kAxisColour);
        painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        painter.setPen(kTextColour);
        painter.drawText(
            QRectF(box.left(), y - metrics.height() / 2, plot.left() - 6 - box.left(), metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, tickText(scale, value));
    }
    painter.setPen(kAxisColour);
    painter.drawLine(plot.topLeft(), plot.bottomLeft());
}

// The bars' names under a plot, every layout.labelEvery-th when they would not fit side by side.
void drawNames(QPainter& painter, const ChartLayout& layout, const QRectF& plot,
               const UsageStatistics& statistics)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    painter.setPen(kTextColour);
    for (int i = 0; i < statistics.bars.size(); i += layout.labelEvery) {
        const QString& label = statistics.bars.at(i).label;
        const double width = metrics.horizontalAdvance(label) + 4;
        const QRectF place(layout.columns.at(i).center().x() - width / 2, plot.bottom() + 3, width,
                           metrics.height());
        painter.drawText(place, Qt::AlignHCenter | Qt::AlignTop, label);
    }
}

// "■ 接收 ■ 发送" at the right of the bytes plot's caption line.
void drawLegend(QPainter& painter, const QRectF& box, const QRectF& plot)
{
    const QFontMetricsF metrics(painter.font(), painter.device());
    const QRectF line = captionLine(box, plot, metrics);
    const double square = std::round(metrics.height() * 0.6);
    double right = line.right();
    for (const auto& [text, colour] : {std::pair{QStringLiteral("发送"), kSentBarColour},
                                       std::pair{QStringLiteral("接收"), kReceivedBarColour}}) {
        const double textWidth = metrics.horizontalAdvance(text) + 2;
        painter.setPen(kTextColour);
        painter.drawText(QRectF(right - textWidth, line.top(), textWidth, line.height()), Qt::AlignVCenter,
                         text);
        painter.fillRect(
            QRectF(right - textWidth - square - 4, line.top() + (line.height() - square) / 2, square, square),
            colour);
        right -= textWidth + square + 16;
    }
}

} // namespace

ChartLayout chartLayout(const QRectF& box, const UsageStatistics& statistics, const QFontMetricsF& metrics)
{
    ChartLayout layout;
    double longest = 0;
    double heaviest = 0;
    for (const ChartBar& bar : statistics.bars) {
        longest = std::max(longest, bar.amount.seconds);
        heaviest = std::max(heaviest, bar.amount.received + bar.amount.sent);
    }
    layout.timeScale = timeScaleFor(longest);
    layout.trafficScale = byteScaleFor(heaviest);
    const double titleHeight = std::ceil(metrics.height() * 1.8);
    layout.title = QRectF(box.left(), box.top(), box.width(), titleHeight);
    const double axisWidth =
        std::max(widestTick(layout.timeScale, metrics), widestTick(layout.trafficScale, metrics));
    const Panels panels = plotAreas(box, titleHeight, axisWidth, metrics);
    layout.timePlot = panels.time;
    layout.trafficPlot = panels.traffic;
    const int count = static_cast<int>(statistics.bars.size());
    for (int i = 0; i < count; ++i) {
        const UsageAmount& amount = statistics.bars.at(i).amount;
        const double received = barHeight(amount.received, layout.trafficScale, layout.trafficPlot.height());
        const double both =
            barHeight(amount.received + amount.sent, layout.trafficScale, layout.trafficPlot.height());
        layout.timeBars.append(
            barRect(layout.timePlot, i, count,
                    barHeight(amount.seconds, layout.timeScale, layout.timePlot.height())));
        layout.receivedBars.append(barRect(layout.trafficPlot, i, count, received));
        const QRectF sent = barRect(layout.trafficPlot, i, count, both - received);
        layout.sentBars.append(sent.translated(0, -received));
        const double column = layout.timePlot.width() / count;
        layout.columns.append(QRectF(layout.timePlot.left() + i * column, layout.timePlot.top(), column,
                                     layout.trafficPlot.bottom() - layout.timePlot.top()));
    }
    if (count > 0)
        layout.labelEvery = labelEvery(statistics, layout.timePlot.width() / count, metrics);
    return layout;
}

void renderUsageChart(QPainter& painter, const QRectF& box, const UsageStatistics& statistics,
                      int highlighted)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setClipRect(box);
    painter.fillRect(box, Qt::white);
    const ChartLayout layout = chartLayout(box, statistics, QFontMetricsF(painter.font(), painter.device()));
    drawTitle(painter, layout.title, statistics.title);
    if (statistics.bars.isEmpty()) {
        painter.setPen(kTextColour);
        painter.drawText(box, Qt::AlignCenter, QStringLiteral("没有上网记录"));
        painter.restore();
        return;
    }
    if (highlighted >= 0 && highlighted < layout.columns.size())
        painter.fillRect(layout.columns.at(highlighted), kHoverColour);
    drawAxis(painter, box, layout.timePlot, layout.timeScale, QStringLiteral("上网时间"));
    drawAxis(painter, box, layout.trafficPlot, layout.trafficScale, QStringLiteral("流量"));
    drawLegend(painter, box, layout.trafficPlot);
    for (int i = 0; i < statistics.bars.size(); ++i) {
        painter.fillRect(layout.timeBars.at(i), kTimeBarColour);
        painter.fillRect(layout.receivedBars.at(i), kReceivedBarColour);
        painter.fillRect(layout.sentBars.at(i), kSentBarColour);
    }
    drawNames(painter, layout, layout.timePlot, statistics);
    drawNames(painter, layout, layout.trafficPlot, statistics);
    painter.restore();
}

int barAt(const ChartLayout& layout, const QPointF& point)
{
    for (int i = 0; i < layout.columns.size(); ++i) {
        if (layout.columns.at(i).contains(point))
            return i;
    }
    return -1;
}

QString barToolTip(const ChartBar& bar)
{
    const UsageAmount& amount = bar.amount;
    return bar.name + QStringLiteral("\n上网时间：") +
           DurationText(false, 0, amount.seconds / kSecondsPerDay) + QStringLiteral("\n接收：") +
           byteCountText(std::llround(amount.received)) + QStringLiteral("\n发送：") +
           byteCountText(std::llround(amount.sent));
}

namespace {

void commit(QSaveFile& output)
{
    if (!output.commit())
        throw std::runtime_error(output.errorString().toStdString());
}

QSaveFile& opened(QSaveFile& output)
{
    if (!output.open(QIODevice::WriteOnly))
        throw std::runtime_error(output.errorString().toStdString());
    return output;
}

} // namespace

void saveChartPng(const QString& file, const UsageStatistics& statistics, const QSize& size)
{
    QImage image(size, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        renderUsageChart(painter, QRectF(QPointF(0, 0), size), statistics);
    }
    QSaveFile output(file);
    if (!image.save(&opened(output), "PNG"))
        throw std::runtime_error(output.errorString().toStdString());
    commit(output);
}

void saveChartSvg(const QString& file, const UsageStatistics& statistics, const QSize& size)
{
    QSaveFile output(file);
    QSvgGenerator svg;
    svg.setOutputDevice(&opened(output));
    svg.setResolution(kSvgResolution);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setTitle(QStringLiteral("上网统计"));
    svg.setDescription(statistics.title);
    {
        QPainter painter(&svg);
        renderUsageChart(painter, QRectF(QPointF(0, 0), size), statistics);
    }
    commit(output);
}

} // namespace xr
