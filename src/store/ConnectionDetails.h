#pragma once
// Two queries of the dial-up service: the address of the active connection, and whether the
// phonebook holds an entry of a given name.

#include "common/Prompter.h"
#include "platform/RemoteAccess.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace xr {

inline const QString kPhonebookReadFailed =
    QStringLiteral("获得系统拨号连接信息失败！请更换权限更高的用户(操作系统的用户)登录使用XR！");

// The IP address of the one active connection as dotted text; empty when no connection or
// more than one is up, or when the address cannot be read.
QString GetDynamicIP(platform::RemoteAccess& remoteAccess);

// Every entry name of the phonebook, in the service's order; none when it cannot be read.
std::optional<QStringList> PhonebookEntries(platform::RemoteAccess& remoteAccess);

// Whether the phonebook has an entry of exactly this name (letter case matters), among all its
// entries. When the phonebook cannot be listed it shows a warning and answers false.
bool EntryExists(platform::RemoteAccess& remoteAccess, Prompter& prompter, const QString& entryName);

} // namespace xr
