#pragma once
// Items no wider than their view's visible area: a longer text is elided by the view instead of
// making the list scroll sideways (its tool tip can show it whole).

#include <QStyledItemDelegate>

namespace xr {

class ViewWidthDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

} // namespace xr
