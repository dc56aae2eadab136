#include "SignalLib/device/DeviceCodes.h"

#include "CommonUtils/CalibratorWire.h"

namespace stlib {

std::int16_t ReceiptError(std::span<const std::uint8_t> received, std::uint16_t code) {
    const cmn::Confirmation c = cmn::ParseConfirmation(received);
    if (c.length == 0) return kErrNoAnswer;
    if (c.length < cmn::kConfirmationSize) return kErrReceiptShort;
    if (!c.syncOk) return kErrReceiptSync;
    if (c.word != code) return kErrReceiptCode;
    return 0;
}

std::int16_t ExecutionError(std::span<const std::uint8_t> received, std::uint16_t code) {
    const cmn::Confirmation c = cmn::ParseConfirmation(received);
    if (c.length == 0) return kErrNoAnswer;
    if (c.length < cmn::kConfirmationSize) return kErrExecutionShort;
    if (!c.syncOk) return kErrExecutionSync;
    if (static_cast<int>(c.word) - 128 != static_cast<int>(code)) return kErrExecutionCode;
    return 0;
}

std::int16_t OpenAndConfigure(TCommPort& port) {
    switch (port.Open()) {
        case TOpenResult::Opened: break;
        case TOpenResult::Busy: return kErrPortBusy;
        case TOpenResult::Absent: return kErrPortAbsent;
        case TOpenResult::Unusable: return kErrPortInvalid;
    }
    port.Settings() = cmn::LineSettings{115200, 8, cmn::Parity::None, 1};
    port.Timeouts() = cmn::LineTimeouts{10, 100, 10, 100};
    if (!port.ApplySettings() || !port.ApplyTimeouts()) return kErrPortSettings;
    return 0;
}

std::int16_t CloseKeepingCode(TCommPort& port, std::int16_t code) {
    const bool closed = port.Close();
    return !closed && code == 0 ? kErrPortClose : code;
}

}  // namespace stlib
