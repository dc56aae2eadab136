#include <gtest/gtest.h>

#include <quadmath.h>

#include <cmath>
#include <random>

#include "CommonUtils/TalvoError.h"
#include "signal/Helpers.h"

namespace {

using sig::real;

TEST(NormalizeAngle, FoldsIntoTheHalfOpenRange) {
    EXPECT_EQ(sig::NormalizeAngle(180), -180);
    EXPECT_EQ(sig::NormalizeAngle(-180), -180);
    EXPECT_EQ(sig::NormalizeAngle(179.5L), 179.5L);
    EXPECT_EQ(sig::NormalizeAngle(540), -180);
    EXPECT_EQ(sig::NormalizeAngle(-540), -180);
    EXPECT_EQ(sig::NormalizeAngle(-181), 179);
    EXPECT_EQ(sig::NormalizeAngle(725), 5);
    EXPECT_EQ(sig::NormalizeAngle(-900.5L), 179.5L);
    EXPECT_EQ(sig::NormalizeAngle(1000000.25L), -79.75L);
    EXPECT_EQ(sig::NormalizeAngle(-1000000.25L), 79.75L);
    for (const real huge : {1e20L, -3e25L}) {
        const real folded = sig::NormalizeAngle(huge);
        EXPECT_TRUE(folded >= -180 && folded < 180) << static_cast<double>(folded);
    }
}

TEST(UnitPhasor, QuarterTurnsAreExact) {
    EXPECT_EQ(sig::UnitPhasor(90).x, 0);
    EXPECT_EQ(sig::UnitPhasor(90).y, 1);
    EXPECT_EQ(sig::UnitPhasor(-270).y, 1);
    EXPECT_EQ(sig::UnitPhasor(540).x, -1);
    EXPECT_EQ(sig::CosDeg(-90), 0);
    // Far from zero the value is still the one of the folded angle.
    EXPECT_NEAR(static_cast<double>(sig::UnitPhasor(50 * 121 + 33.5L).y),
                std::sin((50 * 121 + 33.5 - 17 * 360) * M_PI / 180), 1e-15);
    EXPECT_EQ(sig::CosDeg(1234.5L), sig::UnitPhasor(1234.5L).x);
}

// cos and sin of an angle in degrees in quadruple precision: the angle is
// folded exactly, so the reference is good to far below a long double ulp.
sig::TPhasor QuadUnitPhasor(real angleDeg) {
    const __float128 radians = fmodq(static_cast<__float128>(angleDeg), 360) * acosq(-1) / 180;
    return {static_cast<real>(cosq(radians)), static_cast<real>(sinq(radians))};
}

TEST(UnitPhasor, IsWithinAnUlpOfTheTrueValue) {
    // One ulp of a value in [1/2, 1).
    constexpr real kTolerance = 0x1p-64L;
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> wide(-20000, 20000);
    std::uniform_int_distribution<int> whole(-400, 400);
    real worst = 0;
    for (int i = 0; i < 200000; ++i) {
        // Arbitrary angles, and angles near whole degrees where the rest changes sign.
        const real angle = i % 2 ? static_cast<real>(wide(random)) + static_cast<real>(wide(random)) * 0x1p-40L
                                 : whole(random) + (i % 4 ? 0.5L : -1e-12L) * (i % 3 - 1);
        const sig::TPhasor u = sig::UnitPhasor(angle);
        const sig::TPhasor q = QuadUnitPhasor(angle);
        worst = std::max({worst, std::fabs(u.x - q.x), std::fabs(u.y - q.y)});
        ASSERT_LE(std::fabs(u.x - q.x), kTolerance) << static_cast<double>(angle);
        ASSERT_LE(std::fabs(u.y - q.y), kTolerance) << static_cast<double>(angle);
    }
    RecordProperty("WorstErrorInUlps", std::to_string(static_cast<double>(worst * 0x1p64L)));
    // The angles whose sine is rational come out exact.
    EXPECT_EQ(sig::UnitPhasor(30).y, 0.5L);
    EXPECT_EQ(sig::UnitPhasor(-120).x, -0.5L);
    EXPECT_EQ(sig::CosDeg(300), 0.5L);
    EXPECT_TRUE(std::isnan(sig::UnitPhasor(NAN).x));
}

TEST(RoundDec5, RoundsToFiveDecimalsInDoublePrecision) {
    EXPECT_NEAR(sig::RoundDec5(173.2050807568877293527L), 173.20508, 1e-12);
    EXPECT_NEAR(sig::RoundDec5(-0.000014L), -0.00001, 1e-15);
    // Exact halves in units of 1e-5 go to the even neighbour.
    EXPECT_EQ(sig::RoundDec5(0.000025L), 2 * 1e-5);
    EXPECT_EQ(sig::RoundDec5(0.000015L), 2 * 1e-5);
    EXPECT_EQ(sig::RoundDec5(0.000005L), 0);
    EXPECT_EQ(sig::RoundDec5(1.000005L), 1);
}

TEST(DeviationPercent, RefusesAZeroNominal) {
    try {
        sig::DeviationPercent(57, 0);
        FAIL() << "no error for a zero nominal";
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "Значение номинала должно быть отличным от нуля");
    }
    // A nominal that rounds to zero would divide by zero just the same.
    EXPECT_THROW(sig::DeviationPercent(57, 1e-7L), cmn::TalvoError);
}

