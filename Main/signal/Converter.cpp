#include "signal/Converter.h"

#include <algorithm>
#include <cmath>

#include "signal/Calculations.h"
#include "signal/Display.h"
#include "signal/Helpers.h"
#include "signal/Waveform.h"

namespace sig {
namespace {

constexpr float kKpga[11]{0.125f, 0.25f, 0.5f, 1, 2, 4, 8, 16, 32, 64, 128};
constexpr float kK1pga[2]{1, 1.375f};
constexpr float kKina[2]{1, 6};

// The shunt resistance in ohms, held in single precision as the converter's
// firmware holds it: millivolts per ampere at gain 1 is R x 1000.
constexpr float kShunt = 0.02f;
const real kMillivoltsPerAmp = static_cast<real>(kShunt) * 1000;

constexpr real kMaxRmsMv = 12000;
constexpr real kLimitTolerance = 1e-6L;

bool Exceeds(real value, real limit) { return value - limit > kLimitTolerance; }

bool ValidIndex(int i) { return i >= 1 && i <= kConverterGains; }

real Factor(const TConverterCalc& calc, int channel, int index) {
    return calc.Calibration.Delta[channel][index] * 1e-4L + 1;
}

TSignalSwitches SignalSwitches(const TConverterSwitches& s) {
    TSignalSwitches out;
    out.IncludeInterGarm = s.IncludeInterGarm;
    out.UOnA = out.IOnA = s.On[fzA];
    out.UOnB = out.IOnB = s.On[fzB];
    out.UOnC = out.IOnC = s.On[fzC];
    out.HarmCountI = s.HarmCountI;
    out.InterCountI = s.InterCountI;
    return out;
}

// The converter plays back what the calibrator feeds it: its output carries
// the currents' harmonic content.
void CopyHarmonicContent(const TConverterCalc& calc) {
    for (int phase = fzA; phase <= fzC; ++phase) {
        const auto part = static_cast<TGarmonikPart>(phase);
        const TGarmonikFaza& from = calc.Current.Garmonik.Faza(phase);
        for (int n = 2; n <= kHarmonics; ++n) {
            calc.Converter.Garmonik.SetKoef(part, n, static_cast<float>(from.Koef[n]));
            calc.Converter.Garmonik.SetAngle(part, n, static_cast<float>(from.Angle[n]));
        }
        calc.Converter.InterGarm[phase] = calc.Current.InterGarm[phase];
    }
}

void CalcConverterVoltage(const TConverterCalc& calc) {
    CalcVoltageParams(calc.Converter, SignalSwitches(calc.Switches));
}

// Only the fundamental phasors go to the page: the converter's diagram.
class TPhasorsToConverterPage final : public ISignalDisplay {
public:
    explicit TPhasorsToConverterPage(IConverterDisplay& page) : page_(page) {}
    void ShowVoltageValues(const TSignalParamsU&) override {}
    void ShowCurrentPhasors(const std::array<TPolar, 3>& currents) override { page_.ShowChart_i_iu(currents); }
    void ShowCurrentValues(const TSignalParamsI&) override {}
    void DrawVectorDiagram(const TSignalParamsU&, const TSignalParamsI&) override {}

private:
    IConverterDisplay& page_;
};

// The current calculation with the converter's outputs as the voltage
// reference; the neutral current is no quantity of the converter.
void CalcConverterCurrents(const TConverterCalc& calc) {
    const real neutral = calc.Current.INRms;
    std::optional<TPhasorsToConverterPage> page;
    if (calc.Display) page.emplace(*calc.Display);
    CalcCurrentParams(calc.Current, calc.Converter, SignalSwitches(calc.Switches), page ? &*page : nullptr);
    calc.Current.INRms = neutral;
}

void ShowConverterPage(const TConverterCalc& calc) {
    if (!calc.Display) return;
    calc.Display->ShowAllData_low_iu();
    calc.Display->Show_Chart_i_iu();
    if (calc.Display->ShowsWaveform()) calc.Display->Show_Little_Chart_I_iu();
}

real Peak(const std::vector<real>& samples) {
    real peak = 0;
    for (real s : samples) peak = std::max(peak, s);
    return peak;
}

// The first gain, in the table's order of K1pga and then Kpga, that keeps
// every channel's output per unit gain within the 5 A input window.
std::optional<std::uint8_t> FirstFittingGain(const std::array<real, 3>& outputs, float kina) {
    const real window = std::rint(static_cast<double>(kShunt) * 100) / 100 * 5 * 1000;
    for (float k1pga : kK1pga) {
        for (float kpga : kKpga) {
            const real g = static_cast<real>(kpga) * k1pga * kina;
            if (std::all_of(outputs.begin(), outputs.end(), [&](real u) { return u / g <= window; }))
                return FindGainIndex(kpga, k1pga, kina);
        }
    }
    return std::nullopt;
}

}  // namespace

TConverterGain ConverterGainTable(int i) {
    return {kKpga[(i - 1) % 11], kK1pga[((i - 1) / 11) % 2], kKina[(i - 1) / 22]};
}

real ConverterGain(int i) {
    const TConverterGain g = ConverterGainTable(i);
    return static_cast<real>(g.Kpga) * g.K1pga * g.Kina;
}

std::optional<std::uint8_t> FindGainIndex(float kpga, float k1pga, float kina) {
    for (int i = 1; i <= kConverterGains; ++i) {
        const TConverterGain g = ConverterGainTable(i);
        if (g.Kpga == kpga && g.K1pga == k1pga && g.Kina == kina) return static_cast<std::uint8_t>(i);
    }
    return std::nullopt;
}

std::optional<std::uint16_t> GainCode(int i) {
    if (!ValidIndex(i)) return std::nullopt;
    return static_cast<std::uint16_t>(8 * ((i - 1) % 11) + 128 * (((i - 1) / 11) % 2) + 256 * ((i - 1) / 22));
}

void SelectConverterGain(const TConverterCalc& calc) {
    TSignalParamsU& u = calc.Converter;
    calc.Error = 0;
    for (int phase = fzA; phase <= fzC; ++phase)
        if (Exceeds(URms(u, phase), kMaxRmsMv)) calc.Error = static_cast<std::uint8_t>(phase + 1);
    if (calc.Error != 0) return;

    const std::array<real, 3> outputs{u.UA, u.UB, u.UC};
    const float kina =
        std::any_of(outputs.begin(), outputs.end(), [](real x) { return x > 3400; }) ? kKina[1] : kKina[0];
    const std::optional<std::uint8_t> index = FirstFittingGain(outputs, kina);
    if (!index) return;
    calc.Gains.Calculated = *index;
    const real g = ConverterGain(*index);
    for (int phase = fzA; phase <= fzC; ++phase)
        I(calc.Current, phase) = RoundDec3(outputs[phase] / g / kMillivoltsPerAmp * Factor(calc, phase, *index));
}

void CalcConverterOutputs(const TConverterCalc& calc, std::uint8_t index) {
    calc.Error = 0;
    if (!ValidIndex(index)) return;
    const real g = ConverterGain(index);
    for (int phase = fzA; phase <= fzC; ++phase)
        U(calc.Converter, phase) =
            RoundDec3(I(calc.Current, phase) / Factor(calc, phase, index) * kMillivoltsPerAmp * g);
    for (int phase = fzA; phase <= fzC; ++phase)
        if (Exceeds(U(calc.Converter, phase), kMaxRmsMv)) calc.Error = static_cast<std::uint8_t>(phase + 1);
}

void CheckConverterAmplitudes(const TConverterCalc& calc) {
    calc.Error = 0;
    for (int phase = fzA; phase <= fzC; ++phase) {
        if (calc.Switches.On[phase] && Exceeds(U(calc.Converter, phase), kMaxRmsMv)) {
            calc.Error = static_cast<std::uint8_t>(phase + 1);
            return;
        }
    }
    const real maxPeak = kMaxRmsMv * std::sqrt(2.0L);
    for (int phase = fzA; phase <= fzC; ++phase) {
        const std::vector<real> wave =
            PhaseWaveform(VoltageWave(calc.Converter, phase), U(calc.Converter, phase), calc.Switches.IncludeInterGarm,
                          calc.Switches.On[phase], calc.Samples);
        if (Exceeds(Peak(wave), maxPeak)) {
            calc.Error = static_cast<std::uint8_t>(phase + 1);
            return;
        }
    }
}

void SelectNominalCurrent(const TConverterCalc& calc) {
    real peak = 0;
    for (int phase = fzA; phase <= fzC; ++phase) {
        const std::vector<real> wave =
            PhaseWaveform(CurrentWave(calc.Current, calc.Converter, phase), I(calc.Current, phase),
                          calc.Switches.IncludeInterGarm, calc.Switches.On[phase], calc.Samples);
        peak = std::max(peak, Peak(wave));
    }
    const real threshold = 1.3L * std::sqrt(2.0L);
    calc.Current.Nominal = peak >= threshold || SameReal(peak, threshold) ? 5 : 1;
}

bool CalcConverterAuto(const TConverterCalc& calc) {
    calc.Error = 0;
    CopyHarmonicContent(calc);
    CalcConverterVoltage(calc);
    CheckConverterAmplitudes(calc);
    if (calc.Error != 0) return false;
    if (calc.Calibration.Read) {
        SelectConverterGain(calc);
        if (calc.Error != 0) return false;
        calc.Gains.Manual = calc.Gains.Calculated;
        SelectNominalCurrent(calc);
    }
    CalcConverterCurrents(calc);
    ShowConverterPage(calc);
    return true;
}

bool CalcConverterManual(const TConverterCalc& calc) {
    calc.Error = 0;
    CopyHarmonicContent(calc);
    CalcConverterCurrents(calc);
    if (calc.Calibration.Read) {
        CalcConverterOutputs(calc, calc.Gains.Manual);
        if (calc.Error != 0) return false;
    }
    CalcConverterVoltage(calc);
    CheckConverterAmplitudes(calc);
    if (calc.Error != 0) return false;
    ShowConverterPage(calc);
    calc.Gains.Calculated = calc.Gains.Manual;
    return true;
}

}  // namespace sig
