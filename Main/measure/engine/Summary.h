#pragma once

#include <array>
#include <string>
#include <vector>

#include "measure/engine/HalfCycleRms.h"
#include "measure/engine/Playback.h"
#include "measure/engine/WindowAnalysis.h"

// Everything measured from what the calibrator plays, without a signal to
// compare with: the steady output over one 10/12-period window, the dips and
// swells against the range's nominal voltage, and the flicker of a
// fluctuation.
namespace msr {

// The analysed channels: phase voltages, line voltages, currents.
inline constexpr int kAnalysed = 9;
extern const std::array<const char*, kAnalysed> kAnalysedNames;  // "UA" … "UCA", "IA" … "IC"

// `cycles` periods of the main table of each channel, repeated from its
// first tick; a current not played gives an empty window.
std::array<std::vector<double>, kAnalysed> SteadyWindows(const TPlayback& p, int cycles);

struct TChannelEvents {
    double Declared = 0;
    std::vector<TVoltageEvent> Events;
};

struct TPlayedSummary {
    double ClockFrequency = 0;
    double CrossingFrequency = 0;  // 0 when not found
    int Cycles = 10;
    std::array<bool, kAnalysed> Played{};
    std::array<TChannelAnalysis, kAnalysed> Channels{};
    TSequenceComponents Voltage, Current;
    // Dips and swells (a timing block with fewer than 32767 events).
    bool HasEvents = false;
    double EventSeconds = 0;
    std::array<TChannelEvents, 6> Events{};  // phases, then lines
    // A fluctuation (32767 events: the two level tables alternating).
    bool HasFlicker = false;
    double FlickerSeconds = 0;
    std::array<double, 6> Pst{};  // phases, then lines
};

// `nominalFrequency` 50 or 60 chooses the window (10 or 12 periods) and the
// flickermeter's band; the dips are looked at for at most `eventSeconds`.
TPlayedSummary Summarise(const TPlayback& p, double nominalFrequency, double eventSeconds, double flickerSeconds);

}  // namespace msr
