#include "SignalLib/device/Kalibrator.h"

#include <array>
#include <cstdlib>

#include "SignalLib/device/DeviceCodes.h"

namespace stlib {
namespace {

using Confirmation = std::array<std::uint8_t, cmn::kConfirmationSize>;

bool WaitsForExecution(std::uint16_t code) { return code > 4 && code != 13; }

}  // namespace

bool TKalibrator::Fail(std::int16_t code) {
    SetLastError(code);
    return false;
}

bool TKalibrator::FailAndReset(std::int16_t code) {
    Reset();
    return Fail(code);
}

bool TKalibrator::Exchange(cmn::CalCommand command, std::uint16_t first, std::uint16_t second) {
    const auto code = static_cast<std::uint16_t>(command);
    SetLastError(0);
    Reset();
    const cmn::Frame frame = cmn::BuildFrame(code, first, second);
    if (std::abs(Write(frame.data(), frame.size())) != static_cast<int>(frame.size())) return Fail(kErrWrite);
    Confirmation reply{};
    int got = Read(reply.data(), reply.size());
    if (const std::int16_t e = ReceiptError(std::span(reply.data(), static_cast<std::size_t>(got)), code)) return Fail(e);
    if (!WaitsForExecution(code)) return true;
    got = Read(reply.data(), reply.size());
    if (const std::int16_t e = ExecutionError(std::span(reply.data(), static_cast<std::size_t>(got)), code)) return Fail(e);
    return true;
}

bool TKalibrator::WriteTable(std::span<const std::uint8_t> table) {
    if (Write(table.data(), table.size()) != static_cast<int>(table.size())) return FailAndReset(kErrWrite);
    Confirmation reply{};
    if (Read(reply.data(), reply.size()) < static_cast<int>(reply.size())) return FailAndReset(kErrRead);
    return true;
}

bool TKalibrator::WriteTimingBlock(std::span<const std::uint8_t, cmn::kTimingBlockSize> block) {
    if (Write(block.data(), block.size()) != static_cast<int>(block.size())) return FailAndReset(kErrWrite);
    return true;
}

}  // namespace stlib
