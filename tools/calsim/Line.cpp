#include "Line.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace calsim {
namespace {

// 8N1: start bit, eight data bits, stop bit.
constexpr auto kByteTime = std::chrono::nanoseconds(10'000'000'000LL / 115200);
// Paced transfers move a few bytes at a time so that their timing stays fine-grained.
constexpr std::size_t kPacedChunk = 16;

[[noreturn]] void Fail(const char* what) { throw std::runtime_error(std::string(what) + ": " + std::strerror(errno)); }

int StopSignals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGTERM);
    sigaddset(&set, SIGINT);
    if (sigprocmask(SIG_BLOCK, &set, nullptr) != 0) Fail("sigprocmask");
    const int fd = signalfd(-1, &set, SFD_CLOEXEC | SFD_NONBLOCK);
    if (fd < 0) Fail("signalfd");
    return fd;
}

}  // namespace

Line::Line(bool pace) : pace_(pace) {
    // Paced waits are a few hundred microseconds each: no timer slack on top.
    if (pace_) prctl(PR_SET_TIMERSLACK, 1UL);
    termios raw{};
    cfmakeraw(&raw);
    char name[256] = {};
    if (openpty(&master_, &slave_, name, &raw, nullptr) != 0) Fail("openpty");
    slavePath_ = name;
    fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK);
    fcntl(master_, F_SETFD, FD_CLOEXEC);
    fcntl(slave_, F_SETFD, FD_CLOEXEC);
    signals_ = StopSignals();
}

Line::~Line() {
    for (int fd : {master_, slave_, signals_}) {
        if (fd >= 0) ::close(fd);
    }
}

// Waits for the master to become ready; false on time-out (ms >= 0) or a
// stop signal, which also marks the line as stopping.
bool Line::WaitFor(short events, int ms) {
    pollfd p[2] = {{master_, events, 0}, {signals_, POLLIN, 0}};
    for (;;) {
        const int r = ::poll(p, 2, ms);
        if (r < 0 && errno == EINTR) continue;
        if (r < 0) Fail("poll");
        if (p[1].revents & POLLIN) {
            stopping_ = true;
            return false;
        }
        return r > 0 && (p[0].revents & events);
    }
}

// Paced waits sleep to shortly before their end and spin the rest: line
// times are fractions of a millisecond, which a sleep's wake-up would stretch.
bool Line::WaitUntil(Clock::time_point t) {
    const auto spin = std::chrono::microseconds(pace_ ? 300 : 0);
    pollfd p{signals_, POLLIN, 0};
    for (auto left = t - Clock::now(); left > spin; left = t - Clock::now()) {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left - spin).count();
        const timespec wait{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
        if (::ppoll(&p, 1, &wait, nullptr) > 0) {
            stopping_ = true;
            return false;
        }
    }
    while (Clock::now() < t) {
    }
    return !stopping_;
}

bool Line::Pause(unsigned ms) { return WaitUntil(Clock::now() + std::chrono::milliseconds(ms)); }

void Line::Pace(Clock::time_point& lineFree, std::size_t n) {
    lineFree = std::max(lineFree, Clock::now()) + kByteTime * static_cast<long>(n);
    WaitUntil(lineFree);
}

bool Line::Fill(int idleMs) {
    buffer_.resize(pace_ ? kPacedChunk : 4096);
    next_ = 0;
    for (;;) {
        if (!WaitFor(POLLIN, idleMs)) {
            buffer_.clear();
            return false;
        }
        const ssize_t r = ::read(master_, buffer_.data(), buffer_.size());
        if (r > 0) {
            buffer_.resize(static_cast<std::size_t>(r));
            if (pace_) Pace(rxFree_, buffer_.size());
            return !stopping_;
        }
        // EIO: no host has the terminal open; the slave we hold keeps this rare.
        if (r < 0 && errno == EIO && !Pause(10)) return false;
    }
}

std::optional<std::uint8_t> Line::ReadByte(int idleMs) {
    if (next_ >= buffer_.size() && !Fill(idleMs)) return std::nullopt;
    return buffer_[next_++];
}

// A paced chunk reaches the host when its last byte has crossed the line.
bool Line::Send(const std::uint8_t* data, std::size_t n) {
    std::size_t done = 0;
    while (done < n) {
        if (!WaitFor(POLLOUT, -1)) return false;
        const std::size_t chunk = pace_ ? std::min(kPacedChunk, n - done) : n - done;
        if (pace_) Pace(txFree_, chunk);
        const ssize_t r = ::write(master_, data + done, chunk);
        if (r < 0 && errno != EAGAIN && errno != EINTR) Fail("write");
        if (r > 0) done += static_cast<std::size_t>(r);
    }
    return !stopping_;
}

}  // namespace calsim
