#pragma once
// The REGEDIT4 text form of a registry file, as the registry editor exports it (here in
// UTF-8): a "REGEDIT4" line, then "[full key path]" sections holding "name"=value lines, where
// a value is "text", dword:hhhhhhhh, or hex data kept as written. ";" starts a comment line.

#include "platform/RegistryTree.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace xr::platform {

// Nothing when the bytes are not a well-formed file of that form.
std::optional<RegistryTree> parseRegistryText(const QByteArray& bytes);
QByteArray formatRegistryText(const RegistryTree& tree);

// Whether a string can stand in the file as a key name, value name or string value: one
// line, no NUL.
bool isStorableText(const QString& text);
// Whether a full key path is a root ("HKEY_...") followed by non-empty, storable names.
bool isValidKeyPath(const QString& path);

} // namespace xr::platform
