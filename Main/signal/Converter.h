#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "signal/Records.h"

// The current-to-voltage converter: its gain table, its channel model and
// the two calculations that tie the output voltages (converter record, mV),
// the gain and the input currents (current record, A) together.
namespace sig {

struct TConverterGain {
    float Kpga = 0;
    float K1pga = 0;
    float Kina = 0;
    std::uint16_t Code = 0;  // Kpga position in bits 3 … 6, bit 7 K1pga 1.375, bit 8 Kina 6
};

constexpr int kConverterGains = 44;

// Entry i = 1 … 44; slot 0 is unused.
const std::array<TConverterGain, kConverterGains + 1>& ConverterGainTable();
// G(i) = Kpga × K1pga × Kina.
real GainFactor(int index);
// The first index whose three factors equal these exactly.
std::optional<std::uint8_t> FindGainIndex(float kpga, float k1pga, float kina);
std::optional<std::uint16_t> GainCode(int index);
// The index whose code the converter reports; nothing for a code not in the table.
std::optional<std::uint8_t> FindGainIndexByCode(std::uint16_t code);

// Corrections δ of the channels A, B, C at gain index 1 … 44, in 10⁻⁴.
struct TConverterCalibration {
    std::array<std::array<real, kConverterGains + 1>, 3> Delta{};
    bool Loaded = false;
};

struct TConverterGains {
    std::uint8_t Calculated = 0;  // to be programmed into the converter; 0 none
    std::uint8_t Manual = 1;
};

// 0, or the channel (1 A, 2 B, 3 C) whose output exceeds the converter's limits.
using TConverterError = std::uint8_t;

// What the converter page shows of the calculations.
class IConverterDisplay {
public:
    virtual ~IConverterDisplay() = default;
    virtual void ShowAllData_low_iu() = 0;
    virtual void Show_Chart_i_iu() = 0;
    virtual bool WaveformViewShown() const = 0;
    virtual void Show_Little_Chart_I_iu() = 0;
    virtual void ShowChart_i_iu(const std::array<TPolar, 3>& currents) = 0;
};

// The inputs both calculations share. The channel switches are the current
// switches of `switches`; its current counts serve the current quantities.
struct TConverterInputs {
    const TSignalSwitches& Switches;
    int Samples;  // per period of the current frequency
    const TConverterCalibration& Calibration;
};

// Automatic mode: from the wanted outputs to the gain and the input currents.
bool CalcConverterAuto(const TConverterInputs& in, TSignalParamsI& current, TSignalParamsU& converter,
                       TConverterGains& gains, TConverterError& error, IConverterDisplay* display = nullptr);
// Manual mode: from the input currents and the manual gain to the outputs.
bool CalcConverterManual(const TConverterInputs& in, TSignalParamsI& current, TSignalParamsU& converter,
                         TConverterGains& gains, TConverterError& error, IConverterDisplay* display = nullptr);

// The parts of the calculations.
TConverterError SelectConverterGain(const TSignalParamsU& converter, const TConverterCalibration& calibration,
                                    TSignalParamsI& current, std::uint8_t& calculated);
TConverterError CalcConverterOutputs(const TSignalParamsI& current, int index,
                                     const TConverterCalibration& calibration, TSignalParamsU& converter);
TConverterError CheckConverterAmplitudes(const TSignalParamsU& converter, const TSignalSwitches& switches, int samples);
// 5 when the largest current sample reaches 1.3 × √2 A, else 1.
real SelectNominalCurrent(const TSignalParamsI& current, const TSignalParamsU& converter,
                          const TSignalSwitches& switches, int samples);

}  // namespace sig
