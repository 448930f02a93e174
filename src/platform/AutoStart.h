#pragma once
// Starting the program with the desktop: one entry that names the program file, which has a
// fixed name per platform, in a given folder.

#include <string>

namespace xr::platform {

class AutoStart {
public:
    virtual ~AutoStart() = default;

    // Makes the entry name the program file in `programFolder` (UTF-8, with or without its
    // trailing separator). False when the entry could not be stored.
    virtual bool write(const std::string& programFolder) = 0;
    // Removes the entry when there is one. False when it stays.
    virtual bool remove() = 0;
    // Where the entry is kept (UTF-8), for the message when it cannot be changed.
    virtual std::string location() const = 0;
};

} // namespace xr::platform
