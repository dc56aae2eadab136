#pragma once

#include <complex>
#include <span>
#include <vector>

// The spectrum of one measurement window of a whole number of periods of
// the fundamental (10 at 50 Hz, 12 at 60 Hz): the window is resampled to a
// power of two and transformed, so bin k lies at k / (window duration) and
// harmonic order h at bin h × cycles.
namespace msr {

class TWindowSpectrum {
public:
    // `window` holds the samples of exactly `cycles` periods (its last
    // sample is the one before the next window begins).
    TWindowSpectrum(std::span<const double> window, int cycles);

    int Cycles() const { return cycles_; }
    // The component at a bin as a phasor of a sine: magnitude is its RMS
    // value, argument its phase θ in radians of RMS·√2·sin(ωt + θ), t = 0 at
    // the window's first sample.
    std::complex<double> Component(int bin) const;
    // The component of an order lying exactly on a bin (harmonics, and with
    // an even number of cycles the orders m + 0.5).
    std::complex<double> Order(double order) const;
    // RMS of the harmonic subgroup of order n: the bin of n and one on each side.
    double HarmonicSubgroup(int n) const;
    // RMS of the centred interharmonic subgroup between n and n + 1: the
    // bins between them without the two next to each harmonic.
    double InterharmonicSubgroup(int n) const;
    // Total harmonic distortion of the subgroups 2 … `highest`, % of subgroup 1.
    double Thd(int highest) const;

private:
    int cycles_;
    std::vector<std::complex<double>> bins_;
};

// In-place radix-2 transform; the size must be a power of two.
void Fft(std::vector<std::complex<double>>& x);

}  // namespace msr
