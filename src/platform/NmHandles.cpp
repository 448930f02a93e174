#include "platform/NmHandles.h"

namespace xr::platform {

ConnHandle NmHandles::handleFor(const std::string& key)
{
    const auto [it, added] = m_byKey.try_emplace(key, m_next);
    if (added) {
        m_keyOf.emplace(m_next, key);
        ++m_next;
    }
    return it->second;
}

void NmHandles::bind(ConnHandle handle, const std::string& key)
{
    m_keyOf[handle] = key;
    // An active connection seen by a poll before the dial learnt its name keeps its first handle.
    m_byKey.try_emplace(key, handle);
}

std::string NmHandles::keyOf(ConnHandle handle) const
{
    const auto it = m_keyOf.find(handle);
    return it == m_keyOf.end() ? std::string() : it->second;
}

void NmHandles::keepOnly(const std::set<std::string>& liveKeys)
{
    std::erase_if(m_byKey, [&](const auto& entry) { return !liveKeys.contains(entry.first); });
    std::erase_if(m_keyOf, [&](const auto& entry) { return !liveKeys.contains(entry.second); });
}

} // namespace xr::platform
