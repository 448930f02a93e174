#pragma once
// Opening a file as the desktop does when the user opens it: a program is started, a document
// is opened with the program the desktop associates with it.

#include <string>

namespace xr::platform {

class FileOpener {
public:
    virtual ~FileOpener() = default;

    // Starts `path` (UTF-8, absolute or relative to the current folder) without waiting for it
    // and without a working folder of its own. A start that fails is not reported.
    virtual void open(const std::string& path) = 0;
};

} // namespace xr::platform
