#pragma once
// Playing a sound file (.wav) through the machine's audio output.

#include <chrono>
#include <functional>
#include <string>

namespace xr::platform {

class Sound {
public:
    virtual ~Sound() = default;

    // Starts playing `file` (UTF-8 path) and returns at once; `finished` is called once the
    // sound has ended or stopped, possibly on another thread. False, with `finished` never
    // called, when nothing plays (no audio output, an unreadable file).
    virtual bool start(const std::string& file, std::function<void()> finished) = 0;
    // Stops the sound started last, if it still plays.
    virtual void stop() = 0;
};

// Plays `file` to its end and only then returns, but waits no longer than `bound`: a longer
// sound is stopped there. True when the sound played to its end; false when nothing played or
// the sound was cut.
bool playToEnd(Sound& sound, const std::string& file, std::chrono::milliseconds bound);

} // namespace xr::platform
