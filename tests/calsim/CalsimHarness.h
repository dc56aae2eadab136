#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// The calibrator simulator as a child process on a real pseudo-terminal,
// in a port folder of a temporary settings folder.
namespace calsim_test {

// Points XDG_CONFIG_HOME at a fresh folder for the life of the object, so
// that the port folder of the code under test lies inside it.
class TempSettings {
public:
    TempSettings();
    ~TempSettings();
    TempSettings(const TempSettings&) = delete;
    TempSettings& operator=(const TempSettings&) = delete;
    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path PortFolder() const;

private:
    std::filesystem::path root_;
};

// The entries of a simulator's journal, one JSON object per line. A last line
// without its newline is still being written and is left for the next read.
std::vector<nlohmann::json> ReadJournal(const std::filesystem::path& path);

class Simulator {
public:
    // Starts talvo-calsim linking `name` in the current port folder, with
    // the extra options given; returns once the simulator has printed its path.
    explicit Simulator(const std::string& name = "COM1", const std::vector<std::string>& options = {});
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    const std::filesystem::path& Link() const { return link_; }
    // SIGTERM and the exit status; -1 when it did not end by itself.
    int Stop();
    void Kill();

    // The journal's entries of received frames, in order.
    std::vector<nlohmann::json> Frames() const;
    // Waits until the journal holds `count` frames (or the time is up).
    std::vector<nlohmann::json> WaitFrames(std::size_t count,
                                           std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) const;
    std::vector<nlohmann::json> Journal() const;

private:
    pid_t pid_ = -1;
    std::string slavePath_;
    std::filesystem::path link_;
    std::filesystem::path journal_;
};

// Runs `argv` of talvo-calsim and returns its exit status (no port is made
// when the options are refused).
int RunSimulatorOnce(const std::vector<std::string>& options);

// Holds a port open in another process until the object goes.
class ForeignHolder {
public:
    explicit ForeignHolder(const std::string& devicePath);
    ~ForeignHolder();
    ForeignHolder(const ForeignHolder&) = delete;
    ForeignHolder& operator=(const ForeignHolder&) = delete;
    bool Holding() const { return holding_; }

private:
    pid_t pid_ = -1;
    int release_ = -1;
    bool holding_ = false;
};

}  // namespace calsim_test
