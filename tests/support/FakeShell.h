#pragma once
// A desktop shell for tests: writes down what it was asked to open and answers whether a
// handler exists as told.

#include "platform/DesktopShell.h"

#include <algorithm>

namespace xr::test {

class FakeShell final : public platform::DesktopShell {
public:
    bool hasHandlerFor(const std::string& target) override
    {
        return std::none_of(unhandled.begin(), unhandled.end(), [&](const std::string& kind) {
            return target.starts_with(kind) || target.ends_with(kind);
        });
    }
    void open(const std::string& target) override { opened.push_back(target); }
    bool startFirstInstalled(const std::vector<std::string>&) override { return calculatorInstalled; }

    // Targets that nothing opens, by their scheme ("mailto:") or their suffix (".chm").
    std::vector<std::string> unhandled;
    bool calculatorInstalled = true;
    std::vector<std::string> opened;
};

} // namespace xr::test
