#include "Unprivileged.h"

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace talvo_test {

namespace fs = std::filesystem;

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

RefusedPort::RefusedPort(const TempSettings& settings, const std::string& name) : folder_("talvo-refused") {
    const fs::perms passable = fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec;
    fs::permissions(folder_.Path(), passable | fs::perms::others_write);
    fs::permissions(settings.Root(), passable);
    const std::string device = folder_ / ("tty" + name);
    std::ofstream(device) << "";
    fs::permissions(device, fs::perms::none);
    fs::create_directories(settings.PortFolder());
    fs::create_symlink(device, settings.PortFolder() / name);
    device_ = fs::canonical(device).string();
    struct stat st {};
    ::stat(device_.c_str(), &st);
    const group* g = ::getgrgid(st.st_gid);
    group_ = g != nullptr ? g->gr_name : std::to_string(st.st_gid);
}

}  // namespace talvo_test
