#pragma once

#include <array>
#include <vector>

#include "signal/Records.h"

// Sums of sines over one table for the three phases at once. Every term
// advances by a whole number of steps of 2π/N per sample (harmonic n by
// n x g, interharmonic m + 0.5 by 2m + 1 in a two-period table), so each
// sine is the angle sum of its own phase and a table entry sin/cos(2πk/N):
// exact, with one table of N angles instead of a sine per term and sample.
namespace lnk {

struct TSineTerm {
    int Step = 0;                          // 2π/N steps per sample
    std::array<sig::real, 3> Amplitude{};  // per phase
    std::array<sig::real, 3> Angle{};      // degrees, per phase
};

// Double precision: the sums are formed in it (see Synthesis.cpp).
using TPhaseValues = std::array<std::vector<double>, 3>;

// Value i of phase p: Σ Amplitude[p] × sin(Angle[p] + 360° × Step × i / samples).
TPhaseValues SynthesizePhases(const std::vector<TSineTerm>& terms, int samples);

}  // namespace lnk
