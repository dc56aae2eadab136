#include <algorithm>
#include <cmath>
#include <numbers>

#include "signal/Calculations.h"
#include "signal/Helpers.h"

namespace sig {
namespace {

constexpr real kPi = std::numbers::pi_v<real>;

// One component of a line: the difference of the phase phasors of one order.
struct TLineComponent {
    TPhasor d;
    real magnitude;  // rounded to five decimals
};

TLineComponent LineComponent(real ux, real kx, const TPhasor& unitX, real uy, real ky, const TPhasor& unitY) {
    TLineComponent c;
    c.d = (ux * kx / 100) * unitX - (uy * ky / 100) * unitY;
    c.magnitude = PhasorMagnitude(c.d);
    return c;
}

// Calls visit(isInter, index, order, component) for the harmonics n = 1 ... 50
// and the interharmonics m = 1 ... 49 (order m + 0.5) of a line, the phase
// fundamentals being ux and uy.
template <class Visit>
void ForEachLineComponent(const TVoltageSpectrum& spectrum, const TSignalParamsU& v, int line, real ux, real uy,
                          Visit visit) {
    const int x = LineFirstPhase(line);
    const int y = LineSecondPhase(line);
    const TGarmonikFaza& hx = v.Garmonik.Faza(x);
    const TGarmonikFaza& hy = v.Garmonik.Faza(y);
    for (int n = 1; n <= kHarmonics; ++n)
        visit(false, n, static_cast<real>(n),
              LineComponent(ux, hx.Koef[n], spectrum.Harmonic(x, n), uy, hy.Koef[n], spectrum.Harmonic(y, n)));
    const TInterGarmonik& ix = v.InterGarm[x];
    const TInterGarmonik& iy = v.InterGarm[y];
    for (int m = 1; m <= kInterHarmonics; ++m)
        visit(true, m, m + 0.5L,
              LineComponent(ux, ix.Koef[m], spectrum.Inter(x, m), uy, iy.Koef[m], spectrum.Inter(y, m)));
}

// The fundamental term of a line's total: a phase switched off adds nothing.
real LineFundamentalTerm(const TSignalParamsU& v, int line, real ux, real uy, const TSignalSwitches& switches) {
    const int x = LineFirstPhase(line);
    const int y = LineSecondPhase(line);
    return PhasorMagnitude(PhasorFromPolar(UOn(switches, x) ? ux : 0, Shift(v, x)) -
                           PhasorFromPolar(UOn(switches, y) ? uy : 0, Shift(v, y)));
}

real LineRms(real fundamental, real harmonicSquares, real interSquares, bool includeInter) {
    return std::sqrt(fundamental * fundamental + harmonicSquares + (includeInter ? interSquares : 0));
}

// The angle of a line component relative to the line's fundamental, taken
// through the arcsine so that it matches the values the program has always shown.
real ComponentAngle(const TLineComponent& c, real order, real lineAngle) {
    if (c.magnitude == 0) return 0;
    const real sine = std::clamp<real>(RoundDec10(c.d.y / c.magnitude), -1, 1);
    real phi = std::asin(sine) * 180 / kPi;
    if (c.d.x <= 0) phi = c.d.y >= 0 ? 180 - phi : -180 - phi;
    return NormalizeAngle(phi - order * lineAngle);
}

void CalcLine(const TVoltageSpectrum& spectrum, TSignalParamsU& v, int line, const TSignalSwitches& switches) {
    const int x = LineFirstPhase(line);
    const int y = LineSecondPhase(line);
    const TPhasor fundamental = PhasorFromPolar(U(v, x), Shift(v, x)) - PhasorFromPolar(U(v, y), Shift(v, y));
    v.ULine[line] = PhasorMagnitude(fundamental);
    v.LineAngle[line] = PhasorAngle(fundamental);

    const real uline = v.ULine[line];
    const auto block = static_cast<TGarmonikPart>(LineSlot(line));
    TInterGarmonik& inter = v.InterGarm[LineSlot(line)];
    real harmonicSquares = 0;
    real interSquares = 0;
    ForEachLineComponent(spectrum, v, line, U(v, x), U(v, y),
                         [&](bool isInter, int k, real order, const TLineComponent& c) {
                             const real koef = IsZeroReal(uline) ? 0 : c.magnitude * 100 / uline;
                             const real angle = ComponentAngle(c, order, v.LineAngle[line]);
                             if (isInter) {
                                 inter.Koef[k] = koef;
                                 inter.Angle[k] = angle;
                                 interSquares += c.magnitude * c.magnitude;
                             } else {
                                 v.Garmonik.SetKoef(block, k, static_cast<float>(koef));
                                 v.Garmonik.SetAngle(block, k, static_cast<float>(angle));
                                 harmonicSquares += c.magnitude * c.magnitude;
                             }
                         });
    v.ULineRms[line] = LineRms(LineFundamentalTerm(v, line, U(v, x), U(v, y), switches), harmonicSquares, interSquares,
                               switches.IncludeInterGarm);
}

void CalcAngleDiffs(TSignalParamsU& v) {
    for (int line = lnAB; line <= lnCA; ++line) {
        const int next = (line + 1) % 3;
        v.FazaAngleDiff[line] = NormalizeAngle(Shift(v, line) - Shift(v, next));
        v.LineAngleDiff[line] = NormalizeAngle(v.LineAngle[line] - v.LineAngle[next]);
    }
}

void CalcSymmetry(TSignalParamsU& v) {
    v.SymLine =
        SymmetricalComponents({TPolar{v.ULine[lnAB], v.LineAngle[lnAB]}, TPolar{v.ULine[lnBC], v.LineAngle[lnBC]},
                               TPolar{v.ULine[lnCA], v.LineAngle[lnCA]}});
    v.SymFaza = SymmetricalComponents({TPolar{v.UA, v.ShiftA}, TPolar{v.UB, v.ShiftB}, TPolar{v.UC, v.ShiftC}});
    const real pos = v.SymLine.Pos.Magnitude;
    if (IsZeroReal(pos)) {
        v.KUZero = 100;
        v.KUNeg = 100;
        return;
    }
    v.KUZero = std::min<real>(std::sqrt(3.0L) * v.SymFaza.Zero.Magnitude / pos * 100, 100);
    v.KUNeg = std::min<real>(v.SymLine.Neg.Magnitude / pos * 100, 100);
}

void CalcTotals(TSignalParamsU& v, const TSignalSwitches& switches) {
    for (int phase = fzA; phase <= fzC; ++phase) {
        const real k = Distortion(v.Garmonik.Faza(phase).Koef, kHarmonics, v.InterGarm[phase].Koef, kInterHarmonics,
                                  switches.IncludeInterGarm);
        URms(v, phase) = TotalRms(UOn(switches, phase), U(v, phase), k);
    }
    for (int slot = fzA; slot <= fzCA; ++slot) v.KU[slot] = Distortion(v.Garmonik.Faza(slot).Koef, switches.HarmCountU);
}

void CalcVoltageDeviations(TSignalParamsU& v) {
    for (int phase = fzA; phase <= fzC; ++phase) DeltaU(v, phase) = DeviationPercent(U(v, phase), v.NominalFaza);
    for (int line = lnAB; line <= lnCA; ++line) v.DeltaULine[line] = DeviationPercent(v.ULine[line], v.NominalLine);
    for (int phase = fzA; phase <= fzC; ++phase) v.DeltaURms[phase] = DeviationPercent(URms(v, phase), v.NominalFaza);
    for (int line = lnAB; line <= lnCA; ++line)
        v.DeltaURms[LineSlot(line)] = DeviationPercent(v.ULineRms[line], v.NominalLine);
    for (int slot = fzA; slot <= fzCA; ++slot) {
        const real d = v.DeltaURms[slot];
        v.DeltaUPlus[slot] = d > 0 ? d : 0;
        v.DeltaUMinus[slot] = d > 0 ? 0 : std::fabs(d);
    }
    v.DeltaU1 = DeviationPercent(v.SymFaza.Pos.Magnitude, v.NominalFaza);
}

void CalcComponentVolts(TSignalParamsU& v) {
    v.URmsMean = (v.URmsA + v.URmsB + v.URmsC) / 3;
    v.UMean = (v.UA + v.UB + v.UC) / 3;
    for (int slot = fzA; slot <= fzCA; ++slot) {
        const real fundamental = slot <= fzC ? U(v, slot) : v.ULine[slot - fzAB];
        const TGarmonikFaza& block = v.Garmonik.Faza(slot);
        for (int n = 2; n <= kHarmonics; ++n) v.UGarmVolts[slot][n] = block.Koef[n] / 100 * fundamental;
        for (int m = 1; m <= kInterHarmonics; ++m)
            v.UInterVolts[slot][m] = v.InterGarm[slot].Koef[m] / 100 * fundamental;
    }
}

void SetDiff(TGarmonik& g, TGarmonikPart part, int n, bool bothPresent, real difference) {
    g.SetAngle(part, n, static_cast<float>(bothPresent ? NormalizeAngle(difference) : 0));
}

}  // namespace

TVoltageSpectrum::TVoltageSpectrum(const TSignalParamsU& v) {
    for (int phase = fzA; phase <= fzC; ++phase) {
        const real shift = Shift(v, phase);
        const TGarmonikFaza& h = v.Garmonik.Faza(phase);
        for (int n = 1; n <= kHarmonics; ++n) harmonics_[phase][n] = UnitPhasor(n * shift + h.Angle[n]);
        const TInterGarmonik& inter = v.InterGarm[phase];
        for (int m = 1; m <= kInterHarmonics; ++m) inter_[phase][m] = UnitPhasor((m + 0.5L) * shift + inter.Angle[m]);
    }
}

real LineTotalRms(const TVoltageSpectrum& spectrum, const TSignalParamsU& v, int line, real ux, real uy,
                  const TSignalSwitches& switches) {
    real harmonicSquares = 0;
    real interSquares = 0;
    ForEachLineComponent(spectrum, v, line, ux, uy, [&](bool isInter, int, real, const TLineComponent& c) {
        (isInter ? interSquares : harmonicSquares) += c.magnitude * c.magnitude;
    });
    return LineRms(LineFundamentalTerm(v, line, ux, uy, switches), harmonicSquares, interSquares,
                   switches.IncludeInterGarm);
}

void CalcHarmonicAngleDiffs(TSignalParamsU& v) {
    TGarmonik& g = v.Garmonik;
    for (int n = 1; n <= kHarmonics; ++n) {
        const auto present = [&](int slot) { return !IsZeroReal(g.Faza(slot).Koef[n]); };
        // The absolute angle of harmonic n; phase A is the reference and enters with its stored angle only.
        const auto phase = [&](int slot) { return g.Faza(slot).Angle[n] + (slot == fzA ? 0 : n * Shift(v, slot)); };
        const auto line = [&](int l) { return g.Faza(LineSlot(l)).Angle[n] + n * v.LineAngle[l]; };
        SetDiff(g, TGarmonikPart::a_b, n, present(fzA) && present(fzB), phase(fzA) - phase(fzB));
        SetDiff(g, TGarmonikPart::b_c, n, present(fzB) && present(fzC), phase(fzB) - phase(fzC));
        SetDiff(g, TGarmonikPart::c_a, n, present(fzC) && present(fzA), phase(fzC) - phase(fzA));
        SetDiff(g, TGarmonikPart::ab_bc, n, present(fzAB) && present(fzBC), line(lnAB) - line(lnBC));
        SetDiff(g, TGarmonikPart::bc_ca, n, present(fzBC) && present(fzCA), line(lnBC) - line(lnCA));
        SetDiff(g, TGarmonikPart::ca_ab, n, present(fzCA) && present(fzAB), line(lnCA) - line(lnAB));
    }
}

void CalcVoltageParams(TSignalParamsU& v, const TSignalSwitches& switches, ISignalDisplay* display) {
    CalcVoltageParams(TVoltageSpectrum(v), v, switches, display);
}

void CalcVoltageParams(const TVoltageSpectrum& spectrum, TSignalParamsU& v, const TSignalSwitches& switches,
                       ISignalDisplay* display) {
    for (int line = lnAB; line <= lnCA; ++line) CalcLine(spectrum, v, line, switches);
    CalcAngleDiffs(v);
    CalcSymmetry(v);
    CalcTotals(v, switches);
    CalcHarmonicAngleDiffs(v);
    CalcVoltageDeviations(v);
    CalcComponentVolts(v);
    if (display) display->ShowVoltageValues(v);
}

}  // namespace sig
