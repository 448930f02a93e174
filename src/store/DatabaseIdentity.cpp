#include "store/DatabaseIdentity.h"

#include <QDateTime>
#include <QFileInfo>

namespace xr {

DatabaseIdentity databaseIdentity(const QString& databaseFile)
{
    const QFileInfo file(databaseFile);
    const QDateTime created = file.birthTime().toUTC();
    return {file.absoluteFilePath(), created.isValid() ? created.toString(Qt::ISODateWithMs) : QString()};
}

} // namespace xr
