#pragma once
// Two queries of the dial-up service: the address of the active connection, and whether the
// phonebook holds an entry of a given name.

#include "common/Prompter.h"
#include "platform/RemoteAccess.h"

#include <QString>

namespace xr {

inline const QString kPhonebookReadFailed =
    QStringLiteral("获得系统拨号连接信息失败！请更换权限更高的用户(操作系统的用户)登录使用XR！");

// The IP address of the one active connection as dotted text; empty when no connection or
// more than one is up, or when the address cannot be read.
QString GetDynamicIP(platform::RemoteAccess& remoteAccess);

// Whether the phonebook has an entry of exactly this name (letter case matters). When the
// phonebook cannot be listed (more than 10 entries among other causes) it shows a warning and
// answers false.
bool EntryExists(platform::RemoteAccess& remoteAccess, Prompter& prompter, const QString& entryName);

} // namespace xr
