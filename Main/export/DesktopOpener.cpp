#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>
#include <thread>

#include "export/ExcelExport.h"

extern char** environ;

namespace xls {

// The desktop's opener runs in a session of its own, so closing the program
// does not take the spreadsheet program with it; a detached thread reaps it.
bool TDesktopOpener::Open(const std::string& path) {
    posix_spawnattr_t attributes;
    if (posix_spawnattr_init(&attributes) != 0) return false;
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSID);
    std::string program = "xdg-open";
    std::string argument = path;
    char* argv[] = {program.data(), argument.data(), nullptr};
    pid_t child = 0;
    const int failed = posix_spawnp(&child, "xdg-open", nullptr, &attributes, argv, environ);
    posix_spawnattr_destroy(&attributes);
    if (failed) return false;
    std::thread([child] {
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {
        }
    }).detach();
    return true;
}

}  // namespace xls
