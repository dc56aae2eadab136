#include "ChildProcess.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace talvo_test {

int InChild(const std::function<bool()>& body, bool unprivileged) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (unprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

std::string ShellQuoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

TShellRun RunShell(const std::string& command) {
    TShellRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    for (int c; (c = std::fgetc(pipe)) != EOF;) run.Output += static_cast<char>(c);
    const int status = ::pclose(pipe);
    if (WIFEXITED(status)) run.ExitCode = WEXITSTATUS(status);
    return run;
}

}  // namespace talvo_test
