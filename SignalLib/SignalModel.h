#pragma once

#include <array>
#include <cstdint>

#include "SignalLib/Angles.h"

// The library's own model of a signal. Every setter checks its value and
// raises cmn::TalvoError with an English text when the value is refused.
namespace stlib {

inline constexpr int kPhases = 3;
inline constexpr int kHarmonics = 40;  // orders 1 (the fundamental) to 40
inline constexpr int kMaxSamplesPerPeriod = 5000;
// The calibrator plays every table at this one sample clock, Hz.
inline constexpr real kSampleRate = 22222222.0L / 130.0L;

// A calibration coefficient k in percent scales by this factor.
inline real KoefFactor(float k) { return 1 + static_cast<real>(k) / 100; }

class TNominalsClass {
public:
    void SetVoltageRange(std::uint8_t id);  // 1: 57.735027 V, 2: 220 V
    void SetCurrentRange(std::uint8_t id);  // 3: 1 A, 4: 5 A
    std::uint8_t VoltageRange() const { return voltageRange; }
    std::uint8_t CurrentRange() const { return currentRange; }
    float PhaseVoltage() const;
    float LineVoltage() const;
    float Current() const;

private:
    std::uint8_t voltageRange = 2;
    std::uint8_t currentRange = 4;
};

// Coefficients in percent. Only those of the selected ranges are ever set;
// the slots of the other ranges keep 0.
class TKalibrationKoefsClass {
public:
    float VoltageKoef(std::uint8_t range, int phase) const { return koefs[VoltageSlot(range, phase)]; }
    float CurrentKoef(std::uint8_t range, int phase) const { return koefs[CurrentSlot(range, phase)]; }
    float FrequencyKoef() const { return koefs[kFrequencySlot]; }
    void SetVoltageKoef(std::uint8_t range, int phase, float k);
    void SetCurrentKoef(std::uint8_t range, int phase, float k);
    void SetFrequencyKoef(float k);

private:
    // Voltage A, B, C of 220 V and of 57.735027 V, current A, B, C of 1 A
    // and of 5 A, frequency.
    static constexpr int kFrequencySlot = 12;
    static int VoltageSlot(std::uint8_t range, int phase) { return (range == 2 ? 0 : 3) + phase; }
    static int CurrentSlot(std::uint8_t range, int phase) { return (range == 3 ? 6 : 9) + phase; }
    std::array<float, 13> koefs{};
};

// One phase of a dip or swell: a dip takes its depth in percent of the
// nominal voltage, a swell its coefficient (a multiple of the nominal).
class TFazaDeviationsClass {
public:
    bool IsCollapse() const { return isCollapse != 0; }
    void SetIsCollapse(bool on) { isCollapse = on ? 1 : 0; }
    void SetDepth(float depth);
    void SetOvervoltageKoef(float koef);
    float Value() const { return IsCollapse() ? depth : overvoltageKoef; }

private:
    std::uint8_t isCollapse = 1;
    float depth = 0;
    float overvoltageKoef = 0;
};

class TCollapsesOvervoltagesClass {
public:
    std::int16_t Count() const { return count; }
    float Duration() const { return duration; }
    float Period() const { return period; }
    float StartAngle() const { return startAngle; }
    bool Synchronize() const { return synchronize != 0; }
    void SetCount(std::int16_t value);
    void SetDuration(float seconds);
    void SetPeriod(float seconds);
    void SetStartAngle(float degrees);  // stored normalised
    void SetSynchronize(bool on) { synchronize = on ? 1 : 0; }
    // Phases are numbered 1 to 3.
    TFazaDeviationsClass& Faza(int index);
    const TFazaDeviationsClass& Faza(int index) const;

private:
    std::int16_t count = 0;
    float duration = 0;
    float period = 0;
    float startAngle = 0;
    std::uint8_t synchronize = 0;
    std::array<TFazaDeviationsClass, kPhases> fazes;
};

enum class TQuantity { Voltage, Current };

// The fundamental's value is its RMS amplitude; a harmonic's value is its
// coefficient in percent of the fundamental. Angles are normalised.
struct THarmonic {
    float value = 0;
    float angle = 0;
};

class TSignalClass {
public:
    TSignalClass();

    // The stored frequency is always the one actually generated.
    float Frequency() const { return frequency; }
    void SetFrequency(float hz);
    float FrequencyKoef() const { return koefs.FrequencyKoef(); }
    void SetFrequencyKoef(float k);
    // Wide enough for any coefficient above -100, so that a signal with too
    // many samples is refused by its frequency, not by its coefficient.
    std::int64_t SamplesPerPeriod() const { return samplesPerPeriod; }

    // n = 1 is the fundamental.
    const THarmonic& Harmonic(TQuantity q, int phase, int n) const { return Phase(q, phase)[n - 1]; }
    void SetFundamental(TQuantity q, int phase, float amplitude, float angle);
    void SetHarmonic(TQuantity q, int phase, int n, float koef, float angle);
    bool MainOn(TQuantity q, int phase) const { return MainFlags(q)[phase] != 0; }
    void SetMainOn(TQuantity q, int phase, bool on) { MainFlags(q)[phase] = on ? 1 : 0; }

    TNominalsClass& Nominals() { return nominals; }
    const TNominalsClass& Nominals() const { return nominals; }
    TKalibrationKoefsClass& Koefs() { return koefs; }
    const TKalibrationKoefsClass& Koefs() const { return koefs; }
    TCollapsesOvervoltagesClass& Collapses() { return collapses; }
    const TCollapsesOvervoltagesClass& Collapses() const { return collapses; }

private:
    using TPhaseHarmonics = std::array<THarmonic, kHarmonics>;
    using TFlags = std::array<std::uint8_t, kPhases>;

    void RecalcSampleClock();
    std::array<TPhaseHarmonics, kPhases>& Phases(TQuantity q) { return q == TQuantity::Voltage ? voltage : current; }
    const TPhaseHarmonics& Phase(TQuantity q, int phase) const {
        return (q == TQuantity::Voltage ? voltage : current)[phase];
    }
    TFlags& MainFlags(TQuantity q) { return q == TQuantity::Voltage ? voltageMainOn : currentMainOn; }
    const TFlags& MainFlags(TQuantity q) const { return q == TQuantity::Voltage ? voltageMainOn : currentMainOn; }

    float frequency = 50;
    std::array<TPhaseHarmonics, kPhases> voltage{};
    std::array<TPhaseHarmonics, kPhases> current{};
    TFlags voltageMainOn{1, 1, 1};
    TFlags currentMainOn{1, 1, 1};
    TNominalsClass nominals;
    std::int64_t samplesPerPeriod = 0;
    TKalibrationKoefsClass koefs;
    TCollapsesOvervoltagesClass collapses;
};

}  // namespace stlib
