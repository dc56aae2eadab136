#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "SimulatorProcess.h"

namespace talvo_test {

// The converter simulator as a child process with its port link in the
// current port folder (see TempSettings).
class ConverterSimulator {
public:
    explicit ConverterSimulator(const std::vector<std::string>& options = {}, const std::string& name = "COM7");

    const std::string& Name() const { return name_; }
    const std::string& SlavePath() const { return process_.SlavePath(); }
    // Journal entries of one event kind ("request", "response", "refused").
    std::vector<nlohmann::json> Entries(const std::string& event) const;
    // Waits until `count` entries of the kind are there or the time is up.
    std::vector<nlohmann::json> WaitEntries(const std::string& event, std::size_t count,
                                            std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) const;
    int Stop() { return process_.Stop(); }

private:
    std::string name_;
    std::filesystem::path journal_;
    SimulatorProcess process_;
};

}  // namespace talvo_test
