#include "common/ViewWidthDelegate.h"

#include <QAbstractItemView>

#include <algorithm>

namespace xr {

QSize ViewWidthDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (const auto* view = qobject_cast<const QAbstractItemView*>(option.widget))
        size.setWidth(std::min(size.width(), view->viewport()->width()));
    return size;
}

} // namespace xr
