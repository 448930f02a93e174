#pragma once
// The registry kept in one REGEDIT4 text file. Every change replaces the whole file at once
// (a new file renamed over the old one), so a failed write leaves the old file whole. Lines
// that cannot be understood are skipped and written back as they were. A file that cannot be
// read at all or written, or whose folder cannot take the new file, holds no key that opens:
// reads fall back and writes are refused, and such a file is never rewritten. Each problem of
// the file is told once on standard error, with the file's name and the line.

#include "platform/Registry.h"
#include "platform/RegistryTree.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace xr::platform {

class RegistryFile final : public Registry {
public:
    explicit RegistryFile(QString path);

    const QString& path() const { return m_path; }

    std::unique_ptr<RegistryKey> openKey(const std::string& path, bool create) override;
    bool deleteKey(const std::string& path) override;

    // The file's content: an empty tree when there is no file; nothing when it cannot be
    // read at all.
    std::optional<RegistryTree> read() const;
    // Applies `change` to the file's present content and replaces the file with the result.
    // False, with the file untouched, when the file gives no full access, when `change`
    // declines by answering false, or when the new file could not be stored.
    bool update(const std::function<bool(RegistryTree&)>& change);

private:
    bool fullAccess() const;
    void warnOnce(const QString& problem) const;

    QString m_path;
    mutable QStringList m_warned;
};

// The registry file's place: XARVANE_REGISTRY when set, else "Xarvane.reg" in the program folder.
QString defaultRegistryPath(const QString& programFolder);

} // namespace xr::platform
