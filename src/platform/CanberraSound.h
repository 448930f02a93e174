#pragma once
// Sound through libcanberra, the desktop's event-sound library: it finds the audio output the
// desktop uses (PulseAudio, PipeWire or ALSA) and tells when a sound has ended, so that a
// caller can wait for the end without running an event loop.

#include "platform/Sound.h"

#include <cstdint>

struct ca_context;

namespace xr::platform {

class CanberraSound final : public Sound {
public:
    CanberraSound();
    ~CanberraSound() override;
    CanberraSound(const CanberraSound&) = delete;
    CanberraSound& operator=(const CanberraSound&) = delete;

    // Whether the library gave us a context to play through (not whether a device exists).
    bool created() const { return m_context != nullptr; }

    bool start(const std::string& file, std::function<void()> finished) override;
    void stop() override;

private:
    ca_context* m_context = nullptr;
    std::uint32_t m_lastId = 0;
};

} // namespace xr::platform
