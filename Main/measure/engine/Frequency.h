#pragma once

#include <optional>
#include <span>

namespace msr {

// Fundamental frequency from the zero crossings: the signal is low-passed
// (two second-order sections at the nominal frequency, so harmonics do not
// add crossings), positive-going crossings are located by linear
// interpolation, and the frequency is the number of whole periods between
// the first and the last crossing over the time between them. Empty when
// fewer than two crossings are found.
std::optional<double> ZeroCrossingFrequency(std::span<const double> x, double rate, double nominal);

}  // namespace msr
