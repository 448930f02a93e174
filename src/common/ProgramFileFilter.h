#pragma once
// What a file dialog shows while it offers programs to start: folders, executable files of any
// name and desktop entries. A name filter cannot say "executable", and most programs on Linux
// have no suffix.

#include <QSortFilterProxyModel>

namespace xr {

class ProgramFileFilter : public QSortFilterProxyModel {
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    // Off, every file of the dialog's own name filter is shown.
    void setActive(bool active);

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

private:
    bool m_active = true;
};

} // namespace xr
