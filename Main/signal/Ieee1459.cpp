#include "signal/Ieee1459.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "signal/Helpers.h"

namespace sig {
namespace {

real Sq(real x) { return x * x; }

// The part of a total RMS beyond its fundamental. Totals carry five
// decimals, so a total equal to its fundamental in five decimals holds
// nothing beyond it: the difference is the total's rounding, and a pure sine
// would otherwise show distortion.
real BeyondFundamental(real total, real fundamental) {
    if (RoundDec5(total) == RoundDec5(fundamental)) return 0;
    return std::sqrt(std::max<real>(Sq(total) - Sq(fundamental), 0));
}

// Effective voltage and current, total and fundamental.
struct TEffective {
    real Ue, Ie, Ue1, Ie1;

    real UeH() const { return BeyondFundamental(Ue, Ue1); }
    real IeH() const { return BeyondFundamental(Ie, Ie1); }
};

// The fundamentals as they flow: a channel switched off carries only its
// harmonics, whatever fundamental value it keeps for when it is on again.
struct TFundamentals {
    real U[3], I[3];
};

TFundamentals Flowing(const TSignalParamsU& v, const TSignalParamsI& c, const TSignalSwitches& switches) {
    TFundamentals f{};
    for (int x = fzA; x <= fzC; ++x) {
        f.U[x] = UOn(switches, x) ? U(v, x) : 0;
        f.I[x] = IOn(switches, x) ? I(c, x) : 0;
    }
    return f;
}

real SumSquares(real a, real b, real c) { return Sq(a) + Sq(b) + Sq(c); }

TEffective FourWire(const TSignalParamsU& v, const TSignalParamsI& c, const TFundamentals& f) {
    const auto ue = [](real a, real b, real cc, const TLineReals& lines) {
        return std::sqrt((3 * SumSquares(a, b, cc) + Sq(lines[lnAB]) + Sq(lines[lnBC]) + Sq(lines[lnCA])) / 18);
    };
    return {ue(v.URmsA, v.URmsB, v.URmsC, v.ULineRms),
            std::sqrt((SumSquares(c.IRmsA, c.IRmsB, c.IRmsC) + Sq(c.INRms)) / 3),
            ue(f.U[fzA], f.U[fzB], f.U[fzC], v.ULine),
            std::sqrt((SumSquares(f.I[fzA], f.I[fzB], f.I[fzC]) + Sq(c.IN1)) / 3)};
}

TEffective ThreeWire(const TSignalParamsU& v, const TSignalParamsI& c, const TFundamentals& f) {
    return {std::sqrt(SumSquares(v.ULineRms[lnAB], v.ULineRms[lnBC], v.ULineRms[lnCA]) / 9),
            std::sqrt(SumSquares(c.IRmsA, c.IRmsB, c.IRmsC) / 3),
            std::sqrt(SumSquares(v.ULine[lnAB], v.ULine[lnBC], v.ULine[lnCA]) / 9),
            std::sqrt(SumSquares(f.I[fzA], f.I[fzB], f.I[fzC]) / 3)};
}

// A power factor limited to -1 ... 1; with no apparent power only the sign of P counts.
real PowerFactor(real p, real s) {
    real k = 0;
    if (s > 0) k = p / s;
    else if (!IsZeroReal(p)) k = p > 0 ? 1 : -1;
    return std::clamp<real>(k, -1, 1);
}

void PerPhase(const TSignalParamsU& v, const TSignalParamsI& c, const TFundamentals& f, const TPowerParams& fundamental,
              const TPowerParams& full, int x, TIeee1459Params& r) {
    const real u1 = f.U[x], i1 = f.I[x];
    const real s1 = fundamental.S[x], s = full.S[x];
    const real iH = BeyondFundamental(IRms(c, x), i1);
    const real uH = BeyondFundamental(URms(v, x), u1);
    r.DI[x] = i1 > 0 ? iH * s1 / i1 : s;
    r.DU[x] = u1 > 0 ? uH * s1 / u1 : s;
    r.SH[x] = i1 > 0 && u1 > 0 ? uH * iH * s1 / (i1 * u1) : s;
    r.SN[x] = std::sqrt(Sq(r.DI[x]) + Sq(r.DU[x]) + Sq(r.SH[x]));
    r.PH[x] = full.P[x] - fundamental.P[x];
    const real dh = Sq(r.SH[x]) - Sq(r.PH[x]);
    r.DH[x] = dh > 0 ? std::sqrt(dh) : 0;
}

struct TViewResult {
    real Se, KE, DeI, DeU, SeH, SeN, DeH, HP;
};

TViewResult View(const TEffective& e, real p, real phSum) {
    TViewResult r{};
    const real ueH = e.UeH(), ieH = e.IeH();
    r.Se = 3 * e.Ue * e.Ie;
    r.KE = PowerFactor(p, r.Se);
    r.DeI = 3 * e.Ue1 * ieH;
    r.DeU = 3 * ueH * e.Ie1;
    r.SeH = 3 * ueH * ieH;
    r.SeN = std::sqrt(Sq(r.DeI) + Sq(r.DeU) + Sq(r.SeH));
    const real deH = Sq(r.SeH) - Sq(phSum);
    r.DeH = deH > 0 ? std::sqrt(deH) : 0;
    const real se1 = 3 * e.Ue1 * e.Ie1;
    r.HP = std::min<real>(se1 > 0 ? r.SeN / se1 * 100 : 100, 100);
    return r;
}

// ---------------------------------------------------------------- load unbalance

// Load unbalance sets the effective fundamental apparent power against three
// times the positive-sequence apparent power, and the root of the difference
// of their squares magnifies any disagreement between the two. The records
// hold their inputs rounded to five decimals at different steps (the line
// voltages, the neutral current, the sequence magnitudes and their product),
// and that rounding alone would show a balanced sine a hundredth of a percent
// unbalanced. Both powers are therefore built here from the same unrounded
// phasors: a balanced set gives them equal, a real unbalance shows as it is.
struct TFundamentalPhasors {
    std::array<TPhasor, 3> U, I;  // as set, whether the channel is on or not
    TFundamentals Flowing;        // magnitudes as they flow
    TPhasor Neutral;              // the sum of the flowing currents
};

TFundamentalPhasors Phasors(const TSignalParamsU& v, const TSignalParamsI& c, const TFundamentals& flowing) {
    TFundamentalPhasors f{};
    f.Flowing = flowing;
    for (int x = fzA; x <= fzC; ++x) {
        f.U[x] = PhasorExact(U(v, x), Shift(v, x));
        f.I[x] = PhasorExact(I(c, x), AngleI(c, x));
        f.Neutral = f.Neutral + PhasorExact(flowing.I[x], AngleI(c, x));
    }
    return f;
}

real SqMagnitude(TPhasor p) { return Sq(p.x) + Sq(p.y); }

// The line fundamentals regard both phases as on, as the line voltages do.
real LineSquares(const TFundamentalPhasors& f) {
    return SqMagnitude(f.U[fzA] - f.U[fzB]) + SqMagnitude(f.U[fzB] - f.U[fzC]) + SqMagnitude(f.U[fzC] - f.U[fzA]);
}

real PositiveSequence(const std::array<TPhasor, 3>& p) { return std::sqrt(SqMagnitude(SequencePhasors(p).Pos)); }

real FourWireFundamentalPower(const TFundamentalPhasors& f) {
    const TFundamentals& on = f.Flowing;
    const real ue1 = std::sqrt((3 * SumSquares(on.U[fzA], on.U[fzB], on.U[fzC]) + LineSquares(f)) / 18);
    const real ie1 = std::sqrt((SumSquares(on.I[fzA], on.I[fzB], on.I[fzC]) + SqMagnitude(f.Neutral)) / 3);
    return 3 * ue1 * ie1;
}

real ThreeWireFundamentalPower(const TFundamentalPhasors& f) {
    const TFundamentals& on = f.Flowing;
    return 3 * std::sqrt(LineSquares(f) / 9) * std::sqrt(SumSquares(on.I[fzA], on.I[fzB], on.I[fzC]) / 3);
}

// Equal powers, by the tolerance reals are compared with, leave no unbalance.
real LoadUnbalance(real se1, real s1Pos) {
    if (!(s1Pos > 0)) return 100;
    const real s1 = 3 * s1Pos;
    const real su1 = se1 > s1 && !SameReal(se1, s1) ? std::sqrt(Sq(se1) - Sq(s1)) : 0;
    return std::min<real>(su1 / s1 * 100, 100);
}

}  // namespace

void CalcIeee1459(const TSignalParamsU& v, const TSignalParamsI& c, const TSignalSwitches& switches,
                  const TPowerParams& fundamental, const TPowerParams& full, TIeee1459Params& r) {
    r = TIeee1459Params{};
    const TFundamentals f = Flowing(v, c, switches);
    for (int x = fzA; x <= fzC; ++x) PerPhase(v, c, f, fundamental, full, x, r);
    r.PHSum = r.PH[fzA] + r.PH[fzB] + r.PH[fzC];
    r.K1 = PowerFactor(full.PSeq[sqPos], full.SSeq[sqPos]);

    const TViewResult w4 = View(FourWire(v, c, f), full.PSum, r.PHSum);
    const TViewResult w3 = View(ThreeWire(v, c, f), full.PSum, r.PHSum);
    r.Se4 = w4.Se, r.Se3 = w3.Se;
    r.KE4 = w4.KE, r.KE3 = w3.KE;
    r.DeI4 = w4.DeI, r.DeI3 = w3.DeI;
    r.DeU4 = w4.DeU, r.DeU3 = w3.DeU;
    r.SeH4 = w4.SeH, r.SeH3 = w3.SeH;
    r.SeN4 = w4.SeN, r.SeN3 = w3.SeN;
    r.DeH4 = w4.DeH, r.DeH3 = w3.DeH;
    r.HP4 = w4.HP, r.HP3 = w3.HP;

    const TFundamentalPhasors phasors = Phasors(v, c, f);
    const real s1Pos = PositiveSequence(phasors.U) * PositiveSequence(phasors.I);
    r.LU4 = LoadUnbalance(FourWireFundamentalPower(phasors), s1Pos);
    r.LU3 = LoadUnbalance(ThreeWireFundamentalPower(phasors), s1Pos);
}

}  // namespace sig
