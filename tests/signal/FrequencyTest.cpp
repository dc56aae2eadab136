#include <gtest/gtest.h>

#include "RecordingLog.h"
#include "TestSignals.h"
#include "signal/Frequency.h"
#include "signal/SampleClock.h"

namespace {

using sig::real;

TEST(SampleClock, RatesOfTheThreeTimerIndices) {
    EXPECT_NEAR(static_cast<double>(sig::SampleRate(0)), 152207.00, 0.005);
    EXPECT_NEAR(static_cast<double>(sig::SampleRate(1)), 170940.17, 0.005);
    EXPECT_NEAR(static_cast<double>(sig::SampleRate(2)), 204498.98, 0.005);
    EXPECT_EQ(sig::TimerDivisor(1), 194);
}

TEST(SampleClock, FiftyHertzOnTheMiddleIndex) {
    const auto p = sig::RealiseFrequency(sig::kNoTimerIndex, 50, 0);
    ASSERT_TRUE(p);
    EXPECT_EQ(p->TimerIndex, 1);
    EXPECT_EQ(p->Samples, 3419);
    EXPECT_NEAR(static_cast<double>(p->Frequency), 49.99713, 5e-6);
    // A positive correction slows the clock down: fewer samples per period.
    EXPECT_EQ(sig::RealiseFrequency(1, 50, 1)->Samples, 3385);
}

TEST(SampleClock, TimerIndexKeepsItsRangeWithinTheHysteresis) {
    int index = sig::ChooseTimerIndex(sig::kNoTimerIndex, 50);
    EXPECT_EQ(index, 1);
    index = sig::ChooseTimerIndex(index, 55.15L);
    EXPECT_EQ(index, 1);
    index = sig::ChooseTimerIndex(index, 55.3L);
    EXPECT_EQ(index, 2);
    index = sig::ChooseTimerIndex(index, 55.05L);
    EXPECT_EQ(index, 2);
    index = sig::ChooseTimerIndex(index, 54.9L);
    EXPECT_EQ(index, 1);
    EXPECT_EQ(sig::ChooseTimerIndex(sig::kNoTimerIndex, 30), 0);
    EXPECT_EQ(sig::ChooseTimerIndex(sig::kNoTimerIndex, 90), 2);
    EXPECT_EQ(sig::ChooseTimerIndex(2, 95), 2);
    EXPECT_EQ(sig::ChooseTimerIndex(0, 44.95L), 0);
    EXPECT_EQ(sig::ChooseTimerIndex(0, 45.05L), 1);
}

TEST(SampleClock, NoGridPointForImpossibleRequests) {
    EXPECT_FALSE(sig::RealiseFrequency(sig::kNoTimerIndex, 0, 0));
    EXPECT_FALSE(sig::RealiseFrequency(sig::kNoTimerIndex, -50, 0));
    EXPECT_FALSE(sig::RealiseFrequency(sig::kNoTimerIndex, 50, -100));
    EXPECT_FALSE(sig::RealiseFrequency(sig::kNoTimerIndex, 1e-30L, 0));
    EXPECT_FALSE(sig::RealiseFrequency(sig::kNoTimerIndex, 1e12L, 0));  // not even one sample per period
}

class FrequencyRange : public ::testing::Test {
protected:
    sig::TFrequencyBounds bounds = sig::DeriveFrequencyBounds(0);
    talvo_test::RecordingLog log;
};

TEST_F(FrequencyRange, TheNominalLimitsPass) {
    EXPECT_EQ(bounds.Lower, 40);
    EXPECT_GT(bounds.Upper, 70);  // 70 Hz is generated slightly above 70
    sig::TSampleGrid grid;
    auto s = talvo_test::BalancedSignal();
    EXPECT_TRUE(sig::SetSignalFrequency(40, 0, grid, bounds, false, true, log, s->Voltage));
    EXPECT_EQ(grid.TimerIndex, 0);
    EXPECT_TRUE(sig::SetSignalFrequency(70, 0, grid, bounds, false, true, log, s->Voltage));
    EXPECT_EQ(grid.TimerIndex, 2);
    EXPECT_TRUE(log.lines.empty());
}

TEST_F(FrequencyRange, OutsideIsLoggedWithTheNominalLimits) {
    sig::TSampleGrid grid;
    auto s = talvo_test::BalancedSignal();
    for (const real f : {39.9L, 70.1L}) {
        EXPECT_FALSE(sig::SetSignalFrequency(f, 0, grid, bounds, false, true, log, s->Voltage));
    }
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0].first, cmn::LogType::Notice);
    EXPECT_EQ(log.lines[0].second, "Значение частоты выходит за допустимый диапазон (от  40.0 до  70.0 Гц)!");
    EXPECT_EQ(grid.TimerIndex, sig::kNoTimerIndex);
    EXPECT_EQ(s->Voltage.Freq, 50);
}

TEST_F(FrequencyRange, AWindowAsksTheUserToEnterAgain) {
    talvo_test::RecordingLog window(true);
    EXPECT_FALSE(sig::CheckFrequencyRange(75, bounds, true, false, window));
    ASSERT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.questions[0].text,
              "Значение частоты выходит за допустимый диапазон (от  40.0 до  70.0 Гц)! Повторите ввод!");
    EXPECT_EQ(window.questions[0].kind, cmn::MessageKind::Warning);
    // In console mode nobody is asked, even with an interactive target.
    EXPECT_FALSE(sig::CheckFrequencyRange(75, bounds, true, true, window));
    EXPECT_EQ(window.questions.size(), 1u);
    EXPECT_EQ(window.lines.size(), 1u);
}

TEST_F(FrequencyRange, ANonPositiveRequestIsOutOfRange) {
    sig::TSampleGrid grid;
    auto s = talvo_test::BalancedSignal();
    EXPECT_FALSE(sig::SetSignalFrequency(0, 0, grid, bounds, false, true, log, s->Voltage));
    EXPECT_EQ(log.lines.size(), 1u);
}

TEST(SetSignalFrequency, StoresTheRealisedFrequencyAndTheGrid) {
    talvo_test::RecordingLog log;
    sig::TSampleGrid grid;
    auto s = talvo_test::BalancedSignal();
    s->Voltage.FreqNominal = 50;
    const real kf = 0.5L;
    ASSERT_TRUE(sig::SetSignalFrequency(50, kf, grid, sig::DeriveFrequencyBounds(kf), false, true, log, s->Voltage));
    EXPECT_EQ(grid.TimerIndex, 1);
    EXPECT_EQ(grid.SampleRate, sig::SampleRate(1));
    EXPECT_EQ(grid.SamplesPerPeriod, 3402);
    EXPECT_EQ(grid.SamplesPerPeriodUncorrected, 3419);
    EXPECT_EQ(s->Voltage.Freq, sig::SampleRate(1) / ((1 + kf / 100) * 3402));
    EXPECT_EQ(s->Voltage.FreqDelta, s->Voltage.Freq - 50);
}

}  // namespace
