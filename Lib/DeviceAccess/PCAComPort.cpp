#include "PCAComPort.h"

#include <sys/ioctl.h>

#include <chrono>
#include <thread>

#include "CommonUtils/PortNames.h"
#include "DeviceAccess/ErrorTexts.h"

namespace da {
namespace {

void SettleLine() { std::this_thread::sleep_for(kLineSettleTime); }

int OpenError(cmn::LineOpenStatus status) {
    return status == cmn::LineOpenStatus::Busy ? err::kPortBusy : err::kPortAbsent;
}

}  // namespace

TPCAComPort::~TPCAComPort() { line_.Close(); }

int TPCAComPort::Fail(int error) {
    line_.Close();
    handle_ = -1;
    lastError_ = error;
    return error;
}

bool TPCAComPort::DirectMode() const { return ModeOf(description_) == static_cast<std::uint8_t>(SerialMode::Direct); }

void TPCAComPort::SetModemLines(bool on) {
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(line_.Handle(), on ? TIOCMBIS : TIOCMBIC, &lines);
}

bool TPCAComPort::ModemPresent() {
    SetModemLines(true);
    int status = 0;
    return ::ioctl(line_.Handle(), TIOCMGET, &status) == 0 && (status & TIOCM_CTS) != 0;
}

int TPCAComPort::Create(const TConnectionDescription& description) {
    if (KindOf(description) != static_cast<std::uint8_t>(InterfaceKind::Serial)) return Fail(err::kBadKind);
    description_ = description;
    const cmn::LineOpenStatus status = line_.Open(cmn::PortDevicePath(PortNameOf(description)));
    if (status != cmn::LineOpenStatus::Opened) return Fail(OpenError(status));
    dcb_ = cmn::LineSettings{BaudRateOf(description), 8, cmn::Parity::None, 1};
    if (!line_.ApplySettings(dcb_)) return Fail(err::kPortSettings);
    const auto mode = static_cast<SerialMode>(ModeOf(description));
    if ((mode == SerialMode::TelephoneModem || mode == SerialMode::RadioModem) && !ModemPresent())
        return Fail(err::kNoModem);
    handle_ = line_.Handle();
    SettleLine();
    lastError_ = err::kNone;
    return err::kNone;
}

bool TPCAComPort::Matches(const TConnectionDescription& description) const {
    return KindOf(description) == static_cast<std::uint8_t>(InterfaceKind::Serial) &&
           cmn::PortDevicePath(PortNameOf(description)) == cmn::PortDevicePath(PortNameOf(description_));
}

// Transfers are timed by the worker, so the line needs no time-outs of its own.
int TPCAComPort::Connect() {
    if (!DirectMode()) return lastError_ = err::kNotImplemented;
    if (!IsOpen()) return lastError_ = err::kBadHandle;
    Purge();
    return lastError_ = err::kNone;
}

int TPCAComPort::Disconnect() {
    if (!DirectMode()) return lastError_ = err::kNotImplemented;
    if (IsOpen()) {
        SetModemLines(false);
        SettleLine();
    }
    Cancel();
    return lastError_ = err::kNone;
}

int TPCAComPort::Purge() {
    Cancel();
    return line_.Purge() ? err::kNone : err::kBadHandle;
}

std::string TPCAComPort::Name() const { return PortNameOf(description_); }

}  // namespace da
