#include "Pty.h"

#include <fcntl.h>
#include <poll.h>
#include <pty.h>
#include <signal.h>
#include <sys/signalfd.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>
#include <system_error>

namespace convsim {
namespace {

void Check(bool ok, const char* what) {
    if (!ok) throw std::system_error(errno, std::generic_category(), what);
}

}  // namespace

Pty::Pty() {
    termios raw{};
    ::cfmakeraw(&raw);
    char name[256] = {};
    Check(::openpty(&master_, &slave_, name, &raw, nullptr) == 0, "openpty");
    slavePath_ = name;
    Check(::fcntl(master_, F_SETFL, O_NONBLOCK) == 0, "fcntl");
    ::fcntl(master_, F_SETFD, FD_CLOEXEC);
    ::fcntl(slave_, F_SETFD, FD_CLOEXEC);
    sigset_t stop;
    sigemptyset(&stop);
    sigaddset(&stop, SIGTERM);
    sigaddset(&stop, SIGINT);
    Check(::sigprocmask(SIG_BLOCK, &stop, nullptr) == 0, "sigprocmask");
    signals_ = ::signalfd(-1, &stop, SFD_CLOEXEC);
    Check(signals_ >= 0, "signalfd");
}

Pty::~Pty() {
    ::close(signals_);
    ::close(slave_);
    ::close(master_);
}

bool Pty::WaitInput() {
    pollfd fds[2] = {{master_, POLLIN, 0}, {signals_, POLLIN, 0}};
    while (!stopping_) {
        if (::poll(fds, 2, -1) < 0 && errno != EINTR) Check(false, "poll");
        if (fds[1].revents & POLLIN) stopping_ = true;
        else if (fds[0].revents & POLLIN) return true;
    }
    return false;
}

bool Pty::ReadMore(std::vector<std::uint8_t>& into, std::chrono::milliseconds gap) {
    pollfd p{master_, POLLIN, 0};
    if (::poll(&p, 1, static_cast<int>(gap.count())) <= 0) return false;
    std::uint8_t chunk[512];
    const ssize_t r = ::read(master_, chunk, sizeof chunk);
    if (r <= 0) return false;
    into.insert(into.end(), chunk, chunk + r);
    return true;
}

void Pty::Send(const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t r = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (r > 0) done += static_cast<std::size_t>(r);
        else if (r < 0 && errno != EAGAIN && errno != EINTR) Check(false, "write");
        else {
            pollfd p{master_, POLLOUT, 0};
            ::poll(&p, 1, 100);
        }
    }
}

}  // namespace convsim
