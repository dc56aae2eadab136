#include "SerialLine.h"

#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace cmn {
namespace {

using Clock = std::chrono::steady_clock;

Clock::time_point Deadline(std::uint32_t perByte, std::uint32_t constant, std::size_t n) {
    const auto ms = static_cast<std::uint64_t>(perByte) * n + constant;
    return Clock::now() + std::chrono::milliseconds(ms);
}

// Milliseconds left until the deadline, rounded up so that poll never
// returns a moment before it; -1 when it has passed.
int MsLeft(Clock::time_point deadline) {
    const auto left = deadline - Clock::now();
    if (left <= Clock::duration::zero()) return -1;
    return static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(left).count());
}

// Waits for the descriptor to become ready for `events`; false on time-out
// or when the device reports an error or hang-up without being ready.
bool WaitReady(int fd, short events, Clock::time_point deadline) {
    for (;;) {
        const int ms = MsLeft(deadline);
        if (ms < 0) return false;
        pollfd p{fd, events, 0};
        const int r = ::poll(&p, 1, ms);
        if (r < 0 && errno == EINTR) continue;
        if (r <= 0) return false;
        return (p.revents & events) != 0;
    }
}

bool SpeedOf(std::uint32_t baud, speed_t& speed) {
    struct Entry {
        std::uint32_t baud;
        speed_t speed;
    };
    static constexpr Entry table[] = {
        {1200, B1200},   {2400, B2400},     {4800, B4800},     {9600, B9600},     {19200, B19200},   {38400, B38400},
        {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800}, {921600, B921600},
    };
    for (const Entry& e : table) {
        if (e.baud == baud) {
            speed = e.speed;
            return true;
        }
    }
    return false;
}

bool Framing(const LineSettings& s, tcflag_t& cflag) {
    static constexpr tcflag_t sizes[] = {CS5, CS6, CS7, CS8};
    if (s.dataBits < 5 || s.dataBits > 8 || (s.stopBits != 1 && s.stopBits != 2)) return false;
    cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS | HUPCL);
    cflag |= sizes[s.dataBits - 5] | CLOCAL | CREAD;
    if (s.parity != Parity::None) cflag |= PARENB;
    if (s.parity == Parity::Odd) cflag |= PARODD;
    if (s.stopBits == 2) cflag |= CSTOPB;
    return true;
}

// The name of a group, else its number.
std::string GroupName(gid_t gid) {
    std::vector<char> buffer(4096);
    group entry{};
    group* found = nullptr;
    while (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == ERANGE && buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    return found != nullptr ? std::string(found->gr_name) : std::to_string(gid);
}

LineOpenStatus OpenFailure(int error) {
    return error == EBUSY || error == EACCES || error == EPERM ? LineOpenStatus::Busy : LineOpenStatus::Absent;
}

}  // namespace

std::string PortAccessDeniedText(const std::string& path) {
    struct stat st {};
    const std::string group = ::stat(path.c_str(), &st) == 0 ? GroupName(st.st_gid) : std::string("dialout");
    // A port folder's link is named by the device it leads to.
    char* real = ::realpath(path.c_str(), nullptr);
    const std::string device = real != nullptr ? real : path;
    std::free(real);
    return "Порт " + device + " недоступен: нет прав на устройство. Пользователь должен входить в группу " + group +
           ", которой принадлежит устройство (sudo usermod -aG " + group + " $USER, затем войти в систему заново)";
}

SerialLine::~SerialLine() { Close(); }

std::string SerialLine::AccessHint() const {
    return openError_ == EACCES ? PortAccessDeniedText(openPath_) : std::string();
}

