#pragma once
// A desktop shell for tests: writes down what it was asked to open and answers whether a
// handler exists as told.

#include "platform/DesktopShell.h"

namespace xr::test {

class FakeShell final : public platform::DesktopShell {
public:
    bool hasHandlerFor(const std::string&) override { return handlerExists; }
    void open(const std::string& target) override { opened.push_back(target); }
    bool startFirstInstalled(const std::vector<std::string>&) override { return false; }

    bool handlerExists = true;
    std::vector<std::string> opened;
};

} // namespace xr::test
