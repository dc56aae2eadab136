#pragma once

#include <functional>
#include <optional>
#include <string>

namespace talvo_test {

// Runs `body` in a child process and gives its exit code. With
// `unprivileged` the child drops root first, since root ignores permissions.
int InChild(const std::function<bool()>& body, bool unprivileged = false);

// A shell word that stands for `s` exactly.
std::string ShellQuoted(const std::string& s);

// What a shell command printed on its standard output, and its exit code
// (none when a signal ended it).
struct TShellRun {
    std::optional<int> ExitCode;
    std::string Output;
};

TShellRun RunShell(const std::string& command);

}  // namespace talvo_test
