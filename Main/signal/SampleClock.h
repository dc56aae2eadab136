#pragma once

#include <optional>

// The calibrator plays its tables at a clock of 33333334 / (divisor + 1)
// samples per second, the divisor being one of three timer settings chosen
// by the signal frequency. A period holds a whole number of samples, so the
// frequency actually generated is the nearest one that number allows.
namespace sig {

constexpr int kTimerIndexCount = 3;
constexpr int kNoTimerIndex = -1;

// 218, 194, 162 for the timer indices 0, 1, 2.
int TimerDivisor(int timerIndex);

// The divisor as the calibrator is told it. A table that spans two periods
// of the fundamental (interharmonics included) is played at half the clock,
// 2 x divisor + 1, so that its N samples last two periods.
int SentTimerDivisor(int timerIndex, bool twoPeriodTable);

// The highest frequency served by a timer index: 44.9, 55.1, 70.0 Hz.
long double TimerBound(int timerIndex);

// Samples per second of a timer index.
long double SampleRate(int timerIndex);

// The timer index for frequency f, keeping `current` (or kNoTimerIndex) while f
// stays within 0.1 Hz of its range, so that small changes around a bound do
// not switch the calibrator's clock back and forth.
int ChooseTimerIndex(int current, long double f);

// Samples per period: Round(rate / ((1 + kf/100) * f)), ties to even; kf is the
// frequency correction in percent. Empty when no positive whole number results
// (f or 1 + kf/100 not positive, or a count beyond int).
std::optional<int> SamplesPerPeriod(long double rate, long double f, long double kf);

// The frequency that `samples` per period produce: rate / ((1 + kf/100) * samples).
long double GeneratedFrequency(long double rate, int samples, long double kf);

// One point of the grid: the timer index, its rate, the samples per period
// and the frequency generated with them.
struct TGridPoint {
    int TimerIndex = kNoTimerIndex;
    long double SampleRate = 0;
    int Samples = 0;
    long double Frequency = 0;
};

// The grid point for a request of f Hz on a given timer index.
std::optional<TGridPoint> RealiseFrequencyAt(int timerIndex, long double f, long double kf);

// The grid point for a request of f Hz, the timer index chosen from `current`.
std::optional<TGridPoint> RealiseFrequency(int current, long double f, long double kf);

// What a signal keeps of the grid once its frequency is set.
struct TSampleGrid {
    int TimerIndex = kNoTimerIndex;
    long double SampleRate = 0;
    int SamplesPerPeriod = 0;             // with the frequency correction
    int SamplesPerPeriodUncorrected = 0;  // the same count for kf = 0
};

}  // namespace sig
