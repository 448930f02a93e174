#include "platform/Sound.h"

#include <condition_variable>
#include <memory>
#include <mutex>

namespace xr::platform {

namespace {
// Shared with the end notice, which may come from the player's thread after we stopped waiting.
struct SoundEnd {
    std::mutex mutex;
    std::condition_variable signal;
    bool ended = false;
};
} // namespace

bool playToEnd(Sound& sound, const std::string& file, std::chrono::milliseconds bound)
{
    auto end = std::make_shared<SoundEnd>();
    const bool started = sound.start(file, [end] {
        const std::lock_guard lock(end->mutex);
        end->ended = true;
        end->signal.notify_all();
    });
    if (!started)
        return false;
    std::unique_lock lock(end->mutex);
    if (end->signal.wait_for(lock, bound, [&end] { return end->ended; }))
        return true;
    lock.unlock();
    sound.stop();
    return false;
}

} // namespace xr::platform
