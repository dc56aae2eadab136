#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>

namespace files_test {

// A fresh folder under the system's temporary folder, removed with its content.
class TempFolder {
public:
    TempFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "talvo-files-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs `body` in a child process and gives its exit code. With
// `unprivileged` the child drops root first, since root ignores permissions.
inline int InChild(const std::function<bool()>& body, bool unprivileged = false) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (unprivileged && ::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(3);
        ::_exit(body() ? 0 : 1);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

// A shell word that stands for `s` exactly.
inline std::string ShellQuoted(const std::string& s) {
    std::string q = "'";
    for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return q + "'";
}

// What a shell command printed on its standard output, and its exit code
// (none when a signal ended it).
struct TShellRun {
    std::optional<int> ExitCode;
    std::string Output;
};

inline TShellRun RunShell(const std::string& command) {
    TShellRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    for (int c; (c = std::fgetc(pipe)) != EOF;) run.Output += static_cast<char>(c);
    const int status = ::pclose(pipe);
    if (WIFEXITED(status)) run.ExitCode = WEXITSTATUS(status);
    return run;
}

inline std::string Fixture(const std::string& name) { return ReadBytes(std::string(TALVO_FIXTURES_DIR) + "/" + name); }

}  // namespace files_test
