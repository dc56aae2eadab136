#include "PCACustom.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "DeviceAccess/ErrorTexts.h"
#include "DeviceAccess/PCAComPort.h"
#include "DeviceAccess/PCAEthernetTCP.h"

namespace da {

TPCACustom::~TPCACustom() = default;

void TPCACustom::StartOperation() {
    read_ = {};
    write_ = {};
}

std::size_t TPCACustom::QueueRead() const {
    int n = 0;
    return handle_ >= 0 && ::ioctl(handle_, FIONREAD, &n) == 0 ? static_cast<std::size_t>(n) : 0;
}

std::size_t TPCACustom::QueueWrite() const {
    int n = 0;
    return handle_ >= 0 && ::ioctl(handle_, TIOCOUTQ, &n) == 0 ? static_cast<std::size_t>(n) : 0;
}

bool TPCACustom::InputWaiting() const {
    pollfd p{handle_, POLLIN, 0};
    return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLIN | POLLHUP | POLLERR));
}

ssize_t TPCACustom::RawWrite(const std::uint8_t* data, std::size_t n) { return ::write(handle_, data, n); }

// Moves what can be moved now. EIO is what a terminal whose other side
// went away reports; it ends the transfer like an end of file. A raw
// terminal also reads 0 bytes when nothing is there, so a read first asks
// whether input or a hang-up is waiting.
TransferResult TPCACustom::Continue(TPCAOverlapped& t, bool write, std::size_t& count) {
    if (!write && !InputWaiting()) {
        t.pending = true;
        return TransferResult::Pending;
    }
    for (;;) {
        const std::size_t left = t.size - t.done;
        const ssize_t r = write ? RawWrite(t.data + t.done, left) : ::read(handle_, t.data + t.done, left);
        if (r > 0) {
            t.done += static_cast<std::size_t>(r);
            if (!write || t.done == t.size) break;
            continue;
        }
        if (r < 0 && errno == EINTR) continue;
        if (r < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            if (t.done == 0 || write) {
                t.pending = true;
                return TransferResult::Pending;
            }
            break;
        }
        if (r == 0 || errno == EIO || errno == ECONNRESET || errno == EPIPE) break;
        t.pending = false;
        lastError_ = write ? err::kWriteFailed : err::kReadFailed;
        count = t.done;
        return TransferResult::Failed;
    }
    t.pending = false;
    count = t.done;
    return TransferResult::Done;
}

TransferResult TPCACustom::Write(const std::uint8_t* data, std::size_t n, std::size_t& count) {
    count = 0;
    if (handle_ < 0) {
        lastError_ = err::kBadHandle;
        return TransferResult::Failed;
    }
    // The buffer is only read from; the record serves both directions.
    write_ = {const_cast<std::uint8_t*>(data), n, 0, false};
    return Continue(write_, true, count);
}

TransferResult TPCACustom::Read(std::uint8_t* data, std::size_t n, std::size_t& count) {
    count = 0;
    if (handle_ < 0) {
        lastError_ = err::kBadHandle;
        return TransferResult::Failed;
    }
    read_ = {data, n, 0, false};
    return Continue(read_, false, count);
}

TransferResult TPCACustom::Collect(std::size_t& count) {
    if (write_.pending) return Continue(write_, true, count);
    if (read_.pending) return Continue(read_, false, count);
    count = 0;
    return TransferResult::Done;
}

pollfd TPCACustom::PendingEvents() const {
    if (handle_ >= 0 && write_.pending) return {handle_, POLLOUT, 0};
    if (handle_ >= 0 && read_.pending) return {handle_, POLLIN, 0};
    return {-1, 0, 0};
}

void TPCACustom::Cancel() {
    read_.pending = false;
    write_.pending = false;
}

std::unique_ptr<TPCACustom> CreatePhysicalChannel(const TConnectionDescription& description, int& error,
                                                  std::string* hint) {
    std::unique_ptr<TPCACustom> channel;
    switch (static_cast<InterfaceKind>(KindOf(description))) {
        case InterfaceKind::Serial: channel = std::make_unique<TPCAComPort>(); break;
        case InterfaceKind::Tcp: channel = std::make_unique<TPCAEthernetTCP>(); break;
        default: error = err::kBadKind; return nullptr;
    }
    error = channel->Create(description);
    if (error != err::kNone) {
        if (hint != nullptr) *hint = channel->OpenHint();
        channel.reset();
    }
    return channel;
}

}  // namespace da
