#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace talvo_test {

// A pseudo-terminal whose master the test holds, linked as `name` in the
// current port folder: the code under test opens the slave as a port.
class PeerPty {
public:
    explicit PeerPty(const std::string& name);
    ~PeerPty();
    PeerPty(const PeerPty&) = delete;
    PeerPty& operator=(const PeerPty&) = delete;

    // What the port wrote, waiting up to `limit` for `n` bytes.
    std::vector<std::uint8_t> Receive(std::size_t n, std::chrono::milliseconds limit = std::chrono::milliseconds(2000));
    void Send(const std::vector<std::uint8_t>& bytes);
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    int slave_ = -1;
    std::string slavePath_;
    std::filesystem::path link_;
};

}  // namespace talvo_test
