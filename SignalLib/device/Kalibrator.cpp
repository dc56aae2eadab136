#include "SignalLib/device/Kalibrator.h"

#include <array>
#include <cstdlib>
#include <vector>

#include "SignalLib/Tables.h"

#include "SignalLib/device/DeviceCodes.h"

namespace stlib {
namespace {

using Confirmation = std::array<std::uint8_t, cmn::kConfirmationSize>;

bool WaitsForExecution(std::uint16_t code) { return code > 4 && code != 13; }

constexpr cmn::CalCommand kStart[] = {cmn::CalCommand::StartVoltage, cmn::CalCommand::StartCurrent,
                                      cmn::CalCommand::StartBoth};

// Bit 0 for the 220 V range, bit 1 for the 5 A range.
std::uint16_t RangeCode(const TNominalsClass& nominals) {
    return static_cast<std::uint16_t>((nominals.VoltageRange() == 2 ? 1 : 0) | (nominals.CurrentRange() == 4 ? 2 : 0));
}

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
    if (const std::int16_t e = ReceiptError(std::span(reply.data(), static_cast<std::size_t>(got)), code))
        return Fail(e);
    if (!WaitsForExecution(code)) return true;
    got = Read(reply.data(), reply.size());
    if (const std::int16_t e = ExecutionError(std::span(reply.data(), static_cast<std::size_t>(got)), code))
        return Fail(e);
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

// N ≤ 5000 is guaranteed by the model and checked again by every build.
std::uint16_t TKalibrator::TableWords() const { return static_cast<std::uint16_t>(signal_.SamplesPerPeriod() * 4); }

bool TKalibrator::SendBuiltTable(cmn::CalCommand command, std::span<const std::uint8_t> buffer) {
    const auto bytes = static_cast<std::size_t>(signal_.SamplesPerPeriod()) * cmn::kSampleSize;
    return Exchange(command, TableWords(), cmn::kSecondParameter) && WriteTable(buffer.first(bytes));
}

bool TKalibrator::SendTable(TTableKind kind) {
    std::vector<std::uint8_t> buffer(kTableBufferSize);
    const bool voltage = kind == TTableKind::Voltage;
    if (const std::int16_t e = voltage ? BuildVoltageTable(signal_, buffer) : BuildCurrentTable(signal_, buffer))
        return Fail(e);
    return SendBuiltTable(voltage ? cmn::CalCommand::VoltageTable : cmn::CalCommand::CurrentTable, buffer);
}

bool TKalibrator::SendSignal(TSignalKind kind) {
    if (!Exchange(cmn::CalCommand::Range, RangeCode(signal_.Nominals()), 0)) return false;
    if (kind != TSignalKind::Current && !SendTable(TTableKind::Voltage)) return false;
    if (kind != TSignalKind::Voltage && !SendTable(TTableKind::Current)) return false;
    return Exchange(kStart[static_cast<int>(kind)], TableWords(), cmn::kSecondParameter);
}

bool TKalibrator::SendDips() {
    std::vector<std::uint8_t> buffer(kTableBufferSize);
    if (const std::int16_t e = BuildCollapsesTable(signal_, buffer)) return Fail(e);
    // Checked before the table goes out, so that the dips are sent whole or not at all.
    const std::optional<cmn::TimingBlock> block = BuildTimingBlock(signal_);
    if (!block) return Fail(code::CollapsesTable);
    if (!SendBuiltTable(cmn::CalCommand::VoltageTable, buffer)) return false;
    const auto count = static_cast<std::uint16_t>(signal_.Collapses().Count());
    return Exchange(cmn::CalCommand::Dips, count, cmn::kSecondParameter) && WriteTimingBlock(*block);
}

}  // namespace stlib
