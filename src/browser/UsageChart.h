#pragma once
// The statistics window's picture: the online time and the bytes of each bar of the statistics
// as two bar charts one above the other over the same bars (bytes received below, sent stacked
// on them), with a title, value axes and the bars' names. One render function draws it for the
// window, for the PNG and SVG files and for tests; the layout it draws by tells which bar is
// where.

#include "browser/UsageStatistics.h"

#include <QColor>
#include <QFontMetricsF>
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;

namespace xr {

inline const QColor kTimeBarColour(0x2C, 0x7B, 0xC0);
inline const QColor kReceivedBarColour(0x2E, 0x8B, 0x57);
inline const QColor kSentBarColour(0xE6, 0x7E, 0x22);
inline const QColor kHoverColour(0xFF, 0xF1, 0xB8);

// A value axis: values are shown in `unit`s ("小时", "MB"), from 0 to `top` in steps of `step`.
struct ChartScale {
    double unit = 1;
    QString unitName;
    double step = 1;
    double top = 1;
};

struct ChartLayout {
    QRectF title;
    QRectF timePlot; // the plot areas, on whole pixels
    QRectF trafficPlot;
    ChartScale timeScale;
    ChartScale trafficScale;
    QList<QRectF> timeBars; // one per bar, on whole pixels; empty for nothing
    QList<QRectF> receivedBars;
    QList<QRectF> sentBars;
    QList<QRectF> columns; // each bar's column across both plots
    int labelEvery = 1;    // every how many bars a name is written under the plots
};

ChartLayout chartLayout(const QRectF& box, const UsageStatistics& statistics, const QFontMetricsF& metrics);

// Draws the chart into `box` with the painter's font; the bar `highlighted` (if any) stands on a
// band of kHoverColour.
void renderUsageChart(QPainter& painter, const QRectF& box, const UsageStatistics& statistics,
                      int highlighted = -1);

// The bar whose column holds `point`, or -1.
int barAt(const ChartLayout& layout, const QPointF& point);

// "2004年3月5日\n上网时间：2小时0分0秒\n接收：2.0 MB\n发送：1.0 MB"
QString barToolTip(const ChartBar& bar);

// The chart of `size` pixels as a PNG or an SVG file, written whole or not at all. Throws
// std::runtime_error with the reason.
void saveChartPng(const QString& file, const UsageStatistics& statistics, const QSize& size);
void saveChartSvg(const QString& file, const UsageStatistics& statistics, const QSize& size);

} // namespace xr
