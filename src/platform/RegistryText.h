#pragma once
// The REGEDIT4 text form of a registry file, as the registry editor exports it (here in
// UTF-8 or GBK): a "REGEDIT4" line, then "[full key path]" sections holding "name"=value lines, where
// a value is "text", dword:hhhhhhhh, or hex data kept as written. ";" starts a comment line.

#include "platform/RegistryTree.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

namespace xr::platform {

// What reading a registry text found: its keys and values, or nothing when the text cannot be
// read at all (neither UTF-8 nor GBK, or no header); and one note for each line that was
// skipped, or for the line that made the text unreadable.
struct RegistryTextRead {
    std::optional<RegistryTree> tree;
    QStringList notes;
};

// Reads UTF-8 or, when the bytes are not valid UTF-8, GBK (the code page of a Chinese system's
// exports). A line that is not understood is skipped and kept in the tree as written; so are
// the values under a section header that is not understood.
RegistryTextRead parseRegistryText(const QByteArray& bytes);
// Always UTF-8.
QByteArray formatRegistryText(const RegistryTree& tree);

// Whether a string can stand in the file as a key name, value name or string value: one
// line, no NUL.
bool isStorableText(const QString& text);
// Whether a full key path is a root ("HKEY_...") followed by non-empty, storable names.
bool isValidKeyPath(const QString& path);

} // namespace xr::platform
