// The converter page's rules without widgets: which calculation follows
// each event of the page, what is locked in which mode, what the page
// shows in which unit and where Enter goes.
#include <gtest/gtest.h>

#include <map>

#include "RecordingLog.h"
#include "editor/ConverterPageRules.h"
#include "editor/SignalDefaults.h"

namespace {

using namespace edit;
using C = ConverterCalculation;

class ConverterPageRules : public ::testing::Test {
protected:
    talvo_test::RecordingLog log_;
    sig::TSignalSet s_ = DefaultSignal({0, {}, log_});
    TConverterPageRules rules_;

    TConverterOutcome Take(std::string_view field, std::string_view text) {
        return rules_.TakeEntry(*FieldByName(field), text, s_);
    }
    std::map<std::string, std::string> Shown() const {
        std::map<std::string, std::string> shown;
        for (const TConverterText& t : rules_.Texts(s_)) shown.emplace(std::string(t.Name), t.Text);
        return shown;
    }
};

// Enter moves along the rows of the field table; the harmonic view's pair
// takes its entries over on Enter and alternates.
TEST(ConverterFields, EnterChainsOfThePageFields) {
    std::vector<std::string> visited{"e_dey_znach_iu_a"};
    for (int k = 0; k < 6; ++k) visited.emplace_back(FieldByName(visited.back())->Next);
    EXPECT_EQ(visited, (std::vector<std::string>{"e_dey_znach_iu_a", "e_dey_znach_iu_b", "e_dey_znach_iu_c",
                                                 "e_ugol_iu_a", "e_ugol_iu_b", "e_ugol_iu_c", "e_dey_znach_iu_a"}));
    EXPECT_EQ(FieldByName("e_dey_znach_i_iu_a")->Next, "e_dey_znach_i_iu_b");
    EXPECT_EQ(FieldByName("e_dey_znach_i_iu_c")->Next, "e_ugol_iu_a");
    EXPECT_EQ(FieldByName("e_Rate_IU")->Next, "e_Otcl_Rate_IU");
    EXPECT_EQ(FieldByName("e_Otcl_Rate_IU")->Next, "e_Rate_IU");
    EXPECT_TRUE(TakenOnEnter(*FieldByName("Edit30")));
    EXPECT_EQ(FieldByName("Edit31")->Next, "Edit30");
    EXPECT_FALSE(TakenOnEnter(*FieldByName("e_dey_znach_iu_a")));
}

// The angles and the frequency are the window's fields; the page's own
// rows are taken over by the page and none of them is a current-page lock.
TEST(ConverterFields, RowsRouteToTheirRule) {
    struct {
        const char* Name;
        bool ByWindow;
    } const rows[]{{"e_dey_znach_iu_b", false}, {"e_dey_znach_i_iu_c", false}, {"e_ugol_iu_a", true},
                   {"e_Rate_IU", true},         {"e_Otcl_Rate_IU", true},      {"Edit31", false}};
    for (const auto& r : rows) {
        const TFieldRow& row = *FieldByName(r.Name);
        EXPECT_EQ(TConverterPageRules::TakenByWindow(row), r.ByWindow) << r.Name;
        EXPECT_EQ(row.Page, "page_iu") << r.Name;
        EXPECT_FALSE(LockedByConverterAuto(row)) << r.Name;
    }
}

TEST_F(ConverterPageRules, EachEntryRunsTheCalculationOfItsKindInItsMode) {
    struct {
        bool Automatic;
        const char* Field;
        const char* Text;
        C Calculation;
        std::optional<std::string> Message;
    } const cases[]{
        {true, "e_dey_znach_iu_a", "20", C::Automatic, {}},
        {false, "e_dey_znach_iu_a", "20", C::None, {}},  // accepted, nothing stored
        {true, "e_dey_znach_i_iu_b", "2", C::None, {}},
        {false, "e_dey_znach_i_iu_b", "2", C::Manual, {}},
        {true, "e_dey_znach_iu_c", "-1", C::None, "Выход за границы диапазона! Повторите ввод."},
        {false, "e_dey_znach_i_iu_a", "x", C::None, "Ошибка при вводе значения! Повторите ввод!"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.Field) + " " + c.Text);
        rules_.ChooseMode(c.Automatic);
        const TConverterOutcome out = Take(c.Field, c.Text);
        EXPECT_EQ(out.Calculation, c.Calculation);
        EXPECT_EQ(out.Message, c.Message);
        EXPECT_EQ(out.Refused, c.Message.has_value());
    }
    EXPECT_EQ(s_.Converter.UA, 20);
    EXPECT_EQ(s_.Current.IB, 2);
}

