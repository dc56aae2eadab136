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

}  // namespace talvo_test
