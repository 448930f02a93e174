#pragma once
// The platform services for tests: sounds and desktop handlers are written down, files are
// not opened but listed, the start-with-the-desktop entry lives in memory, the guard is held
// by another copy when told, the session ends when a test emits it, and the dial-up back-end
// is a scripted one.

#include "platform/PlatformServices.h"

#include "FakeRemoteAccess.h"
#include "FakeShell.h"
#include "FakeSound.h"

#include <optional>
#include <string>
#include <vector>

namespace xr::test {

class StandInPlatform final : public platform::PlatformServices {
public:
    class Opener final : public platform::FileOpener {
    public:
        void open(const std::string& path) override { opened.push_back(path); }
        std::vector<std::string> opened;
    };

    class AutoStart final : public platform::AutoStart {
    public:
        bool write(const std::string& programFolder) override
        {
            entry = programFolder;
            return true;
        }
        bool remove() override
        {
            entry.reset();
            return true;
        }
        std::string location() const override { return "stand-in autostart entry"; }
        // The folder the entry names, while there is one.
        std::optional<std::string> entry;
    };

    class Guard final : public platform::SingleInstance {
    public:
        explicit Guard(bool held) : m_held(held) {}
        bool heldByAnother() const override { return m_held; }

    private:
        bool m_held;
    };

    platform::Sound& sound() override { return soundOutput; }
    platform::DesktopShell& shell() override { return desktopShell; }
    platform::FileOpener& fileOpener() override { return opener; }
    platform::AutoStart& autoStart() override { return autoStartEntry; }
    std::unique_ptr<platform::SingleInstance> takeSingleInstance(const std::string&) override
    {
        return std::make_unique<Guard>(anotherCopyRuns);
    }
    std::unique_ptr<platform::SessionEndSignals> watchSessionEnd() override
    {
        return std::make_unique<platform::SessionEndSignals>();
    }
    std::unique_ptr<platform::RemoteAccess> createRemoteAccess(const std::string&) override
    {
        return std::make_unique<FakeRemoteAccess>();
    }

    FakeSound soundOutput;
    FakeShell desktopShell;
    Opener opener;
    AutoStart autoStartEntry;
    bool anotherCopyRuns = false;
};

} // namespace xr::test
