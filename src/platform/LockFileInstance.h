#pragma once
// The single-instance guard on Linux: an exclusive lock on a file in the user's runtime folder;
// the system drops the lock when the process dies, however it dies.

#include "platform/SingleInstance.h"

#include <string>

namespace xr::platform {

class LockFileInstance final : public SingleInstance {
public:
    // Tries to take the guard named `name` (one per user and desktop session).
    explicit LockFileInstance(const std::string& name);
    ~LockFileInstance() override;
    LockFileInstance(const LockFileInstance&) = delete;
    LockFileInstance& operator=(const LockFileInstance&) = delete;

    bool heldByAnother() const override { return m_heldByAnother; }

private:
    int m_fd = -1;
    bool m_heldByAnother = false;
};

} // namespace xr::platform
