#include "link/ComPort.h"

#include <chrono>
#include <thread>

#include "CommonUtils/PortNames.h"

namespace lnk {
namespace {

constexpr std::chrono::milliseconds kRetryDelay{2000};

// Read: 10 ms per byte + 1000 ms; write: 20 ms per byte + 2000 ms.
constexpr cmn::LineTimeouts kTimeouts{10, 1000, 20, 2000};

TOpenStatus StatusOf(cmn::LineOpenStatus s) {
    switch (s) {
        case cmn::LineOpenStatus::Opened: return TOpenStatus::Opened;
        case cmn::LineOpenStatus::Busy: return TOpenStatus::Busy;
        default: return TOpenStatus::Absent;  // a device that is no serial line counts as none
    }
}

}  // namespace

TMyComPort::TMyComPort(const std::string& portName, std::uint32_t baudRate) {
    // The path is looked up again for the retry: the port's link may have
    // appeared in the meantime.
    status_ = StatusOf(line_.Open(cmn::PortDevicePath(portName)));
    if (status_ != TOpenStatus::Opened) {
        std::this_thread::sleep_for(kRetryDelay);
        status_ = StatusOf(line_.Open(cmn::PortDevicePath(portName)));
    }
    if (status_ != TOpenStatus::Opened) return;
    name_ = portName;
    cmn::LineSettings settings;
    settings.baudRate = baudRate;
    line_.ApplySettings(settings);
    line_.ApplyTimeouts(kTimeouts);
    // A port opened for an action starts with an empty input queue, as a
    // serial device opened anew does: an answer that came after the last
    // action gave up waiting must not be read as this action's first one.
    line_.Purge();
}

bool TMyComPort::Write(const std::uint8_t* block, std::size_t n) { return line_.Write(block, n) == n; }

bool TMyComPort::Read(std::uint8_t* block, std::size_t n) { return line_.Read(block, n) == n; }

bool TMyComPort::Close() { return line_.Close(); }

}  // namespace lnk
