#pragma once
// The grid's row indicator: the narrow column beside the rows, with a black triangle on the
// current row so the user sees which record the commands act on.

#include <QHeaderView>

namespace xr {

class RowIndicator : public QHeaderView {
    Q_OBJECT
public:
    explicit RowIndicator(QWidget* parent = nullptr);

    // Follows the current row of `view`'s selection model (call after the model is set).
    void follow(QAbstractItemView& view);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;

private:
    int m_currentRow = -1;
};

} // namespace xr
