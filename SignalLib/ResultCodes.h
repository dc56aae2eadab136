#pragma once

#include <cstdint>

// The library's result codes. Each step of a validation or computation
// notes its code before it runs; a failure inside the step returns it.
namespace stlib::code {

using TCode = std::int16_t;

inline constexpr TCode NoError = 0;
inline constexpr TCode Internal = 50;
inline constexpr TCode NoOutParams = 55;
inline constexpr TCode NoFullParams = 56;

// Building a table; clipped phases add 1 to 7 to the first two.
inline constexpr TCode VoltageTable = 20;
inline constexpr TCode CurrentTable = 30;
inline constexpr TCode CollapsesTable = 40;

inline constexpr TCode CollapsesCount = 61;
inline constexpr TCode CollapsesDuration = 62;
inline constexpr TCode CollapsesPeriod = 63;
inline constexpr TCode CollapsesWithoutVoltage = 64;
// Phase p (0..2): dip depth 71 + 2p, swell coefficient 72 + 2p.
inline constexpr TCode CollapseDepthA = 71;
inline constexpr TCode OvervoltageKoefA = 72;

inline constexpr TCode VoltageKoefA = 81;
inline constexpr TCode CurrentKoefA = 84;
inline constexpr TCode FrequencyKoef = 87;
inline constexpr TCode VoltageRange = 91;
inline constexpr TCode CurrentRange = 92;
inline constexpr TCode Frequency = 93;

inline constexpr TCode FullFrequency = 151;
inline constexpr TCode FullVoltage = 152;
inline constexpr TCode FullCurrent = 153;
inline constexpr TCode FullHarmonicAngles = 154;
inline constexpr TCode FullPower = 155;
inline constexpr TCode FullCollapses = 156;

inline constexpr TCode VoltageAngleA = 200;
// Harmonic n of a block gives base + n; the blocks in phase order A, B, C.
inline constexpr TCode VoltageHarmonicBase[3] = {201, 301, 401};
inline constexpr TCode CurrentHarmonicBase[3] = {251, 351, 451};

}  // namespace stlib::code
