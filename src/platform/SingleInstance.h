#pragma once
// Guard against a second copy of the program in the same user's desktop session. On Linux it
// is an exclusive lock on a file in the user's runtime folder; the system drops the lock when
// the process dies, however it dies.

#include <string>

namespace xr::platform {

class SingleInstance {
public:
    // Tries to take the guard named `name` (one per user and desktop session).
    explicit SingleInstance(const std::string& name);
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when another copy holds the guard. When the lock file cannot be made at all the
    // guard is not held, and no copy is refused for it.
    bool heldByAnother() const { return m_heldByAnother; }

private:
    int m_fd = -1;
    bool m_heldByAnother = false;
};

} // namespace xr::platform
