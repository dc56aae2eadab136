#include "SignalModel.h"

#include <cmath>
#include <limits>
#include <numbers>

#include "CommonUtils/TalvoError.h"

namespace stlib {
namespace {

// NaN lies in no range.
bool InRange(float x, float lo, float hi) { return x >= lo && x <= hi; }

void Require(bool ok, const char* message) {
    if (!ok) throw cmn::TalvoError(message);
}

void RequireKoef(float k) { Require(InRange(k, -100, 100), "Invalid kalibration coefficient"); }

constexpr float kPhaseVoltage1 = static_cast<float>(100 / std::numbers::sqrt3_v<real>);
constexpr float kLineVoltage2 = static_cast<float>(220 * std::numbers::sqrt3_v<real>);
constexpr float kVoltageHarmonicMax = 80;
constexpr float kCurrentHarmonicMax = 100;

}  // namespace

// ---------------------------------------------------------------- nominals

void TNominalsClass::SetVoltageRange(std::uint8_t id) {
    Require(id == 1 || id == 2, "Invalid nominal voltage identifier value");
    voltageRange = id;
}

void TNominalsClass::SetCurrentRange(std::uint8_t id) {
    Require(id == 3 || id == 4, "Invalid nominal current identifier value");
    currentRange = id;
}

float TNominalsClass::PhaseVoltage() const { return voltageRange == 1 ? kPhaseVoltage1 : 220.0f; }
float TNominalsClass::LineVoltage() const { return voltageRange == 1 ? 100.0f : kLineVoltage2; }
float TNominalsClass::Current() const { return currentRange == 3 ? 1.0f : 5.0f; }

// ---------------------------------------------------------------- calibration coefficients

void TKalibrationKoefsClass::SetVoltageKoef(std::uint8_t range, int phase, float k) {
    RequireKoef(k);
    koefs[VoltageSlot(range, phase)] = k;
}

void TKalibrationKoefsClass::SetCurrentKoef(std::uint8_t range, int phase, float k) {
    RequireKoef(k);
    koefs[CurrentSlot(range, phase)] = k;
}

void TKalibrationKoefsClass::SetFrequencyKoef(float k) {
    RequireKoef(k);
    koefs[kFrequencySlot] = k;
}

// ---------------------------------------------------------------- dips and swells

void TFazaDeviationsClass::SetDepth(float value) {
    Require(InRange(value, 0, 100), "Collapse depth must be in range 0..100");
    depth = value;
}

void TFazaDeviationsClass::SetOvervoltageKoef(float koef) {
    Require(InRange(koef, 0, 10), "Overvoltage coefficient must be in range 0..10");
    overvoltageKoef = koef;
}

void TCollapsesOvervoltagesClass::SetCount(std::int16_t value) {
    Require(value >= 1, "Amount of collapses/overvoltages must be in range 0..32767");
    count = value;
}

void TCollapsesOvervoltagesClass::SetDuration(float seconds) {
    Require(seconds > 0 && seconds <= 600, "Duration of collapses/overvoltages must be in range 0..600");
    duration = seconds;
}

void TCollapsesOvervoltagesClass::SetPeriod(float seconds) {
    Require(InRange(seconds, 0, 600), "Repeat period of collapses/overvoltages must be in range 0..600");
    period = seconds;
}

void TCollapsesOvervoltagesClass::SetStartAngle(float degrees) {
    startAngle = static_cast<float>(NormalizeAngle(degrees));
}

TFazaDeviationsClass& TCollapsesOvervoltagesClass::Faza(int index) {
    Require(index >= 1 && index <= kPhases, "Fazes index must be in range 1..3");
    return fazes[index - 1];
}

const TFazaDeviationsClass& TCollapsesOvervoltagesClass::Faza(int index) const {
    Require(index >= 1 && index <= kPhases, "Fazes index must be in range 1..3");
    return fazes[index - 1];
}

// ---------------------------------------------------------------- signal

TSignalClass::TSignalClass() {
    constexpr float kVoltageAngles[kPhases] = {0, -120, 120};
    for (int p = 0; p < kPhases; ++p) {
        voltage[p][0] = {220, kVoltageAngles[p]};
        current[p][0] = {5, 0};
    }
    RecalcSampleClock();
}

void TSignalClass::SetFrequency(float hz) {
    Require(InRange(hz, 45, 64), "Frequency must be in range 45..64");
    if (hz != frequency) {
        frequency = hz;
        RecalcSampleClock();
    }
    // One table holds at most this many samples.
    Require(samplesPerPeriod <= kMaxSamplesPerPeriod, "Too many samples per period for this frequency");
}

void TSignalClass::SetFrequencyKoef(float k) {
    if (k == koefs.FrequencyKoef()) return;
    koefs.SetFrequencyKoef(k);
    RecalcSampleClock();
}

// N = Round(R / ((1 + kf/100) f)); the stored frequency becomes the one the
// clock actually gives with that N.
void TSignalClass::RecalcSampleClock() {
    const real factor = KoefFactor(koefs.FrequencyKoef());
    Require(factor > 0, "Frequency kalibration coefficient leaves no sample clock");
    const real n = std::nearbyint(kSampleRate / (factor * frequency));
    Require(n >= 1 && n <= static_cast<real>(std::numeric_limits<std::int64_t>::max()),
            "Samples per period out of range");
    samplesPerPeriod = static_cast<std::int64_t>(n);
    frequency = static_cast<float>(kSampleRate / (factor * n));
}

void TSignalClass::SetFundamental(TQuantity q, int phase, float amplitude, float angle) {
    Phases(q)[phase][0] = {amplitude, static_cast<float>(NormalizeAngle(angle))};
}

void TSignalClass::SetHarmonic(TQuantity q, int phase, int n, float koef, float angle) {
    const float max = q == TQuantity::Voltage ? kVoltageHarmonicMax : kCurrentHarmonicMax;
    Require(InRange(koef, 0, max), "Harmonic coefficient out of range");
    Phases(q)[phase][n - 1] = {koef, static_cast<float>(NormalizeAngle(angle))};
}

}  // namespace stlib
