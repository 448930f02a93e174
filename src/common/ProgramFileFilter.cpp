#include "common/ProgramFileFilter.h"

#include <QFileSystemModel>

namespace xr {

void ProgramFileFilter::setActive(bool active)
{
    m_active = active;
    invalidateFilter();
}

bool ProgramFileFilter::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    const auto* files = qobject_cast<const QFileSystemModel*>(sourceModel());
    if (!m_active || files == nullptr)
        return true;
    const QFileInfo info = files->fileInfo(files->index(sourceRow, 0, sourceParent));
    return info.isDir() || info.suffix() == QLatin1String("desktop") ||
           (info.isFile() && info.isExecutable());
}

} // namespace xr
