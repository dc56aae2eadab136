// The library's sample tables and timing block, built from loaded signals
// and read back the way the calibrator decodes them.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <limits>
#include <numbers>
#include <random>
#include <vector>

#include "CommonUtils/CalibratorWire.h"
#include "SignalLib/Loader.h"
#include "SignalLib/Tables.h"
#include "SignalTalvoLibrary.h"
#include "TableReference.h"

namespace {

using stlib::TSignalClass;
using namespace talvo_test;

TSignalClass Loaded(const TOutSignalParams& p) {
    TSignalClass s;
    EXPECT_EQ(stlib::LoadOutSignalParams(s, p), 0);
    return s;
}

struct Built {
    std::int16_t code = -1;
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(stlib::kTableBufferSize);
    std::array<std::vector<std::uint16_t>, 3> Codes(const TSignalClass& s) const {
        return DecodeTable(bytes.data(), static_cast<std::size_t>(s.SamplesPerPeriod()));
    }
};

enum class Kind { Voltage, Current, Dips };

Built Build(const TSignalClass& s, Kind kind) {
    Built b;
    b.code = kind == Kind::Voltage   ? stlib::BuildVoltageTable(s, b.bytes)
             : kind == Kind::Current ? stlib::BuildCurrentTable(s, b.bytes)
                                     : stlib::BuildCollapsesTable(s, b.bytes);
    return b;
}

void ExpectMatches(const TReferenceTable& reference, const Built& built, const TSignalClass& s) {
    const auto codes = built.Codes(s);
    for (int p = 0; p < 3; ++p) EXPECT_TRUE(CodesMatch(reference.phases[p], codes[p])) << "phase " << p;
}

TOutSignalParams RandomSignal(std::mt19937& rng) {
    std::uniform_real_distribution<float> unit(0, 1);
    auto in = [&](float lo, float hi) { return lo + (hi - lo) * unit(rng); };
    TOutSignalParams p = BalancedParams();
    p.VoltageRange = unit(rng) < 0.5f ? 1 : 2;
    p.CurrentRange = unit(rng) < 0.5f ? 3 : 4;
    p.Frequency = in(45, 64);
    p.FrequencyKoef = in(-5, 5);
    for (int ph = 0; ph < 3; ++ph) {
        for (TPhaseSignalParams* x : {&p.Voltage[ph], &p.Current[ph]}) {
            x->KalibrationKoef = in(-3, 3);
            x->MainOn = unit(rng) < 0.8f;
            for (auto& h : x->Harmonics) h = {unit(rng) < 0.3f ? in(0, 6) : 0, in(-540, 540)};
        }
        p.Voltage[ph].Amplitude = (p.VoltageRange == 1 ? 57.735027f : 220) * in(0.2f, 1.1f);
        p.Current[ph].Amplitude = (p.CurrentRange == 3 ? 1 : 5) * in(0.2f, 1.1f);
        p.Current[ph].Angle = in(-180, 180);
        if (ph > 0) p.Voltage[ph].Angle = in(-400, 400);
    }
    return p;
}

// Voltage, current and dips tables of many signals against a direct
// evaluation of every term, sample by sample.
TEST(Tables, RandomSignalsMatchTheDirectEvaluation) {
    std::mt19937 rng(20261209);
    for (int round = 0; round < 12; ++round) {
        TOutSignalParams p = RandomSignal(rng);
        TCollapsesOvervoltagesParams d = OneDip();
        d.Fazes[1] = {0, {}, 1.2f};
        d.Fazes[2].Value = 87.5f;
        p.Collapses = &d;
        const TSignalClass s = Loaded(p);
        ASSERT_EQ(static_cast<std::size_t>(s.SamplesPerPeriod()), ReferenceSamples(p));
        const Built u = Build(s, Kind::Voltage);
        const Built i = Build(s, Kind::Current);
        const Built dips = Build(s, Kind::Dips);
        EXPECT_EQ(u.code, 0);
        EXPECT_EQ(i.code, 0);
        EXPECT_EQ(dips.code, 0);
        SCOPED_TRACE(round);
        ExpectMatches(ReferenceMain(p, false), u, s);
        ExpectMatches(ReferenceMain(p, true), i, s);
        ExpectMatches(ReferenceDips(p, d), dips, s);
    }
}

// One DFT bin over the table's period of the decoded codes: amplitude in
// units of a channel's full swing and the angle of the sine, degrees.
std::complex<double> Bin(const std::vector<std::uint16_t>& codes, int order) {
    std::complex<double> sum;
    const double n = static_cast<double>(codes.size());
    for (std::size_t i = 0; i < codes.size(); ++i) {
        const double x = (codes[i] - 32767.0) / 32767;
        sum += x * std::polar(1.0, -2 * std::numbers::pi * order * static_cast<double>(i) / n);
    }
    // a·sin(φ + nθ) gives -j·a·e^{jφ} after the scaling by 2/N.
    return sum * (2 / n) * std::complex<double>(0, 1);
}

double Degrees(std::complex<double> x) { return std::arg(x) * 180 / std::numbers::pi; }

double AngleGap(double a, double b) { return std::remainder(a - b, 360.0); }

// The harmonics the calibrator plays back from the decoded codes are the
// ones the signal asked for, in amplitude and in phase.
TEST(Tables, DecodedTablesCarryTheRequestedHarmonics) {
    TOutSignalParams p = BalancedParams();
    p.Voltage[1].Amplitude = 200;
    p.Voltage[1].KalibrationKoef = 2;
    p.Voltage[1].Harmonics[3 - 2] = {10, 30};
    p.Voltage[1].Harmonics[40 - 2] = {2.5f, -75};
    p.Current[1].Amplitude = 4;
    p.Current[1].Angle = 25;
    p.Current[1].Harmonics[5 - 2] = {20, 40};
    const TSignalClass s = Loaded(p);
    const auto u = Build(s, Kind::Voltage).Codes(s)[1];
    const auto i = Build(s, Kind::Current).Codes(s)[1];

    const double uScale = 200.0 / 220 / 1.441212185 * 1.02;
    const double iScale = 4.0 / 5 / 1.5;
    const double phiU1 = -120;
    struct Expected {
        const std::vector<std::uint16_t>* codes;
        int order;
        double amplitude;
        double angle;
    };
    const Expected expected[] = {
        {&u, 1, uScale, phiU1},
        {&u, 3, uScale * 0.10, 3 * phiU1 + 30},
        {&u, 40, uScale * 0.025, 40 * phiU1 - 75},
        {&u, 2, 0, 0},
        {&i, 1, iScale, phiU1 - 25},
        {&i, 5, iScale * 0.20, 5 * phiU1 - 40},  // the voltage has no 5th harmonic: its shift is 0
    };
    for (const Expected& e : expected) {
        const std::complex<double> x = Bin(*e.codes, e.order);
        EXPECT_NEAR(std::abs(x), e.amplitude, 2e-5) << "order " << e.order;
        if (e.amplitude > 0) {
            EXPECT_NEAR(AngleGap(Degrees(x), e.angle), 0, 0.01) << "order " << e.order;
        }
    }
}

// Each set of phases beyond the channel's swing has its own code; the
// clipped samples sit at the ends of the code range.
TEST(Tables, ClippedPhasesGiveTheirCodes) {
    const int sets[7][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {1, 1, 0}, {0, 1, 1}, {1, 0, 1}, {1, 1, 1}};
    for (int k = 0; k < 7; ++k) {
        TOutSignalParams p = BalancedParams();
        for (int ph = 0; ph < 3; ++ph) {
            if (!sets[k][ph]) continue;
            p.Voltage[ph].Amplitude = 220 * 1.4413f;
            p.Current[ph].Amplitude = 5 * 1.5001f;
        }
        const TSignalClass s = Loaded(p);
        const Built u = Build(s, Kind::Voltage);
        EXPECT_EQ(u.code, 21 + k);
        EXPECT_EQ(Build(s, Kind::Current).code, 31 + k);
        const auto codes = u.Codes(s);
        for (int ph = 0; ph < 3; ++ph) {
            const auto [lo, hi] = std::minmax_element(codes[ph].begin(), codes[ph].end());
            EXPECT_EQ(*lo == 0 && *hi == 65535, sets[k][ph] == 1) << k << " " << ph;
        }
    }
    // Just inside the swing nothing clips.
    TOutSignalParams p = BalancedParams();
    p.Voltage[0].Amplitude = 220 * 1.4411f;
    EXPECT_EQ(Build(Loaded(p), Kind::Voltage).code, 0);
}

TEST(Tables, ValuesThatAreNotNumbersFailTheBuild) {
    TOutSignalParams p = BalancedParams();
    p.Voltage[2].Amplitude = std::numeric_limits<float>::quiet_NaN();
    p.Current[0].Amplitude = std::numeric_limits<float>::infinity();
    const TSignalClass s = Loaded(p);
    EXPECT_EQ(Build(s, Kind::Voltage).code, 20);
    EXPECT_EQ(Build(s, Kind::Current).code, 30);
    // A buffer too small for the table is a build failure too.
    std::vector<std::uint8_t> small(3419 * cmn::kSampleSize - 1);
    EXPECT_EQ(stlib::BuildVoltageTable(s, small), 20);
    EXPECT_EQ(stlib::BuildCollapsesTable(s, small), 40);
}

// The dips table plays the fundamental even where the signal leaves it out,
// at the level of the nominal the dip or swell asks for; it clips silently.
TEST(Tables, DipsTableLevels) {
    TOutSignalParams p = BalancedParams();
    p.Voltage[0].MainOn = 0;
    p.Voltage[0].Amplitude = 100;
    TCollapsesOvervoltagesParams d = OneDip();
    d.Fazes[1].Value = 100;
    d.Fazes[2] = {0, {}, 2};
    p.Collapses = &d;
    const TSignalClass s = Loaded(p);
    const Built dips = Build(s, Kind::Dips);
    EXPECT_EQ(dips.code, 0);
    const auto codes = dips.Codes(s);
    EXPECT_NEAR(std::abs(Bin(codes[0], 1)), 0.5 / 1.441212185, 2e-5);
    for (std::uint16_t c : codes[1]) ASSERT_EQ(c, 32767);
    EXPECT_EQ(*std::max_element(codes[2].begin(), codes[2].end()), 65535);
    EXPECT_EQ(*std::min_element(codes[2].begin(), codes[2].end()), 0);
}

cmn::TimingFields Timing(float duration, float period, float angle, bool sync, float kf = 0, float f = 50) {
    TOutSignalParams p = BalancedParams();
    p.Frequency = f;
    p.FrequencyKoef = kf;
    TCollapsesOvervoltagesParams d = OneDip();
    d.Duration = duration;
    d.Period = period;
    d.StartAngle = angle;
    d.Synchronize = sync;
    p.Collapses = &d;
    return cmn::DecodeTimingBlock(stlib::BuildTimingBlock(Loaded(p)).value());
}

TEST(Tables, TimingBlock) {
    // R × 0.1 = 17094.0; a start angle of 0 is a whole period (N = 3419).
    cmn::TimingFields t = Timing(0.1f, 1, 0, false);
    EXPECT_EQ(t.start, 3419u);
    EXPECT_EQ(t.length, 17094u);
    EXPECT_EQ(t.pause, 170940u - 17094u - 2u);
    EXPECT_EQ(Timing(0.1f, 1, 90, false).start, 855u);    // 854.75
    EXPECT_EQ(Timing(0.1f, 1, -90, false).start, 2564u);  // 270°
    // Period equal to duration leaves the two-tick allowance negative.
    TOutSignalParams p = BalancedParams();
    TCollapsesOvervoltagesParams d = OneDip();
    d.Period = d.Duration;
    p.Collapses = &d;
    const cmn::TimingBlock block = stlib::BuildTimingBlock(Loaded(p)).value();
    EXPECT_EQ(block[8], 0xFE);
    EXPECT_EQ(block[9], 0xFF);
    EXPECT_EQ(block[10], 0x00);
    EXPECT_EQ(block[11], 0x00);
    // A start angle that is not finite gives no block at all.
    d.StartAngle = std::numeric_limits<float>::infinity();
    EXPECT_FALSE(stlib::BuildTimingBlock(Loaded(p)).has_value());
    // The frequency coefficient slows the clock for every field.
    t = Timing(0.1f, 1, 0, false, 10);
    EXPECT_EQ(t.length, 15540u);  // 17094.017 / 1.1
    EXPECT_EQ(t.pause, 155400u - 15540u - 2u);
}

// Odd N makes the half period fractional: the length is rounded again, the
// period is not, and the pause rounds their difference.
TEST(Tables, SynchronisedTimingWithOddSamples) {
    const cmn::TimingFields t = Timing(0.1f, 1, 0, true);
    EXPECT_EQ(t.length, 17095u);                // Round(10 × 1709.5)
    EXPECT_EQ(t.pause, 170950u - 17095u - 2u);  // 100 × 1709.5 − D − 2
    // 0.0011 s is 188 ticks, a fraction of a half period: rounds to none.
    EXPECT_EQ(Timing(0.0011f, 0.0011f, 0, true).length, 0u);
    const cmn::TimingFields t2 = Timing(0.13f, 1.01f, 0, true);
    EXPECT_EQ(t2.length, 22224u);  // 22222 → 13 half periods = 22223.5
}

}  // namespace
