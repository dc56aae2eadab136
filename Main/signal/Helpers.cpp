#include "signal/Helpers.h"

#include <array>
#include <cmath>
#include <numbers>

#include "CommonUtils/TalvoError.h"

namespace sig {
namespace {

constexpr real kPi = std::numbers::pi_v<real>;
constexpr real kRadiansPerDegree = kPi / 180;

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

// sin of 0, 1, ..., 90 degrees, each the nearest long double to the true
// value (computed to 256 bits with mpmath). cos of n degrees is the sine of
// 90 - n, so 0, 30, 60 and 90 degrees give exact 0, 1/2 and 1.
constexpr std::array<real, 91> kSinDegrees{
    0.0L,
    0x8EF8595C4EE8F2B0p-69L,
    0x8EF2C64FBEE13AD4p-68L,
    0xD65E3A477E486DCBp-68L,
    0x8EDC7B6B52893F0Bp-67L,
    0xB27EB5C61408146Fp-67L,
    0xD61304D9E2BB6052p-67L,
    0xF996A2627B169AE4p-67L,
    0x8E8364B46CF0C9CEp-66L,
    0xA0305B3D429BA804p-66L,
    0xB1D0D3F05B9C4D17p-66L,
    0xC3636EEBB3127A52p-66L,
    0xD4E6CD6212C7AE6Cp-66L,
    0xE65991B66E33A673p-66L,
    0xF7BA5F9725C8E5D8p-66L,
    0x8483EE0C9834834Cp-65L,
    0x8D2056E994714B38p-65L,
    0x95B1BE7C1EAE3A0Ep-65L,
    0x9E3779B97F4A7C16p-65L,
    0xA6B0DE80066EDB82p-65L,
    0xAF1D43A4505FAAE7p-65L,
    0xB77C00FE7699E0BDp-65L,
    0xBFCC6F772CB40AFAp-65L,
    0xC80DE914C7FD55AAp-65L,
    0xD03FC90830D687EDp-65L,
    0xD8616BB9BCC29744p-65L,
    0xE0722ED5F02E41F6p-65L,
    0xE871715A26F00623p-65L,
    0xF05E93A12283C3B3p-65L,
    0xF838F76F7D0763C1p-65L,
    0x8000000000000000p-64L,
    0x83D98907EEF89BEEp-64L,
    0x87A8C9F566E953D6p-64L,
    0x8B6D76BB83B8E7DAp-64L,
    0x8F2744208FE8929Ep-64L,
    0x92D5E7C3E24BC370p-64L,
    0x96791823AAD2EF6Ep-64L,
    0x9A108CA2ADF5B0E8p-64L,
    0x9D9BFD8DEE49C722p-64L,
    0xA11B242243D5EC73p-64L,
    0xA48DBA91E0B0E55Dp-64L,
    0xA7F37C09C27EA0A5p-64L,
    0xAB4C24B7105EBE4Ap-64L,
    0xAE9771CC64E159B9p-64L,
    0xB1D5218703988258p-64L,
    0xB504F333F9DE6484p-64L,
    0xB826A7352A69C438p-64L,
    0xBB39FF06434C11B1p-64L,
    0xBE3EBD419DF60F58p-64L,
    0xC134A5A508E1B6D7p-64L,
    0xC41B7D167A81C991p-64L,
    0xC6F309A8AD193E6Ep-64L,
    0xC9BB129FA31E8BDBp-64L,
    0xCC73607513D0A13Bp-64L,
    0xCF1BBCDCBFA53E0Bp-64L,
    0xD1B3F2C8AC3A375Cp-64L,
    0xD43BCE6D477524E4p-64L,
    0xD6B31D45717EDE83p-64L,
    0xD919AE166D4A28FBp-64L,
    0xDB6F50F3B756ECADp-64L,
    0xDDB3D742C265539Ep-64L,
    0xDFE713BE99CE3442p-64L,
    0xE208DA7B69383CA8p-64L,
    0xE41900E9E9636560p-64L,
    0xE6175DDAB1C64CC5p-64L,
    0xE803C9816EBB39EAp-64L,
    0xE9DE1D77FBFCAA15p-64L,
    0xEBA634C163337497p-64L,
    0xED5BEBCCBE5ABE4Fp-64L,
    0xEEFF2077FDC0286Fp-64L,
    0xF08FB2129168DCD7p-64L,
    0xF20D815FF5A6556Bp-64L,
    0xF378709A22A7FAF3p-64L,
    0xF4D06373DED8FB4Dp-64L,
    0xF6153F1AF3DBFDADp-64L,
    0xF746EA3A45F8A62Ap-64L,
    0xF8654CFBCDD127F4p-64L,
    0xF970510A743876C0p-64L,
    0xFA67E193D003FC55p-64L,
    0xFB4BEB49C5B60E66p-64L,
    0xFC1C5C6408E0BAD0p-64L,
    0xFCD924A17F22DCD1p-64L,
    0xFD82354984A3CC9Fp-64L,
    0xFE17812D11F45BBDp-64L,
    0xFE98FCA7C33E3364p-64L,
    0xFF069DA0C0AD0F12p-64L,
    0xFF605B8B87FFB39Ap-64L,
    0xFFA62F689730EAECp-64L,
    0xFFD813C5F82B35B0p-64L,
    0xFFF604BFAD7C4DCFp-64L,
    0x8000000000000000p-63L,
};

// 1 - cos and sin of an angle of at most half a degree, in radians. The
// Taylor terms kept are all that still reach the 64-bit mantissa there;
// 1 - cos is kept apart so that adding the table's cosine rounds only once.
struct TSmallAngle {
    real OneMinusCos;
    real Sin;
};

TSmallAngle SmallAngle(real r) {
    const real z = r * r;
    return {z * (1.0L / 2 - z * (1.0L / 24 - z * (1.0L / 720 - z * (1.0L / 40320)))),
            r * (1 - z * (1.0L / 6 - z * (1.0L / 120 - z * (1.0L / 5040))))};
}

// Below this the whole degrees of an angle convert to an integer exactly.
constexpr real kWholeDegreesLimit = 0x1p52L;

}  // namespace

real NormalizeAngle(real x) {
    if (x >= -180 && x < 180) return x;
    const real turns = TruncToInteger((x >= 180 ? x + 180 : x - 180) / 360);
    const real folded = x - 360 * turns;
    // Odd multiples of -180 would land on 180, outside the range.
    return folded == 180 ? -180 : folded;
}

real DeviationPercent(real value, real nominal) {
    const real rounded = RoundDec5(nominal);
    // A nominal that rounds to zero would divide by zero just the same.
    if (IsZeroReal(nominal) || rounded == 0) throw cmn::TalvoError("Значение номинала должно быть отличным от нуля");
    const real d = static_cast<real>(RoundDec5(value)) * 100 / rounded - 100;
    return IsZeroReal(d) ? 0 : d;
}

// The angle is split into whole degrees and a rest of at most half a degree;
// the rest is exact, the whole degrees are taken modulo 360 as an integer,
// and their sine and cosine come from the table. The sum formula joins the two.
TPhasor UnitPhasor(real angleDeg) {
    if (!(std::fabs(angleDeg) < kWholeDegreesLimit)) {
        const real radians = angleDeg * kRadiansPerDegree;
        return {std::cos(radians), std::sin(radians)};
    }
    const real whole = RoundToInteger(angleDeg);
    const TSmallAngle rest = SmallAngle((angleDeg - whole) * kRadiansPerDegree);
    // Through double: exact below 2^53, and converted without the x87 rounding-mode switch.
    long long degrees = static_cast<long long>(static_cast<double>(whole)) % 360;
    if (degrees < 0) degrees += 360;
    const int inQuarter = static_cast<int>(degrees % 90);
    const real s = kSinDegrees[inQuarter];
    const real c = kSinDegrees[90 - inQuarter];
    const TPhasor u{c - (c * rest.OneMinusCos + s * rest.Sin), s - (s * rest.OneMinusCos - c * rest.Sin)};
    switch (degrees / 90) {
        case 1: return {-u.y, u.x};
        case 2: return {-u.x, -u.y};
        case 3: return {u.y, -u.x};
        default: return u;
    }
}

real CosDeg(real angleDeg) { return UnitPhasor(angleDeg).x; }

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

TSequencePhasors SequencePhasors(const std::array<TPhasor, 3>& p) {
    const TPhasor va = p[0], vb = p[1], vc = p[2];
    const real twoRoot3 = 2 * std::sqrt(3.0L);
    const real a = (va.x - (vb.x + vc.x) / 2) / 3;
    const real b = (va.y - (vb.y + vc.y) / 2) / 3;
    const real c = (vb.y - vc.y) / twoRoot3;
    const real d = (vb.x - vc.x) / twoRoot3;
    return {{a - c, b + d}, {a + c, b - d}, {(va.x + vb.x + vc.x) / 3, (va.y + vb.y + vc.y) / 3}};
}

TSymComponents SymmetricalComponents(const std::array<TPolar, 3>& phasors) {
    std::array<TPhasor, 3> rounded;
    for (std::size_t k = 0; k < rounded.size(); ++k)
        rounded[k] = PhasorFromPolar(phasors[k].Magnitude, phasors[k].Angle);
    const TSequencePhasors q = SequencePhasors(rounded);
    TSymComponents s;
    s.Pos = ToPolar(q.Pos);
    s.Neg = ToPolar(q.Neg);
    s.Zero = ToPolar(q.Zero);
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
