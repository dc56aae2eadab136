#include <gtest/gtest.h>

#include <cmath>

#include "CommonUtils/TalvoError.h"
#include "RecordingLog.h"
#include "TestSignals.h"
#include "signal/Calculations.h"
#include "signal/Collapses.h"

namespace {

using sig::real;

double D(real x) { return static_cast<double>(x); }

constexpr int kN = 3419;
const real kRate = 33333334.0L / 195;

class Collapses : public ::testing::Test {
protected:
    std::unique_ptr<sig::TSignalSet> s = talvo_test::BalancedSignal();
    sig::TCollapsesParams& d = s->Collapses;

    void Calc(int samples = kN, real rate = kRate, real kf = 0) {
        sig::CalcVoltageParams(s->Voltage, s->Switches);
        sig::CalcCollapsesParams(s->Voltage, d, samples, rate, kf, s->Switches);
    }
};

TEST_F(Collapses, DipFromTheNominal) {
    d.Faza[sig::fzA].DepthPercent = 30;
    Calc();
    EXPECT_NEAR(D(d.Faza[sig::fzA].UResidual), 40.4145, 1e-12);
    EXPECT_EQ(d.Faza[sig::fzA].ShownPercent, 30);
    EXPECT_NEAR(D(d.Faza[sig::fzB].UResidual), 57.735, 1e-12);
}

TEST_F(Collapses, SwellFromTheSetValue) {
    s->Voltage.UA = 60;
    d.RefKind = sig::rvSet;
    d.Faza[sig::fzA].Kind = sig::ckSwell;
    d.Faza[sig::fzA].KPerU = 1.2L;
    Calc();
    EXPECT_NEAR(D(d.Faza[sig::fzA].UPer), 72, 1e-12);
    EXPECT_NEAR(D(d.Faza[sig::fzA].ShownPercent), 20, 1e-12);
}

TEST_F(Collapses, EqualDipsOnAllPhasesDipTheLinesEqually) {
    for (auto& phase : d.Faza) phase.DepthPercent = 30;
    Calc();
    for (const auto& line : d.Line) {
        EXPECT_EQ(line.Kind, sig::ckDip);
        EXPECT_NEAR(D(line.DepthPercent), 30, 1e-3);
        EXPECT_NEAR(D(line.ShownPercent), 30, 1e-3);
        EXPECT_NEAR(D(line.UResidual), 70, 1e-3);
    }
}

TEST_F(Collapses, ASwellOfOnePhaseRaisesItsLines) {
    d.RefKind = sig::rvSet;
    d.Faza[sig::fzA].Kind = sig::ckSwell;
    d.Faza[sig::fzA].KPerU = 1.5L;
    Calc();
    EXPECT_EQ(d.Line[sig::lnAB].Kind, sig::ckSwell);
    EXPECT_EQ(d.Line[sig::lnCA].Kind, sig::ckSwell);
    EXPECT_GT(d.Line[sig::lnAB].KPerU, 1.2L);
    EXPECT_EQ(d.Line[sig::lnAB].UPer, d.Line[sig::lnCA].UPer);
    EXPECT_NEAR(D(d.Line[sig::lnAB].ShownPercent), D((d.Line[sig::lnAB].KPerU - 1) * 100), 1e-12);
    // BC sees no event at all: a dip of depth 0.
    EXPECT_EQ(d.Line[sig::lnBC].Kind, sig::ckDip);
    EXPECT_EQ(d.Line[sig::lnBC].DepthPercent, 0);
    EXPECT_FALSE(std::signbit(d.Line[sig::lnBC].DepthPercent));
}

TEST_F(Collapses, WithoutEventsTheLinesKeepTheirTotalsExactly) {
    // The line during the event is computed by the very code of the line total.
    talvo_test::AddRichSpectrum(*s);
    s->Switches.IncludeInterGarm = true;
    s->Switches.UOnC = false;
    d.RefKind = sig::rvSet;
    Calc();
    for (int line = sig::lnAB; line <= sig::lnCA; ++line) {
        EXPECT_EQ(d.Line[line].UResidual, s->Voltage.ULineRms[line]) << line;
        EXPECT_EQ(d.Line[line].DepthPercent, 0) << line;
    }
}

TEST_F(Collapses, AZeroPhaseTotalScalesToNothing) {
    s->Voltage.UA = 0;
    d.Faza[sig::fzB].DepthPercent = 50;
    Calc();
    // AB during the event comes from B's dipped fundamental alone.
    EXPECT_NEAR(D(d.Line[sig::lnAB].UResidual), 57.735 / 2, 1e-4);
}

TEST_F(Collapses, TimingIsBoundToWholePeriods) {
    d.Duration = 250.0L / kRate;
    d.Period = 1000.0L / kRate;
    Calc(200);
    EXPECT_NEAR(D(d.Duration * kRate), 200, 1e-9);
    EXPECT_NEAR(D(d.Period * kRate), 1000, 1e-9);
    const real duration = d.Duration;
    const real period = d.Period;
    Calc(200);  // repeating it keeps the realised times
    EXPECT_EQ(d.Duration, duration);
    EXPECT_EQ(d.Period, period);
}

TEST_F(Collapses, TimingBoundToHalfPeriodsOrToSamples) {
    d.Binding = sig::cbHalfPeriod;
    d.Duration = 130.0L / kRate;
    Calc(201);  // half of 201 samples is 100.5, taken as 100
    EXPECT_NEAR(D(d.Duration * kRate), 100, 1e-9);
    d.Binding = sig::cbNone;
    d.Duration = 130.4L / kRate;
    Calc(201);
    EXPECT_NEAR(D(d.Duration * kRate), 130, 1e-9);
}

TEST_F(Collapses, TheFrequencyCorrectionStretchesTheSamples) {
    d.Binding = sig::cbNone;
    d.Duration = 0.1L;
    Calc(kN, kRate, 2);
    const real count = std::rint(0.1L * kRate / 1.02L);
    EXPECT_EQ(d.Duration, 1.02L * count / kRate);
}

TEST_F(Collapses, WithoutASampleRateTheTimesStayAsSet) {
    d.Duration = 0.123L;
    Calc(0, 0);
    EXPECT_EQ(d.Duration, 0.123L);
}

TEST_F(Collapses, UnknownKindsAreRefused) {
    d.Binding = 3;
    d.Duration = 0.5L;
    try {
        Calc();
        FAIL() << "binding 3 accepted";
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "Неизвестный вид привязки провалов: 3");
    }
    EXPECT_EQ(d.Duration, 0.5L);
    d.Binding = sig::cbPeriod;
    d.RefKind = 2;
    EXPECT_THROW(Calc(), cmn::TalvoError);
    EXPECT_THROW(sig::ResidualVoltage(7, 10, 50, 57.735L), cmn::TalvoError);
    EXPECT_NEAR(D(sig::ResidualVoltage(sig::rvSet, 10, 50, 57.735L)), 45, 1e-12);
    EXPECT_NEAR(D(sig::MaximumVoltage(sig::rvNominal, 1.1L, 50, 57.735L)), 63.5085, 1e-12);
}

