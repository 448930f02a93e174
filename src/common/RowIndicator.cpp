#include "common/RowIndicator.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QPainter>

#include <algorithm>
#include <QPolygonF>

namespace xr {

RowIndicator::RowIndicator(QWidget* parent) : QHeaderView(Qt::Vertical, parent)
{
    setObjectName(QStringLiteral("dbgMainIndicator"));
}

void RowIndicator::follow(QAbstractItemView& view)
{
    connect(view.selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) {
                m_currentRow = current.row();
                viewport()->update();
            });
}

void RowIndicator::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    QHeaderView::paintSection(painter, rect, logicalIndex);
    if (logicalIndex != m_currentRow)
        return;
    // A triangle pointing at the row, as tall as half the row and centred in the section.
    const QRectF area = QRectF(rect).adjusted(2, 0, -2, 0);
    const qreal half = std::min(area.width(), area.height() / 2) / 2;
    const QPointF centre = area.center();
    const QPolygonF triangle{QPointF(centre.x() - half / 2, centre.y() - half),
                             QPointF(centre.x() - half / 2, centre.y() + half),
                             QPointF(centre.x() + half, centre.y())};
    painter->save();
    // The header's own drawing leaves the painter clipped to nothing.
    painter->setClipRect(rect);
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush(palette().color(QPalette::WindowText));
    painter->drawPolygon(triangle);
    painter->restore();
}

} // namespace xr
