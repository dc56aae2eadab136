#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace calsim {

// Writes what the calibrator would play, as the measurement engine measures
// it from the bytes received so far, into a JSON file. The measuring runs
// on a thread of its own so that the confirmations keep their time; only
// the newest bytes are measured when several wait.
class Measurer {
public:
    Measurer(std::string path, int modification);
    ~Measurer();
    Measurer(const Measurer&) = delete;
    Measurer& operator=(const Measurer&) = delete;

    void Post(const std::vector<std::uint8_t>& received);

private:
    void Run();
    void Write(const std::vector<std::uint8_t>& received) const;

    std::string path_;
    int modification_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::optional<std::vector<std::uint8_t>> pending_;
    bool stop_ = false;
    std::thread thread_;
};

}  // namespace calsim
