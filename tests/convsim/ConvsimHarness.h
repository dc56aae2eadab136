#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// The converter simulator as a child process with its port link in the
// current port folder (see calsim_test::TempSettings).
namespace convsim_test {

class ConverterSimulator {
public:
    explicit ConverterSimulator(const std::vector<std::string>& options = {}, const std::string& name = "COM7");
    ~ConverterSimulator();
    ConverterSimulator(const ConverterSimulator&) = delete;
    ConverterSimulator& operator=(const ConverterSimulator&) = delete;

    const std::string& Name() const { return name_; }
    const std::string& SlavePath() const { return slavePath_; }
    // Journal entries of one event kind ("request", "response", "refused").
    std::vector<nlohmann::json> Entries(const std::string& event) const;
    // Waits until `count` entries of the kind are there or the time is up.
    std::vector<nlohmann::json> WaitEntries(const std::string& event, std::size_t count,
                                            std::chrono::milliseconds limit = std::chrono::milliseconds(3000)) const;
    int Stop();

private:
    pid_t pid_ = -1;
    std::string name_;
    std::string slavePath_;
    std::filesystem::path journal_;
};

}  // namespace convsim_test
