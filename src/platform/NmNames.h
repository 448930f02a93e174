#pragma once
// NetworkManager's names on the system bus: its service, object paths and interfaces.

#include <QString>

namespace xr::platform::nm {

inline const QString Service = QStringLiteral("org.freedesktop.NetworkManager");
inline const QString RootPath = QStringLiteral("/org/freedesktop"); // where its ObjectManager answers
inline const QString ManagerPath = QStringLiteral("/org/freedesktop/NetworkManager");
inline const QString SettingsPath = QStringLiteral("/org/freedesktop/NetworkManager/Settings");

inline const QString ManagerInterface = QStringLiteral("org.freedesktop.NetworkManager");
inline const QString SettingsInterface = QStringLiteral("org.freedesktop.NetworkManager.Settings");
inline const QString ProfileInterface = QStringLiteral("org.freedesktop.NetworkManager.Settings.Connection");
inline const QString ActiveInterface = QStringLiteral("org.freedesktop.NetworkManager.Connection.Active");
inline const QString DeviceInterface = QStringLiteral("org.freedesktop.NetworkManager.Device");
inline const QString Ip4ConfigInterface = QStringLiteral("org.freedesktop.NetworkManager.IP4Config");
inline const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");
inline const QString ObjectManagerInterface = QStringLiteral("org.freedesktop.DBus.ObjectManager");

} // namespace xr::platform::nm
