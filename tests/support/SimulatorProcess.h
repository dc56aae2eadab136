#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace talvo_test {

// A device simulator as a child process. Both simulators take the same
// options for their port: a link `name` to their terminal in the current
// port folder and a journal file; started, they print the terminal's path
// as their first line, and SIGTERM ends them cleanly.
class SimulatorProcess {
public:
    // Returns once the path is printed; throws std::runtime_error when the
    // program ends or stays silent instead (refused options, say).
    SimulatorProcess(const std::string& program, const std::string& name, const std::filesystem::path& journal,
                     const std::vector<std::string>& options);
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess&) = delete;
    SimulatorProcess& operator=(const SimulatorProcess&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    // SIGTERM and the exit status; -1 when it did not end by itself.
    int Stop();
    void Kill();

private:
    pid_t pid_ = -1;
    std::string slavePath_;
};

// Runs `program` with `options` to its end, at most for `limit`, and gives
// its exit status (-1 when it had to be killed).
int RunProgram(const std::string& program, const std::vector<std::string>& options, std::chrono::milliseconds limit);

}  // namespace talvo_test
