#include "browser/UsageChartView.h"

#include "browser/UsageChart.h"

#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

namespace xr {

namespace {
constexpr int kMinimumWidth = 360;
constexpr int kMinimumHeight = 260;
} // namespace

UsageChartView::UsageChartView(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("chartView"));
    setMouseTracking(true);
    setMinimumSize(kMinimumWidth, kMinimumHeight);
}

void UsageChartView::setStatistics(UsageStatistics statistics)
{
    m_statistics = std::move(statistics);
    m_hovered = -1;
    setToolTip(QString());
    update();
}

void UsageChartView::paintEvent(QPaintEvent* /*event*/)
{
    QPainter painter(this);
    renderUsageChart(painter, rect(), m_statistics, m_hovered);
}

void UsageChartView::mouseMoveEvent(QMouseEvent* event)
{
    const ChartLayout layout = chartLayout(rect(), m_statistics, QFontMetricsF(font(), this));
    hover(barAt(layout, event->position()));
    // A tool tip already showing follows the mouse from bar to bar.
    if (QToolTip::isVisible())
        QToolTip::showText(event->globalPosition().toPoint(), toolTip(), this);
    QWidget::mouseMoveEvent(event);
}

void UsageChartView::leaveEvent(QEvent* event)
{
    hover(-1);
    QWidget::leaveEvent(event);
}

void UsageChartView::hover(int bar)
{
    if (bar == m_hovered)
        return;
    m_hovered = bar;
    setToolTip(bar < 0 ? QString() : barToolTip(m_statistics.bars.at(bar)));
    update();
}

} // namespace xr
