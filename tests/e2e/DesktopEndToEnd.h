#pragma once
// A test of the real program on a virtual display of its own, in a program folder of its own
// whose simulated phonebook has the entry "Office".

#include "ProgramFolder.h"
#include "VirtualDisplay.h"

#include <gtest/gtest.h>

#include <QStandardPaths>

namespace xr::test {

class DesktopEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        for (const char* tool : {"Xvfb", "xdotool", "import"})
            if (QStandardPaths::findExecutable(QString::fromLatin1(tool)).isEmpty())
                GTEST_SKIP() << tool << " is not installed (scripts/install-deps installs it)";
        ASSERT_FALSE(display.name().isEmpty()) << "Xvfb did not start";
        ASSERT_EQ(folder.sim({QStringLiteral("add-entry"), QStringLiteral("Office")}), 0);
        folder.setEnvironment(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        folder.setEnvironment(QStringLiteral("DISPLAY"), display.name());
    }

    VirtualDisplay display;
    ProgramFolder folder;
};

} // namespace xr::test
