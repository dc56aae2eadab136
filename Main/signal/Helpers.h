#pragma once

#include <array>

#include "signal/Records.h"

// The arithmetic every signal calculation shares.
namespace sig {

// Folds an angle in degrees into -180 (inclusive) ... 180 (exclusive).
real NormalizeAngle(real x);

// x in double precision divided by 1e-5, rounded half to even and multiplied
// back: the five-decimal rounding the displayed and exported values carry.
double RoundDec5(real x);
double RoundDec10(real x);

// a and b are the same when |a - b| <= max(1e-16 * min(|a|, |b|), 1e-16).
bool SameReal(real a, real b);
bool IsZeroReal(real x);

// The deviation of a value from a nominal in percent, both rounded to five
// decimals first. Raises "Значение номинала должно быть отличным от нуля"
// for a nominal that is zero after that rounding.
real DeviationPercent(real value, real nominal);

struct TPhasor {
    real x = 0;
    real y = 0;
};

TPhasor operator+(TPhasor p, TPhasor q);
TPhasor operator-(TPhasor p, TPhasor q);
// Both components times a magnitude.
TPhasor operator*(real magnitude, TPhasor unit);

// (cos, sin) of an angle in degrees. Whole quarter turns are taken off the
// angle exactly first, so multiples of 90 degrees give exact 0 and 1.
TPhasor UnitPhasor(real angleDeg);
real CosDeg(real angleDeg);
// magnitude * UnitPhasor(angle), each component unrounded.
TPhasor PhasorExact(real magnitude, real angleDeg);
// The same with both components rounded to five decimals.
TPhasor PhasorFromPolar(real magnitude, real angleDeg);
// The length of a phasor rounded to five decimals.
real PhasorMagnitude(TPhasor p);
// The folded angle of a phasor in degrees; a zero phasor has angle 0.
real PhasorAngle(TPhasor p);
TPolar ToPolar(TPhasor p);

// Symmetrical components of three phasors given by magnitude and angle.
TSymComponents SymmetricalComponents(const std::array<TPolar, 3>& phasors);

// The distortion of a block: the root of the sum of the squared coefficients
// of orders 1 ... count, and of interharmonics 1 ... interCount when included.
real Distortion(const THarmonicOrders& koef, int count, const TInterOrders& inter, int interCount, bool include);
real Distortion(const THarmonicOrders& koef, int count);

// The total RMS of a channel from its fundamental RMS and distortion in %;
// a channel switched off keeps only its harmonic content.
real TotalRms(bool on, real fundamental, real distortion);

}  // namespace sig