TEST(DeviationPercent, RoundsBothSidesFirst) {
    EXPECT_EQ(sig::DeviationPercent(57.735L, 57.735L), 0);
    EXPECT_EQ(sig::DeviationPercent(57.7350000001L, 57.735L), 0);
    EXPECT_NEAR(static_cast<double>(sig::DeviationPercent(60, 57.735L)), 60 / 57.735 * 100 - 100, 1e-12);
    EXPECT_NEAR(static_cast<double>(sig::DeviationPercent(4.5L, 5)), -10, 1e-15);
}

TEST(Phasors, PolarFormsRoundTheirComponents) {
    const sig::TPhasor p = sig::PhasorFromPolar(100, -120);
    EXPECT_NEAR(static_cast<double>(p.x), -50, 1e-12);
    EXPECT_NEAR(static_cast<double>(p.y), -86.60254, 1e-12);
    EXPECT_EQ(sig::PhasorAngle({0, 0}), 0);
    EXPECT_EQ(sig::PhasorAngle({-0.0L, -0.0L}), 0);
    EXPECT_EQ(sig::PhasorAngle({-1, 0}), -180);
    EXPECT_NEAR(static_cast<double>(sig::PhasorAngle({1, 1})), 45, 1e-15);
}

TEST(SymmetricalComponents, SeparateTheSequences) {
    const auto positive = sig::SymmetricalComponents({sig::TPolar{10, 0}, sig::TPolar{10, -120}, sig::TPolar{10, 120}});
    EXPECT_NEAR(static_cast<double>(positive.Pos.Magnitude), 10, 1e-5);
    EXPECT_NEAR(static_cast<double>(positive.Pos.Angle), 0, 1e-9);
    EXPECT_EQ(positive.Neg.Magnitude, 0);
    EXPECT_EQ(positive.Zero.Magnitude, 0);

    const auto negative = sig::SymmetricalComponents({sig::TPolar{10, 30}, sig::TPolar{10, 150}, sig::TPolar{10, -90}});
    EXPECT_EQ(negative.Pos.Magnitude, 0);
    EXPECT_NEAR(static_cast<double>(negative.Neg.Magnitude), 10, 1e-5);
    EXPECT_NEAR(static_cast<double>(negative.Neg.Angle), 30, 1e-3);

    const auto zero = sig::SymmetricalComponents({sig::TPolar{4, 60}, sig::TPolar{4, 60}, sig::TPolar{4, 60}});
    EXPECT_NEAR(static_cast<double>(zero.Zero.Magnitude), 4, 1e-5);
    EXPECT_NEAR(static_cast<double>(zero.Zero.Angle), 60, 1e-3);
    EXPECT_EQ(zero.Pos.Magnitude, 0);
}

TEST(Distortion, CountsOnlyTheOrdersAsked) {
    sig::THarmonicOrders k;
    sig::TInterOrders inter;
    k[3] = 3;
    k[45] = 4;
    inter[10] = 12;
    EXPECT_EQ(sig::Distortion(k, 50), 5);
    EXPECT_EQ(sig::Distortion(k, 40), 3);
    EXPECT_EQ(sig::Distortion(k, 50, inter, 49, true), 13);
    EXPECT_EQ(sig::Distortion(k, 50, inter, 49, false), 5);
}

TEST(TotalRms, KeepsOnlyTheHarmonicPartWhenSwitchedOff) {
    EXPECT_NEAR(static_cast<double>(sig::TotalRms(true, 100, 10)), 100.49876, 1e-12);
    EXPECT_NEAR(static_cast<double>(sig::TotalRms(false, 100, 10)), 10, 1e-12);
}

}  // namespace
