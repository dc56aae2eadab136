#include "CalsimHarness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "CommonUtils/KnownFolders.h"
#include "CommonUtils/SerialLine.h"

namespace calsim_test {
namespace {

namespace fs = std::filesystem;

const char* const kSimulator = TALVO_BIN_DIR "/talvo-calsim";

std::vector<char*> Argv(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

pid_t Spawn(std::vector<std::string> args, int stdoutFd) {
    args.insert(args.begin(), kSimulator);
    std::vector<char*> argv = Argv(args);
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (stdoutFd >= 0) ::dup2(stdoutFd, STDOUT_FILENO);
        ::execv(kSimulator, argv.data());
        ::_exit(127);
    }
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

TempSettings::TempSettings() {
    std::string pattern = (fs::temp_directory_path() / "talvo-link-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp");
    root_ = pattern;
    ::setenv("XDG_CONFIG_HOME", root_.c_str(), 1);
    fs::create_directories(PortFolder());
}

TempSettings::~TempSettings() {
    std::error_code ec;
    fs::remove_all(root_, ec);
}

fs::path TempSettings::PortFolder() const { return cmn::PortFolder(); }

Simulator::Simulator(const std::string& name, const std::vector<std::string>& options) {
    const fs::path folder = cmn::PortFolder();
    journal_ = folder.parent_path().parent_path() / ("calsim-" + name + ".jsonl");
    link_ = folder / name;
    std::vector<std::string> args = {"--port-dir", folder.string(), "--name", name, "--journal", journal_.string()};
    args.insert(args.end(), options.begin(), options.end());
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    pid_ = Spawn(args, out[1]);
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

Simulator::~Simulator() { Stop(); }

int Simulator::Stop() {
    if (pid_ < 0) return -1;
    ::kill(pid_, SIGTERM);
    const int status = WaitExit(pid_, std::chrono::milliseconds(5000));
    pid_ = -1;
    return status;
}

void Simulator::Kill() {
    if (pid_ < 0) return;
    ::kill(pid_, SIGKILL);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
}

std::vector<nlohmann::json> ReadJournal(const std::filesystem::path& path) {
    std::vector<nlohmann::json> entries;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line) && !in.eof()) {
        if (!line.empty()) entries.push_back(nlohmann::json::parse(line));
    }
    return entries;
}

std::vector<nlohmann::json> Simulator::Journal() const { return ReadJournal(journal_); }

std::vector<nlohmann::json> Simulator::Frames() const {
    std::vector<nlohmann::json> frames;
    for (auto& e : Journal()) {
        if (e.value("event", "") == "frame") frames.push_back(std::move(e));
    }
    return frames;
}

std::vector<nlohmann::json> Simulator::WaitFrames(std::size_t count, std::chrono::milliseconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        auto frames = Frames();
        if (frames.size() >= count || std::chrono::steady_clock::now() >= end) return frames;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

int RunSimulatorOnce(const std::vector<std::string>& options) {
    const pid_t pid = Spawn(options, -1);
    return WaitExit(pid, std::chrono::milliseconds(2000));
}

ForeignHolder::ForeignHolder(const std::string& devicePath) {
    int ready[2], release[2];
    if (::pipe2(ready, O_CLOEXEC) != 0 || ::pipe2(release, O_CLOEXEC) != 0) throw std::runtime_error("pipe");
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(ready[0]);
        ::close(release[1]);
        cmn::SerialLine line;
        const char ok = line.Open(devicePath) == cmn::LineOpenStatus::Opened ? '1' : '0';
        (void)!::write(ready[1], &ok, 1);
        char c;
        (void)!::read(release[0], &c, 1);
        line.Close();
        ::_exit(0);
    }
    ::close(ready[1]);
    ::close(release[0]);
    release_ = release[1];
    char ok = '0';
    holding_ = ::read(ready[0], &ok, 1) == 1 && ok == '1';
    ::close(ready[0]);
}

ForeignHolder::~ForeignHolder() {
    ::close(release_);
    int status = 0;
    ::waitpid(pid_, &status, 0);
}

}  // namespace calsim_test
