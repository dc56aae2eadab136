#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "signal/Records.h"

// The current-to-voltage converter: its gain table and the two calculations
// that tie its output voltages (millivolts, in a voltage record of their own),
// its gain and the currents the calibrator feeds into it.
namespace sig {

constexpr int kConverterGains = 44;

struct TConverterGain {
    float Kpga;
    float K1pga;
    float Kina;
};

// Entry i (1 ... 44) of the gain table.
TConverterGain ConverterGainTable(int i);
// G(i) = Kpga x K1pga x Kina.
real ConverterGain(int i);
// The index of the first entry equal in all three factors.
std::optional<std::uint8_t> FindGainIndex(float kpga, float k1pga, float kina);
// The device code of entry i: the Kpga position in bits 3 to 6, bit 7 for
// K1pga 1.375, bit 8 for Kina 6.
std::optional<std::uint16_t> GainCode(int i);

// Corrections per channel and gain index in units of 1e-4; a channel's factor
// at index i is 1 + Delta[channel][i] x 1e-4. Read tells whether they came
// from the converter; without them no gain is selected or applied.
struct TConverterCalibration {
    bool Read = false;
    std::array<std::array<real, kConverterGains + 1>, 3> Delta{};
};

// The converter's channel switches and the calculation counts of the currents.
struct TConverterSwitches {
    std::array<bool, 3> On{true, true, true};
    bool IncludeInterGarm = false;
    std::uint8_t HarmCountI = 50;
    std::uint8_t InterCountI = 50;
};

// The gain indices where their owner keeps them: the display called during a
// calculation already sees the indices the calculation has chosen.
struct TConverterGains {
    std::uint8_t& Calculated;  // 1 ... 44 to be programmed; 0 none
    std::uint8_t& Manual;      // chosen by the user
};

// What the converter page shows of the calculations.
class IConverterDisplay {
public:
    virtual ~IConverterDisplay() = default;
    virtual void ShowAllData_low_iu() = 0;
    virtual void Show_Chart_i_iu() = 0;
    virtual void Show_Little_Chart_I_iu() = 0;
    // The three current phasors (magnitude, absolute angle) for the page's diagram.
    virtual void ShowChart_i_iu(const std::array<TPolar, 3>& currents) = 0;
    virtual bool ShowsWaveform() const = 0;
};

// Everything both calculations work on. Error is 0, or 1, 2, 3 for the
// channel A, B, C whose limit stopped the calculation.
struct TConverterCalc {
    TSignalParamsI& Current;
    TSignalParamsU& Converter;
    const TConverterCalibration& Calibration;
    const TConverterSwitches& Switches;
    int Samples;  // samples per period at the current frequency
    TConverterGains Gains;
    std::uint8_t& Error;
    IConverterDisplay* Display = nullptr;
};

// From the wanted output voltages: amplitude check, gain, input currents and
// the current range 1 A or 5 A. True when it ran to its end.
bool CalcConverterAuto(const TConverterCalc& calc);
// From the input currents and the manual gain: output voltages and their check.
bool CalcConverterManual(const TConverterCalc& calc);

// Their parts, each setting calc.Error.
void SelectConverterGain(const TConverterCalc& calc);
void CalcConverterOutputs(const TConverterCalc& calc, std::uint8_t index);
void CheckConverterAmplitudes(const TConverterCalc& calc);
void SelectNominalCurrent(const TConverterCalc& calc);

}  // namespace sig
