#pragma once

#include <cstddef>
#include <span>
#include <vector>

// A flickermeter for a 230 V / 60 W incandescent lamp: the chain lamp – eye –
// brain (squaring demodulator, 0.05 Hz high-pass and 35 Hz low-pass (42 Hz on
// 60 Hz systems), the eye's weighting filter, squaring and 300 ms smoothing,
// scaled so that a sinusoidal fluctuation of 0.25 % at 8.8 Hz gives a
// maximum instantaneous flicker sensation Pinst of 1) and the statistics of the
// short-term flicker severity Pst over the observation.
//
// The squared input is averaged over blocks of a fixed number of samples
// (about a millisecond) before the filters; the blocks' response below 42 Hz
// differs from 1 by less than 10^-4. The input's reference level is its
// mean square over the whole observation: the fluctuations measured here are
// stationary, so a running level would settle to the same value.
namespace msr {

struct TFlickerPercentiles {
    double P0_1 = 0, P1s = 0, P3s = 0, P10s = 0, P50s = 0;
};

struct TFlickerResult {
    double Seconds = 0;  // observation
    // Short-term severity over the observation; its first 5 s, while the
    // filters settle, are not classified (on observations of at least 10 s).
    double Pst = 0;
    double PinstMean = 0;             // mean of Pinst after the first 5 s
    double PinstMax = 0;              // its maximum after the first 5 s
    TFlickerPercentiles Percentiles;  // the smoothed levels Pst is made of
    double PlotRate = 0;              // values per second of Plot
    std::vector<double> Plot;         // Pinst, the mean of each 1/PlotRate
};

class TFlickermeter {
public:
    TFlickermeter(double inputRate, double nominalFrequency);

    // Input samples averaged into one block, and the blocks' rate.
    std::size_t Decimation() const { return decimation_; }
    double BlockRate() const { return blockRate_; }

    // Voltage samples in their order.
    void Push(std::span<const double> samples);
    // The mean square of one block of Decimation() samples, for a caller that
    // has it without the samples.
    void PushBlock(double meanSquare) { blocks_.push_back(meanSquare); }

    TFlickerResult Finish() const;

private:
    double inputRate_;
    double nominal_;
    std::size_t decimation_;
    double blockRate_;
    std::vector<double> blocks_;
    double partial_ = 0;
    std::size_t partialCount_ = 0;
};

// Pst from the levels exceeded for 0.1, 1, 3, 10 and 50 % of the time.
double PstFromPercentiles(const TFlickerPercentiles& p);
// The smoothed levels of a Pinst series, by classifying it into narrow
// logarithmic classes and reading the cumulative probability.
TFlickerPercentiles Classify(std::span<const double> pinst);

}  // namespace msr
