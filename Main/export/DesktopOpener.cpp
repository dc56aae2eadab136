#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "export/ExcelExport.h"

namespace xls {

// The opener runs in a grandchild that is left to the init process, so the
// program neither waits for the spreadsheet program nor leaves a zombie.
// Only async-signal-safe calls run between fork and exec.
void TDesktopOpener::Open(const std::string& path) {
    const pid_t child = ::fork();
    if (child < 0) return;
    if (child == 0) {
        ::setsid();
        if (::fork() == 0) {
            ::execlp("xdg-open", "xdg-open", path.c_str(), static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::_exit(0);
    }
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace xls
