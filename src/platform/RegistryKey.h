#pragma once
// One opened registry key: typed values (DWORD and SZ) read, written and deleted. Every
// write is stored at once; nothing is kept open in the store between operations.

#include <cstdint>
#include <optional>
#include <string>

namespace xr::platform {

class RegistryKey {
public:
    virtual ~RegistryKey() = default;

    // The value's number when it is a DWORD; nothing when it is missing or of another type.
    virtual std::optional<std::uint32_t> readDword(const std::string& name) const = 0;
    // The value's text (UTF-8) when it is an SZ; nothing when it is missing or of another type.
    virtual std::optional<std::string> readString(const std::string& name) const = 0;

    // Each answers false when the change could not be stored.
    virtual bool writeDword(const std::string& name, std::uint32_t value) = 0;
    virtual bool writeString(const std::string& name, const std::string& value) = 0;
    // Deleting a value that does not exist succeeds and changes nothing.
    virtual bool deleteValue(const std::string& name) = 0;
};

} // namespace xr::platform
