#include "ConvsimHarness.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

#include "CalsimHarness.h"
#include "CommonUtils/KnownFolders.h"

extern char** environ;

namespace convsim_test {
namespace {

const char* const kProgram = TALVO_BIN_DIR "/talvo-convsim";

// The first line the simulator prints: the path of its terminal.
std::string FirstLine(int fd) {
    std::string line;
    char c = 0;
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 5000) > 0 && ::read(fd, &c, 1) == 1 && c != '\n') line += c;
    if (line.empty()) throw std::runtime_error("talvo-convsim did not start");
    return line;
}

}  // namespace

ConverterSimulator::ConverterSimulator(const std::vector<std::string>& options, const std::string& name) : name_(name) {
    const std::filesystem::path folder = cmn::PortFolder();
    journal_ = folder.parent_path() / ("convsim-" + name + ".jsonl");
    std::vector<std::string> args = {kProgram, "--port-dir", folder.string(),  "--name",
                                     name,     "--journal",  journal_.string()};
    args.insert(args.end(), options.begin(), options.end());
    std::vector<char*> argv;
    for (auto& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    int out[2];
    if (::pipe(out) != 0) throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, out[0]);
    const int spawned = ::posix_spawn(&pid_, kProgram, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    if (spawned != 0) {
        ::close(out[0]);
        throw std::runtime_error("posix_spawn talvo-convsim");
    }
    try {
        slavePath_ = FirstLine(out[0]);
    } catch (...) {
        ::close(out[0]);
        Stop();
        throw;
    }
    ::close(out[0]);
}

ConverterSimulator::~ConverterSimulator() { Stop(); }

int ConverterSimulator::Stop() {
    if (pid_ < 0) return -1;
    ::kill(pid_, SIGTERM);
    int status = 0;
    ::waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<nlohmann::json> ConverterSimulator::Entries(const std::string& event) const {
    std::vector<nlohmann::json> found;
    for (auto& entry : calsim_test::ReadJournal(journal_))
        if (entry.value("event", "") == event) found.push_back(std::move(entry));
    return found;
}

std::vector<nlohmann::json> ConverterSimulator::WaitEntries(const std::string& event, std::size_t count,
                                                            std::chrono::milliseconds limit) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    auto found = Entries(event);
    while (found.size() < count && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        found = Entries(event);
    }
    return found;
}

}  // namespace convsim_test