TEST_F(ConverterPageRules, WindowFieldsFollowWithTheModesCalculationOrARedisplay) {
    rules_.ChooseMode(false);
    const TConverterOutcome angle = rules_.TakenByWindowRule(*FieldByName("e_ugol_iu_b"), true);
    EXPECT_EQ(angle.Calculation, C::ByMode);
    EXPECT_FALSE(angle.Redisplay);
    const TConverterOutcome rate = rules_.TakenByWindowRule(*FieldByName("e_Otcl_Rate_IU"), true);
    EXPECT_EQ(rate.Calculation, C::None);
    EXPECT_TRUE(rate.Redisplay);
    // A refusal was reported by the window's rule, which put the focus back.
    const TConverterOutcome refused = rules_.TakenByWindowRule(*FieldByName("e_ugol_iu_b"), false);
    EXPECT_EQ(refused.Calculation, C::None);
    EXPECT_FALSE(refused.Redisplay || refused.Message || refused.Refused);
}

TEST_F(ConverterPageRules, ModesLockOneFieldKindEach) {
    const TConverterModeLook manual = rules_.ChooseMode(false);
    EXPECT_TRUE(manual.OutputsLocked);
    EXPECT_FALSE(manual.InputsLocked);
    EXPECT_FALSE(rules_.State().Automatic);
    const TConverterModeLook automatic = rules_.ChooseMode(true);
    EXPECT_FALSE(automatic.OutputsLocked);
    EXPECT_TRUE(automatic.InputsLocked);
}

// A gain box runs the manual calculation once the tables are there, and
// only refreshes the labels before; factors of no table entry change nothing.
TEST_F(ConverterPageRules, GainBoxes) {
    TConverterOutcome out = rules_.ChooseGain(2, 1.375f, 6);
    EXPECT_EQ(rules_.State().ManualGainIndex, 38);
    EXPECT_EQ(out.Calculation, C::None);
    EXPECT_TRUE(out.GainTexts);
    rules_.State().CalibrationTable.Read = true;
    out = rules_.ChooseGain(0.125f, 1, 1);
    EXPECT_EQ(rules_.State().ManualGainIndex, 1);
    EXPECT_EQ(out.Calculation, C::Manual);
    EXPECT_FALSE(out.GainTexts);
    out = rules_.ChooseGain(3, 3, 3);
    EXPECT_EQ(rules_.State().ManualGainIndex, 1);
    EXPECT_EQ(out.Calculation, C::None);
    EXPECT_FALSE(out.GainTexts);
}

// Enter keeps the focus on a failed calculation, a set-all moves on; all
// angles set run no calculation at all.
TEST_F(ConverterPageRules, HarmonicStores) {
    struct {
        bool Angle, All;
        C Calculation;
        bool Redisplay, ErrorKeepsFocus;
    } const cases[]{{false, false, C::Automatic, false, true},
                    {true, false, C::Automatic, false, true},
                    {false, true, C::Automatic, false, false},
                    {true, true, C::None, true, false}};
    rules_.ChooseMode(false);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.Angle) + std::to_string(c.All));
        const THarmonicStore store = rules_.HarmonicStored(c.Angle, c.All);
        EXPECT_EQ(store.Outcome.Calculation, c.Calculation);
        EXPECT_EQ(store.Outcome.Redisplay, c.Redisplay);
        EXPECT_EQ(store.ErrorKeepsFocus, c.ErrorKeepsFocus);
    }
    EXPECT_EQ(rules_.Event(ConverterEvent::PageSelected).Calculation, C::ByMode);
    EXPECT_EQ(rules_.Event(ConverterEvent::HarmonicEdited).Calculation, C::Automatic);
}

TEST_F(ConverterPageRules, HarmonicListChoiceSetsTheEditorAndItsSymbols) {
    THarmonicViewLook look = rules_.ChooseHarmonicList(true);
    EXPECT_EQ(look.Editor, HarmEditor::ConverterInter);
    EXPECT_EQ(rules_.HarmonicEditor(), HarmEditor::ConverterInter);
    EXPECT_EQ(look.CoefSymbol, "K~ig(n)~");
    EXPECT_EQ(look.AngleSymbol, "@f~ig(n)~");
    look = rules_.ChooseHarmonicList(false);
    EXPECT_EQ(rules_.HarmonicEditor(), HarmEditor::ConverterHarm);
    EXPECT_EQ(look.CoefSymbol, "K~(n)~");
}

