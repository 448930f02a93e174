#pragma once
// A program context for a test: a folder of its own as the program folder, with its settings
// file, a set clock, scripted message boxes and a scripted dial-up service. Fixtures derive from
// it (or hold one) rather than declaring these again.

#include "common/AppContext.h"
#include "platform/RegistryFile.h"

#include "FakeRemoteAccess.h"
#include "ManualClock.h"
#include "ScriptedPrompter.h"

#include <QDir>
#include <QStringList>
#include <QTemporaryDir>

namespace xr::test {

struct TestContext {
    TestContext()
        : registry(QDir(dir.path()).filePath(QStringLiteral("Xarvane.reg"))),
          context(dir.path() + QLatin1Char('/'), clock, prompter, ras, registry)
    {
    }

    // The texts of the message boxes shown so far, in order.
    QStringList promptTexts() const
    {
        QStringList texts;
        for (const Prompt& prompt : prompter.prompts)
            texts << prompt.text;
        return texts;
    }

    QTemporaryDir dir;
    ManualClock clock;
    ScriptedPrompter prompter;
    FakeRemoteAccess ras;
    platform::RegistryFile registry;
    AppContext context;
};

} // namespace xr::test
