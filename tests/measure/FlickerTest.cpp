// The flickermeter against the test points of its standard: rectangular
// fluctuations that give Pst = 1 over ten minutes, and sinusoidal and
// rectangular fluctuations that give an instantaneous sensation of 1.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <vector>

#include "measure/engine/Flickermeter.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRate = 4800;
constexpr double kVoltage = 230;

// A 50 Hz voltage whose RMS value follows `level(t)` (relative), fed to a
// flickermeter in one-second pieces.
template <class Level>
msr::TFlickerResult Measure(double seconds, Level level, double startDeg = 0) {
    msr::TFlickermeter meter(kRate, 50);
    std::vector<double> piece(static_cast<std::size_t>(kRate));
    const auto total = static_cast<std::size_t>(seconds * kRate);
    for (std::size_t at = 0; at < total; at += piece.size()) {
        for (std::size_t i = 0; i < piece.size(); ++i) {
            const double t = static_cast<double>(at + i) / kRate;
            piece[i] = std::sqrt(2.0) * kVoltage * level(t) * std::sin(2 * kPi * 50 * t + startDeg * kPi / 180);
        }
        meter.Push(piece);
    }
    return meter.Finish();
}

// Rectangular changes: `perMinute` changes of `percent` (the step between
// the two levels) a minute, the first a little after the start.
msr::TFlickerResult Rectangular(double perMinute, double percent, double seconds, double startDeg = 0) {
    const double half = percent / 200.0;
    const double interval = 60.0 / perMinute;
    return Measure(
        seconds,
        [=](double t) {
            const auto changes = static_cast<long>(std::floor((t + interval / 2) / interval));
            return changes % 2 == 0 ? 1.0 + half : 1.0 - half;
        },
        startDeg);
}

TEST(Flickermeter, RectangularChangesOfThePstTableGiveOne) {
    // Changes per minute and the relative change, %, that give Pst = 1.
    // The table of the earlier standard, then the later one's.
    const std::pair<double, double> points[]{{1, 2.72},    {2, 2.21},     {7, 1.46},    {39, 0.905},
                                             {110, 0.725}, {1620, 0.402}, {2, 2.191},   {7, 1.45},
                                             {39, 0.894},  {110, 0.722},  {1620, 0.407}};
    for (const auto& [perMinute, percent] : points) {
        const auto r = Rectangular(perMinute, percent, 600);
        EXPECT_NEAR(r.Seconds, 600, 0.01);
        EXPECT_NEAR(r.Pst, 1.0, 0.05) << perMinute << " changes a minute";
    }
}

TEST(Flickermeter, ThePhaseOfTheVoltageAtTheStartDoesNotMatter) {
    // A voltage that starts away from a zero crossing starts the chain with a
    // jump; the severity is that of the fluctuation all the same.
    for (double start : {0.0, 121.0, -118.0}) EXPECT_NEAR(Rectangular(110, 0.725, 600, start).Pst, 1.0, 0.05) << start;
}

TEST(Flickermeter, SinusoidalFluctuationsOfTheSensationTableGiveOne) {
    // Frequency, Hz, and the relative fluctuation ΔU/U (peak to peak), %,
    // that gives a maximum Pinst of 1 on the 230 V lamp.
    const std::pair<double, double> points[]{{0.5, 2.325}, {1.0, 1.397}, {8.8, 0.250}};
    for (const auto& [f, percent] : points) {
        const double half = percent / 200.0;
        const auto r = Measure(30, [=](double t) { return 1.0 + half * std::sin(2 * kPi * f * t); });
        EXPECT_NEAR(r.PinstMax, 1.0, 0.08) << f << " Hz";
    }
}

TEST(Flickermeter, RectangularFluctuationsOfTheSensationTableGiveOne) {
    // Rectangular fluctuation, Hz, and its relative change, %, for a maximum Pinst of 1.
    const std::pair<double, double> points[]{{1.0, 0.471}, {8.8, 0.196}, {20.0, 0.546}};
    for (const auto& [f, percent] : points) {
        const double half = percent / 200.0;
        const auto r = Measure(30, [=](double t) { return std::fmod(t * f, 1.0) < 0.5 ? 1.0 + half : 1.0 - half; });
        EXPECT_NEAR(r.PinstMax, 1.0, 0.08) << f << " Hz";
    }
}

TEST(Flickermeter, SteadyVoltageHasNoFlickerAndDoubleSwingQuadruplesPinst) {
    // What remains of a steady voltage is the twice-mains ripple through the filters.
    EXPECT_LT(Measure(20, [](double) { return 1.0; }).PinstMax, 1e-3);
    const auto once = Measure(30, [](double t) { return 1.0 + 0.001 * std::sin(2 * kPi * 8.8 * t); });
    const auto twice = Measure(30, [](double t) { return 1.0 + 0.002 * std::sin(2 * kPi * 8.8 * t); });
    EXPECT_NEAR(twice.PinstMean / once.PinstMean, 4.0, 0.02);
}

TEST(Flickermeter, PstOfAConstantSensationFollowsTheWeightedPercentiles) {
    // Every level of a constant Pinst p equals p, so Pst = √(0.5096·p).
    const std::vector<double> pinst(100000, 2.0);
    const auto p = msr::Classify(pinst);
    EXPECT_NEAR(p.P50s, 2.0, 2e-3);
    EXPECT_NEAR(msr::PstFromPercentiles(p), std::sqrt(0.5096 * 2.0), 2e-3);
    // A sensation of 10 for 1 % of the time and 0 otherwise puts 10 at P0.1
    // and near the top of P1s.
    std::vector<double> mixed(100000, 0.0);
    for (std::size_t i = 0; i < 1000; ++i) mixed[i] = 10.0;
    const auto m = msr::Classify(mixed);
    EXPECT_NEAR(m.P0_1, 10.0, 0.01);
    EXPECT_NEAR(m.P3s, 0.0, 1e-6);
}

}  // namespace
