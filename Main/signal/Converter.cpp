#include "signal/Converter.h"

#include <cmath>

#include "signal/Calculations.h"
#include "signal/Helpers.h"
#include "signal/Waveform.h"

namespace sig {
namespace {

// The converter's shunt, Ω, as the converter's own arithmetic holds it.
constexpr float kShunt = 0.02f;
constexpr real kMaxRms = 12000;  // mV
constexpr real kTolerance = 1e-6L;
constexpr real kKinaThreshold = 3400;  // mV
constexpr float kKpga[11] = {0.125f, 0.25f, 0.5f, 1, 2, 4, 8, 16, 32, 64, 128};
constexpr float kK1pga[2] = {1, 1.375f};
constexpr float kKina[2] = {1, 6};

double RoundDec3(real x) { return std::rint(static_cast<double>(x) / 1e-3) * 1e-3; }
double RoundDec2(real x) { return std::rint(static_cast<double>(x) / 1e-2) * 1e-2; }

bool Exceeds(real value, real limit) { return value - limit > kTolerance; }

real MaxPeak() { return kMaxRms * std::sqrt(2.0L); }

std::array<TConverterGain, kConverterGains + 1> BuildTable() {
    std::array<TConverterGain, kConverterGains + 1> table{};
    for (int i = 1; i <= kConverterGains; ++i) {
        const int p = (i - 1) % 11, q = ((i - 1) / 11) % 2, r = (i - 1) / 22;
        table[i] = {kKpga[p], kK1pga[q], kKina[r], static_cast<std::uint16_t>(8 * p + 128 * q + 256 * r)};
    }
    return table;
}

// The converter's channels are switched with the currents: the converter
// record's voltage switches and counts follow the current ones.
TSignalSwitches ChannelSwitches(const TSignalSwitches& s) {
    TSignalSwitches c = s;
    c.UOnA = s.IOnA;
    c.UOnB = s.IOnB;
    c.UOnC = s.IOnC;
    c.HarmCountU = s.HarmCountI;
    c.InterCountU = s.InterCountI;
    return c;
}

// The largest of `samples` values of √2 × amplitude × the wave, from 0 up.
real Peak(const TWaveBlocks& w, real rms, bool includeInter, bool on, int samples) {
    const real amplitude = std::sqrt(2.0L) * rms;
    real peak = 0;
    for (int i = 0; i < samples; ++i)
        peak = std::max(peak, amplitude * InstantValue(w, i, false, includeInter, on, 0, samples, 0));
    return peak;
}

void CopyHarmonicContent(const TSignalParamsI& current, TSignalParamsU& converter) {
    constexpr TGarmonikPart parts[3] = {TGarmonikPart::a, TGarmonikPart::b, TGarmonikPart::c};
    for (int phase = fzA; phase <= fzC; ++phase) {
        const TGarmonikFaza& from = current.Garmonik.Faza(phase);
        for (int n = 2; n <= kHarmonics; ++n) {
            converter.Garmonik.SetKoef(parts[phase], n, static_cast<float>(from.Koef[n]));
            converter.Garmonik.SetAngle(parts[phase], n, static_cast<float>(from.Angle[n]));
        }
        converter.InterGarm[phase] = current.InterGarm[phase];
    }
}

// The current quantities with the converter record as the voltage reference;
// the neutral's total RMS is not a converter quantity and keeps its value.
void CalcConverterCurrents(const TSignalSwitches& switches, const TSignalParamsU& converter, TSignalParamsI& current,
                           IConverterDisplay* display) {
    const real neutral = current.INRms;
    CalcCurrentParams(current, converter, switches);
    current.INRms = neutral;
    if (display)
        display->ShowChart_i_iu({TPolar{current.IA, current.AngleIA}, TPolar{current.IB, current.AngleIB},
                                 TPolar{current.IC, current.AngleIC}});
}

void ShowConverter(IConverterDisplay* display) {
    if (!display) return;
    display->ShowAllData_low_iu();
    display->Show_Chart_i_iu();
    if (display->WaveformViewShown()) display->Show_Little_Chart_I_iu();
}

TConverterError LastExceeding(const std::array<real, 3>& values, real limit) {
    TConverterError error = 0;
    for (int phase = fzA; phase <= fzC; ++phase) {
        if (Exceeds(values[phase], limit)) error = static_cast<TConverterError>(phase + 1);
    }
    return error;
}

}  // namespace

const std::array<TConverterGain, kConverterGains + 1>& ConverterGainTable() {
    static const auto table = BuildTable();
    return table;
}

real GainFactor(int index) {
    const TConverterGain& g = ConverterGainTable().at(index);
    return static_cast<real>(g.Kpga) * g.K1pga * g.Kina;
}

std::optional<std::uint8_t> FindGainIndex(float kpga, float k1pga, float kina) {
    const auto& table = ConverterGainTable();
    for (int i = 1; i <= kConverterGains; ++i) {
        if (table[i].Kpga == kpga && table[i].K1pga == k1pga && table[i].Kina == kina) return static_cast<std::uint8_t>(i);
    }
    return std::nullopt;
}

std::optional<std::uint16_t> GainCode(int index) {
    if (index < 1 || index > kConverterGains) return std::nullopt;
    return ConverterGainTable()[index].Code;
}

std::optional<std::uint8_t> FindGainIndexByCode(std::uint16_t code) {
    const auto& table = ConverterGainTable();
    for (int i = 1; i <= kConverterGains; ++i) {
        if (table[i].Code == code) return static_cast<std::uint8_t>(i);
    }
    return std::nullopt;
}

TConverterError SelectConverterGain(const TSignalParamsU& converter, const TConverterCalibration& calibration,
                                    TSignalParamsI& current, std::uint8_t& calculated) {
    const TConverterError error = LastExceeding({converter.URmsA, converter.URmsB, converter.URmsC}, kMaxRms);
    if (error) return error;
    const real w = RoundDec2(kShunt) * 5 * 1000;
    const bool high = converter.UA > kKinaThreshold || converter.UB > kKinaThreshold || converter.UC > kKinaThreshold;
    const float kina = kKina[high ? 1 : 0];
    for (float k1pga : kK1pga) {
        for (float kpga : kKpga) {
            const real g = static_cast<real>(kpga) * k1pga * kina;
            if (U(converter, fzA) / g > w || U(converter, fzB) / g > w || U(converter, fzC) / g > w) continue;
            calculated = *FindGainIndex(kpga, k1pga, kina);
            for (int phase = fzA; phase <= fzC; ++phase) {
                const real delta = calibration.Delta[phase][calculated];
                I(current, phase) = RoundDec3(U(converter, phase) / g / (static_cast<real>(kShunt) * 1000) * (delta * 1e-4L + 1));
            }
            return 0;
        }
    }
    return 0;
}

TConverterError CalcConverterOutputs(const TSignalParamsI& current, int index,
                                     const TConverterCalibration& calibration, TSignalParamsU& converter) {
    const TConverterGain& g = ConverterGainTable().at(index);
    for (int phase = fzA; phase <= fzC; ++phase) {
        const real delta = calibration.Delta[phase][index];
        U(converter, phase) = RoundDec3(I(current, phase) / (delta * 1e-4L + 1) * static_cast<real>(kShunt) * 1000 *
                                        g.Kina * g.Kpga * g.K1pga);
    }
    TConverterError error = 0;
    for (int phase = fzA; phase <= fzC; ++phase) {
        if (U(converter, phase) > kMaxRms) error = static_cast<TConverterError>(phase + 1);
    }
    return error;
}

TConverterError CheckConverterAmplitudes(const TSignalParamsU& converter, const TSignalSwitches& switches, int samples) {
    for (int phase = fzA; phase <= fzC; ++phase) {
        if (IOn(switches, phase) && Exceeds(U(converter, phase), kMaxRms)) return static_cast<TConverterError>(phase + 1);
    }
    for (int phase = fzA; phase <= fzC; ++phase) {
        const real peak = Peak(VoltageWave(converter, phase), U(converter, phase), switches.IncludeInterGarm,
                               IOn(switches, phase), samples);
        if (Exceeds(peak, MaxPeak())) return static_cast<TConverterError>(phase + 1);
    }
    return 0;
}

real SelectNominalCurrent(const TSignalParamsI& current, const TSignalParamsU& converter,
                          const TSignalSwitches& switches, int samples) {
    real peak = 0;
    for (int phase = fzA; phase <= fzC; ++phase)
        peak = std::max(peak, Peak(CurrentWave(current, converter, phase), I(current, phase), switches.IncludeInterGarm,
                                   IOn(switches, phase), samples));
    return peak >= 1.3L * std::sqrt(2.0L) ? 5 : 1;
}

bool CalcConverterAuto(const TConverterInputs& in, TSignalParamsI& current, TSignalParamsU& converter,
                       TConverterGains& gains, TConverterError& error, IConverterDisplay* display) {
    error = 0;
    CopyHarmonicContent(current, converter);
    CalcVoltageParams(converter, ChannelSwitches(in.Switches));
    if ((error = CheckConverterAmplitudes(converter, in.Switches, in.Samples))) return false;
    if (in.Calibration.Loaded) {
        if ((error = SelectConverterGain(converter, in.Calibration, current, gains.Calculated))) return false;
        gains.Manual = gains.Calculated;
        current.Nominal = SelectNominalCurrent(current, converter, in.Switches, in.Samples);
    }
    CalcConverterCurrents(in.Switches, converter, current, display);
    ShowConverter(display);
    return true;
}

bool CalcConverterManual(const TConverterInputs& in, TSignalParamsI& current, TSignalParamsU& converter,
                         TConverterGains& gains, TConverterError& error, IConverterDisplay* display) {
    error = 0;
    CopyHarmonicContent(current, converter);
    CalcConverterCurrents(in.Switches, converter, current, display);
    if (in.Calibration.Loaded && (error = CalcConverterOutputs(current, gains.Manual, in.Calibration, converter)))
        return false;
    CalcVoltageParams(converter, ChannelSwitches(in.Switches));
    if ((error = CheckConverterAmplitudes(converter, in.Switches, in.Samples))) return false;
    ShowConverter(display);
    gains.Calculated = gains.Manual;
    return true;
}

}  // namespace sig
