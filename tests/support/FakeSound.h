#pragma once
// A sound output for tests: writes down what it was asked to play and ends each sound at once,
// after a set playing time, or never (a sound longer than any bound).

#include "platform/Sound.h"

#include <QThread>

#include <string>
#include <vector>

namespace xr::test {

class FakeSound final : public platform::Sound {
public:
    enum class Ending { AtOnce, AfterPlayingTime, Never };

    bool start(const std::string& file, std::function<void()> finished) override
    {
        played.push_back(file);
        if (!playable)
            return false;
        if (ending == Ending::AfterPlayingTime)
            QThread::msleep(playingTimeMs);
        if (ending != Ending::Never)
            finished();
        return true;
    }
    void stop() override { ++stops; }

    std::vector<std::string> played;
    int stops = 0;
    bool playable = true;
    Ending ending = Ending::AtOnce;
    unsigned long playingTimeMs = 0;
};

} // namespace xr::test
