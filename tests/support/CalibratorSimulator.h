#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "SimulatorProcess.h"

namespace talvo_test {

// The calibrator simulator on a real pseudo-terminal, linked as a port name
// in the current port folder (see TempSettings).
class CalibratorSimulator {
public:
    // Starts talvo-calsim linking `name` in the current port folder, with
    // the extra options given; returns once the simulator has printed its path.
    explicit CalibratorSimulator(const std::string& name = "COM1", const std::vector<std::string>& options = {});

    const std::string& SlavePath() const { return process_.SlavePath(); }
    const std::filesystem::path& Link() const { return link_; }
    // SIGTERM and the exit status; -1 when it did not end by itself.
    int Stop() { return process_.Stop(); }
    void Kill() { process_.Kill(); }

    // The journal's entries of received frames, in order.
    std::vector<nlohmann::json> Frames() const;
    // Waits until the journal holds `count` frames (or the time is up).
    std::vector<nlohmann::json> WaitFrames(std::size_t count,
                                           std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) const;
    std::vector<nlohmann::json> Journal() const;

private:
    std::filesystem::path link_;
    std::filesystem::path journal_;
    SimulatorProcess process_;
};

// The command codes of journal frames, in order.
std::vector<int> FrameCodes(const std::vector<nlohmann::json>& frames);

// Runs talvo-calsim with `options` and returns its exit status (no port is
// made when the options are refused).
int RunCalibratorSimulator(const std::vector<std::string>& options);

}  // namespace talvo_test
