#include "measure/engine/HalfCycleRms.h"

#include <algorithm>
#include <cmath>

namespace msr {

double FirstRisingCrossing(double phaseDeg, double frequency) {
    double turns = std::fmod(-phaseDeg / 360.0, 1.0);
    if (turns < 0) turns += 1.0;
    return turns / frequency;
}

std::vector<THalfCycleValue> HalfCycleRms(std::span<const double> x, double rate, double frequency, double start) {
    std::vector<THalfCycleValue> values;
    if (frequency <= 0 || rate <= 0) return values;
    // Running sums of squares make each window a difference of two sums.
    std::vector<double> sums(x.size() + 1, 0.0);
    for (std::size_t i = 0; i < x.size(); ++i) sums[i + 1] = sums[i] + x[i] * x[i];
    const double half = rate / frequency / 2.0;
    const double first = start * rate;
    for (long k = 0;; ++k) {
        const auto begin = static_cast<std::size_t>(std::llround(first + half * static_cast<double>(k)));
        const auto end = static_cast<std::size_t>(std::llround(first + half * static_cast<double>(k + 2)));
        if (end > x.size() || end <= begin) break;
        const double ms = (sums[end] - sums[begin]) / static_cast<double>(end - begin);
        values.push_back({static_cast<double>(end) / rate, std::sqrt(std::max(ms, 0.0))});
    }
    return values;
}

std::vector<TVoltageEvent> DetectEvents(const std::vector<THalfCycleValue>& values, const TEventThresholds& t) {
    std::vector<TVoltageEvent> events;
    const double dipIn = t.Declared * t.Dip / 100.0;
    const double dipOut = t.Declared * (t.Dip + t.Hysteresis) / 100.0;
    const double swellIn = t.Declared * t.Swell / 100.0;
    const double swellOut = t.Declared * (t.Swell - t.Hysteresis) / 100.0;
    bool inside = false;
    TVoltageEvent e;
    for (const THalfCycleValue& v : values) {
        if (!inside) {
            if (v.Value < dipIn || v.Value > swellIn) {
                inside = true;
                e = TVoltageEvent{v.Value > swellIn, v.Time, 0, v.Value, false};
            }
            continue;
        }
        e.Extreme = e.Swell ? std::max(e.Extreme, v.Value) : std::min(e.Extreme, v.Value);
        const bool over = e.Swell ? v.Value <= swellOut : v.Value >= dipOut;
        if (over) {
            e.Duration = v.Time - e.Start;
            e.Ended = true;
            events.push_back(e);
            inside = false;
        }
    }
    if (inside && !values.empty()) {
        e.Duration = values.back().Time - e.Start;
        events.push_back(e);
    }
    return events;
}

}  // namespace msr
