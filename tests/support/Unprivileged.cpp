#include "Unprivileged.h"

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

namespace talvo_test {

std::optional<bool> RunUnprivileged(const std::function<bool()>& check, std::string& why) {
    if (::geteuid() != 0) return check();
    constexpr uid_t kNobody = 65534;
    const pid_t pid = ::fork();
    if (pid < 0) {
        why = "fork failed";
        return std::nullopt;
    }
    if (pid == 0) {
        if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) ::_exit(77);
        ::_exit(check() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status) && WEXITSTATUS(status) == 77) {
        why = "running as root and unable to become the user nobody (uid 65534): no permission can be refused";
        return std::nullopt;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace talvo_test
