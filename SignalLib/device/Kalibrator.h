#pragma once

#include <cstdint>
#include <span>

#include "CommonUtils/CalibratorWire.h"
#include "SignalLib/device/CommPort.h"

namespace stlib {

// The calibrator as the library drives it. Each step returns success and
// leaves the code of a failure in LastError().
class TKalibrator : public TCustomDevice {
public:
    using TCustomDevice::TCustomDevice;

    // One command: reset the port, frame, confirmation of receipt and, for
    // every code above 4 except 13, the confirmation of execution.
    bool Exchange(cmn::CalCommand code, std::uint16_t first, std::uint16_t second);
    // The table of command 1 or 2 and the 8-byte confirmation after it,
    // whose content the library does not examine.
    bool WriteTable(std::span<const std::uint8_t> table);
    // The 12-byte timing block of command 13; nothing is read after it.
    bool WriteTimingBlock(std::span<const std::uint8_t, cmn::kTimingBlockSize> block);

    bool ResetDips() { return Exchange(cmn::CalCommand::ResetDips, 0, 0); }
    bool ResetOutputs() { return Exchange(cmn::CalCommand::ResetOutputs, 0, 0); }

private:
    bool Fail(std::int16_t code);
    bool FailAndReset(std::int16_t code);
};

}  // namespace stlib
