#pragma once

#include <array>
#include <cstddef>

#include "signal/Records.h"

namespace sig {

// The signal correction, percent, applied to the tables the calibrator
// plays: 220 V phases A, B, C; 57.7 V A, B, C; 1 A A, B, C; 5 A A, B, C;
// frequency. It is read, written and passed on as a whole.
inline constexpr std::size_t kCorrectionCount = 13;
using TCorrectionRecord = std::array<real, kCorrectionCount>;

// The frequency correction kf in %, the record's last value.
inline real FrequencyCorrection(const TCorrectionRecord& c) { return c[kCorrectionCount - 1]; }

}  // namespace sig
