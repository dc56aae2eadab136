#pragma once

#include <cstdint>

namespace talvo_test {

// A listening TCP socket on the loopback and the port it got.
struct LoopbackListener {
    LoopbackListener();
    ~LoopbackListener();
    LoopbackListener(const LoopbackListener&) = delete;
    LoopbackListener& operator=(const LoopbackListener&) = delete;
    int fd = -1;
    std::uint16_t port = 0;
};

}  // namespace talvo_test
