#pragma once
// Runs a check in a child process that holds no super-user rights (it becomes "nobody" when
// the tests run as root), so that file permissions apply to it as to an ordinary user.

#include <functional>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace xr::test {

// True when `check` answered true in the child.
inline bool runUnprivileged(const std::function<bool()>& check)
{
    constexpr uid_t kNobody = 65534;
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(2);
        _exit(check() ? 0 : 1);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace xr::test
