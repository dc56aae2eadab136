#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "CommonUtils/TalvoError.h"
#include "editor/DipsAndFluctuations.h"
#include "editor/SignalDefaults.h"
#include "editor/SignalFields.h"
#include "signal/Nominals.h"

namespace {

using edit::FieldByName;

constexpr const char* kParseError = "Ошибка при вводе значения! Повторите ввод!";

struct TQuietLog : cmn::IProtocolLog {
    void Log(cmn::LogType, const std::string&) override {}
    bool Interactive() const override { return false; }
    bool Ask(const std::string&, cmn::MessageKind, cmn::Buttons) override { return true; }
};

class DipsFluctuationsTest : public ::testing::Test {
protected:
    TQuietLog log;
    sig::TKolebParamsHelpTable flicker;
    sig::TSignalSet s = edit::DefaultSignal({0, {}, log});

    void SetUp() override {
        flicker.LoadDefaults(sig::fsGost99);
        sig::CalcKolebParams(s.Voltage, s.Koleb, true, true, true, flicker);
    }
    edit::TEntryOutcome Enter(std::string_view field, std::string_view text, std::string_view page = "page_in_out") {
        return edit::TakeOver(*FieldByName(field), text,
                              {s, 0, sig::DeriveFrequencyBounds(0), log, nullptr, page, &flicker});
    }
    std::string Message(std::string_view field, std::string_view text) {
        return Enter(field, text).Message.value_or("(accepted)");
    }
    std::string Shown(std::string_view field) { return edit::FieldText(*FieldByName(field), s); }
    std::vector<std::string_view> Chain(std::string_view from, int steps) {
        std::vector<std::string_view> chain{from};
        for (int i = 0; i < steps; ++i) chain.push_back(edit::NextFocus(*FieldByName(chain.back()), s));
        return chain;
    }
};

TEST_F(DipsFluctuationsTest, DipChainTakesTheFieldInUseOfEachPhase) {
    using V = std::vector<std::string_view>;
    EXPECT_EQ(Chain("e_proval_a", 3), (V{"e_proval_a", "e_proval_b", "e_proval_c", "e_proval_a"}));
    edit::SetCollapseKind(s, 1, sig::ckSwell, 0);
    EXPECT_FALSE(edit::DipFieldsInUse(s, 1));
    EXPECT_EQ(Chain("e_proval_a", 3), (V{"e_proval_a", "e_perenapr_b", "e_proval_c", "e_proval_a"}));
    EXPECT_EQ(Chain("Edit3", 4), (V{"Edit3", "Edit4", "Edit5", "Edit6", "Edit3"}));
    EXPECT_EQ(Chain("EditKolebNum", 4),
              (V{"EditKolebNum", "EditKolebAmplA", "EditKolebAmplB", "EditKolebAmplC", "EditKolebFreq"}));
}

TEST_F(DipsFluctuationsTest, DipValuesKeepTheirRanges) {
    EXPECT_EQ(Message("e_proval_a", "100.001"), "Выход за границы диапазона (от 0 до 100% )! Повторите ввод!");
    EXPECT_EQ(Message("e_proval_b", "-1"), "Выход за границы диапазона (от 0 до 100% )! Повторите ввод!");
    EXPECT_EQ(Message("e_perenapr_a", "0.999"), "Выход за границы диапазона (от 1 до 2 )! Повторите ввод!");
    EXPECT_EQ(Message("e_perenapr_c", "2.5"), "Выход за границы диапазона (от 1 до 2 )! Повторите ввод!");
    EXPECT_EQ(Message("Edit4", "600.5"), "Выход за границы диапазона (от 0 до 600 сек.) Повторите ввод!");
    EXPECT_EQ(Message("Edit5", "-0.1"), "Выход за границы диапазона (от 0 до 600 сек.) Повторите ввод!");
    for (const char* text : {"32768", "-1", "12.5"})
        EXPECT_EQ(Message("Edit3", text), "Выход за границы диапазона (от 0 до 32767 сек.) Повторите ввод!") << text;
    for (const char* field :
         {"e_proval_a", "e_perenapr_a", "Edit3", "Edit4", "Edit6", "EditKolebFreq", "EditKolebNum", "EditKolebAmplB"})
        for (const char* text : {"", "12,5", "1e999", "nan", "abc"}) EXPECT_EQ(Message(field, text), kParseError);
    EXPECT_EQ(Message("e_proval_a", "5°"), kParseError);
    EXPECT_EQ(Message("EditKolebAmplA", "5°"), kParseError);
    // Nothing of all this was stored.
    const sig::TCollapsesParams& d = s.Collapses;
    EXPECT_EQ(d.Faza[0].DepthPercent, 0);
    EXPECT_EQ(d.Faza[0].KPerU, 1);
    EXPECT_EQ(d.Count, 0);
    EXPECT_EQ(d.Duration, 0);
    EXPECT_EQ(s.Koleb.Freq, 1);
    EXPECT_EQ(s.Koleb.Swing[0], 0);

    for (auto [field, text] : {std::pair{"e_proval_a", "100"},
                               {"e_proval_a", "0"},
                               {"e_perenapr_a", "2"},
                               {"e_perenapr_b", "1"},
                               {"Edit3", "32767"},
                               {"Edit3", "0"},
                               {"Edit5", "600"}})
        EXPECT_TRUE(Enter(field, text).Accepted) << field << " " << text;
    EXPECT_EQ(Shown("Edit3"), "0");
    EXPECT_NEAR(static_cast<double>(s.Collapses.Period), 600, 0.01);  // realised on the sample grid
}

TEST_F(DipsFluctuationsTest, DepthAndCoefficientGiveTheEventVoltages) {
    const edit::TEntryOutcome out = Enter("e_proval_a", "30");
    EXPECT_TRUE(out.Accepted);
    EXPECT_EQ(out.Redisplay, "page_in_out");
    EXPECT_EQ(Shown("e_ost_u_a"), "154.000");
    edit::SetCollapseKind(s, 1, sig::ckSwell, 0);
    EXPECT_TRUE(Enter("e_perenapr_b", "1.2").Accepted);
    EXPECT_EQ(Shown("e_max_u_b"), "264.000");
    // The line events follow from the phases: BC rises with B, AB and CA fall with A.
    EXPECT_EQ(Shown("e_collapse_kind_ab"), "Провал");
    EXPECT_EQ(Shown("e_collapse_kind_bc"), "Перенапряжение");
    EXPECT_EQ(Shown("e_collapse_kind_ca"), "Провал");
    EXPECT_NE(Shown("e_collapse_u_bc"), "нет");
}

TEST_F(DipsFluctuationsTest, TimesAreRealisedOnTheSampleGrid) {
    ASSERT_GT(s.Grid.SampleRate, 0);
    EXPECT_TRUE(Enter("Edit4", "0.025").Accepted);  // 1.25 periods bound to whole periods
    EXPECT_NEAR(static_cast<double>(s.Collapses.Duration), 0.02, 0.0001);
    edit::SetCollapseAlign(s, 2, 0);
    EXPECT_EQ(s.Collapses.Binding, sig::cbNone);
    EXPECT_TRUE(edit::CollapseAlignWarningShown(s));
    EXPECT_TRUE(Enter("Edit4", "0.025").Accepted);
    EXPECT_NEAR(static_cast<double>(s.Collapses.Duration), 0.025, 0.0001);
}

TEST_F(DipsFluctuationsTest, StartPhaseIsFoldedAndRoundedHalfToEven) {
    for (auto [text, degrees] :
         {std::pair{"190", -170}, {"0.5", 0}, {"1.5", 2}, {"2.5", 2}, {"-45.6°", -46}, {"540", -180}, {"  30 ", 30}}) {
        EXPECT_TRUE(Enter("Edit6", text).Accepted) << text;
        EXPECT_EQ(s.Collapses.StartPhase, degrees) << text;
    }
    EXPECT_EQ(Shown("Edit6"), "30°");
    EXPECT_EQ(edit::EditingText(*FieldByName("Edit6"), "30°"), "30");
}

TEST_F(DipsFluctuationsTest, BindingAndReferenceChoices) {
    EXPECT_EQ(edit::CollapseAlignIndex(2), 0);
    EXPECT_EQ(edit::CollapseAlignIndex(0), 2);
    EXPECT_EQ(edit::ReferenceVoltageIndex(1), 1);
    const auto error = [](auto index) {
        try {
            index();
        } catch (const cmn::TalvoError& e) {
            return std::string(e.what());
        }
        return std::string("(no error)");
    };
    EXPECT_EQ(error([] { edit::CollapseAlignIndex(3); }), "Неизвестный вид привязки провалов: 3");
    EXPECT_EQ(error([] { edit::ReferenceVoltageIndex(7); }), "Неизвестный вид опорного напряжения: 7");
    EXPECT_FALSE(edit::CollapseAlignWarningShown(s));
    Enter("e_proval_a", "10");
    EXPECT_TRUE(Enter("e_dey_znach_u_a", "200", "page_u").Accepted);  // the set value differs from the nominal
    edit::SetReferenceVoltage(s, 1, 0);
    EXPECT_EQ(s.Collapses.RefKind, sig::rvSet);
    EXPECT_EQ(Shown("e_ost_u_a"), "180.000");
}

TEST_F(DipsFluctuationsTest, FluctuationFrequencyStaysInTheTable) {
    const std::string range = "Выход за границы диапазона (от 0.0083 до 24.0000Гц)! Повторите ввод!";
    EXPECT_EQ(Message("EditKolebFreq", "0.0082"), range);
    EXPECT_EQ(Message("EditKolebFreq", "24.0001"), range);
    EXPECT_TRUE(Enter("EditKolebFreq", "0.0083", "page_vibr").Accepted);  // within 0.0001 of 1/120
    EXPECT_EQ(s.Koleb.Freq, flicker.FirstFreq());
    EXPECT_EQ(Shown("EditKolebNum"), "1.000");
    EXPECT_EQ(Message("EditKolebNum", "0.98"), "Выход за границы диапазона (от 1.0000 до 2880.0000 ! Повторите ввод!");
    const edit::TEntryOutcome out = Enter("EditKolebNum", "1056", "page_vibr");
    EXPECT_EQ(out.Redisplay, "page_vibr");
    EXPECT_EQ(Shown("EditKolebFreq"), "8.800");
    EXPECT_EQ(Shown("EditKolebPeriod"), "0.114");
    EXPECT_EQ(Shown("EditKolebHalfPeriod"), "0.057");
    EXPECT_EQ(Message("EditKolebAmplA", "80.001"), "Выход за границы диапазона (от 0.000 до 80.000%)! Повторите ввод!");
    EXPECT_TRUE(Enter("EditKolebAmplC", "80", "page_vibr").Accepted);
}

TEST_F(DipsFluctuationsTest, AnUnknownBindingFromAFileStoresNoEntry) {
    s.Collapses.Binding = 7;
    EXPECT_THROW(Enter("e_proval_a", "30"), cmn::TalvoError);
    EXPECT_EQ(s.Collapses.Faza[0].DepthPercent, 0);
    EXPECT_TRUE(Enter("Edit3", "3").Accepted);  // nothing to recompute
}

TEST_F(DipsFluctuationsTest, AFileTableFromZeroHertzCannotStoreZero) {
    std::istringstream file("0\t0.5\n10\t0.3\n");
    ASSERT_EQ(flicker.LoadFromStream(file), sig::flLoaded);
    EXPECT_THROW(Enter("EditKolebFreq", "0"), cmn::TalvoError);
    EXPECT_EQ(s.Koleb.Freq, 1);
    EXPECT_GT(s.Koleb.Period, 0);
}

TEST(FlickerStandard, ChoiceReplacesTheTableUnlessTheFileGaveIt) {
    TQuietLog log;
    sig::TSignalSet s = edit::DefaultSignal({0, {}, log});
    edit::ChooseFlickerStandard(s, sig::fsGost2012, log);
    EXPECT_NEAR(static_cast<double>(sig::FlickerTable().Snapshot().FirstFreq()), 2.0 / 120, 1e-12);
    EXPECT_GT(s.Koleb.Period, 0);
    edit::ChooseFlickerStandard(s, sig::fsGost99, log);
    EXPECT_NEAR(static_cast<double>(sig::FlickerTable().Snapshot().LastFreq()), 24, 1e-12);
    EXPECT_FALSE(edit::FlickerChoiceAfterLoad(sig::flLoaded).Enabled);
    EXPECT_FALSE(edit::FlickerChoiceAfterLoad(sig::flLoaded).Gost99Checked);
    for (sig::TFlickerLoadCode code : {sig::flMissing, sig::flBadFormat}) {
        EXPECT_TRUE(edit::FlickerChoiceAfterLoad(code).Enabled);
        EXPECT_TRUE(edit::FlickerChoiceAfterLoad(code).Gost99Checked);
    }
}

TEST(KolebDurationText, DaysHoursAndRoundedMilliseconds) {
    EXPECT_EQ(edit::KolebDurationText(0), "00:00:00.000");
    EXPECT_EQ(edit::KolebDurationText(32767000), "09:06:07.000");              // 1 Hz
    EXPECT_EQ(edit::KolebDurationText(3932040000.0L), "45 дн. 12:14:00.000");  // 1/120 Hz
    EXPECT_EQ(edit::KolebDurationText(86400000), "1 дн. 00:00:00.000");
    EXPECT_EQ(edit::KolebDurationText(0.5), "00:00:00.000");
    EXPECT_EQ(edit::KolebDurationText(1.5), "00:00:00.002");
    EXPECT_EQ(edit::KolebDurationText(2.5), "00:00:00.002");
    EXPECT_EQ(edit::KolebDurationText(59999.6), "00:00:59.999");  // not a whole minute
    EXPECT_EQ(edit::KolebDurationText(-1500), "00:00:01.500");
}

}  // namespace
