#include "signal/Helpers.h"

#include <cmath>
#include <numbers>

#include "CommonUtils/TalvoError.h"

namespace sig {
namespace {

constexpr real kPi = std::numbers::pi_v<real>;

real SumOfSquares(const auto& koef, int first, int last) {
    real sum = 0;
    for (int n = first; n <= last; ++n)
        if (koef[n] != 0) sum += koef[n] * koef[n];
    return sum;
}

real RootOrZero(real sum) { return sum >= 0 ? std::sqrt(sum) : 0; }

// The nearest integer, ties to even, as rint gives it. Below 2^62 adding and
// taking off 1.5 x 2^63 does the same on the 64-bit mantissa at a fraction of
// the cost of the x87 rounding instruction.
real RoundToInteger(real q) {
    constexpr real kShift = 0x1.8p63L;
    if (!(std::fabs(q) < 0x1p62L)) return std::rint(q);
    const real shifted = q + kShift;
    return shifted - kShift;
}

// Rounding toward zero: the same as std::trunc, without the change of the
// x87 control word that trunc costs on every call.
real TruncToInteger(real q) {
    const real t = RoundToInteger(q);
    if (q >= 0 && t > q) return t - 1;
    if (q < 0 && t < q) return t + 1;
    return t;
}

// An angle in degrees as a whole number of quarter turns (0 ... 3) and the
// rest within 45 degrees, in radians. Taking the quarters off is exact, and
// the sine and cosine of the rest need no argument reduction of their own:
// faster and more accurate than reducing a large radian argument.
struct TReducedAngle {
    int quarters;
    real radians;
};

// The quarters need not be the nearest ones: the rest is exact for any whole
// number of them, so multiplying by 1/90 (not dividing) is enough here.
TReducedAngle Reduce(real angleDeg) {
    constexpr real kPerQuarter = 1 / 90.0L;
    constexpr real kRadiansPerDegree = kPi / 180;
    const real quarters = RoundToInteger(angleDeg * kPerQuarter);
    if (!(std::fabs(quarters) < 1e18L)) return {0, angleDeg * kRadiansPerDegree};
    // quarters is whole already: llrint converts it without the change of rounding mode a cast needs.
    return {static_cast<int>(std::llrint(quarters) & 3), (angleDeg - 90 * quarters) * kRadiansPerDegree};
}

}  // namespace

real NormalizeAngle(real x) {
    if (x >= 180) return x - 360 * TruncToInteger((x + 180) / 360);
    if (x < -180) {
        // Odd multiples of -180 would land on 180, outside the range.
        const real folded = x - 360 * TruncToInteger((x - 180) / 360);
        return folded == 180 ? -180 : folded;
    }
    return x;
}

real DeviationPercent(real value, real nominal) {
    const real rounded = RoundDec5(nominal);
    // A nominal that rounds to zero would divide by zero just the same.
    if (IsZeroReal(nominal) || rounded == 0) throw cmn::TalvoError("Значение номинала должно быть отличным от нуля");
    const real d = static_cast<real>(RoundDec5(value)) * 100 / rounded - 100;
    return IsZeroReal(d) ? 0 : d;
}

TPhasor UnitPhasor(real angleDeg) {
    const TReducedAngle r = Reduce(angleDeg);
    const real c = std::cos(r.radians);
    const real s = std::sin(r.radians);
    switch (r.quarters) {
        case 1: return {-s, c};
        case 2: return {-c, -s};
        case 3: return {s, -c};
        default: return {c, s};
    }
}

real CosDeg(real angleDeg) {
    const TReducedAngle r = Reduce(angleDeg);
    switch (r.quarters) {
        case 1: return -std::sin(r.radians);
        case 2: return -std::cos(r.radians);
        case 3: return std::sin(r.radians);
        default: return std::cos(r.radians);
    }
}


TPhasor PhasorExact(real magnitude, real angleDeg) { return magnitude * UnitPhasor(angleDeg); }

TPhasor PhasorFromPolar(real magnitude, real angleDeg) {
    const TPhasor p = PhasorExact(magnitude, angleDeg);
    return {RoundDec5(p.x), RoundDec5(p.y)};
}

real PhasorAngle(TPhasor p) {
    // Signed zeros would otherwise turn an empty phasor into -180 degrees.
    if (p.x == 0 && p.y == 0) return 0;
    return NormalizeAngle(std::atan2(p.y, p.x) * 180 / kPi);
}

TPolar ToPolar(TPhasor p) { return {PhasorMagnitude(p), PhasorAngle(p)}; }

TSymComponents SymmetricalComponents(const std::array<TPolar, 3>& phasors) {
    const TPhasor va = PhasorFromPolar(phasors[0].Magnitude, phasors[0].Angle);
    const TPhasor vb = PhasorFromPolar(phasors[1].Magnitude, phasors[1].Angle);
    const TPhasor vc = PhasorFromPolar(phasors[2].Magnitude, phasors[2].Angle);
    const real twoRoot3 = 2 * std::sqrt(3.0L);
    const real a = (va.x - (vb.x + vc.x) / 2) / 3;
    const real b = (va.y - (vb.y + vc.y) / 2) / 3;
    const real c = (vb.y - vc.y) / twoRoot3;
    const real d = (vb.x - vc.x) / twoRoot3;
    TSymComponents s;
    s.Pos = ToPolar({a - c, b + d});
    s.Neg = ToPolar({a + c, b - d});
    s.Zero = ToPolar({(va.x + vb.x + vc.x) / 3, (va.y + vb.y + vc.y) / 3});
    return s;
}

real Distortion(const THarmonicOrders& koef, int count, const TInterOrders& inter, int interCount, bool include) {
    real sum = SumOfSquares(koef, 1, std::clamp(count, 0, kHarmonics));
    if (include) sum += SumOfSquares(inter, 1, std::clamp(interCount, 0, kInterHarmonics));
    return RootOrZero(sum);
}

real Distortion(const THarmonicOrders& koef, int count) {
    return RootOrZero(SumOfSquares(koef, 1, std::clamp(count, 0, kHarmonics)));
}

real TotalRms(bool on, real fundamental, real distortion) {
    const real k = distortion / 100;
    return on ? RoundDec5(fundamental * std::sqrt(k * k + 1)) : RoundDec5(fundamental * k);
}

}  // namespace sig
