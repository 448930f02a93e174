#pragma once
// The machine-wide settings registry: keys under HKEY_LOCAL_MACHINE, named by paths such as
// "SOFTWARE\Pellory\Xarvane" (backslash-separated, letter case not significant).

#include "platform/RegistryKey.h"

#include <memory>
#include <string>

namespace xr::platform {

class Registry {
public:
    virtual ~Registry() = default;

    // Opens the key with full (read and write) access. With `create`, the missing keys of
    // the path are created first. Nothing when the key is absent or cannot be opened with
    // full access.
    virtual std::unique_ptr<RegistryKey> openKey(const std::string& path, bool create) = 0;
    // Deletes the key with all its sub-keys. Deleting an absent key succeeds and changes
    // nothing; false when the change could not be stored.
    virtual bool deleteKey(const std::string& path) = 0;
};

} // namespace xr::platform
