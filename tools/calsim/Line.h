#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace calsim {

// The calibrator's end of a pseudo-terminal. The slave stays open here as
// well, so that hosts may come and go without the terminal hanging up.
// SIGTERM and SIGINT end every wait.
class Line {
public:
    explicit Line(bool pace);
    ~Line();
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    bool Stopping() const { return stopping_; }

    // The next byte from the host; nothing when stopping or, with idleMs
    // not negative, when nothing came for that long.
    std::optional<std::uint8_t> ReadByte(int idleMs);
    // False when stopping.
    bool Send(const std::uint8_t* data, std::size_t n);
    bool Pause(unsigned ms);

private:
    using Clock = std::chrono::steady_clock;

    bool Fill(int idleMs);
    bool WaitUntil(Clock::time_point t);
    bool WaitFor(short events, int ms);
    void Pace(Clock::time_point& lineFree, std::size_t n);

    int master_ = -1;
    int slave_ = -1;
    int signals_ = -1;
    bool pace_;
    bool stopping_ = false;
    std::string slavePath_;
    std::vector<std::uint8_t> buffer_;
    std::size_t next_ = 0;
    Clock::time_point rxFree_{};
    Clock::time_point txFree_{};
};

}  // namespace calsim
