#include "FullParams.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <numbers>

#include "CommonUtils/TalvoError.h"
#include "SignalLib/Steps.h"

namespace stlib {
namespace {

using code::TCode;
constexpr TQuantity V = TQuantity::Voltage;
constexpr TQuantity I = TQuantity::Current;
constexpr int kLines = 3;  // AB, BC, CA follow the phases in Voltage[]

int Next(int phase) { return (phase + 1) % kPhases; }

float Narrow(real v) {
    if (!(std::fabs(v) <= FLT_MAX)) throw cmn::TalvoError("Value does not fit into the full parameters");
    return static_cast<float>(v);
}

real DeviationPercent(real value, real nominal) { return nominal == 0 ? 0 : (value / nominal - 1) * 100; }

real Percent(real part, real whole) { return whole == 0 ? 0 : part * 100 / whole; }

// A sequence component: the three phasors, the second and third turned by
// the given angles, summed and divided by 3.
TPhasor Sequence(const TPhasor (&x)[3], real turnB, real turnC) {
    return (x[0] + x[1] * Polar(1, turnB) + x[2] * Polar(1, turnC)) / real(3);
}

// Angle between harmonic n of two blocks, from each block's fundamental
// angle and the harmonic's coefficient and angle; 0 unless both are present.
struct THarmonicOf {
    real phi1;
    real koef;
    real angle;
};

real PairAngle(int n, THarmonicOf a, THarmonicOf b) {
    if (a.koef == 0 || b.koef == 0) return 0;
    return NormalizeAngle(n * a.phi1 + a.angle - n * b.phi1 - b.angle);
}

THarmonicOf LineHarmonic(const TVoltageFullParams& line, int n) {
    return {line.Angle, line.Harmonics[n - 2].Koef, line.Harmonics[n - 2].Angle};
}

class TFullParamsCalc {
public:
    TFullParamsCalc(const TSignalClass& signal, const TOutSignalParams& params, TFullSignalParams& full)
        : signal(signal), params(params), full(full) {}

    void Frequency();
    void Voltage();
    void Current();
    void HarmonicAngles();
    void Power();
    void Collapses();

private:
    real Value(TQuantity q, int p, int n) const { return signal.Harmonic(q, p, n).value; }
    real Angle(TQuantity q, int p, int n) const { return signal.Harmonic(q, p, n).angle; }
    real Fundamental(TQuantity q, int p) const { return signal.MainOn(q, p) ? Value(q, p, 1) : 0; }
    THarmonicOf VoltageHarmonic(int p, int n) const { return {Angle(V, p, 1), Value(V, p, n), Angle(V, p, n)}; }
    TPhasor HarmonicPhasor(int p, int n) const;
    real TotalRms(TQuantity q, int p) const;
    real HarmonicsKoef(TQuantity q, int p) const;
    void CopyHarmonics(TQuantity q, int p, THarmonicParams (&out)[STALVO_HARMONICS]) const;
    void VoltagePhase(int p);
    void VoltageLine(int l, TPhasor fundamental);
    void VoltageSequences(const TPhasor (&phases)[3], const TPhasor (&lines)[3]);
    void CurrentPhase(int p);
    void CurrentSequences();
    void PhasePower(int p);

