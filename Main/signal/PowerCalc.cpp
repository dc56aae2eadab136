#include <cmath>

#include "signal/Calculations.h"
#include "signal/Helpers.h"

namespace sig {
namespace {

// The fundamental powers of a phase; nothing flows when either channel is off.
void FundamentalPowers(const TSignalParamsU& v, const TSignalParamsI& c, const TSignalSwitches& switches, int phase,
                       TPowerSummary& r) {
    const bool on = UOn(switches, phase) && IOn(switches, phase);
    const real phi = PhiUI(c, phase);
    r.S[phase] = on ? RoundDec5(U(v, phase) * I(c, phase)) : 0;
    r.CosPhi[phase] = on ? CosDeg(phi) : 0;
    const TPhasor pq = PhasorFromPolar(r.S[phase], phi);
    r.P[phase] = pq.x;
    r.Q[phase] = pq.y;
}

// The active power of the harmonics (and of the interharmonics when included).
real ComponentActivePower(const TCurrentAngles& angles, const TSignalParamsU& v, const TSignalParamsI& c,
                          bool includeInter, int phase) {
    const TGarmonikFaza& hu = v.Garmonik.Faza(phase);
    const TGarmonikFaza& hi = c.Garmonik.Faza(phase);
    const real u = U(v, phase);
    const real i = I(c, phase);
    real sum = 0;
    for (int n = 1; n <= kHarmonics; ++n)
        sum += (u * hu.Koef[n] / 100) * (i * hi.Koef[n] / 100) * angles.Harmonic(phase, n).x;
    if (includeInter) {
        const TInterGarmonik& iu = v.InterGarm[phase];
        const TInterGarmonik& ii = c.InterGarm[phase];
        for (int m = 1; m <= kInterHarmonics; ++m)
            sum += (u * iu.Koef[m] / 100) * (i * ii.Koef[m] / 100) * angles.Inter(phase, m).x;
    }
    return sum;
}

void FullPowers(const TCurrentAngles& angles, const TSignalParamsU& v, const TSignalParamsI& c,
                const TSignalSwitches& switches, int phase, TPowerSummary& r) {
    FundamentalPowers(v, c, switches, phase, r);
    const real p = r.P[phase] + ComponentActivePower(angles, v, c, switches.IncludeInterGarm, phase);
    const real s = URms(v, phase) * IRms(c, phase);
    real q = std::sqrt(std::fmax(s * s - p * p, 0.0L));
    if (PhiUI(c, phase) < 0) q = -q;
    r.P[phase] = RoundDec5(p);
    r.Q[phase] = RoundDec5(q);
    r.S[phase] = RoundDec5(s);
}

void SequencePower(const TPolar& voltage, real current, real phi, int sequence, TPowerSummary& r) {
    r.SSeq[sequence] = RoundDec5(voltage.Magnitude * current);
    const TPhasor pq = PhasorFromPolar(r.SSeq[sequence], phi);
    r.PSeq[sequence] = pq.x;
    r.QSeq[sequence] = pq.y;
}

real Ratio(real part, real s) { return SameReal(s, 0) ? 0 : part / s; }

void Totals(const TSignalParamsU& v, const TSignalParamsI& c, TPowerSummary& r) {
    r.PSum = r.P[fzA] + r.P[fzB] + r.P[fzC];
    r.QSum = r.Q[fzA] + r.Q[fzB] + r.Q[fzC];
    r.SSum = r.S[fzA] + r.S[fzB] + r.S[fzC];
    SequencePower(v.SymFaza.Pos, c.I1, c.PhiUI1, sqPos, r);
    SequencePower(v.SymFaza.Neg, c.I2, c.PhiUI2, sqNeg, r);
    SequencePower(v.SymFaza.Zero, c.I0, c.PhiUI0, sqZero, r);
    for (int phase = fzA; phase <= fzC; ++phase) {
        r.PFactor[phase] = Ratio(r.P[phase], r.S[phase]);
        r.QFactor[phase] = Ratio(r.Q[phase], r.S[phase]);
    }
    r.PFactor[kSum] = Ratio(r.PSum, r.SSum);
    r.QFactor[kSum] = Ratio(r.QSum, r.SSum);
}

}  // namespace

void CalcPowerParams(const TSignalParamsU& v, const TSignalParamsI& c, const TSignalSwitches& switches,
                     bool fullPowersShown, TEnergyParams& energy, const TPowerRecords& powers,
                     ISignalDisplay* display) {
    CalcPowerParams(TCurrentAngles(c), v, c, switches, fullPowersShown, energy, powers, display);
}

void CalcPowerParams(const TCurrentAngles& angles, const TSignalParamsU& v, const TSignalParamsI& c,
                     const TSignalSwitches& switches, bool fullPowersShown, TEnergyParams& energy,
                     const TPowerRecords& powers, ISignalDisplay* display) {
    TPowerSummary fundamental;
    TPowerSummary full;
    for (int phase = fzA; phase <= fzC; ++phase) {
        FundamentalPowers(v, c, switches, phase, fundamental);
        FullPowers(angles, v, c, switches, phase, full);
    }
    Totals(v, c, fundamental);
    Totals(v, c, full);
    static_cast<TPowerSummary&>(powers.Fundamental) = fundamental;
    static_cast<TPowerSummary&>(powers.Full) = full;
    static_cast<TPowerSummary&>(powers.Shown) = fullPowersShown ? full : fundamental;

    energy.EnergyP = (full.P[fzA] + full.P[fzB] + full.P[fzC]) * energy.TestSeconds / 3600;
    energy.EnergyQ = (full.Q[fzA] + full.Q[fzB] + full.Q[fzC]) * energy.TestSeconds / 3600;
    if (display) display->DrawVectorDiagram(v, c);
}

void CalcPhaseFundamentalPowers(const TSignalParamsU& v, const TSignalParamsI& c, const TSignalSwitches& switches,
                                int phase, TPowerParams& fundamental) {
    FundamentalPowers(v, c, switches, phase, fundamental);
}

void CalcHarmonicPowers(const TSignalParamsU& v, const TSignalParamsI& c, TPowerParams& fundamental) {
    CalcHarmonicPowers(TCurrentAngles(c), v, c, fundamental);
}

void CalcHarmonicPowers(const TCurrentAngles& angles, const TSignalParamsU& v, const TSignalParamsI& c,
                        TPowerParams& fundamental) {
    for (int n = 2; n <= kHarmonics; ++n) {
        real p = 0, q = 0, s = 0;
        for (int phase = fzA; phase <= fzC; ++phase) {
            const TGarmonikFaza& hi = c.Garmonik.Faza(phase);
            const real sn = (U(v, phase) * v.Garmonik.Faza(phase).Koef[n] / 100) * (I(c, phase) * hi.Koef[n] / 100);
            fundamental.SGarm[phase][n] = sn;
            const TPhasor& unit = angles.Harmonic(phase, n);
            fundamental.PGarm[phase][n] = unit.x * sn;
            fundamental.QGarm[phase][n] = unit.y * sn;
            p += fundamental.PGarm[phase][n];
            q += fundamental.QGarm[phase][n];
            s += sn;
        }
        fundamental.PGarmSum[n] = p;
        fundamental.QGarmSum[n] = q;
        fundamental.SGarmSum[n] = s;
    }
}

}  // namespace sig
