#pragma once
// The desktop's handlers: opening a document or a link with the program the user has chosen
// for it, and starting a program by name.

#include <string>
#include <vector>

namespace xr::platform {

class DesktopShell {
public:
    virtual ~DesktopShell() = default;

    // Whether the desktop has a program for `target`: files like it (an absolute UTF-8 path) or
    // links of its scheme ("mailto:..."). Answers at once.
    virtual bool hasHandlerFor(const std::string& target) = 0;
    // Hands `target` (an absolute path, or a link such as "mailto:...") to the desktop's
    // handler and returns at once; the outcome is not reported.
    virtual void open(const std::string& target) = 0;
    // Starts the first of `programs` that is installed, without waiting for it. False when
    // none is installed.
    virtual bool startFirstInstalled(const std::vector<std::string>& programs) = 0;
};

} // namespace xr::platform