    const TSignalClass& signal;
    const TOutSignalParams& params;
    TFullSignalParams& full;
};

// Absolute phasor of voltage harmonic n > 1 of a phase: its amplitude counts
// from the stored fundamental even when the fundamental itself is left out.
TPhasor TFullParamsCalc::HarmonicPhasor(int p, int n) const {
    return Polar(Value(V, p, 1) * Value(V, p, n) / 100, n * Angle(V, p, 1) + Angle(V, p, n));
}

real TFullParamsCalc::TotalRms(TQuantity q, int p) const {
    real sum = signal.MainOn(q, p) ? 1 : 0;
    for (int n = 2; n <= kHarmonics; ++n) sum += std::pow(Value(q, p, n) / 100, 2);
    return Value(q, p, 1) * std::sqrt(sum);
}

real TFullParamsCalc::HarmonicsKoef(TQuantity q, int p) const {
    real sum = 0;
    for (int n = 2; n <= kHarmonics; ++n) sum += std::pow(Value(q, p, n), 2);
    return std::sqrt(sum);
}

void TFullParamsCalc::CopyHarmonics(TQuantity q, int p, THarmonicParams (&out)[STALVO_HARMONICS]) const {
    for (int n = 2; n <= kHarmonics; ++n) out[n - 2] = {Narrow(Value(q, p, n)), Narrow(Angle(q, p, n))};
}

// ---------------------------------------------------------------- frequency

void TFullParamsCalc::Frequency() {
    full.FrequencyKoef = Narrow(signal.FrequencyKoef());
    full.Frequency = Narrow(signal.Frequency());
    full.FrequencyDeviation = Narrow(real(signal.Frequency()) - 50);
}

// ---------------------------------------------------------------- voltage

void TFullParamsCalc::Voltage() {
    const std::uint8_t range = signal.Nominals().VoltageRange();
    full.VoltageRange = range;
    for (int p = 0; p < kPhases; ++p) full.VoltageKoefs[p] = signal.Koefs().VoltageKoef(range, p);
    if (params.VoltageOn == 0) return;
    TPhasor phases[kPhases];
    for (int p = 0; p < kPhases; ++p) {
        VoltagePhase(p);
        phases[p] = Polar(Fundamental(V, p), Angle(V, p, 1));
    }
    TPhasor lines[kLines];
    for (int l = 0; l < kLines; ++l) {
        lines[l] = phases[l] - phases[Next(l)];
        VoltageLine(l, lines[l]);
    }
    for (int l = 0; l < kLines; ++l) {
        TVoltageFullParams& line = full.Voltage[kPhases + l];
        line.AngleDifference = Narrow(NormalizeAngle(real(line.Angle) - full.Voltage[kPhases + Next(l)].Angle));
    }
    VoltageSequences(phases, lines);
}

void TFullParamsCalc::VoltagePhase(int p) {
    TVoltageFullParams& block = full.Voltage[p];
    const real u1 = Fundamental(V, p);
    block.Rms1 = Narrow(u1);
    block.Deviation = Narrow(DeviationPercent(u1, signal.Nominals().PhaseVoltage()));
    block.Angle = Narrow(Angle(V, p, 1));
    block.AngleDifference = Narrow(NormalizeAngle(Angle(V, p, 1) - Angle(V, Next(p), 1)));
    block.Rms = Narrow(TotalRms(V, p));
    block.HarmonicsKoef = Narrow(HarmonicsKoef(V, p));
    CopyHarmonics(V, p, block.Harmonics);
}

// Line l runs from phase l to the next one; its harmonics are the differences
// of the phases' harmonic phasors, related to the line's own fundamental.
void TFullParamsCalc::VoltageLine(int l, TPhasor fundamental) {
    TVoltageFullParams& line = full.Voltage[kPhases + l];
    const real u1 = std::abs(fundamental);
    const real angle = Direction(fundamental);
    real squares = 0;
    real squaresRelative = 0;
    for (int n = 2; n <= kHarmonics; ++n) {
        const TPhasor h = HarmonicPhasor(l, n) - HarmonicPhasor(Next(l), n);
        const real magnitude = std::abs(h);
        const real koef = Percent(magnitude, u1);
        line.Harmonics[n - 2] = {Narrow(koef), Narrow(magnitude == 0 ? 0 : NormalizeAngle(Direction(h) - n * angle))};
        squares += koef * koef;
        squaresRelative += std::pow(koef / 100, 2);
    }
    line.Rms1 = Narrow(u1);
    line.Deviation = Narrow(DeviationPercent(u1, signal.Nominals().LineVoltage()));
    line.Angle = Narrow(angle);
    line.Rms = Narrow(u1 * std::sqrt(1 + squaresRelative));
    line.HarmonicsKoef = Narrow(std::sqrt(squares));
}

// Zero sequence from the phase voltages, positive and negative sequence from
// the line voltages; the unbalance factors saturate at 100 %.
void TFullParamsCalc::VoltageSequences(const TPhasor (&phases)[3], const TPhasor (&lines)[3]) {
    const TPhasor u0 = (phases[0] + phases[1] + phases[2]) / real(3);
    const real u1 = std::abs(Sequence(lines, 120, -120));
    const TPhasor u2 = Sequence(lines, -120, 120);
    full.U0 = Narrow(std::abs(u0));
    full.U0Angle = Narrow(AxisAngle(u0));
    full.U1 = Narrow(u1);
    full.U1Deviation = Narrow(DeviationPercent(u1, signal.Nominals().LineVoltage()));
    full.U2 = Narrow(std::abs(u2));
    full.U2Angle = Narrow(AxisAngle(u2));
    const bool noPositive = u1 <= 0.0005L;
    full.K0U = Narrow(noPositive ? 100 : std::min<real>(100, std::abs(u0) / u1 * std::numbers::sqrt3_v<real> * 100));
    full.K2U = Narrow(noPositive ? 100 : std::min<real>(100, std::abs(u2) / u1 * 100));
}

// ---------------------------------------------------------------- current

void TFullParamsCalc::Current() {
    const std::uint8_t range = signal.Nominals().CurrentRange();
    full.CurrentRange = range;
    for (int p = 0; p < kPhases; ++p) full.CurrentKoefs[p] = signal.Koefs().CurrentKoef(range, p);
    if (params.CurrentOn == 0) return;
    for (int p = 0; p < kPhases; ++p) CurrentPhase(p);
    CurrentSequences();
}

void TFullParamsCalc::CurrentPhase(int p) {
    TCurrentFullParams& block = full.Current[p];
    const real i1 = Fundamental(I, p);
    block.Rms1 = Narrow(i1);
    block.Deviation = Narrow(DeviationPercent(i1, signal.Nominals().Current()));
    block.Angle = Narrow(Angle(I, p, 1));
    block.Rms = Narrow(TotalRms(I, p));
    block.HarmonicsKoef = Narrow(HarmonicsKoef(I, p));
    CopyHarmonics(I, p, block.Harmonics);
}

// The current's absolute angle is its voltage's angle minus its own shift.
void TFullParamsCalc::CurrentSequences() {
    TPhasor x[kPhases];
    for (int p = 0; p < kPhases; ++p) x[p] = Polar(Fundamental(I, p), Angle(V, p, 1) - Angle(I, p, 1));
    const TPhasor i0 = (x[0] + x[1] + x[2]) / real(3);
    const TPhasor i1 = Sequence(x, 120, -120);
    const TPhasor i2 = Sequence(x, -120, 120);
    full.I0 = Narrow(std::abs(i0));
    full.I0Angle = Narrow(AxisAngle(i0));
    full.I1 = Narrow(std::abs(i1));
    full.I1Angle = Narrow(AxisAngle(i1));
    full.I2 = Narrow(std::abs(i2));
    full.I2Angle = Narrow(AxisAngle(i2));
}

// ---------------------------------------------------------------- harmonic angles

// Angles between the harmonics of an output that is off stay 0.
void TFullParamsCalc::HarmonicAngles() {
    for (int n = 2; n <= kHarmonics; ++n)
        for (int a = 0; a < kPhases; ++a) {
            const int b = Next(a);
            const real voltagePair = PairAngle(n, VoltageHarmonic(a, n), VoltageHarmonic(b, n));
            if (params.VoltageOn != 0) {
                full.HarmonicAngles[STALVO_PAIR_UA_UB + a][n - 2] = Narrow(voltagePair);
                full.HarmonicAngles[STALVO_PAIR_UAB_UBC + a][n - 2] = Narrow(PairAngle(
                    n, LineHarmonic(full.Voltage[kPhases + a], n), LineHarmonic(full.Voltage[kPhases + b], n)));
            }
            if (params.CurrentOn != 0)
                full.HarmonicAngles[STALVO_PAIR_IA_IB + a][n - 2] =
                    Narrow(NormalizeAngle(voltagePair - Angle(I, a, n) + Angle(I, b, n)));
        }
}

// ---------------------------------------------------------------- power

void TFullParamsCalc::Power() {
    if (params.VoltageOn == 0 || params.CurrentOn == 0) return;
    for (int p = 0; p < kPhases; ++p) PhasePower(p);
    const auto sum = [&](float TPowerFullParams::*field) {
        real total = 0;
        for (const TPowerFullParams& w : full.Power) total += w.*field;
        return total;
    };
    full.TotalP1 = Narrow(sum(&TPowerFullParams::P1));
    full.TotalP = Narrow(sum(&TPowerFullParams::P));
    full.TotalP2 = Narrow(sum(&TPowerFullParams::P2));
    full.TotalQ1 = Narrow(sum(&TPowerFullParams::Q1));
    full.TotalQ = Narrow(sum(&TPowerFullParams::Q));
    full.TotalN = Narrow(sum(&TPowerFullParams::N));
    full.TotalS1 = Narrow(sum(&TPowerFullParams::S1));
    full.TotalSumS = Narrow(sum(&TPowerFullParams::SumS));
    full.TotalS = Narrow(sum(&TPowerFullParams::S));
    // Active energy of one second, W*h.
    full.TotalEnergy = Narrow(sum(&TPowerFullParams::P) / 3600);
}

// The current angles are the shifts behind the voltage of the same order.
void TFullParamsCalc::PhasePower(int p) {
    TPowerFullParams& w = full.Power[p];
    const real u1 = full.Voltage[p].Rms1;
    const real i1 = full.Current[p].Rms1;
    const TPhasor w1 = Polar(u1 * i1, Angle(I, p, 1));
    w.CosFi1 = Narrow(u1 != 0 && i1 != 0 ? Polar(1, Angle(I, p, 1)).real() : 0);
    w.P1 = Narrow(w1.real());
    w.Q1 = Narrow(w1.imag());
    w.S1 = Narrow(u1 * i1);
    TPhasor sum = w1;
    real apparentSum = u1 * i1;
    for (int n = 2; n <= kHarmonics; ++n) {
        const real sn = Value(V, p, 1) * Value(V, p, n) / 100 * Value(I, p, 1) * Value(I, p, n) / 100;
        const TPhasor wn = Polar(sn, Angle(I, p, n));
        w.Pn[n - 2] = Narrow(wn.real());
        w.Qn[n - 2] = Narrow(wn.imag());
        w.Sn[n - 2] = Narrow(sn);
        sum += wn;
        apparentSum += sn;
    }
    const real apparent = real(full.Voltage[p].Rms) * full.Current[p].Rms;
    const real nonActive = std::sqrt(std::max<real>(0, apparent * apparent - sum.real() * sum.real()));
    w.P = Narrow(sum.real());
    w.P2 = w.P;
    w.Q = Narrow(sum.imag());
    w.SumS = Narrow(apparentSum);
    w.S = Narrow(apparent);
    w.N = Narrow(Polar(1, Angle(I, p, 1)).imag() >= 0 ? nonActive : -nonActive);
}

// ---------------------------------------------------------------- dips and swells

void TFullParamsCalc::Collapses() {
    full.FrequencyKoef = Narrow(signal.FrequencyKoef());
    if (params.Collapses == nullptr) return;
    const TCollapsesOvervoltagesClass& model = signal.Collapses();
    TCollapsesOvervoltagesParams& out = full.Collapses;
    full.CollapsesOn = 1;
    out.Count = model.Count();
    out.Duration = Narrow(model.Duration());
    out.Period = Narrow(model.Period());
    out.StartAngle = Narrow(model.StartAngle());
    out.Synchronize = model.Synchronize() ? 1 : 0;
    for (int p = 0; p < kPhases; ++p) {
        const TFazaDeviationsClass& faza = model.Faza(p + 1);
        out.Fazes[p].IsCollapse = faza.IsCollapse() ? 1 : 0;
        out.Fazes[p].Value = Narrow(faza.Value());
    }
}

}  // namespace

TCode CalcFullSignalParams(const TSignalClass& signal, const TOutSignalParams& params, TFullSignalParams& full) {
    full = TFullSignalParams{};
    TFullParamsCalc calc(signal, params, full);
    using TStep = void (TFullParamsCalc::*)();
    constexpr std::pair<TCode, TStep> kSteps[] = {
        {code::FullFrequency, &TFullParamsCalc::Frequency},
        {code::FullVoltage, &TFullParamsCalc::Voltage},
        {code::FullCurrent, &TFullParamsCalc::Current},
        {code::FullHarmonicAngles, &TFullParamsCalc::HarmonicAngles},
        {code::FullPower, &TFullParamsCalc::Power},
        {code::FullCollapses, &TFullParamsCalc::Collapses},
    };
    for (const auto& step : kSteps)
        if (TCode c = RunStep(step.first, [&] { (calc.*step.second)(); })) return c;
    return code::NoError;
}

}  // namespace stlib
