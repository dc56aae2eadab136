#pragma once

#include <array>
#include <complex>
#include <span>

// What one 10/12-period window of one channel yields: the true RMS value,
// the fundamental phasor, the harmonic subgroups 1 … 50 with their centre
// phasors, and the centred interharmonic subgroups between them.
namespace msr {

inline constexpr int kHighestOrder = 50;

struct TChannelAnalysis {
    double Rms = 0;
    // Index n = 1 … 50: RMS of the harmonic subgroup and the phasor of its centre bin.
    std::array<double, kHighestOrder + 1> Harmonic{};
    std::array<std::complex<double>, kHighestOrder + 1> HarmonicPhasor{};
    // Index m = 1 … 49: the subgroup between orders m and m + 1, and the
    // phasor of the bin at order m + 0.5 (zero with an odd number of periods).
    std::array<double, kHighestOrder> Interharmonic{};
    std::array<std::complex<double>, kHighestOrder> InterPhasor{};
    std::complex<double> Fundamental() const { return HarmonicPhasor[1]; }
    // Total harmonic distortion of the subgroups 2 … highest, % of subgroup 1.
    double Thd(int highest) const;
};

double Rms(std::span<const double> x);
TChannelAnalysis AnalyseWindow(std::span<const double> window, int cycles);

// Symmetrical components of three phasors (A, B, C, phase order A-B-C).
struct TSequenceComponents {
    std::complex<double> Pos, Neg, Zero;
    // Negative- and zero-sequence unbalance, % of the positive sequence.
    double U2() const;
    double U0() const;
};
TSequenceComponents Sequences(std::complex<double> a, std::complex<double> b, std::complex<double> c);

// The angle of a phasor in degrees, folded into −180 … 180.
double Degrees(std::complex<double> z);
double FoldDegrees(double angle);

}  // namespace msr