TEST_F(Collapses, ValidityBoundary) {
    Calc();
    sig::TCollapseFazaParams& a = d.Faza[sig::fzA];
    a.UResidual = s->Voltage.URmsA;
    EXPECT_TRUE(sig::CollapsesValid(s->Voltage, d));
    a.UResidual = s->Voltage.URmsA + 0.001L;
    EXPECT_FALSE(sig::CollapsesValid(s->Voltage, d));
    a.Kind = sig::ckSwell;
    a.UPer = s->Voltage.URmsA;
    EXPECT_TRUE(sig::CollapsesValid(s->Voltage, d));
    a.UPer = s->Voltage.URmsA - 0.001L;
    EXPECT_FALSE(sig::CollapsesValid(s->Voltage, d));
}

TEST_F(Collapses, ChecksBeforeSending) {
    d.Faza[sig::fzB].Kind = sig::ckSwell;
    d.Faza[sig::fzB].KPerU = 0.9L;  // below the phase's RMS: inconsistent
    d.Count = 3;
    Calc();

    talvo_test::RecordingLog declining(true, false);
    EXPECT_FALSE(sig::ConfirmCollapses(s->Voltage, d, declining));
    ASSERT_EQ(declining.questions.size(), 1u);
    EXPECT_EQ(declining.questions[0].buttons, cmn::Buttons::YesNo);
    EXPECT_EQ(declining.questions[0].text,
              "Параметры провалов или перенапряжений некорректны.\r\nВозможные причины:\r\n\r\n"
              "- значение остаточного напряжения при провале больше среднеквадратического значения напряжения\r\n"
              "- значение максимального напряжения при перенапряжении меньше среднеквадратического значения "
              "напряжения\r\n\r\n"
              "Продолжить передачу сигнала?");

    talvo_test::RecordingLog unattended;
    EXPECT_TRUE(sig::ConfirmCollapses(s->Voltage, d, unattended));
    ASSERT_EQ(unattended.lines.size(), 1u);
    EXPECT_EQ(unattended.lines[0].first, cmn::LogType::Notice);
    EXPECT_EQ(unattended.lines[0].second, "Параметры провалов или перенапряжений некорректны");

    d.Count = 0;
    talvo_test::RecordingLog accepting(true, true);
    EXPECT_FALSE(sig::ConfirmCollapses(s->Voltage, d, accepting));
    ASSERT_EQ(accepting.questions.size(), 2u);
    EXPECT_EQ(accepting.questions[1].text,
              "Генерация провалов и перенапряжений невозможна, так как их количество равно нулю.\r\n\r\n"
              "Задайте параметры провалов или перенапряжений и повторите попытку.");
    unattended.lines.clear();
    EXPECT_FALSE(sig::ConfirmCollapses(s->Voltage, d, unattended));
    EXPECT_EQ(unattended.lines.back().second,
              "Генерация провалов и перенапряжений невозможна, так как их количество равно нулю.");
}

