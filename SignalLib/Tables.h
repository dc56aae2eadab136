#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "CommonUtils/CalibratorWire.h"
#include "SignalLib/ResultCodes.h"
#include "SignalLib/SignalModel.h"

// The sample tables the calibrator plays, built from the library's signal
// model: one period of N samples, three channel codes packed per sample.
namespace stlib {

// A voltage channel at full swing gives 1.441212185 times the nominal
// amplitude, a current channel 1.5 times.
inline constexpr real kVoltageSwing = 1.441212185L;
inline constexpr real kVoltageScale = 1 / kVoltageSwing;
inline constexpr real kCurrentScale = 1 / 1.5L;
inline constexpr std::size_t kTableBufferSize = cmn::kMaxSamples * cmn::kSampleSize;

// Each build fills the first N × 8 bytes of `buffer` and gives 0, the code
// of the phases whose samples had to be clipped (21–27, 31–37), or the
// code of any other failure (20, 30, 40). The dips-and-swells table clips
// without reporting it.
code::TCode BuildVoltageTable(const TSignalClass& signal, std::span<std::uint8_t> buffer);
code::TCode BuildCurrentTable(const TSignalClass& signal, std::span<std::uint8_t> buffer);
code::TCode BuildCollapsesTable(const TSignalClass& signal, std::span<std::uint8_t> buffer);

// Start offset, length of one dip or swell and the pause between two, in
// sample-clock ticks. The pause keeps the calibrator's two-tick allowance.
// Nothing when a field is no number of 32 bits: a start angle that is not
// finite would otherwise put the dips off by 2^31 ticks.
std::optional<cmn::TimingBlock> BuildTimingBlock(const TSignalClass& signal);

}  // namespace stlib
