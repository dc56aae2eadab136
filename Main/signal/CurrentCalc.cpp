#include <cmath>

#include "signal/Calculations.h"
#include "signal/Helpers.h"
#include "signal/Nominals.h"

namespace sig {
namespace {

// The phasor of a current component of the given order: the voltage's
// absolute angle of that order minus the stored voltage-minus-current angle.
TPhasor CurrentComponent(real amps, real koef, real order, real shiftU, real angleU, real phiUI) {
    return PhasorExact(amps * koef / 100, order * shiftU + angleU - phiUI);
}

real SquaredLength(TPhasor p) { return p.x * p.x + p.y * p.y; }

void CalcDeviationsAndAngles(TSignalParamsI& c, const TSignalParamsU& v) {
    const real reference = ReferenceCurrent(c.Nominal);
    for (int phase = fzA; phase <= fzC; ++phase) DeltaI(c, phase) = DeviationPercent(I(c, phase), reference);
    for (int phase = fzA; phase <= fzC; ++phase) AngleI(c, phase) = NormalizeAngle(Shift(v, phase) - PhiUI(c, phase));
    for (int line = lnAB; line <= lnCA; ++line)
        c.IAngleDiff[line] = NormalizeAngle(AngleI(c, line) - AngleI(c, (line + 1) % 3));
}

std::array<TPolar, 3> Fundamentals(const TSignalParamsI& c) {
    return {TPolar{c.IA, c.AngleIA}, TPolar{c.IB, c.AngleIB}, TPolar{c.IC, c.AngleIC}};
}

void CalcSequences(TSignalParamsI& c, const TSignalParamsU& v) {
    const TSymComponents s = SymmetricalComponents(Fundamentals(c));
    c.I1 = s.Pos.Magnitude;
    c.I0 = s.Zero.Magnitude;
    c.I2 = s.Neg.Magnitude;
    const bool any = !IsZeroReal(c.I1);
    c.KIZero = any ? c.I0 / c.I1 * 100 : 0;
    c.KINeg = any ? c.I2 / c.I1 * 100 : 0;
    c.PhiUI1 = NormalizeAngle(v.SymFaza.Pos.Angle - s.Pos.Angle);
    c.PhiUI2 = NormalizeAngle(v.SymFaza.Neg.Angle - s.Neg.Angle);
    c.PhiUI0 = NormalizeAngle(v.SymFaza.Zero.Angle - s.Zero.Angle);
}

// The unit phasor of the angle a - b from the unit phasors of a and b.
TPhasor AngleDifference(TPhasor a, TPhasor b) { return {a.x * b.x + a.y * b.y, a.y * b.x - a.x * b.y}; }

void CalcNeutral(const TVoltageSpectrum& spectrum, const TCurrentAngles& angles, TSignalParamsI& c,
                 const TSignalSwitches& switches) {
    TPhasor fundamental;
    for (int phase = fzA; phase <= fzC; ++phase)
        fundamental = fundamental + PhasorFromPolar(IOn(switches, phase) ? I(c, phase) : 0, AngleI(c, phase));
    c.IN1 = PhasorMagnitude(fundamental);

    real harmonics = 0;
    for (int n = 2; n <= kHarmonics; ++n) {
        TPhasor sum;
        for (int phase = fzA; phase <= fzC; ++phase)
            sum = sum + (I(c, phase) * c.Garmonik.Faza(phase).Koef[n] / 100) *
                            AngleDifference(spectrum.Harmonic(phase, n), angles.Harmonic(phase, n));
        harmonics += SquaredLength(sum);
    }
    real inter = 0;
    if (switches.IncludeInterGarm) {
        for (int m = 1; m <= kInterHarmonics; ++m) {
            TPhasor sum;
            for (int phase = fzA; phase <= fzC; ++phase)
                sum = sum + (I(c, phase) * c.InterGarm[phase].Koef[m] / 100) *
                                AngleDifference(spectrum.Inter(phase, m), angles.Inter(phase, m));
            inter += SquaredLength(sum);
        }
    }
    c.INRms = std::sqrt(c.IN1 * c.IN1 + harmonics + inter);
}

void CalcCurrentTotals(TSignalParamsI& c, const TSignalSwitches& switches) {
    // Back from the deviation: for the nominals 1 and 5 this is IX in five decimals.
    const real reference = ReferenceCurrent(c.Nominal);
    for (int phase = fzA; phase <= fzC; ++phase) {
        const real fundamental = (1 + DeltaI(c, phase) / 100) * reference;
        const real k = Distortion(c.Garmonik.Faza(phase).Koef, kHarmonics, c.InterGarm[phase].Koef, kInterHarmonics,
                                  switches.IncludeInterGarm);
        IRms(c, phase) = TotalRms(IOn(switches, phase), fundamental, k);
    }
    for (int phase = fzA; phase <= fzC; ++phase)
        c.KI[phase] = Distortion(c.Garmonik.Faza(phase).Koef, switches.HarmCountI);
}

void CalcComponentAmps(TSignalParamsI& c) {
    c.IRmsMean = (c.IRmsA + c.IRmsB + c.IRmsC) / 3;
    c.IMean = (c.IA + c.IB + c.IC) / 3;
    for (int phase = fzA; phase <= fzC; ++phase) {
        const TGarmonikFaza& block = c.Garmonik.Faza(phase);
        for (int n = 2; n <= kHarmonics; ++n) c.IGarmAmps[phase][n] = block.Koef[n] / 100 * I(c, phase);
        for (int m = 1; m <= kInterHarmonics; ++m)
            c.IInterAmps[phase][m] = c.InterGarm[phase].Koef[m] / 100 * I(c, phase);
    }
}

// Minus the sum of the components of phases A and C of one order.
TPhasor ComponentOfB(TPhasor a, TPhasor c) { return {-(a.x + c.x), -(a.y + c.y)}; }

struct TComponentOfB {
    real Koef = 0;
    real Angle = 0;
};

TComponentOfB RelativeToB(TPhasor b, real ib, real order, real shiftB, real angleUB) {
    if (ib == 0) return {};
    const real koef = std::sqrt(SquaredLength(b)) / ib * 100;
    if (IsZeroReal(koef)) return {koef, 0};
    return {koef, NormalizeAngle(order * shiftB + angleUB - PhasorAngle(b))};
}

}  // namespace

TCurrentAngles::TCurrentAngles(const TSignalParamsI& c) {
    for (int phase = fzA; phase <= fzC; ++phase) {
        const TGarmonikFaza& h = c.Garmonik.Faza(phase);
        for (int n = 1; n <= kHarmonics; ++n) harmonics_[phase][n] = UnitPhasor(h.Angle[n]);
        const TInterGarmonik& inter = c.InterGarm[phase];
        for (int m = 1; m <= kInterHarmonics; ++m) inter_[phase][m] = UnitPhasor(inter.Angle[m]);
    }
}

void CalcCurrentParams(TSignalParamsI& c, const TSignalParamsU& v, const TSignalSwitches& switches,
                       ISignalDisplay* display) {
    CalcCurrentParams(TVoltageSpectrum(v), TCurrentAngles(c), c, v, switches, display);
}

void CalcCurrentParams(const TVoltageSpectrum& spectrum, const TCurrentAngles& angles, TSignalParamsI& c,
                       const TSignalParamsU& v, const TSignalSwitches& switches, ISignalDisplay* display) {
    CalcDeviationsAndAngles(c, v);
    if (display) display->ShowCurrentPhasors(Fundamentals(c));
    CalcSequences(c, v);
    CalcNeutral(spectrum, angles, c, switches);
    CalcCurrentTotals(c, switches);
    CalcComponentAmps(c);
    if (display) display->ShowCurrentValues(c);
}

void DeriveThreeWireCurrentB(const TSignalParamsU& v, TSignalParamsI& c) {
    const real thetaA = NormalizeAngle(v.ShiftA - c.PhiUIA);
    const real thetaC = NormalizeAngle(v.ShiftC - c.PhiUIC);
    const TPhasor fundamental = ComponentOfB(PhasorFromPolar(c.IA, thetaA), PhasorFromPolar(c.IC, thetaC));
    c.IB = PhasorMagnitude(fundamental);
    c.PhiUIB = NormalizeAngle(v.ShiftB - PhasorAngle(fundamental));

    const TGarmonikFaza& ua = v.Garmonik.a;
    const TGarmonikFaza& uc = v.Garmonik.c;
    TGarmonikFaza& b = c.Garmonik.b;
    for (int n = 2; n <= kHarmonics; ++n) {
        const TPhasor sum =
            ComponentOfB(CurrentComponent(c.IA, c.Garmonik.a.Koef[n], n, v.ShiftA, ua.Angle[n], c.Garmonik.a.Angle[n]),
                         CurrentComponent(c.IC, c.Garmonik.c.Koef[n], n, v.ShiftC, uc.Angle[n], c.Garmonik.c.Angle[n]));
        const TComponentOfB r = RelativeToB(sum, c.IB, n, v.ShiftB, v.Garmonik.b.Angle[n]);
        b.Koef[n] = r.Koef;
        b.Angle[n] = r.Angle;
    }
    const TInterGarmonik& ia = c.InterGarm[fzA];
    const TInterGarmonik& ic = c.InterGarm[fzC];
    TInterGarmonik& ib = c.InterGarm[fzB];
    for (int m = 1; m <= kInterHarmonics; ++m) {
        const real order = m + 0.5L;
        const TPhasor sum =
            ComponentOfB(CurrentComponent(c.IA, ia.Koef[m], order, v.ShiftA, v.InterGarm[fzA].Angle[m], ia.Angle[m]),
                         CurrentComponent(c.IC, ic.Koef[m], order, v.ShiftC, v.InterGarm[fzC].Angle[m], ic.Angle[m]));
        const TComponentOfB r = RelativeToB(sum, c.IB, order, v.ShiftB, v.InterGarm[fzB].Angle[m]);
        ib.Koef[m] = r.Koef;
        ib.Angle[m] = r.Angle;
    }
}

}  // namespace sig