// The calibrator counts 1 ... 32767 events; any other count from a file is
// refused in the words of the zero count, naming the range.
TEST_F(Collapses, ACountOutsideTheCalibratorsRangeIsRefused) {
    Calc();
    const std::string refusal =
        "Генерация провалов и перенапряжений невозможна, так как их количество вне диапазона от 1 до 32767.";
    for (const std::int32_t count : {-3, -1, 32768, 65536, 2147483647}) {
        SCOPED_TRACE(count);
        d.Count = count;
        talvo_test::RecordingLog unattended;
        EXPECT_FALSE(sig::ConfirmCollapses(s->Voltage, d, unattended));
        ASSERT_EQ(unattended.lines.size(), 1u);
        EXPECT_EQ(unattended.lines[0].first, cmn::LogType::Notice);
        EXPECT_EQ(unattended.lines[0].second, refusal);
        talvo_test::RecordingLog shown(true, true);
        EXPECT_FALSE(sig::ConfirmCollapses(s->Voltage, d, shown));
        ASSERT_EQ(shown.questions.size(), 1u);
        EXPECT_EQ(shown.questions[0].text,
                  refusal + "\r\n\r\nЗадайте параметры провалов или перенапряжений и повторите попытку.");
        EXPECT_EQ(shown.questions[0].buttons, cmn::Buttons::Ok);
    }
    for (const std::int32_t count : {1, 32767}) {
        d.Count = count;
        talvo_test::RecordingLog unattended;
        EXPECT_TRUE(sig::ConfirmCollapses(s->Voltage, d, unattended)) << count;
        EXPECT_TRUE(unattended.lines.empty());
    }
}

}  // namespace
