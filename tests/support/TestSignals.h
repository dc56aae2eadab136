#pragma once

#include <memory>
#include <random>

#include "signal/SignalSet.h"

namespace talvo_test {

// A balanced set: phase voltages u at 0, -120, 120 degrees, currents i
// lagging by phi, 50 Hz, nominals 57.735 V (line 100 V) and 5 A.
std::unique_ptr<sig::TSignalSet> BalancedSignal(sig::real u = 57.735L, sig::real i = 5, sig::real phi = 0);

// Sets on every phase of voltage and current all harmonics 2 ... 50 and all
// interharmonics 1 ... 49 with varied coefficients and angles.
void AddRichSpectrum(sig::TSignalSet& s);

// Every harmonic and interharmonic of voltage and current on every phase,
// coefficients drawn from [low, high] %, angles from the whole circle.
void RandomSpectrum(sig::TSignalSet& s, std::mt19937& rng, float low, float high);

// A signal on which every term of the power quantities counts: unbalanced
// phase voltages (magnitudes and angles) and currents, so that the neutral
// carries current and the positive sequence differs from the phases; each
// phase with harmonics of its own orders, on the voltage and, for one order,
// on the current too, in phase, so that every phase has harmonic active power
// of its own size and each line voltage takes the harmonics of its two phases.
// Currents are in phase with their voltages; there are no interharmonics.
std::unique_ptr<sig::TSignalSet> UnbalancedDistortedSignal();

}  // namespace talvo_test
