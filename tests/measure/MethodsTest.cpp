// The measurement methods against signals built here from their
// definitions: RMS and frequency of sines, harmonic and interharmonic
// grouping, symmetrical components, dips and swells by Urms(1/2).
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <numbers>
#include <vector>

#include "measure/engine/Frequency.h"
#include "measure/engine/HalfCycleRms.h"
#include "measure/engine/WindowAnalysis.h"

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kRate = 51200;

struct TTone {
    double Order;     // of the fundamental
    double Rms;       // V
    double PhaseDeg;  // of RMS·√2·sin(order·ωt + phase)
};

std::vector<double> Signal(double f, const std::vector<TTone>& tones, std::size_t n, double rate = kRate) {
    std::vector<double> x(n);
    for (std::size_t i = 0; i < n; ++i) {
        const double t = static_cast<double>(i) / rate;
        for (const TTone& k : tones)
            x[i] += std::sqrt(2.0) * k.Rms * std::sin(2 * kPi * k.Order * f * t + k.PhaseDeg * kPi / 180);
    }
    return x;
}

std::size_t WindowSamples(double f, int cycles) { return static_cast<std::size_t>(std::llround(cycles * kRate / f)); }

// ---------------------------------------------------------------- RMS and frequency

TEST(RmsAndFrequency, SinesOfKnownRmsOnAndOffNominal) {
    struct TCase {
        double f;
        int cycles;  // 10 on a 50 Hz system, 12 on a 60 Hz one
    };
    for (const TCase c : {TCase{50, 10}, TCase{60, 12}, TCase{45, 10}, TCase{55, 10}}) {
        const double u = 230.0;
        const auto window = Signal(c.f, {{1, u, 17}}, WindowSamples(c.f, c.cycles));
        const auto a = msr::AnalyseWindow(window, c.cycles);
        // Class A allows 0.1 % of the declared voltage; a whole window is far better.
        EXPECT_NEAR(a.Rms, u, u * 1e-4) << c.f;
        EXPECT_NEAR(std::abs(a.Fundamental()), u, u * 1e-4) << c.f;
        EXPECT_NEAR(msr::Degrees(a.Fundamental()), 17, 0.05) << c.f;
        EXPECT_LT(a.Thd(50), 0.01) << c.f;

        const auto longer = Signal(c.f, {{1, u, 17}, {3, 0.1 * u, 40}}, static_cast<std::size_t>(2 * kRate));
        const auto f = msr::ZeroCrossingFrequency(longer, kRate, c.cycles == 12 ? 60 : 50);
        ASSERT_TRUE(f) << c.f;
        EXPECT_NEAR(*f, c.f, 0.01) << c.f;  // class A: ±10 mHz
    }
}

// ---------------------------------------------------------------- harmonics and interharmonics

TEST(Grouping, SeventhHarmonicAndTheInterharmonicOfOrderSevenAndAHalf) {
    for (const auto& [f, cycles] : {std::pair{50.0, 10}, std::pair{60.0, 12}}) {
        const double u = 100;
        const auto window = Signal(f, {{1, u, 0}, {7, 5, 30}, {7.5, 3, -60}}, WindowSamples(f, cycles));
        const auto a = msr::AnalyseWindow(window, cycles);
        // The harmonic subgroup holds the harmonic only; the interharmonic
        // lies in the centred subgroup between orders 7 and 8.
        EXPECT_NEAR(a.Harmonic[7], 5, 5e-4) << f;
        EXPECT_NEAR(a.Interharmonic[7], 3, 3e-4) << f;
        EXPECT_NEAR(a.Harmonic[8], 0, 1e-3) << f;
        EXPECT_NEAR(a.Interharmonic[6], 0, 1e-3) << f;
        EXPECT_NEAR(msr::Degrees(a.HarmonicPhasor[7]), 30, 0.05) << f;
        EXPECT_NEAR(msr::Degrees(a.InterPhasor[7]), -60, 0.05) << f;
        EXPECT_NEAR(a.Thd(50), 5.0, 5e-3) << f;
        EXPECT_NEAR(a.Rms, std::sqrt(u * u + 25 + 9), 1e-3) << f;
    }
}

TEST(Grouping, ComponentsNextToAHarmonicJoinItsSubgroupOthersTheInterharmonicGroup) {
    // On 10 periods bin spacing is 5 Hz: 355 Hz (order 7.1) is the bin next
    // to the 7th harmonic, 360 Hz (7.2) the first bin of the centred interharmonic subgroup.
    const auto window =
        Signal(50, {{1, 100, 0}, {7, 4, 0}, {7.1, 3, 0}, {7.2, 2, 0}, {7.9, 1, 0}}, WindowSamples(50, 10));
    const auto a = msr::AnalyseWindow(window, 10);
    EXPECT_NEAR(a.Harmonic[7], 5, 1e-3);
    EXPECT_NEAR(a.Interharmonic[7], 2, 1e-3);
    EXPECT_NEAR(a.Harmonic[8], 1, 1e-3);
}

// ---------------------------------------------------------------- unbalance

// Negative and zero sequence of three phasors after Fortescue, with the operator a = 1∠120°.
std::pair<double, double> Unbalance(std::complex<double> ua, std::complex<double> ub, std::complex<double> uc) {
    const std::complex<double> a = std::polar(1.0, 2 * kPi / 3);
    const auto u1 = (ua + a * ub + a * a * uc) / 3.0;
    const auto u2 = (ua + a * a * ub + a * uc) / 3.0;
    const auto u0 = (ua + ub + uc) / 3.0;
    return {std::abs(u2) / std::abs(u1) * 100, std::abs(u0) / std::abs(u1) * 100};
}

