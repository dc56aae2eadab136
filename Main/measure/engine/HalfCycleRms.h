#pragma once

#include <span>
#include <vector>

// Dips and swells as a power-quality instrument detects them: the RMS value
// over one period refreshed every half period, Urms(1/2), compared with
// thresholds in percent of the declared input voltage.
namespace msr {

struct THalfCycleValue {
    double Time = 0;  // s, the end of the one-period window
    double Value = 0;
};

// Urms(1/2) of a channel sampled at `rate`: one-period windows of the given
// frequency, one every half period, the first starting `start` seconds after
// sample 0 (a zero crossing of the channel's fundamental, so that an event
// starting there is seen within half a period).
std::vector<THalfCycleValue> HalfCycleRms(std::span<const double> x, double rate, double frequency, double start = 0);
// The first positive-going zero crossing, s, of a fundamental with phase
// `phaseDeg` (of sin(2πft + phase)) at frequency f.
double FirstRisingCrossing(double phaseDeg, double frequency);

struct TEventThresholds {
    double Declared = 0;    // declared input voltage, V
    double Dip = 90;        // % of Declared
    double Swell = 110;     // % of Declared
    double Hysteresis = 2;  // % of Declared
};

// One dip or swell: it begins with the first value beyond the threshold and
// ends with the first value back past the threshold and the hysteresis.
struct TVoltageEvent {
    bool Swell = false;
    double Start = 0;     // s
    double Duration = 0;  // s
    double Extreme = 0;   // residual voltage of a dip, maximum of a swell, V
    bool Ended = true;    // false when the values ended inside the event
};

std::vector<TVoltageEvent> DetectEvents(const std::vector<THalfCycleValue>& values, const TEventThresholds& t);

}  // namespace msr
