#include "platform/LockFileInstance.h"

#include "platform/SessionTag.h"

#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <unistd.h>

namespace xr::platform {

namespace {

// The folder of per-user runtime files; /tmp when the session has none.
std::string runtimeFolder()
{
    if (const char* dir = std::getenv("XDG_RUNTIME_DIR"); dir && *dir)
        return dir;
    return "/tmp";
}

std::string sanitized(std::string text)
{
    for (char& c : text)
        if (c == '/' || c == ':' || c == '=')
            c = '_';
    return text;
}

} // namespace

LockFileInstance::LockFileInstance(const std::string& name)
{
    const std::string session =
        sessionTag(std::getenv("XDG_SESSION_ID"), std::getenv("WAYLAND_DISPLAY"), std::getenv("DISPLAY"));
    const std::string path =
        runtimeFolder() + "/" + name + "-uid" + std::to_string(getuid()) + "-" + sanitized(session) + ".lock";
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_heldByAnother = true;
        ::close(fd);
        return;
    }
    m_fd = fd;
}

LockFileInstance::~LockFileInstance()
{
    if (m_fd >= 0)
        ::close(m_fd); // closing drops the lock
}

} // namespace xr::platform
