#pragma once

#include <algorithm>
#include <array>
#include <cmath>

#include "signal/Records.h"

// The arithmetic every signal calculation shares.
namespace sig {

// Folds an angle in degrees into -180 (inclusive) ... 180 (exclusive).
real NormalizeAngle(real x);

// x in double precision divided by 1e-5, rounded half to even and multiplied
// back: the five-decimal rounding the displayed and exported values carry.
// (rint rounds as nearbyint does under the default rounding mode, without
// saving and restoring the floating-point environment.)
inline double RoundDec5(real x) { return std::rint(static_cast<double>(x) / 1e-5) * 1e-5; }
inline double RoundDec3(real x) { return std::rint(static_cast<double>(x) / 1e-3) * 1e-3; }
inline double RoundDec10(real x) { return std::rint(static_cast<double>(x) / 1e-10) * 1e-10; }

// a and b are the same when |a - b| <= max(1e-16 * min(|a|, |b|), 1e-16).
inline bool SameReal(real a, real b) {
    const real tolerance = std::max(1e-16L * std::min(std::fabs(a), std::fabs(b)), 1e-16L);
    return std::fabs(a - b) <= tolerance;
}
inline bool IsZeroReal(real x) { return SameReal(x, 0); }

// The deviation of a value from a nominal in percent, both rounded to five
// decimals first. Raises "Значение номинала должно быть отличным от нуля"
// for a nominal that is zero after that rounding.
real DeviationPercent(real value, real nominal);

struct TPhasor {
    real x = 0;
    real y = 0;
};

inline TPhasor operator+(TPhasor p, TPhasor q) { return {p.x + q.x, p.y + q.y}; }
inline TPhasor operator-(TPhasor p, TPhasor q) { return {p.x - q.x, p.y - q.y}; }
// Both components times a magnitude.
inline TPhasor operator*(real magnitude, TPhasor unit) { return {magnitude * unit.x, magnitude * unit.y}; }

// (cos, sin) of an angle in degrees. Whole quarter turns are taken off the
// angle exactly first, so multiples of 90 degrees give exact 0 and 1.
TPhasor UnitPhasor(real angleDeg);
real CosDeg(real angleDeg);
// magnitude * UnitPhasor(angle), each component unrounded.
TPhasor PhasorExact(real magnitude, real angleDeg);
// The same with both components rounded to five decimals.
TPhasor PhasorFromPolar(real magnitude, real angleDeg);
// The length of a phasor rounded to five decimals.
inline real PhasorMagnitude(TPhasor p) { return RoundDec5(std::sqrt(p.x * p.x + p.y * p.y)); }
// The folded angle of a phasor in degrees; a zero phasor has angle 0.
real PhasorAngle(TPhasor p);
TPolar ToPolar(TPhasor p);

// The positive, negative and zero sequences of three phasors, unrounded.
struct TSequencePhasors {
    TPhasor Pos, Neg, Zero;
};
TSequencePhasors SequencePhasors(const std::array<TPhasor, 3>& phasors);

// Symmetrical components of three phasors given by magnitude and angle, each
// phasor's components rounded to five decimals first.
TSymComponents SymmetricalComponents(const std::array<TPolar, 3>& phasors);

// The distortion of a block: the root of the sum of the squared coefficients
// of orders 1 ... count, and of interharmonics 1 ... interCount when included.
real Distortion(const THarmonicOrders& koef, int count, const TInterOrders& inter, int interCount, bool include);
real Distortion(const THarmonicOrders& koef, int count);

// The total RMS of a channel from its fundamental RMS and distortion in %;
// a channel switched off keeps only its harmonic content.
real TotalRms(bool on, real fundamental, real distortion);

}  // namespace sig