LineOpenStatus SerialLine::Open(const std::string& path) {
    Close();
    openError_ = 0;
    openPath_ = path;
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        openError_ = errno;
        return OpenFailure(openError_);
    }
    struct stat st {};
    termios tio{};
    if (::fstat(fd, &st) != 0 || !S_ISCHR(st.st_mode) || ::tcgetattr(fd, &tio) != 0) {
        ::close(fd);
        return LineOpenStatus::Unusable;
    }
    // The exclusive mode is set only once the lock is ours, so that a
    // refused open never touches the mode of the line's present user.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool held = errno == EWOULDBLOCK;
        ::close(fd);
        return held ? LineOpenStatus::Busy : LineOpenStatus::Unusable;
    }
    ::ioctl(fd, TIOCEXCL);
    fd_ = fd;
    unsentOutput_ = false;
    return LineOpenStatus::Opened;
}

bool SerialLine::ApplySettings(const LineSettings& settings) {
    termios tio{};
    speed_t speed{};
    if (fd_ < 0 || !SpeedOf(settings.baudRate, speed) || ::tcgetattr(fd_, &tio) != 0) return false;
    ::cfmakeraw(&tio);
    if (!Framing(settings, tio.c_cflag)) return false;
    tio.c_iflag &= ~(IXON | IXOFF | IXANY);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    if (::cfsetispeed(&tio, speed) != 0 || ::cfsetospeed(&tio, speed) != 0) return false;
    if (::tcsetattr(fd_, TCSANOW, &tio) != 0) return false;
    // A pseudo-terminal has no modem lines; there the request fails harmlessly.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(fd_, TIOCMBIC, &lines);
    return true;
}

bool SerialLine::ApplyTimeouts(const LineTimeouts& timeouts) {
    if (fd_ < 0) return false;
    timeouts_ = timeouts;
    return true;
}

FlowControl SerialLine::CurrentFlowControl() const {
    termios tio{};
    if (fd_ < 0 || ::tcgetattr(fd_, &tio) != 0) return FlowControl::None;
    if (tio.c_cflag & CRTSCTS) return FlowControl::RtsCts;
    if ((tio.c_iflag & IXON) && (tio.c_iflag & IXOFF)) return FlowControl::XonXoff;
    return FlowControl::None;
}

std::size_t SerialLine::Write(const std::uint8_t* data, std::size_t n) {
    if (fd_ < 0) return 0;
    const auto deadline = Deadline(timeouts_.writePerByte, timeouts_.writeConstant, n);
    std::size_t done = 0;
    while (done < n && WaitReady(fd_, POLLOUT, deadline)) {
        const ssize_t r = ::write(fd_, data + done, n - done);
        if (r > 0) done += static_cast<std::size_t>(r);
        else if (r < 0 && errno != EAGAIN && errno != EINTR) break;
    }
    if (done > 0) ::tcdrain(fd_);
    unsentOutput_ = done < n;
    return done;
}

std::size_t SerialLine::Read(std::uint8_t* data, std::size_t n) {
    if (fd_ < 0) return 0;
    const auto deadline = Deadline(timeouts_.readPerByte, timeouts_.readConstant, n);
    std::size_t done = 0;
    while (done < n && WaitReady(fd_, POLLIN, deadline)) {
        const ssize_t r = ::read(fd_, data + done, n - done);
        if (r > 0) done += static_cast<std::size_t>(r);
        else if (r == 0 || (errno != EAGAIN && errno != EINTR)) break;  // hung up
    }
    return done;
}

// A write that returned whole has drained, so output waits in the queue only
// after a write that did not finish. Flushing the output at other times
// would, on a pseudo-terminal, throw away bytes the peer has not read yet.
bool SerialLine::Purge() {
    if (fd_ < 0) return false;
    const bool flushed = ::tcflush(fd_, unsentOutput_ ? TCIOFLUSH : TCIFLUSH) == 0;
    unsentOutput_ = false;
    return flushed;
}

bool SerialLine::Close() {
    if (fd_ < 0) return true;
    ::ioctl(fd_, TIOCNXCL);
    const int r = ::close(fd_);
    fd_ = -1;
    return r == 0;
}

}  // namespace cmn
