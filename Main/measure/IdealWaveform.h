#pragma once

#include <cstddef>
#include <vector>

#include "signal/SignalSet.h"

// The waveform a signal's records describe, summed here from its terms
// (fundamental, harmonics, interharmonics when switched on) with the
// records' RMS values and absolute angles, for comparison with what is
// played. Time 0 is the start of a table period.
namespace msr {

struct TTerm {
    double Order = 1;
    double Rms = 0;
    double PhaseDeg = 0;  // of Rms·√2·sin(order·ωt + phase)
};

// The terms of channel chUA … chIC (see Playback.h).
std::vector<TTerm> IdealTerms(const sig::TSignalSet& s, int channel);

// `count` values at t = first·step, (first + 1)·step, … for the fundamental
// frequency `frequency`.
std::vector<double> IdealValues(const std::vector<TTerm>& terms, double frequency, double step, std::size_t first,
                                std::size_t count);

}  // namespace msr
