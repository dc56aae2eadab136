#pragma once

#include <array>
#include <vector>

#include "signal/Records.h"

// Sums of sines over one table for the three phases at once. Every term
// advances by a whole number of steps of 2π/N per sample (harmonic n by
// n x g, interharmonic m + 0.5 by 2m + 1 in a two-period table), so its
// angle at sample i is its own phase plus table angle k = step x i mod N,
// reduced exactly in whole numbers; the sine comes from the angle sum with
// sin/cos(2πk/N), one table of N angles instead of a sine per term and sample.
namespace lnk {

struct TSineTerm {
    int Step = 0;                          // 2π/N steps per sample
    std::array<sig::real, 3> Amplitude{};  // per phase
    std::array<sig::real, 3> Angle{};      // degrees, per phase
};

// In double precision, in which the sums are formed.
using TPhaseValues = std::array<std::vector<double>, 3>;

// Value i of phase p: Σ Amplitude[p] × sin(Angle[p] + 360° × Step × i / samples).
TPhaseValues SynthesizePhases(const std::vector<TSineTerm>& terms, int samples);

}  // namespace lnk
