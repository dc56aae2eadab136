#include "SignalLib/device/CommPort.h"

#include <cstdio>

#include "CommonUtils/PortNames.h"

namespace stlib {
namespace {

TOpenResult ResultOf(cmn::LineOpenStatus s) {
    switch (s) {
        case cmn::LineOpenStatus::Opened: return TOpenResult::Opened;
        case cmn::LineOpenStatus::Busy: return TOpenResult::Busy;
        case cmn::LineOpenStatus::Absent: return TOpenResult::Absent;
        case cmn::LineOpenStatus::Unusable: return TOpenResult::Unusable;
    }
    return TOpenResult::Absent;
}

}  // namespace

TCommPort::TCommPort(std::uint16_t portNumber) : name_("COM" + std::to_string(portNumber)), number_(portNumber) {}

TOpenResult TCommPort::Open() {
    std::lock_guard guard(lock_);
    const TOpenResult result = ResultOf(line_.Open(cmn::PortNumberDevicePath(number_)));
    if (result == TOpenResult::Opened) flowControl_ = static_cast<int>(line_.CurrentFlowControl());
    // The caller gets the busy code; the reason goes to the standard error.
    if (const std::string hint = line_.AccessHint(); !hint.empty())
        std::fprintf(stderr, "SignalTalvo: %s\n", hint.c_str());
    return result;
}

bool TCommPort::ApplySettings() {
    std::lock_guard guard(lock_);
    return line_.ApplySettings(settings_);
}

bool TCommPort::ApplyTimeouts() {
    std::lock_guard guard(lock_);
    return line_.ApplyTimeouts(timeouts_);
}

int TCommPort::Write(const std::uint8_t* block, std::size_t n) {
    std::lock_guard guard(lock_);
    return static_cast<int>(line_.Write(block, n));
}

int TCommPort::Read(std::uint8_t* block, std::size_t n) {
    std::lock_guard guard(lock_);
    return static_cast<int>(line_.Read(block, n));
}

bool TCommPort::Purge() {
    std::lock_guard guard(lock_);
    return line_.Purge();
}

void TCommPort::Reset() { Purge(); }

bool TCommPort::Close() {
    std::lock_guard guard(lock_);
    return line_.Close();
}

}  // namespace stlib