// Calculations by mode follow the mode box; an error stops at the phase
// and puts the focus back with its message, after the page was shown anew.
TEST_F(ConverterPageRules, CalculationsByModeAndTheirErrors) {
    rules_.State().CalibrationTable.Read = true;
    rules_.ChooseMode(false);
    rules_.ChooseGain(2, 1.375f, 6);
    TConverterOutcome out = rules_.Calculate(C::ByMode, s_, nullptr);
    EXPECT_FALSE(out.Refused);
    EXPECT_EQ(rules_.State().CalculatedGainIndex, 38) << "manual: the chosen gain";
    s_ = DefaultSignal({0, {}, log_});  // the manual calculation rewrote the outputs
    out = rules_.Calculate(C::Automatic, s_, nullptr);
    EXPECT_FALSE(out.Refused);
    EXPECT_EQ(rules_.State().CalculatedGainIndex, 1) << "automatic: the smallest gain that fits";
    EXPECT_EQ(rules_.State().ManualGainIndex, 1);
    s_.Converter.UB = 12000.01L;
    out = rules_.Calculate(C::Automatic, s_, nullptr);
    EXPECT_TRUE(out.Refused && out.Redisplay);
    EXPECT_EQ(out.Message, "Превышение амплитуды по фазе B!");
    EXPECT_EQ(rules_.Calculate(C::None, s_, nullptr).Refused, false);
}

TEST_F(ConverterPageRules, ConnectionAndSendResults) {
    EXPECT_TRUE(rules_.Connected(false).GainTexts);
    EXPECT_EQ(rules_.Connected(false).Calculation, C::None);
    EXPECT_EQ(rules_.Connected(true).Calculation, C::ByMode);
    EXPECT_TRUE(rules_.Connected(true).Redisplay);

    rules_.ChooseMode(false);
    TConverterSendResult result;
    result.State.ModuleNumber = 517;
    result.State.DeviceGainIndex = 7;
    result.State.CalculatedGainIndex = 9;
    result.State.Automatic = true;  // the page's own choices stay
    result.Current = s_.Current;
    result.Current.IA = 3;
    TConverterOutcome out = rules_.SendFinished(result, s_);
    EXPECT_EQ(rules_.State().ModuleNumber, 517);
    EXPECT_EQ(rules_.State().DeviceGainIndex, 7);
    EXPECT_EQ(rules_.State().CalculatedGainIndex, 0) << "nothing was calculated";
    EXPECT_NE(s_.Current.IA, 3);
    EXPECT_FALSE(out.Redisplay || out.CurrentsChanged || out.Message);
    result.Calculated = true;
    result.Error = 3;
    out = rules_.SendFinished(result, s_);
    EXPECT_EQ(rules_.State().CalculatedGainIndex, 9);
    EXPECT_FALSE(rules_.State().Automatic);
    EXPECT_EQ(s_.Current.IA, 3);
    EXPECT_TRUE(out.Redisplay && out.CurrentsChanged);
    EXPECT_EQ(out.Message, "Превышение амплитуды по фазе C!");
}

// Outputs, symmetrical components and output totals follow the unit; the
// input totals the current format of the nominal; the angles carry "°".
TEST_F(ConverterPageRules, TextsInTheUnitAndTheCurrentFormat) {
    s_.Converter.URmsA = 12.5L;
    s_.Converter.SymFaza.Pos.Magnitude = 12.5L;
    s_.Current.IRmsA = 5;
    s_.Current.IAngleDiff[1] = -120;
    auto shown = Shown();
    EXPECT_EQ(shown["e_dey_znach_iu_a"], "12.500");
    EXPECT_EQ(shown["ui_u_a"], "12.500");
    EXPECT_EQ(shown["nessim_iu_1"], "12.5000");
    EXPECT_EQ(shown["ui_i_a"], "5.0000");
    EXPECT_EQ(shown["e_ugol_under_iu_b"], "-120.000°");
    EXPECT_EQ(shown["e_dey_znach_i_iu_a"], FieldText(*FieldByName("e_dey_znach_i_iu_a"), s_));
    EXPECT_EQ(shown["cb_naminal_i_iu"], "5.0");
    EXPECT_EQ(shown.count("Edit30"), 0u) << "the harmonic view fills its own pair";

    const TConverterUnitLook volts = rules_.ChooseUnit(true);
    EXPECT_EQ(volts.OutputCaption, "Uвых., В");
    EXPECT_EQ(volts.RmsCaption, "СКЗ. сигналов в каналах преобразователя, В");
    EXPECT_EQ(volts.SymmetrySymbols[2], "U~I0~,В");
    s_.Current.Nominal = 1;
    shown = Shown();
    EXPECT_EQ(shown["e_dey_znach_iu_a"], "0.0125");
    EXPECT_EQ(shown["ui_u_a"], "0.0125");
    EXPECT_EQ(shown["nessim_iu_1"], "0.0125");
    EXPECT_EQ(shown["ui_i_a"], "5.00000");
    EXPECT_EQ(shown["cb_naminal_i_iu"], "1.0");
    EXPECT_EQ(rules_.ChooseUnit(false).OutputCaption, "Uвых., мВ");
}

}  // namespace
