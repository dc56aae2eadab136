#include "SimulatorProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

#include "CommonUtils/KnownFolders.h"

extern char** environ;

namespace talvo_test {
namespace {

// Starts `program`; its standard output goes to `stdoutFd` when that is given.
pid_t Spawn(const std::string& program, const std::vector<std::string>& options, int stdoutFd) {
    std::vector<std::string> args = options;
    args.insert(args.begin(), program);
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    pid_t pid = -1;
    const int spawned = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) throw std::runtime_error("cannot start " + program);
    return pid;
}

std::string ReadLine(int fd, std::chrono::milliseconds limit) {
    std::string line;
    const auto end = std::chrono::steady_clock::now() + limit;
    char c = 0;
    while (std::chrono::steady_clock::now() < end) {
        pollfd p{fd, POLLIN, 0};
        if (::poll(&p, 1, 100) <= 0) continue;
        if (::read(fd, &c, 1) != 1) break;
        if (c == '\n') return line;
        line += c;
    }
    throw std::runtime_error("the simulator printed no path");
}

int WaitExit(pid_t pid, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    int status = 0;
    while (std::chrono::steady_clock::now() < end) {
        if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
}

}  // namespace

SimulatorProcess::SimulatorProcess(const std::string& program, const std::string& name,
                                   const std::filesystem::path& journal, const std::vector<std::string>& options) {
    std::vector<std::string> args = {"--port-dir", cmn::PortFolder(), "--name", name, "--journal", journal.string()};
    args.insert(args.end(), options.begin(), options.end());
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    try {
        pid_ = Spawn(program, args, out[1]);
    } catch (...) {
        ::close(out[0]);
        ::close(out[1]);
        throw;
    }
    ::close(out[1]);
    try {
        slavePath_ = ReadLine(out[0], std::chrono::milliseconds(5000));
    } catch (...) {
        ::close(out[0]);
        Kill();
        throw;
    }
    ::close(out[0]);
}

SimulatorProcess::~SimulatorProcess() { Stop(); }

int SimulatorProcess::Stop() {
    if (pid_ < 0) return -1;
    ::kill(pid_, SIGTERM);
    const int status = WaitExit(pid_, std::chrono::milliseconds(5000));
    pid_ = -1;
    return status;
}

void SimulatorProcess::Kill() {
    if (pid_ < 0) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

int RunProgram(const std::string& program, const std::vector<std::string>& options, std::chrono::milliseconds limit) {
    return WaitExit(Spawn(program, options, -1), limit);
}

}  // namespace talvo_test