TEST(Unbalance, NegativeAndZeroSequenceOfUnbalancedSets) {
    struct TSet {
        double ua, pa, ub, pb, uc, pc;
    };
    for (const TSet s : {TSet{230, 0, 230, -120, 230, 120}, TSet{230, 0, 200, -120, 220, 120},
                         TSet{100, 0, 90, -125, 105, 118}, TSet{57.7, 0, 57.7, -110, 50, 130}}) {
        const std::size_t n = WindowSamples(50, 10);
        const auto a = msr::AnalyseWindow(Signal(50, {{1, s.ua, s.pa}}, n), 10);
        const auto b = msr::AnalyseWindow(Signal(50, {{1, s.ub, s.pb}}, n), 10);
        const auto c = msr::AnalyseWindow(Signal(50, {{1, s.uc, s.pc}}, n), 10);
        const auto seq = msr::Sequences(a.Fundamental(), b.Fundamental(), c.Fundamental());
        const auto [u2, u0] = Unbalance(std::polar(s.ua, s.pa * kPi / 180), std::polar(s.ub, s.pb * kPi / 180),
                                        std::polar(s.uc, s.pc * kPi / 180));
        // Class A allows ±0.15 (percentage points).
        EXPECT_NEAR(seq.U2(), u2, 0.01) << s.ub;
        EXPECT_NEAR(seq.U0(), u0, 0.01) << s.ub;
    }
}

// ---------------------------------------------------------------- dips and swells

// A 50 Hz voltage whose RMS changes to `level` times the declared voltage
// from `start` for `duration` seconds (changes at zero crossings).
std::vector<double> WithEvent(double declared, double level, double start, double duration, double seconds) {
    std::vector<double> x(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double k = (t >= start && t < start + duration) ? level : 1.0;
        x[i] = std::sqrt(2.0) * declared * k * std::sin(2 * kPi * 50 * t);
    }
    return x;
}

TEST(DipsAndSwells, ResidualVoltageMaximumAndDurationOfKnownEvents) {
    const double declared = 230;
    struct TCase {
        double level, start, duration;
        double within;  // s
    };
    // Events that begin at a zero crossing, where the windows begin, are
    // timed within half a period; one that begins a quarter period later
    // within a period.
    for (const TCase c : {TCase{0.4, 0.5, 0.1, 0.01}, TCase{0.7, 0.31, 0.5, 0.01}, TCase{0.05, 0.2, 0.04, 0.01},
                          TCase{1.2, 0.4, 0.2, 0.01}, TCase{0.0, 0.5, 0.1, 0.01}, TCase{0.85, 0.5, 0.1, 0.01},
                          TCase{0.4, 0.505, 0.1, 0.02}}) {
        const auto values = msr::HalfCycleRms(WithEvent(declared, c.level, c.start, c.duration, 1.5), kRate, 50);
        const auto events = msr::DetectEvents(values, {declared, 90, 110, 2});
        ASSERT_EQ(events.size(), 1u) << c.level;
        const auto& e = events[0];
        EXPECT_EQ(e.Swell, c.level > 1) << c.level;
        EXPECT_TRUE(e.Ended);
        // Residual voltage or maximum: class A allows 0.2 % of the declared voltage.
        EXPECT_NEAR(e.Extreme, c.level * declared, 0.002 * declared) << c.level;
        EXPECT_NEAR(e.Duration, c.duration, c.within + 1e-9) << c.level << " " << c.start;
        // The start is the end of the first window beyond the threshold.
        EXPECT_NEAR(e.Start, c.start, 0.02 + 1e-9) << c.level << " " << c.start;
    }
}

TEST(DipsAndSwells, WindowsBeginAtTheChannelsZeroCrossing) {
    // A voltage at 60° whose dip begins at its own zero crossing (5/6 of a
    // period after 0.5 s): with the windows on that crossing, half a period.
    const double phase = 60, f = 50;
    const double crossing = msr::FirstRisingCrossing(phase, f);
    EXPECT_NEAR(crossing, 5.0 / 6.0 / f, 1e-12);
    std::vector<double> x(static_cast<std::size_t>(1.5 * kRate));
    const double start = 0.5 + crossing, duration = 0.1;
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double t = static_cast<double>(i) / kRate;
        const double k = (t >= start && t < start + duration) ? 0.3 : 1.0;
        x[i] = std::sqrt(2.0) * 230 * k * std::sin(2 * kPi * f * t + phase * kPi / 180);
    }
    const auto events = msr::DetectEvents(msr::HalfCycleRms(x, kRate, f, crossing), {230, 90, 110, 2});
    ASSERT_EQ(events.size(), 1u);
    EXPECT_NEAR(events[0].Duration, duration, 0.01 + 1e-9);
    EXPECT_NEAR(events[0].Extreme, 69, 0.46);
}

TEST(DipsAndSwells, ValuesWithinTheHysteresisBandStartNoEvent) {
    const auto values = msr::HalfCycleRms(WithEvent(230, 0.91, 0.3, 0.3, 1.0), kRate, 50);
    EXPECT_TRUE(msr::DetectEvents(values, {230, 90, 110, 2}).empty());
    // One period of the window: the values come every 10 ms.
    ASSERT_GT(values.size(), 10u);
    EXPECT_NEAR(values[1].Time - values[0].Time, 0.01, 1e-4);
    EXPECT_NEAR(values[0].Value, 230, 0.01);
}

}  // namespace
