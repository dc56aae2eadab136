#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "CommonUtils/TalvoError.h"
#include "editor/FundamentalChoices.h"
#include "editor/SignalDefaults.h"
#include "editor/SignalFields.h"

namespace {

using edit::FieldByName;
using edit::TakeOver;

// Keeps what the rules ask the window; answers as a user at the window would.
struct TAskLog : cmn::IProtocolLog {
    std::vector<std::string> Asked;
    void Log(cmn::LogType, const std::string&) override {}
    bool Interactive() const override { return true; }
    bool Ask(const std::string& text, cmn::MessageKind, cmn::Buttons) override {
        Asked.push_back(text);
        return true;
    }
};

struct TCountingDisplay : sig::ISignalDisplay {
    int Voltage = 0;
    void ShowVoltageValues(const sig::TSignalParamsU&) override { ++Voltage; }
    void ShowCurrentPhasors(const std::array<sig::TPolar, 3>&) override {}
    void ShowCurrentValues(const sig::TSignalParamsI&) override {}
    void DrawVectorDiagram(const sig::TSignalParamsU&, const sig::TSignalParamsI&) override {}
};

class VoltagePageTest : public ::testing::Test {
protected:
    TAskLog log;
    TCountingDisplay display;
    sig::TSignalSet s = edit::DefaultSignal({0, {}, log});

    edit::TEntryOutcome Enter(std::string_view field, std::string_view text) {
        return TakeOver(*FieldByName(field), text, {s, 0, sig::DeriveFrequencyBounds(0), log, &display, "page_u"});
    }
    std::string Shown(std::string_view field) { return edit::FieldText(*FieldByName(field), s); }
};

TEST(FieldTable, NamesAreUniqueAndChainsStayOnTheirPage) {
    std::set<std::string_view> names;
    for (const edit::TFieldRow& row : edit::FieldRows()) {
        EXPECT_TRUE(names.insert(row.Name).second) << row.Name;
        if (!edit::Editable(row)) {
            EXPECT_TRUE(row.Next.empty()) << row.Name;
            continue;
        }
        const edit::TFieldRow* next = FieldByName(row.Next);
        // The frequency of the power pages hands the focus to their choice box.
        if (row.Next == "cb_faza" || row.Next == "cb_voltage_three_faza") continue;
        ASSERT_NE(next, nullptr) << row.Name;
        EXPECT_EQ(next->Page, row.Page);
        EXPECT_TRUE(edit::Editable(*next)) << row.Name;
    }
}

TEST(FieldTable, VoltageChainRunsThroughAllEightFieldsAndBack) {
    std::vector<std::string_view> chain{"e_dey_znach_u_a"};
    for (int i = 0; i < 8; ++i) chain.push_back(FieldByName(chain.back())->Next);
    EXPECT_EQ(chain, (std::vector<std::string_view>{"e_dey_znach_u_a", "e_dey_znach_u_b", "e_dey_znach_u_c",
                                                    "e_otcl_u_a", "e_otcl_u_b", "e_otcl_u_c", "e_ugol_u_b",
                                                    "e_ugol_u_c", "e_dey_znach_u_a"}));
    EXPECT_EQ(FieldByName(FieldByName("e_rate_u")->Next)->Next, "e_rate_u");
}

TEST_F(VoltagePageTest, ValueAndDeviationFollowEachOther) {
    EXPECT_TRUE(Enter("e_dey_znach_u_a", "230").Accepted);
    EXPECT_EQ(Shown("e_otcl_u_a"), "4.545");
    EXPECT_TRUE(Enter("e_otcl_u_b", "-10").Accepted);
    EXPECT_EQ(Shown("e_dey_znach_u_b"), "198.000");
    EXPECT_EQ(Enter("e_otcl_u_c", "-100").Redisplay, "page_u");
    EXPECT_EQ(s.Voltage.UC, 0);
    EXPECT_EQ(display.Voltage, 3);
    // The line values were recomputed with the new phases.
    EXPECT_NE(Shown("e_dey_znach_u_ab"), "381.051");
}

TEST_F(VoltagePageTest, RefusalsStoreNothing) {
    const sig::TSignalParamsU before = s.Voltage;
    for (const char* text : {"", "abc", "12,5", "1e999", "nan", "12°"})
        EXPECT_EQ(Enter("e_dey_znach_u_a", text).Message, "Ошибка при вводе значения! Повторите ввод!") << text;
    EXPECT_EQ(Enter("e_otcl_u_a", "-150").Message, "Выход за границы диапазона! Повторите ввод.");
    EXPECT_EQ(Enter("e_dey_znach_u_a", "-0.001").Message, "Выход за границы диапазона! Повторите ввод.");
    EXPECT_EQ(s.Voltage.UA, before.UA);
    EXPECT_EQ(s.Voltage.DeltaUA, before.DeltaUA);
    EXPECT_EQ(display.Voltage, 0);
    EXPECT_TRUE(Enter("e_dey_znach_u_a", "  12 ").Accepted);
}

TEST_F(VoltagePageTest, AnglesFoldAndTakeTheirDegreeSign) {
    EXPECT_TRUE(Enter("e_ugol_u_b", "190°").Accepted);
    EXPECT_EQ(Shown("e_ugol_u_b"), "-170.000°");
    EXPECT_TRUE(Enter("e_ugol_u_c", "180").Accepted);
    EXPECT_EQ(Shown("e_ugol_u_c"), "-180.000°");
    EXPECT_EQ(edit::EditingText(*FieldByName("e_ugol_u_c"), "-180.000°"), "-180.000");
    EXPECT_EQ(edit::EditingText(*FieldByName("e_dey_znach_u_a"), "1°"), "1°");
    EXPECT_EQ(Enter("e_ugol_u_b", "°").Message, "Ошибка при вводе значения! Повторите ввод!");
}

TEST_F(VoltagePageTest, FrequencyGoesThroughTheGridAndItsBounds) {
    EXPECT_TRUE(Enter("e_rate_otcl_u", "1").Accepted);
    EXPECT_NEAR(static_cast<double>(s.Voltage.Freq), 51, 0.01);
    const sig::real before = s.Voltage.Freq;
    const edit::TEntryOutcome far = Enter("e_rate_u", "80");
    EXPECT_FALSE(far.Accepted);
    EXPECT_FALSE(far.Message);  // the bounds message went through the log
    ASSERT_EQ(log.Asked.size(), 1u);
    EXPECT_EQ(s.Voltage.Freq, before);
}

TEST_F(VoltagePageTest, RangeChangeKeepsDeviations) {
    Enter("e_otcl_u_a", "5");
    edit::Set_Naminal_U(s, edit::RangeNumber("57.735"), &display);
    const sig::real delta = s.Voltage.DeltaUA;
    EXPECT_NEAR(static_cast<double>(delta), 5, 1e-12);
    EXPECT_EQ(s.Voltage.DeltaUA, delta);
    EXPECT_NEAR(static_cast<double>(s.Voltage.UA), 57.735 * 1.05, 1e-12);
    EXPECT_EQ(s.Voltage.NominalLine, 100);
    EXPECT_EQ(edit::NominalUChoice(s.Voltage), "57.735");
    edit::Set_Naminal_U(s, edit::RangeNumber("220.0"), &display);
    EXPECT_EQ(edit::NominalUChoice(s.Voltage), "220.0");
    EXPECT_NEAR(static_cast<double>(s.Voltage.UA), 231, 1e-12);
    try {
        edit::Set_Naminal_U(s, 100, &display);
        FAIL();
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "Неизвестный диапазон напряжения: 100");
    }
}

