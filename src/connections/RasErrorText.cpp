#include "connections/RasErrorText.h"

namespace xr {

QString RasErrorText(platform::RemoteAccess& remoteAccess, std::uint32_t code)
{
    std::string text;
    if (remoteAccess.getErrorString(code, text) == platform::ras::Success)
        return QString::fromStdString(text);
    return QStringLiteral("得到RAS错误失败:ErrorID=") + QString::number(code, 16).toUpper();
}

} // namespace xr
