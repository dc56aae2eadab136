#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "RecordingLog.h"
#include "editor/PowerPages.h"
#include "editor/SignalDefaults.h"
#include "editor/SignalFields.h"
#include "signal/Calculations.h"

namespace {

using edit::FieldByName;

class PowerPagesTest : public ::testing::Test {
protected:
    talvo_test::RecordingLog log;
    sig::TSignalSet s = edit::DefaultSignal({0, {}, log});

    edit::TEntryOutcome Enter(std::string_view field, std::string_view text, std::string_view page, int phase = 0,
                              bool full = false) {
        edit::TEntryContext context{s, 0, sig::DeriveFrequencyBounds(0), log, nullptr, page};
        context.FullPowersShown = full;
        context.OnePhase = phase;
        return edit::TakeOver(*FieldByName(field), text, context);
    }
    std::string Shown(std::string_view field, int phase = 0) { return edit::FieldText(*FieldByName(field), s, phase); }
    std::vector<std::string_view> Chain(std::string_view first, int length) {
        std::vector<std::string_view> chain{first};
        for (int i = 0; i < length; ++i) chain.push_back(FieldByName(chain.back())->Next);
        return chain;
    }
};

TEST_F(PowerPagesTest, SinglePhaseFieldsStoreIntoTheChosenPhaseAndRecomputeItsPowersOnly) {
    const sig::TPowerSummary before = s.FundamentalPowers;
    const edit::TEntryOutcome out = Enter("e_dey_znach_u_one_faza", "230", "page_u_i", sig::fzB);
    EXPECT_TRUE(out.Accepted);
    EXPECT_EQ(out.Redisplay, "page_u_i");
    EXPECT_EQ(s.Voltage.UB, 230);
    EXPECT_EQ(s.Voltage.UA, 220);
    EXPECT_EQ(Shown("e_one_faza_u_otcl", sig::fzB), "4.545");
    EXPECT_EQ(Shown("e_all_one_faza", sig::fzB), "1150.000");
    EXPECT_EQ(s.FundamentalPowers.S[sig::fzA], before.S[sig::fzA]);
    // The sums wait for the next full power calculation.
    EXPECT_EQ(s.FundamentalPowers.SSum, before.SSum);

    EXPECT_TRUE(Enter("e_one_faza_i_otcl", "-10", "page_u_i", sig::fzC).Accepted);
    EXPECT_EQ(Shown("e_dey_znach_i_one_faza", sig::fzC), "4.5000");
    EXPECT_TRUE(Enter("e_angle", "190°", "page_u_i", sig::fzC).Accepted);
    EXPECT_EQ(s.Current.PhiUIC, -170);
    EXPECT_EQ(Shown("e_angle", sig::fzC), "-170.000°");
    EXPECT_EQ(Shown("e_cos_angle", sig::fzC), "-0.985");
    EXPECT_EQ(Shown("e_reactive_one_faza", sig::fzC), "-171.912");
}

TEST_F(PowerPagesTest, SinglePhaseRefusalsKeepTheRecords) {
    const sig::TSignalSet kept = s;
    auto refused = [&](std::string_view field, std::string_view text, std::string_view message) {
        const edit::TEntryOutcome out = Enter(field, text, "page_u_i", sig::fzA);
        EXPECT_FALSE(out.Accepted) << field << " " << text;
        EXPECT_EQ(out.Message, std::string(message)) << field << " " << text;
    };
    refused("e_dey_znach_u_one_faza", "-0.001", "Выход за пределы диапазона! Повторите ввод!");
    refused("e_one_faza_u_otcl", "-150", "Выход за пределы диапазона! Повторите ввод!");
    refused("e_one_faza_i_otcl", "-100.001", "Выход за границы диапазона! Повторите ввод!");
    for (std::string_view text : {"", "12,5", "1e999", "nan", "5°"})
        refused("e_dey_znach_i_one_faza", text, "Ошибка при вводе значения! Повторите ввод!");
    EXPECT_EQ(s.Voltage.UA, kept.Voltage.UA);
    EXPECT_EQ(s.Current.IA, kept.Current.IA);
    EXPECT_EQ(s.Current.DeltaIA, kept.Current.DeltaIA);
    EXPECT_TRUE(Enter("e_dey_znach_i_one_faza", "  12 ", "page_u_i").Accepted);
}

TEST_F(PowerPagesTest, ThreePhaseTagsReachTheirPhaseAndRecomputeTheShownPowers) {
    EXPECT_TRUE(Enter("e_otcl_u_faza_b", "10", "page_u_i_3").Accepted);
    EXPECT_EQ(s.Voltage.UB, 242);
    EXPECT_TRUE(Enter("e_ugol_u_faza_c", "180", "page_u_i_3").Accepted);
    EXPECT_EQ(s.Voltage.ShiftC, -180);
    EXPECT_TRUE(Enter("e_dey_znach_i_faza_c", "2", "page_u_i_3").Accepted);
    EXPECT_EQ(s.Current.IC, 2);
    EXPECT_TRUE(Enter("e_ugol_i_faza_b", "30", "page_u_i_3").Accepted);
    EXPECT_EQ(s.Current.PhiUIB, 30);
    const edit::TEntryOutcome out = Enter("e_otcl_i_faza_a", "-50", "page_u_i_3", 0, true);
    EXPECT_EQ(out.Redisplay, "page_u_i_3");
    EXPECT_EQ(s.Current.IA, 2.5);
    // The whole-signal mode shows the full powers, recomputed with the entry.
    EXPECT_EQ(s.ShownPowers.P, s.FullPowers.P);
    EXPECT_EQ(s.FullPowers.S[sig::fzA], 550);
    EXPECT_EQ(s.FullPowers.S[sig::fzB], 1210);
    EXPECT_NEAR(std::stold(Shown("e_p1_three")), 3 * std::stold(Shown("e_p1_one")), 0.0015);
}

TEST_F(PowerPagesTest, ThreePhaseFocusChainsRunThroughEveryField) {
    EXPECT_EQ(Chain("e_dey_znach_u_faza_a", 8),
              (std::vector<std::string_view>{"e_dey_znach_u_faza_a", "e_otcl_u_faza_a", "e_dey_znach_u_faza_b",
                                             "e_otcl_u_faza_b", "e_ugol_u_faza_b", "e_dey_znach_u_faza_c",
                                             "e_otcl_u_faza_c", "e_ugol_u_faza_c", "e_dey_znach_u_faza_a"}));
    EXPECT_EQ(
        Chain("e_dey_znach_i_faza_a", 9),
        (std::vector<std::string_view>{
            "e_dey_znach_i_faza_a", "e_otcl_i_faza_a", "e_ugol_i_faza_a", "e_dey_znach_i_faza_b", "e_otcl_i_faza_b",
            "e_ugol_i_faza_b", "e_dey_znach_i_faza_c", "e_otcl_i_faza_c", "e_ugol_i_faza_c", "e_dey_znach_i_faza_a"}));
    EXPECT_EQ(Chain("e_dey_znach_u_one_faza", 4),
              (std::vector<std::string_view>{"e_dey_znach_u_one_faza", "e_one_faza_u_otcl", "e_dey_znach_i_one_faza",
                                             "e_one_faza_i_otcl", "e_dey_znach_u_one_faza"}));
    EXPECT_EQ(FieldByName("e_angle")->Next, "e_dey_znach_u_one_faza");
}

TEST_F(PowerPagesTest, IeeeFieldsEachShowTheirOwnQuantity) {
    // Distinct values in every field of the record: a row that reads the
    // wrong field shows a value another row shows too.
    sig::TIeee1459Params& r = s.Ieee1459;
    sig::real next = 1;
    for (sig::real* x : {&r.Se4,  &r.Se3,  &r.KE4,  &r.KE3,   &r.K1,   &r.DeI4, &r.DeI3, &r.DeU4, &r.DeU3, &r.SeH4,
                         &r.SeH3, &r.SeN4, &r.SeN3, &r.PHSum, &r.DeH4, &r.DeH3, &r.HP4,  &r.HP3,  &r.LU4,  &r.LU3})
        *x = next++;
    for (sig::TPhaseReals* phases : {&r.DI, &r.DU, &r.SH, &r.SN, &r.PH, &r.DH})
        for (sig::real& x : *phases) x = next++;
    std::set<std::string> shown;
    int rows = 0;
    for (const edit::TFieldRow& row : edit::FieldRows()) {
        if (row.Page != "page_IEEE_1459") continue;
        ++rows;
        EXPECT_TRUE(shown.insert(edit::FieldText(row, s)).second) << row.Name;
    }
    EXPECT_EQ(rows, 38);
    EXPECT_EQ(Shown("e_Dib_1459"), "22.000");
    EXPECT_EQ(Shown("e_LU_3p_1459"), "20.000");
}

TEST(EnergyCount, TicksAccumulateTheShownPowersSecondBySecond) {
    sig::TPowerSummary shown;
    shown.P = {360, 720, -36};
    shown.Q = {36, 0, 3.6};
    shown.S = {3600, 7200, 360};
    edit::TEnergyCount count;
    count.Start();
    for (int i = 0; i < 3; ++i) count.Tick(shown);
    EXPECT_EQ(count.Seconds(), 3);
    EXPECT_NEAR(count.Phases()[0][sig::fzA], 0.3, 1e-15);
    EXPECT_NEAR(count.Phases()[0][sig::fzC], -0.03, 1e-15);
    EXPECT_NEAR(count.Phases()[2][sig::fzB], 6, 1e-15);
    EXPECT_NEAR(count.Sums()[0], 0.87, 1e-15);
    EXPECT_NEAR(count.Sums()[1], 0.033, 1e-15);
    EXPECT_NEAR(count.Sums()[2], 9.3, 1e-15);
    count.Start();
    EXPECT_EQ(count.Seconds(), 0);
    EXPECT_EQ(count.Sums()[2], 0);

    sig::TSignalSet s;
    s.ShownPowers.P = {1, 2, 3};
    s.ShownPowers.PSum = 6;
    s.ShownPowers.QSum = -7200;
    EXPECT_EQ(edit::ThreePhaseTable(edit::PowerMode::Full, s, count).Phases[0], s.ShownPowers.P);
    count.Tick(shown);
    EXPECT_EQ(edit::ThreePhaseTable(edit::PowerMode::Energy, s, count).Sums, count.Sums());
    s.Energy.TestSeconds = 10;
    EXPECT_EQ(edit::IntervalEnergies(s)[1], -20);
}

TEST(EnergyInterval, TakesTheIntegerPartOfSecondsFromZeroOn) {
    EXPECT_EQ(edit::TakeEnergyInterval("12.9").Seconds, 12);
    EXPECT_EQ(edit::TakeEnergyInterval("0").Seconds, 0);
    EXPECT_EQ(edit::TakeEnergyInterval("-0.5").Seconds, 0);
    EXPECT_EQ(edit::TakeEnergyInterval("-1").Message, "Выход за границы диапазона! Повторите ввод!");
    EXPECT_EQ(edit::TakeEnergyInterval("3e12").Message, "Выход за границы диапазона! Повторите ввод!");
    for (std::string_view text : {"", "abc", "1e999", "nan", "10,5"})
        EXPECT_EQ(edit::TakeEnergyInterval(text).Message, "Ошибка при вводе значения! Повторите ввод!") << text;
}

// The interval is the signal's test duration: the meter verification counts
// it and the power record's energies are computed over it.
TEST(EnergyInterval, IsStoredAsTheTestDurationWithItsEnergies) {
    sig::TSignalSet s;
    s.Voltage.UA = s.Voltage.UB = s.Voltage.UC = 100;
    s.Voltage.ShiftB = -120;
    s.Voltage.ShiftC = 120;
    s.Current.IA = s.Current.IB = s.Current.IC = 1;
    s.Voltage.Freq = s.Voltage.FreqNominal = 50;
    s.Energy.TestSeconds = 10;
    EXPECT_FALSE(edit::TakeEnergyInterval("-3", s, true).Seconds);
    EXPECT_EQ(s.Energy.TestSeconds, 10);
    EXPECT_EQ(edit::TakeEnergyInterval("3.7", s, true).Seconds, 3);
    EXPECT_EQ(s.Energy.TestSeconds, 3);
    // Three phases of 100 V and 1 A in phase: 300 W over 3 s.
    EXPECT_NEAR(static_cast<double>(s.Energy.EnergyP), 300.0 * 3 / 3600, 1e-9);
    EXPECT_NEAR(static_cast<double>(s.Energy.EnergyQ), 0, 1e-9);
}

TEST(PowerModes, HeadingsAndColumnsFollowTheMode) {
    EXPECT_EQ(edit::PowerModeLook(edit::PowerMode::Fundamental).Heading, "Мощность первой гармоники");
    EXPECT_EQ(edit::PowerModeLook(edit::PowerMode::Full).Heading, "Мощность всего сигнала");
    const edit::TPowerModeLook energy = edit::PowerModeLook(edit::PowerMode::Energy);
    EXPECT_EQ(energy.Heading, "Энергия первой гармоники");
    EXPECT_EQ(energy.Columns[2], "Полная, ВА*ч");
    EXPECT_TRUE(energy.Counting);
    EXPECT_FALSE(edit::PowerModeLook(edit::PowerMode::Full).Counting);
    EXPECT_EQ(edit::PowerModeLook(edit::PowerMode::Full).Columns[1], "Реактивная, вар");
}

}  // namespace
