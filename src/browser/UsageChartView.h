#pragma once
// The statistics window's chart: the picture of the statistics it is given. The column under
// the mouse is highlighted and its bar's values show in the tool tip.

#include "browser/UsageStatistics.h"

#include <QWidget>

namespace xr {

class UsageChartView : public QWidget {
    Q_OBJECT
public:
    explicit UsageChartView(QWidget* parent = nullptr);

    void setStatistics(UsageStatistics statistics);
    const UsageStatistics& statistics() const { return m_statistics; }
    // The bar under the mouse, or -1.
    int hoveredBar() const { return m_hovered; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    void hover(int bar);

    UsageStatistics m_statistics;
    int m_hovered = -1;
};

} // namespace xr
