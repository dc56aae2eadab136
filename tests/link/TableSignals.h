#pragma once

#include "TestSignals.h"
#include "signal/SampleClock.h"
#include "signal/SignalSet.h"

namespace tabletest {

inline constexpr sig::real kLowRange = 57.735027L;  // full scale of the 57.7 V range

// Phases at 0, -120, 120 degrees at the full scale of the 57.7 V range and
// 5 A in phase with them, on a grid of `samples` per period.
inline sig::TSignalSet Balanced(int samples) {
    sig::TSignalSet s = *talvo_test::BalancedSignal(kLowRange);
    s.Grid = {1, sig::SampleRate(1), samples, samples};
    return s;
}

}  // namespace tabletest
