#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace convsim {

// The converter's end of a pseudo-terminal. The slave stays open here too,
// so that hosts may open and close it without the terminal hanging up.
class Pty {
public:
    Pty();
    ~Pty();
    Pty(const Pty&) = delete;
    Pty& operator=(const Pty&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    // Waits for bytes from the host; false once SIGTERM or SIGINT came.
    bool WaitInput();
    // Appends what arrives within `gap`; false when nothing came.
    bool ReadMore(std::vector<std::uint8_t>& into, std::chrono::milliseconds gap);
    void Send(const std::vector<std::uint8_t>& bytes);
    bool Stopping() const { return stopping_; }

private:
    int master_ = -1;
    int slave_ = -1;
    int signals_ = -1;
    bool stopping_ = false;
    std::string slavePath_;
};

}  // namespace convsim
