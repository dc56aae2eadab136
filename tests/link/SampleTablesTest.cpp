#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "CommonUtils/CalibratorWire.h"
#include "CommonUtils/TalvoError.h"
#include "RecordingLog.h"
#include "TableSignals.h"
#include "link/SampleTables.h"
#include "signal/Helpers.h"
#include "signal/Nominals.h"
#include "signal/SampleClock.h"
#include "signal/Waveform.h"

namespace {

using sig::real;
using talvo_test::RecordingLog;

using tabletest::Balanced;
using tabletest::kLowRange;

lnk::TTableSettings FirstModification() { return {sig::dmTalvo, {}}; }

std::vector<std::array<std::uint16_t, 3>> Codes(const lnk::TSampleTable& t) {
    std::vector<std::array<std::uint16_t, 3>> codes;
    for (std::size_t i = 0; i < t.Bytes.size(); i += cmn::kSampleSize) {
        const cmn::SampleCodes c = cmn::UnpackSample(&t.Bytes[i]);
        EXPECT_TRUE(c.markersOk);
        codes.push_back({c.a, c.b, c.c});
    }
    return codes;
}

std::array<std::uint16_t, 3> Sample(const lnk::TSampleTable& t, int i) { return Codes(t).at(i); }

using Phases = std::array<std::uint16_t, 3>;

// ---------------------------------------------------------------- codes and bytes

TEST(SampleTables, NominalFundamentalOnFourSamples) {
    const lnk::TSampleTable t = lnk::BuildVoltageTable(Balanced(4), FirstModification());
    ASSERT_EQ(t.Bytes.size(), 32u);
    EXPECT_FALSE(t.Clipped());
    // Sample 0: phase A at its zero crossing, B and C at -+sin 120 degrees.
    EXPECT_EQ(Sample(t, 0), (Phases{32767, 13077, 52457}));
    // Sample 1: A at its peak 55503, B at sin(-30 degrees).
    EXPECT_EQ(Sample(t, 1), (Phases{55503, 21399, 21399}));
    EXPECT_EQ(Sample(t, 3)[0], 10031);
}

TEST(SampleTables, ClippedPhasesAreMarkedAndSentAtTheExtremes) {
    sig::TSignalSet s = Balanced(4);
    s.Voltage.UA = s.Voltage.UB = 3 * kLowRange;
    s.Voltage.ShiftB = 180;
    s.Switches.UOnC = false;  // phase C stays at the zero code
    const lnk::TSampleTable t = lnk::BuildVoltageTable(s, FirstModification());
    EXPECT_EQ(t.OutOfRange, (std::array<bool, 3>{true, true, false}));
    // A = 65535, B = 0, C = 32767: nibbles [1 C B A] are 1001 then 1101.
    const std::vector<std::uint8_t> second(t.Bytes.begin() + 8, t.Bytes.begin() + 16);
    EXPECT_EQ(second, (std::vector<std::uint8_t>{0xDD, 0x9D, 0xDD, 0xDD, 0xDD, 0xDD, 0xDD, 0xDD}));
}

TEST(SampleTables, RangeAndCalibrationFactorOfThePhase) {
    sig::TSignalSet s = Balanced(4);
    s.Voltage.Nominal = s.Voltage.NominalFaza = 220;
    s.Voltage.UA = 220;
    lnk::TTableSettings t = FirstModification();
    t.Correction[0] = 10;  // 220 V, phase A
    t.Correction[3] = 50;  // 57.7 V, phase A: not this range
    EXPECT_EQ(Sample(lnk::BuildVoltageTable(s, t), 1)[0], 57776);
    EXPECT_EQ(lnk::RangeCode(s.Voltage, s.Current), 3);
    s.Current.Nominal = 1;
    EXPECT_EQ(lnk::RangeCode(s.Voltage, s.Current), 1);
}

TEST(SampleTables, CurrentScaleRangeAndAngle) {
    sig::TSignalSet s = Balanced(4);
    EXPECT_EQ(Sample(lnk::BuildCurrentTable(s, FirstModification()), 1)[0], 54612);
    s.Current.Nominal = 1;
    s.Current.IA = 0.5L;
    s.Current.PhiUIA = 90;  // the current lags by a quarter period
    const lnk::TSampleTable t = lnk::BuildCurrentTable(s, FirstModification());
    EXPECT_EQ(Sample(t, 1)[0], 32767);
    EXPECT_EQ(Sample(t, 2)[0], 43689);
}

TEST(SampleTables, SecondModificationCompensatesTheOutputFilter) {
    sig::TSignalSet s = Balanced(200);
    s.Switches.UOnA = false;
    s.Voltage.Garmonik.SetKoef(sig::TGarmonikPart::a, 50, 20);
    EXPECT_EQ(Sample(lnk::BuildVoltageTable(s, {sig::dmTalvoM, {}}), 1)[0], 35694);
    // The first modification has no filter to compensate, and its own scale.
    EXPECT_EQ(Sample(lnk::BuildVoltageTable(s, FirstModification()), 1)[0],
              std::lrint((0.2 * 0.6938603561695532 + 1) * 32767));
}

// Without a stored choice the tables are built for the second modification.
TEST(SampleTables, TheDefaultIsTheSecondModification) {
    EXPECT_EQ(lnk::TTableSettings{}.Modification, 1);
    sig::TSignalSet s = Balanced(200);
    s.Switches.UOnA = false;
    s.Voltage.Garmonik.SetKoef(sig::TGarmonikPart::a, 50, 20);
    EXPECT_EQ(Sample(lnk::BuildVoltageTable(s, {}), 1)[0], 35694);
}

TEST(SampleTables, InterharmonicsMakeATwoPeriodTable) {
    sig::TSignalSet s = Balanced(12);
    s.Voltage.InterGarm[sig::fzA].Koef[1] = 10;                                      // order 1.5
    EXPECT_EQ(Sample(lnk::BuildVoltageTable(s, FirstModification()), 1)[0], 44135);  // sin 30 degrees only
    s.Switches.IncludeInterGarm = true;
    EXPECT_EQ(Sample(lnk::BuildVoltageTable(s, FirstModification()), 1)[0], 54730);  // sin 60 + 0.1 sin 90
    EXPECT_EQ(sig::SentTimerDivisor(1, true), 389);
    EXPECT_EQ(sig::SentTimerDivisor(0, false), 218);
}

TEST(SampleTables, DipsTableTakesTheEventVoltages) {
    sig::TSignalSet s = Balanced(4);
    s.Voltage.ShiftB = s.Voltage.ShiftC = 0;
    s.Collapses.Faza[0] = {sig::ckDip, 1, 50, 0, kLowRange / 2, 50};
    s.Collapses.Faza[1] = {sig::ckSwell, 1.2L, 0, 1.2L * kLowRange, 0, 20};
    s.Collapses.Faza[2] = {sig::ckDip, 1, 0, 0, kLowRange, 0};
    EXPECT_EQ(Sample(lnk::BuildDipsTable(s, FirstModification()), 1), (Phases{44135, 60050, 55503}));
}

TEST(SampleTables, FluctuationTablesAtTheRaisedAndLoweredLevels) {
    sig::TSignalSet s = Balanced(4);
    s.Koleb.Swing = {10, 0, 0};
    EXPECT_EQ(Sample(lnk::BuildFluctuationTable(s, FirstModification(), lnk::TFluctuationLevel::Raised), 1)[0], 56640);
    EXPECT_EQ(Sample(lnk::BuildFluctuationTable(s, FirstModification(), lnk::TFluctuationLevel::Lowered), 1)[0], 54366);
}

TEST(SampleTables, GridsThatCannotMakeATableAreRefused) {
    sig::TSignalSet s = Balanced(5001);
    EXPECT_THROW(lnk::BuildVoltageTable(s, FirstModification()), cmn::TalvoError);
    try {
        lnk::BuildCurrentTable(s, FirstModification());
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(
            e.what(),
            "Частота сигнала не может быть сформирована калибратором: число отсчетов на период превышает 5000.");
    }
    s.Grid = {};
    EXPECT_THROW(lnk::BuildVoltageTable(s, FirstModification()), cmn::TalvoError);
    EXPECT_THROW(lnk::DipsTimingBlock(s, 0), cmn::TalvoError);
    EXPECT_EQ(lnk::BuildVoltageTable(Balanced(5000), FirstModification()).Bytes.size(), 40000u);
}

// ---------------------------------------------------------------- against a direct evaluation

// The code as a direct evaluation gives it: one sine per term and sample.
struct ReferenceCode {
    real exact = 0;  // before rounding
    long code = 0;
};

ReferenceCode Reference(const sig::TWaveBlocks& w, bool on, real deviation, real scale, const sig::TSignalSet& s, int i,
                        bool filter) {
    const int n = s.Grid.SamplesPerPeriod;
    const real value = sig::InstantValue(w, i, filter, s.Switches.IncludeInterGarm, on, s.Voltage.Freq, n, deviation);
    const real exact = (value * scale + 1) * 32767;
    return {exact, std::clamp(std::lrint(exact), 0L, 65535L)};
}

void ExpectMatchesReference(const lnk::TSampleTable& t, const sig::TSignalSet& s, bool current, int modification) {
    const bool filter = sig::ModificationInfo(modification).FilterCompensation;
    const real scale = current ? 0.6666666666666666667L : sig::ModificationInfo(modification).OutputScale;
    const auto codes = Codes(t);
    for (int p = 0; p < 3; ++p) {
        const sig::TWaveBlocks w = current ? sig::CurrentWave(s.Current, s.Voltage, p) : sig::VoltageWave(s.Voltage, p);
        const bool on = current ? sig::IOn(s.Switches, p) : sig::UOn(s.Switches, p);
        const real deviation = current ? sig::DeviationPercent(sig::I(s.Current, p), 5)
                                       : sig::DeviationPercent(sig::U(s.Voltage, p), kLowRange);
        for (int i = 0; i < s.Grid.SamplesPerPeriod; ++i) {
            const ReferenceCode r = Reference(w, on, deviation, scale, s, i, filter);
            const long diff = std::labs(codes[i][p] - r.code);
            const bool nearTie = std::fabs(r.exact - std::floor(r.exact) - 0.5L) < 1e-9L;
            ASSERT_TRUE(diff == 0 || (diff == 1 && nearTie)) << "phase " << p << " sample " << i;
        }
    }
}

TEST(SampleTables, EqualADirectEvaluationOnRandomSignals) {
    std::mt19937 rng(20261209);
    std::uniform_int_distribution<int> samples(60, 700);
    std::uniform_real_distribution<real> level(0.5L, 1.1L);
    for (int round = 0; round < 24; ++round) {
        sig::TSignalSet s = Balanced(round == 0 ? 3419 : samples(rng));
        talvo_test::RandomSpectrum(s, rng, 0, 3);
        std::uniform_real_distribution<real> angle(-180, 180);
        for (int p = sig::fzA; p <= sig::fzC; ++p) {
            sig::Shift(s.Voltage, p) = angle(rng);
            sig::PhiUI(s.Current, p) = angle(rng);
        }
        s.Voltage.UA = level(rng) * kLowRange;
        s.Current.IC = level(rng) * 5;
        s.Switches.IncludeInterGarm = round % 2 == 1;
        s.Switches.UOnB = round % 3 != 0;
        s.Switches.IOnA = round % 4 != 0;
        const int modification = round % 5 < 2 ? sig::dmTalvo : sig::dmTalvoM;
        const lnk::TTableSettings settings{modification, {}};
        ExpectMatchesReference(lnk::BuildVoltageTable(s, settings), s, false, modification);
        ExpectMatchesReference(lnk::BuildCurrentTable(s, settings), s, true, modification);
    }
}

// ---------------------------------------------------------------- amplitude check

const std::string kVoltageAC =
    "Амплитуда выходного напряжения превышает допустимое значение по: \r - фазе \xD0\x90\r - фазе C\r";

TEST(AmplitudeCheck, MessagesNameThePhasesWithTheirLetters) {
    EXPECT_EQ(lnk::AmplitudeMessage(lnk::TTableKind::Voltage, {true, false, true}), kVoltageAC);
    EXPECT_EQ(lnk::AmplitudeMessage(lnk::TTableKind::Current, {false, true, false}),
              "Амплитуда выходного тока превышает допустимое значение по: \r - фазе B\r");
}

TEST(AmplitudeCheck, MainTablesAskSecondTablesTellUnattendedRunsLog) {
    lnk::TSampleTable t;
    t.OutOfRange = {true, false, true};
    RecordingLog declining(true, false);
    EXPECT_FALSE(lnk::ConfirmAmplitudes(t, lnk::TTableKind::Voltage, lnk::TTableUse::Main, declining));
    ASSERT_EQ(declining.questions.size(), 1u);
    EXPECT_EQ(declining.questions[0].text, kVoltageAC + "Продолжить передачу сигнала?");
    EXPECT_EQ(declining.questions[0].kind, cmn::MessageKind::Confirmation);
    EXPECT_EQ(declining.questions[0].buttons, cmn::Buttons::YesNo);

    RecordingLog told(true, false);
    EXPECT_TRUE(lnk::ConfirmAmplitudes(t, lnk::TTableKind::Voltage, lnk::TTableUse::Second, told));
    ASSERT_EQ(told.questions.size(), 1u);
    EXPECT_EQ(told.questions[0].text, kVoltageAC);
    EXPECT_EQ(told.questions[0].buttons, cmn::Buttons::Ok);

    RecordingLog unattended(false, false);
    EXPECT_TRUE(lnk::ConfirmAmplitudes(t, lnk::TTableKind::Voltage, lnk::TTableUse::Main, unattended));
    EXPECT_TRUE(unattended.questions.empty());
    ASSERT_EQ(unattended.lines.size(), 1u);
    EXPECT_EQ(unattended.lines[0].first, cmn::LogType::Notice);
    EXPECT_EQ(unattended.lines[0].second, kVoltageAC);

    RecordingLog quiet(true, false);
    EXPECT_TRUE(lnk::ConfirmAmplitudes(lnk::TSampleTable{}, lnk::TTableKind::Current, lnk::TTableUse::Main, quiet));
    EXPECT_TRUE(quiet.questions.empty() && quiet.lines.empty());
}

TEST(AmplitudeCheck, TheClippedTableIsSentUnlessTheUserDeclines) {
    sig::TSignalSet s = Balanced(4);
    s.Voltage.UB = 2 * kLowRange;
    s.Current.IC = 20;
    RecordingLog declining(true, false);
    EXPECT_FALSE(lnk::TableToSend(s, FirstModification(), lnk::TTableRole::Voltage, declining));
    const auto dips = lnk::TableToSend(s, FirstModification(), lnk::TTableRole::FluctuationNormal, declining);
    ASSERT_TRUE(dips);
    EXPECT_EQ(declining.questions.back().buttons, cmn::Buttons::Ok);

    RecordingLog unattended(false, false);
    const auto current = lnk::TableToSend(s, FirstModification(), lnk::TTableRole::Current, unattended);
    ASSERT_TRUE(current);
    EXPECT_EQ(cmn::UnpackSample(current->data()).c, 65535);  // sent clipped
    ASSERT_EQ(unattended.lines.size(), 1u);
    EXPECT_EQ(unattended.lines[0].second, "Амплитуда выходного тока превышает допустимое значение по: \r - фазе C\r");
}

// ---------------------------------------------------------------- timing blocks

cmn::TimingFields Fields(const cmn::TimingBlock& b) { return cmn::DecodeTimingBlock(b); }

sig::TSignalSet Dips(real duration, real period, std::uint8_t binding, std::int32_t startPhase) {
    sig::TSignalSet s = Balanced(3419);
    s.Collapses.Duration = duration;
    s.Collapses.Period = period;
    s.Collapses.Binding = binding;
    s.Collapses.StartPhase = startPhase;
    return s;
}

TEST(TimingBlocks, DipsWithoutBindingAndPeriodEqualToDuration) {
    const cmn::TimingFields f = Fields(lnk::DipsTimingBlock(Dips(0.1L, 0.1L, sig::cbNone, 0), 0));
    EXPECT_EQ(f.start, 3419u);  // angle 0 waits a whole period
    EXPECT_EQ(f.length, 17093u);
    EXPECT_EQ(f.pause, 0u);
    EXPECT_EQ(Fields(lnk::DipsTimingBlock(Dips(0.1L, 0.1L, sig::cbNone, 90), 0)).start, 855u);
    EXPECT_EQ(Fields(lnk::DipsTimingBlock(Dips(0.1L, 0.1L, sig::cbNone, -270), 0)).start, 855u);
}

TEST(TimingBlocks, DipsBoundToHalfPeriodsAndPeriods) {
    // Half of 3419 rounds to the even 1710.
    const cmn::TimingBlock half = lnk::DipsTimingBlock(Dips(0.1L, 1, sig::cbHalfPeriod, 0), 0);
    EXPECT_EQ(Fields(half).length, 17099u);
    EXPECT_EQ(Fields(half).pause, 153899u);
    EXPECT_EQ(half[8], 0x2B);
    EXPECT_EQ(half[9], 0x59);
    EXPECT_EQ(half[10], 0x02);
    EXPECT_EQ(half[11], 0x00);
    EXPECT_EQ(Fields(lnk::DipsTimingBlock(Dips(0.1L, 1, sig::cbPeriod, 0), 0)).length, 17094u);
    // A positive frequency correction slows the clock: fewer samples per second.
    lnk::TTableSettings corrected;
    corrected.Correction[12] = 1;
    const sig::real kf = lnk::FrequencyCorrection(corrected);
    EXPECT_EQ(Fields(lnk::DipsTimingBlock(Dips(0.1L, 0.1L, sig::cbNone, 0), kf)).length, 16924u);
}

TEST(TimingBlocks, DipsRefuseAnUnknownBindingAndCountsBeyondTheFields) {
    try {
        lnk::DipsTimingBlock(Dips(0.1L, 1, 7, 0), 0);
        ADD_FAILURE();
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "Неизвестный вид привязки провалов: 7");
    }
    EXPECT_THROW(lnk::DipsTimingBlock(Dips(1e5L, 2e5L, sig::cbNone, 0), 0), cmn::TalvoError);
}

TEST(TimingBlocks, FluctuationHalvesTheModulationPeriod) {
    sig::TSignalSet s = Balanced(3419);
    s.Koleb.Period = 1 / 8.8L;  // 19425 samples; half of them rounds to the even 9712
    const cmn::TimingBlock b = lnk::FluctuationTimingBlock(s, 0);
    EXPECT_EQ(Fields(b).start, 0u);
    EXPECT_EQ(Fields(b).length, 9711u);
    EXPECT_EQ(Fields(b).pause, 9712u);
    EXPECT_EQ(lnk::kFluctuationCount, 32767);
}

}  // namespace