TEST_F(VoltagePageTest, SwitchesAndHarmonicCountRecompute) {
    s.Voltage.Garmonik.SetKoef("faza_a", 45, 10);
    edit::SetVoltageHarmCount(s, 50, &display);
    const sig::real with50 = s.Voltage.KU[sig::fzA];
    edit::SetVoltageHarmCount(s, 40, &display);
    EXPECT_LT(s.Voltage.KU[sig::fzA], with50);
    edit::SetVoltageSwitch(s, 1, false, &display);
    EXPECT_FALSE(s.Switches.UOnB);
    EXPECT_EQ(display.Voltage, 3);
}

class CurrentPageTest : public VoltagePageTest {
protected:
    edit::TEntryOutcome EnterI(std::string_view field, std::string_view text) {
        return TakeOver(*FieldByName(field), text, {s, 0, sig::DeriveFrequencyBounds(0), log, &display, "page_i"});
    }
};

TEST_F(CurrentPageTest, ValuesDeviationsAndAnglesOfTheCurrents) {
    EXPECT_EQ(EnterI("e_otcl_i_a", "-10").Redisplay, "page_i");
    EXPECT_EQ(Shown("e_dey_znach_i_a"), "4.5000");  // 5 A nominal: four decimals
    EXPECT_EQ(EnterI("e_otcl_i_b", "-100.001").Message, "Выход за границы диапазона! Повторите ввод!");
    EXPECT_EQ(s.Current.IB, 5);
    EXPECT_TRUE(EnterI("e_ugol_i_c", "370°").Accepted);
    EXPECT_EQ(Shown("e_ugol_i_c"), "10.000°");
    EXPECT_EQ(EnterI("e_dey_znach_i_c", "5°").Message, "Ошибка при вводе значения! Повторите ввод!");
    // The current's rule leaves the voltage page alone.
    EXPECT_EQ(display.Voltage, 0);
}

TEST_F(CurrentPageTest, RangeChangeKeepsDeviationsAndTheFormatFollows) {
    EnterI("e_otcl_i_a", "5");
    edit::Set_Naminal_I(s, edit::RangeNumber("1.0"), nullptr);
    EXPECT_EQ(edit::NominalIChoice(s.Current), "1.0");
    EXPECT_EQ(Shown("e_dey_znach_i_a"), "1.05000");
    EXPECT_EQ(Shown("e_rms_i_b"), "1.00000");
    EXPECT_EQ(edit::GetCurrentFmtStrByNominal(5), "%2.4f");
    EXPECT_THROW(edit::Set_Naminal_I(s, 2, nullptr), cmn::TalvoError);
}

TEST_F(CurrentPageTest, ThreeWireLeavesNoNeutralCurrent) {
    EnterI("e_dey_znach_i_a", "3");
    EnterI("e_ugol_i_c", "30");
    s.Current.Garmonik.SetKoef("faza_a", 5, 10);
    ASSERT_TRUE(edit::ThreeWirePossible(s.Switches));
    edit::Calc3f3pr(s, nullptr);
    EXPECT_NEAR(static_cast<double>(s.Current.IN1), 0, 1e-4);
    edit::SetCurrentSwitch(s, 0, false, nullptr);
    EXPECT_FALSE(edit::ThreeWirePossible(s.Switches));
}

}  // namespace
