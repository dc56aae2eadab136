#include "SampleClock.h"

#include <array>
#include <cmath>
#include <limits>

namespace sig {
namespace {

constexpr std::array<int, kTimerIndexCount> kDivisors{218, 194, 162};
constexpr std::array<long double, kTimerIndexCount> kBounds{44.9L, 55.1L, 70.0L};
constexpr long double kClock = 33333334.0L;
// How far a frequency may leave the range of the current timer index before
// another index is chosen.
constexpr long double kHysteresis = 0.1L;

bool ValidIndex(int timerIndex) { return timerIndex >= 0 && timerIndex < kTimerIndexCount; }

}  // namespace

int TimerDivisor(int timerIndex) { return kDivisors.at(timerIndex); }

int SentTimerDivisor(int timerIndex, bool twoPeriodTable) {
    const int divisor = TimerDivisor(timerIndex);
    return twoPeriodTable ? 2 * divisor + 1 : divisor;
}

long double TimerBound(int timerIndex) { return kBounds.at(timerIndex); }

long double SampleRate(int timerIndex) { return kClock / (TimerDivisor(timerIndex) + 1); }

int ChooseTimerIndex(int current, long double f) {
    if (ValidIndex(current)) {
        const long double low = current == 0 ? 0.0L : kBounds[current - 1];
        const long double high = kBounds[current];
        if (f >= low - kHysteresis && f <= high + kHysteresis) return current;
        if (current == kTimerIndexCount - 1 && f > high + kHysteresis) return current;
    }
    for (int i = 0; i < kTimerIndexCount; ++i)
        if (kBounds[i] >= f) return i;
    return kTimerIndexCount - 1;
}

std::optional<int> SamplesPerPeriod(long double rate, long double f, long double kf) {
    const long double period = (1 + kf / 100) * f;
    if (!(period > 0) || !(rate > 0)) return std::nullopt;
    const long double samples = std::rint(rate / period);
    if (!(samples >= 1) || samples > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(samples);
}

long double GeneratedFrequency(long double rate, int samples, long double kf) {
    return rate / ((1 + kf / 100) * samples);
}

std::optional<TGridPoint> RealiseFrequencyAt(int timerIndex, long double f, long double kf) {
    const long double rate = SampleRate(timerIndex);
    const auto samples = SamplesPerPeriod(rate, f, kf);
    if (!samples) return std::nullopt;
    return TGridPoint{timerIndex, rate, *samples, GeneratedFrequency(rate, *samples, kf)};
}

std::optional<TGridPoint> RealiseFrequency(int current, long double f, long double kf) {
    return RealiseFrequencyAt(ChooseTimerIndex(current, f), f, kf);
}

}  // namespace sig
