#pragma once
// Runs work in a child process that holds no super-user rights (it becomes "nobody" when the
// tests run as root), so that file permissions and setuid programs apply to it as to an
// ordinary user.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <fcntl.h>
#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace xr::test {

// What `work` answered in the child, which has `groups` as its supplementary groups; none when
// the child could not give up its rights or did not end normally.
inline std::optional<std::string> runUnprivilegedFor(const std::function<std::string()>& work,
                                                     const std::vector<gid_t>& groups = {})
{
    constexpr uid_t kNobody = 65534;
    int channel[2];
    if (pipe2(channel, O_CLOEXEC) != 0) // not inherited by what the work starts
        return std::nullopt;
    const pid_t child = fork();
    if (child == 0) {
        close(channel[0]);
        if (geteuid() == 0 &&
            (setgroups(groups.size(), groups.data()) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0))
            _exit(2);
        const std::string answer = work();
        const bool written = write(channel[1], answer.data(), answer.size()) == ssize_t(answer.size());
        _exit(written ? 0 : 1);
    }
    close(channel[1]);
    std::string answer;
    char buffer[512];
    for (ssize_t got = 0; child > 0 && (got = read(channel[0], buffer, sizeof buffer)) > 0;)
        answer.append(buffer, static_cast<std::size_t>(got));
    close(channel[0]);
    int status = 0;
    if (child <= 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return std::nullopt;
    return answer;
}

// True when `check` answered true in the child.
inline bool runUnprivileged(const std::function<bool()>& check)
{
    return runUnprivilegedFor([&] { return std::string(check() ? "yes" : "no"); }) == "yes";
}

} // namespace xr::test
