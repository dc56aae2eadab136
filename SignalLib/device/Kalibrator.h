#pragma once

#include <cstdint>
#include <span>

#include "CommonUtils/CalibratorWire.h"
#include "SignalLib/SignalModel.h"
#include "SignalLib/device/CommPort.h"

namespace stlib {

// Which outputs a signal drives: voltage only, current only, or both.
enum class TSignalKind { Voltage = 0, Current = 1, Both = 2 };
enum class TTableKind { Voltage = 0, Current = 1 };

// The calibrator as the library drives it. Each step returns success and
// leaves the code of a failure in LastError().
class TKalibrator : public TCustomDevice {
public:
    using TCustomDevice::TCustomDevice;

    // The signal the tables are built from, a copy of the caller's.
    void SetSignal(const TSignalClass& signal) { signal_ = signal; }
    const TSignalClass& Signal() const { return signal_; }

    // One command: reset the port, frame, confirmation of receipt and, for
    // every code above 4 except 13, the confirmation of execution.
    bool Exchange(cmn::CalCommand code, std::uint16_t first, std::uint16_t second);
    // The table of command 1 or 2 and the 8-byte confirmation after it,
    // whose content the library does not examine.
    bool WriteTable(std::span<const std::uint8_t> table);
    // The 12-byte timing block of command 13; nothing is read after it.
    bool WriteTimingBlock(std::span<const std::uint8_t, cmn::kTimingBlockSize> block);

    // Builds a table and sends it with command 1 or 2; a table that cannot
    // be built is not sent and leaves its code (20–27, 30–37).
    bool SendTable(TTableKind kind);
    // Range, the tables of the kind, then the start of those outputs.
    bool SendSignal(TSignalKind kind);
    // The second voltage table, then command 13 with the timing block.
    bool SendDips();

    bool ResetDips() { return Exchange(cmn::CalCommand::ResetDips, 0, 0); }
    bool ResetOutputs() { return Exchange(cmn::CalCommand::ResetOutputs, 0, 0); }

private:
    bool Fail(std::int16_t code);
    bool FailAndReset(std::int16_t code);
    // Command 1 or 2 with the first N × 8 bytes of `buffer`.
    bool SendBuiltTable(cmn::CalCommand command, std::span<const std::uint8_t> buffer);
    std::uint16_t TableWords() const;

    TSignalClass signal_;
};

}  // namespace stlib
