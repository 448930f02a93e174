#include "platform/CanberraSound.h"

#include <alsa/asoundlib.h>
#include <canberra.h>

#include <cstdarg>

namespace xr::platform {

namespace {

// ALSA reports a missing sound card on standard error; a machine without audio is no error
// for us, so its messages are dropped.
void dropAlsaMessage(const char*, int, const char*, int, const char*, ...) {}

void soundEnded(ca_context*, std::uint32_t, int, void* userData)
{
    auto* finished = static_cast<std::function<void()>*>(userData);
    (*finished)();
    delete finished;
}

} // namespace

CanberraSound::CanberraSound()
{
    snd_lib_error_set_handler(&dropAlsaMessage);
    if (ca_context_create(&m_context) != CA_SUCCESS)
        m_context = nullptr;
}

CanberraSound::~CanberraSound()
{
    if (m_context)
        ca_context_destroy(m_context);
}

bool CanberraSound::start(const std::string& file, std::function<void()> finished)
{
    if (!m_context)
        return false;
    ca_proplist* properties = nullptr;
    if (ca_proplist_create(&properties) != CA_SUCCESS)
        return false;
    ca_proplist_sets(properties, CA_PROP_MEDIA_FILENAME, file.c_str());
    ca_proplist_sets(properties, CA_PROP_CANBERRA_CACHE_CONTROL, "never");
    ++m_lastId;
    auto* callback = new std::function<void()>(std::move(finished));
    const int result = ca_context_play_full(m_context, m_lastId, properties, &soundEnded, callback);
    ca_proplist_destroy(properties);
    if (result != CA_SUCCESS) {
        delete callback; // not called when the sound did not start
        return false;
    }
    return true;
}

void CanberraSound::stop()
{
    if (m_context)
        ca_context_cancel(m_context, m_lastId);
}

} // namespace xr::platform
