#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "editor/HarmonicGrid.h"
#include "editor/HarmonicRules.h"
#include "editor/NumberEntry.h"
#include "editor/SignalDefaults.h"
#include "editor/SignalFields.h"

namespace {

using edit::HarmEditor;
using edit::SetAllButton;

struct TQuietLog : cmn::IProtocolLog {
    void Log(cmn::LogType, const std::string&) override {}
    bool Interactive() const override { return false; }
    bool Ask(const std::string&, cmn::MessageKind, cmn::Buttons) override { return true; }
};

struct TCountingDisplay : sig::ISignalDisplay {
    int Voltage = 0, Current = 0;
    void ShowVoltageValues(const sig::TSignalParamsU&) override { ++Voltage; }
    void ShowCurrentPhasors(const std::array<sig::TPolar, 3>&) override {}
    void ShowCurrentValues(const sig::TSignalParamsI&) override { ++Current; }
    void DrawVectorDiagram(const sig::TSignalParamsU&, const sig::TSignalParamsI&) override {}
};

class HarmonicsTest : public ::testing::Test {
protected:
    TQuietLog log;
    TCountingDisplay display;
    sig::TSignalSet s = edit::DefaultSignal({0, {}, log});

    edit::THarmEntry Coef(HarmEditor e, int phase, int n, std::string_view text) {
        return edit::EnterCoef(e, s, phase, n, text, &display);
    }
    edit::THarmEntry Angle(HarmEditor e, int phase, int n, std::string_view text) {
        return edit::EnterAngle(e, s, phase, n, text, &display);
    }
};

TEST(HarmonicRows, PaddingLinesUpUnderTheHeader) {
    EXPECT_EQ(edit::HarmonicListRow(2, 0, 0), "2      0.000          0.000°");
    EXPECT_EQ(edit::HarmonicListRow(50, 12.5, -170), "50    12.500        -170.000°");
    // A coefficient longer than ten characters is followed by no spaces.
    EXPECT_EQ(edit::HarmonicListRow(3, 12345678.25, 1), "3      12345678.2501.000°");
    EXPECT_EQ(edit::InterListRow(1, 0, 0), "1        0.000          0.000°");
    EXPECT_EQ(edit::InterListRow(49, 3, 45), "49      3.000          45.000°");
    sig::TInterGarmonik inter;
    inter.Koef[7] = 1;
    const std::vector<std::string> rows = edit::MadeList_InterGarm(inter);
    ASSERT_EQ(rows.size(), 49u);
    EXPECT_EQ(rows[6], "7        1.000          0.000°");
}

TEST_F(HarmonicsTest, PowerTableRowsSumsAndShares) {
    s.Voltage.Garmonik.SetKoef(sig::TGarmonikPart::a, 3, 10);
    s.Voltage.Garmonik.SetAngle(sig::TGarmonikPart::a, 3, -30);
    s.Current.Garmonik.SetKoef(sig::TGarmonikPart::a, 3, 20);
    s.Current.Garmonik.SetAngle(sig::TGarmonikPart::a, 3, 60);
    s.FundamentalPowers.P[0] = 89;
    s.FundamentalPowers.Q[0] = 0;
    s.FundamentalPowers.S[0] = 0;
    // A phase switched off still shows its powers from the stored values.
    s.Switches.UOnA = false;
    const edit::TPowerTable t = edit::MadeList_Power(s, 0);
    ASSERT_EQ(t.Rows.size(), 49u);
    EXPECT_EQ(t.Rows[1], "3     10.000       -30.000°    20.000       60.000°   11.00000   19.05256   22.00000");
    EXPECT_EQ(t.Rows[0], "2     0.000         0.000°       0.000         0.000°     0.00000     0.00000     0.00000");
    EXPECT_NEAR(static_cast<double>(t.SumP), 100, 1e-5);
    EXPECT_NEAR(static_cast<double>(t.Kp[3]), 11, 1e-5);
    EXPECT_NEAR(static_cast<double>(t.Kq[3]), 100, 1e-9);
    EXPECT_NEAR(static_cast<double>(t.Ks[3]), 100, 1e-9);
    EXPECT_EQ(t.Ku[3], 10);
    EXPECT_EQ(t.Ki[3], 20);
}

TEST_F(HarmonicsTest, SharesOfZeroSumsAreZero) {
    s.Voltage.Garmonik.SetKoef(sig::TGarmonikPart::b, 5, 10);
    s.FundamentalPowers.P[1] = s.FundamentalPowers.Q[1] = s.FundamentalPowers.S[1] = 0;
    const edit::TPowerTable t = edit::MadeList_Power(s, 1);
    for (int n = 2; n <= 50; ++n) {
        EXPECT_EQ(t.Kp[n], 0) << n;
        EXPECT_EQ(t.Ks[n], 0) << n;
    }
}

TEST_F(HarmonicsTest, CoefficientRangesAndMessagesPerEditor) {
    EXPECT_TRUE(Coef(HarmEditor::Voltage, 0, 2, "80").Accepted);
    EXPECT_EQ(Coef(HarmEditor::Voltage, 0, 2, "80.001").Message,
              "Значение гармоники выходит за заданный диапазон (от 0 до 80%)!");
    EXPECT_EQ(Coef(HarmEditor::Current, 0, 2, "100.001").Message,
              "Значение гармоники выходит за заданный диапазон (от 0 до 100%)!");
    EXPECT_EQ(Coef(HarmEditor::Current, 0, 2, "-0.001").Message,
              "Значение гармоники выходит за заданный диапазон (от 0 до 100%)!");
    EXPECT_EQ(Coef(HarmEditor::OnePhaseU, 0, 2, "80.001").Message,
              "Выход за границы заданного диапазона! Повторите ввод!");
    EXPECT_TRUE(Coef(HarmEditor::OnePhaseI, 0, 2, "100").Accepted);
    EXPECT_EQ(Coef(HarmEditor::InterVoltage, 0, 1, "81").Message,
              "Значение интергармоники выходит за заданный диапазон (от 0 до 80%)!");
    EXPECT_EQ(Coef(HarmEditor::InterCurrent, 0, 1, "101").Message,
              "Значение интергармоники выходит за заданный диапазон (от 0 до 100%)!");
    const sig::TSignalSet before = s;
    for (const char* text : {"", "x", "12,5", "1e999", "nan", "5°"}) {
        EXPECT_EQ(Coef(HarmEditor::Voltage, 1, 3, text).Message, "Неверный формат числа!") << text;
        EXPECT_EQ(Coef(HarmEditor::OnePhaseI, 1, 3, text).Message, "Ошибка при вводе значения! Повторите ввод!");
    }
    for (const char* text : {"", "x", "12,5", "1e999", "nan", "°", "5°°"})
        EXPECT_EQ(Angle(HarmEditor::Current, 1, 3, text).Message, "Ошибка при вводе значения! Повторите ввод!") << text;
    EXPECT_EQ(Angle(HarmEditor::InterVoltage, 1, 3, "abc").Message, "Неверный формат числа!");
    EXPECT_EQ(s.Voltage.Garmonik.b.Koef[3], before.Voltage.Garmonik.b.Koef[3]);
    EXPECT_EQ(s.Current.Garmonik.b.Angle[3], before.Current.Garmonik.b.Angle[3]);
}

TEST_F(HarmonicsTest, AcceptedEntriesStoreShowAndRecomputeAsTheEditorSays) {
    const edit::THarmEntry k = Coef(HarmEditor::Voltage, 2, 7, "12.5");
    EXPECT_EQ(k.Shown, "12.500");
    EXPECT_EQ(s.Voltage.Garmonik.c.Koef[7], 12.5);
    EXPECT_EQ(display.Voltage, 1);
    EXPECT_NE(s.Voltage.KU[sig::fzC], 0);  // the distortion followed
    EXPECT_EQ(Angle(HarmEditor::Voltage, 2, 7, "190°").Shown, "-170.000°");
    EXPECT_EQ(s.Voltage.Garmonik.c.Angle[7], -170);
    EXPECT_EQ(display.Voltage, 2);

    Coef(HarmEditor::Current, 0, 2, "50");
    Coef(HarmEditor::Current, 1, 2, "50");
    Coef(HarmEditor::Current, 2, 2, "50");
    EXPECT_EQ(display.Current, 3);
    // A current angle changes the neutral current at once.
    const sig::real neutral = s.Current.INRms;
    EXPECT_EQ(Angle(HarmEditor::Current, 0, 2, "180").Shown, "-180.000°");
    EXPECT_EQ(display.Current, 4);
    EXPECT_EQ(s.Current.Garmonik.a.Angle[2], -180);
    EXPECT_NE(s.Current.INRms, neutral);

    Coef(HarmEditor::InterCurrent, 1, 49, "3");
    Angle(HarmEditor::InterCurrent, 1, 49, "-190");
    EXPECT_EQ(s.Current.InterGarm[1].Koef[49], 3);
    EXPECT_EQ(s.Current.InterGarm[1].Angle[49], 170);
    EXPECT_EQ(edit::EditorRows(HarmEditor::InterCurrent, s, 1)[48], "49      3.000          170.000°");
    EXPECT_EQ(display.Current, 4);
    Coef(HarmEditor::InterVoltage, 0, 1, "2");
    EXPECT_EQ(display.Voltage, 3);
}

TEST(HarmonicOrders, NextOrderStaysOnTheLastExceptOnTheSinglePhasePage) {
    EXPECT_EQ(edit::NextOrder(HarmEditor::Voltage, 49), 50);
    EXPECT_EQ(edit::NextOrder(HarmEditor::Voltage, 50), 50);
    EXPECT_EQ(edit::NextOrder(HarmEditor::Current, 50), 50);
    EXPECT_EQ(edit::NextOrder(HarmEditor::OnePhaseI, 50), 2);
    EXPECT_EQ(edit::NextOrder(HarmEditor::InterVoltage, 49), 49);
    EXPECT_EQ(edit::NextOrder(HarmEditor::InterCurrent, 1), 2);
}

TEST(HarmonicOrders, NumberEditorRange) {
    const std::string message = "Заданный номер гармоники превышает возможный диапазон (2..50)";
    for (const char* text : {"1", "51", "", "x", "2.5"}) EXPECT_EQ(edit::CheckHarmonicNumber(text), message) << text;
    EXPECT_FALSE(edit::CheckHarmonicNumber("2"));
    EXPECT_FALSE(edit::CheckHarmonicNumber("50"));
}

TEST_F(HarmonicsTest, SetAllChecksAskAndApply) {
    // 80 passes the editor but not the button with its limit of 20.
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::GarmU, "80", 0).Message,
              "Значение гармоники выходит за заданный диапазон (от 0 до 20%)!");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::GarmI, "80.001", 0).Message,
              "Значение гармоники выходит за заданный диапазон (от 0 до 80%)!");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::InterKi, "81", 0).Message,
              "Значение гармоники выходит за заданный диапазон (от 0 до 80%)!");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::GarmU, "x", 0).Message, "Неверный формат числа!");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::UgolU, "x", 0).Message, "Ошибка при вводе значения! Повторите ввод!");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::InterFiUf, "x", 0).Message, "Неверный формат числа!");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::GarmU, "20", 1).Question,
              "Задать модули всех гармоник фазы B равными 20.000 %?");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::UgolI, "190°", 2).Question,
              "Задать фазовые углы всех гармоник фазы C равными -170.000 градусов?");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::InterFiUI, "5", 0).Question,
              "Задать углы фазового сдвига всех интергармоник фазы A равными 5.000 градусов?");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::InterKuf, "1", 0).Question,
              "Задать модули всех интергармоник фазы A равными 1.000 %?");

    edit::ApplySetAll(SetAllButton::GarmU, s, 1, 2.5, &display);
    for (int n = 2; n <= 50; ++n) EXPECT_EQ(s.Voltage.Garmonik.b.Koef[n], 2.5);
    EXPECT_EQ(s.Voltage.Garmonik.a.Koef[2], 0);
    EXPECT_EQ(display.Voltage, 1);
    edit::ApplySetAll(SetAllButton::InterFiUI, s, 2, -10, &display);
    for (int m = 1; m <= 49; ++m) EXPECT_EQ(s.Current.InterGarm[2].Angle[m], -10);
    EXPECT_EQ(display.Current, 0);
}

// The converter page's view edits the currents' harmonics and interharmonics
// with its own wording and leaves every calculation to the page.
TEST_F(HarmonicsTest, ConverterViewEditorsAndButtons) {
    EXPECT_EQ(Coef(HarmEditor::ConverterHarm, 0, 2, "100.001").Message,
              "Значение гармоники выходит за заданный диапазон (от 0 до 100%)!");
    EXPECT_EQ(Coef(HarmEditor::ConverterInter, 0, 1, "100.001").Message,
              "Значение интергармоники выходит за заданный диапазон (от 0 до 100%)!");
    EXPECT_EQ(Coef(HarmEditor::ConverterInter, 0, 1, "x").Message, "Неверный формат числа!");
    EXPECT_EQ(Angle(HarmEditor::ConverterInter, 0, 1, "x").Message, "Ошибка при вводе значения! Повторите ввод!");
    EXPECT_EQ(Coef(HarmEditor::ConverterHarm, 1, 4, "7").Shown, "7.000");
    EXPECT_EQ(Angle(HarmEditor::ConverterInter, 2, 5, "-190°").Shown, "170.000°");
    EXPECT_EQ(s.Current.Garmonik.b.Koef[4], 7);
    EXPECT_EQ(s.Current.InterGarm[2].Angle[5], 170);
    EXPECT_EQ(display.Current, 0);
    EXPECT_EQ(edit::NextOrder(HarmEditor::ConverterHarm, 49), 50);
    EXPECT_EQ(edit::NextOrder(HarmEditor::ConverterHarm, 50), 50);
    EXPECT_EQ(edit::NextOrder(HarmEditor::ConverterInter, 5), 5);

    EXPECT_EQ(edit::CheckSetAll(SetAllButton::ConverterKoef, "80.001", 0).Message,
              "Значение гармоники выходит за заданный диапазон (от 0 до 80%)!");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::ConverterInterKoef, "80.001", 0).Message,
              "Значение интергармоники выходит за заданный диапазон (от 0 до 80%)!");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::ConverterInterAngle, "x", 0).Message,
              "Ошибка при вводе значения! Повторите ввод!");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::ConverterInterKoef, "4", 1).Question,
              "Задать модули всех интергармоник фазы B равными 4.000 %?");
    EXPECT_EQ(edit::CheckSetAll(SetAllButton::ConverterAngle, "370", 2).Question,
              "Задать фазовые углы всех гармоник фазы C равными 10.000 градусов?");
    edit::ApplySetAll(SetAllButton::ConverterInterKoef, s, 1, 4, &display);
    edit::ApplySetAll(SetAllButton::ConverterAngle, s, 2, 10, &display);
    for (int m = 1; m <= 49; ++m) EXPECT_EQ(s.Current.InterGarm[1].Koef[m], 4);
    for (int n = 2; n <= 50; ++n) EXPECT_EQ(s.Current.Garmonik.c.Angle[n], 10);
    EXPECT_EQ(s.Voltage.InterGarm[1].Koef[1], 0);
    EXPECT_EQ(display.Current, 0);
    EXPECT_EQ(display.Voltage, 0);
}

TEST(CopyMenus, CaptionItemsAndEnabling) {
    EXPECT_EQ(edit::CopyMenuCaption(false), "Копировать параметры гармоник в...");
    EXPECT_EQ(edit::CopyMenuCaption(true), "Копировать параметры интергармоник в...");
    EXPECT_EQ(edit::CopyMenuItems(edit::CopyMenu::Voltage).size(), 20u);
    EXPECT_EQ(edit::CopyMenuItems(edit::CopyMenu::Current).size(), 17u);
    std::vector<int> disabled;
    for (int tag = 1; tag <= 20; ++tag)
        if (!edit::CopyItemEnabled(edit::CopyMenu::Voltage, tag, 1)) disabled.push_back(tag);
    EXPECT_EQ(disabled, (std::vector<int>{4, 7, 10}));
    disabled.clear();
    for (int tag = 1; tag <= 20; ++tag)
        if (!edit::CopyItemEnabled(edit::CopyMenu::Current, tag, 2)) disabled.push_back(tag);
    EXPECT_EQ(disabled, (std::vector<int>{5, 8, 11, 14, 17, 20}));
}

TEST_F(HarmonicsTest, CopyMenuActionsMoveTheRightParts) {
    auto& g = s.Voltage.Garmonik;
    for (int n = 2; n <= 50; ++n) {
        g.a.Koef[n] = n;
        g.a.Angle[n] = -n;
    }
    edit::ApplyCopyItem(edit::CopyMenu::Voltage, false, 4, 0, s, &display);  // both to voltage B
    EXPECT_EQ(g.b.Koef[50], 50);
    EXPECT_EQ(g.b.Angle[50], -50);
    edit::ApplyCopyItem(edit::CopyMenu::Voltage, false, 8, 0, s, &display);  // coefficients to voltage C
    EXPECT_EQ(g.c.Koef[9], 9);
    EXPECT_EQ(g.c.Angle[9], 0);
    edit::ApplyCopyItem(edit::CopyMenu::Voltage, false, 19, 0, s, &display);  // angles to current B
    EXPECT_EQ(s.Current.Garmonik.b.Angle[9], -9);
    EXPECT_EQ(s.Current.Garmonik.b.Koef[9], 0);
    edit::ApplyCopyItem(edit::CopyMenu::Voltage, false, 1, 0, s, &display);  // zero coefficients
    EXPECT_EQ(g.a.Koef[9], 0);
    EXPECT_EQ(g.a.Angle[9], -9);
    EXPECT_EQ(display.Voltage, 4);

    s.Current.InterGarm[2].Koef[49] = 7;
    s.Current.InterGarm[2].Angle[1] = 30;
    edit::ApplyCopyItem(edit::CopyMenu::Current, true, 3, 2, s, &display);
    EXPECT_EQ(s.Current.InterGarm[0].Koef[49], 7);
    EXPECT_EQ(s.Current.InterGarm[0].Angle[1], 30);
    edit::ApplyCopyItem(edit::CopyMenu::Current, true, 2, 2, s, &display);
    EXPECT_EQ(s.Current.InterGarm[2].Angle[1], 0);
    EXPECT_EQ(s.Current.InterGarm[2].Koef[49], 7);
    // The current menu has no copying into the voltage.
    const sig::TSignalSet before = s;
    edit::ApplyCopyItem(edit::CopyMenu::Current, false, 12, 2, s, &display);
    EXPECT_EQ(s.Current.Garmonik.a.Koef[2], before.Current.Garmonik.a.Koef[2]);
    EXPECT_EQ(display.Current, 0);
}

TEST_F(HarmonicsTest, GridCellsAcceptRefuseAndKeepText) {
    EXPECT_EQ(edit::GridCellText(s, 1, 0), "2");
    EXPECT_EQ(edit::GridCellText(s, 49, 2), "0.000°");
    // 100 is accepted for voltages too.
    edit::TGridLeave out = edit::LeaveGridCell(s, 1, 1, "100", "0.000");
    EXPECT_EQ(out.CellText, "100.000");
    EXPECT_EQ(s.Voltage.Garmonik.a.Koef[2], 100);
    out = edit::LeaveGridCell(s, 49, 7, "5", "0.000");  // current B, n = 50
    EXPECT_EQ(s.Current.Garmonik.b.Koef[50], 5);
    // A letter: the message, the cursor moves on, the cell keeps the letter.
    out = edit::LeaveGridCell(s, 2, 9, "z", "0.000");
    EXPECT_EQ(out.Message, "Ошибка при вводе значения.(Возможно выход за пределы диапазона). Повторите ввод!");
    EXPECT_FALSE(out.CellText);
    EXPECT_FALSE(out.CursorStays);
    EXPECT_EQ(edit::LeaveGridCell(s, 2, 9, "100.001", "0.000").Message, out.Message);
    EXPECT_EQ(s.Voltage.Garmonik.c.Koef[3], 0);
    out = edit::LeaveGridCell(s, 1, 12, "190", "0.000°");  // current C angle
    EXPECT_EQ(out.CellText, "-170.000°");
    EXPECT_EQ(s.Current.Garmonik.c.Angle[2], -170);
    out = edit::LeaveGridCell(s, 1, 2, "y°", "0.000°");
    EXPECT_EQ(out.Message, "Ошибка при вводе значения! Повторите ввод!");
    EXPECT_TRUE(out.CursorStays);
    out = edit::LeaveGridCell(s, 1, 13, "3", "0.000");
    EXPECT_EQ(out.Message, "Значение только для чтения!");
    EXPECT_EQ(out.CellText, "0.000");
    EXPECT_TRUE(out.CursorStays);
    // Unchanged text does nothing, wherever it is.
    out = edit::LeaveGridCell(s, 1, 13, "0.000", "0.000");
    EXPECT_FALSE(out.Message);
    EXPECT_FALSE(out.CellText);
    EXPECT_EQ(edit::GridEditingText("-170.000°"), "-170.000");
}

TEST(HarmonicGrid, MovesDownThenOnToTheNextColumn) {
    EXPECT_EQ(edit::GridNextCell(1, 1).Row, 2);
    const edit::TGridCell wrap = edit::GridNextCell(49, 4);
    EXPECT_EQ(wrap.Row, 1);
    EXPECT_EQ(wrap.Column, 5);
    const edit::TGridCell last = edit::GridNextCell(49, 18);
    EXPECT_EQ(last.Row, 49);
    EXPECT_EQ(last.Column, 18);
    EXPECT_FALSE(edit::CheckFirstCell("0.000"));
    EXPECT_EQ(edit::CheckFirstCell("q"), "В ячейке [1,1] ошибочное значения. Повторите ввод!");
}

TEST_F(HarmonicsTest, AngleGridShowsTheDifferences) {
    s.Voltage.Garmonik.SetAngle(sig::TGarmonikPart::bc_ca, 4, 12);
    s.Current.Garmonik.SetAngle(sig::TGarmonikPart::c_a, 50, -7);
    EXPECT_EQ(edit::AngleGridText(s, 3, 5), "12.000°");
    EXPECT_EQ(edit::AngleGridText(s, 49, 9), "-7.000°");
    EXPECT_EQ(edit::AngleGridHeader(4), "@fU~AB-BC~");
}

// The fundamental fields and the harmonic fields read numbers alike: only
// an angle drops a trailing degree sign, and nothing beyond double's range passes.
TEST(NumberEntry, AnglesDropTheirDegreeSignOnly) {
    struct {
        const char* Text;
        bool Angle;
        std::optional<double> Value;
    } const cases[]{{"12.5", false, 12.5},          {"-30°", true, -30},          {"-30° ", true, -30},
                    {"-30°", false, std::nullopt},  {"°", true, std::nullopt},    {"   ", true, std::nullopt},
                    {"1e999", false, std::nullopt}, {"30°°", true, std::nullopt}, {"12,5", false, std::nullopt}};
    for (const auto& c : cases) {
        const auto x = edit::ParseEntry(c.Text, c.Angle);
        ASSERT_EQ(x.has_value(), c.Value.has_value()) << c.Text;
        if (x) EXPECT_EQ(static_cast<double>(*x), *c.Value) << c.Text;
    }
    // Both families refuse with their own texts, from the same reading.
    const edit::TFieldRow& angle = *edit::FieldByName("e_ugol_i_b");
    TQuietLog log;
    sig::TSignalSet s = edit::DefaultSignal({0, {}, log});
    EXPECT_TRUE(edit::TakeOver(angle, "45° ", {s, 0, sig::DeriveFrequencyBounds(0), log}).Accepted);
    EXPECT_EQ(s.Current.PhiUIB, 45);
    EXPECT_TRUE(edit::EnterAngle(HarmEditor::Current, s, 1, 3, "45° ", nullptr).Accepted);
}

// The number editors: the harmonic ones and the converter's interharmonic
// one refuse a number outside their range, the other interharmonic editors
// keep to it by themselves.
TEST(NumberEditors, WhichEditorRefusesWhichNumber) {
    struct {
        HarmEditor Editor;
        int Order;
        bool Refused;
    } const cases[]{{HarmEditor::Voltage, 1, true},          {HarmEditor::Voltage, 50, false},
                    {HarmEditor::ConverterHarm, 51, true},   {HarmEditor::ConverterInter, 0, true},
                    {HarmEditor::ConverterInter, 49, false}, {HarmEditor::ConverterInter, 50, true},
                    {HarmEditor::InterCurrent, 0, false},    {HarmEditor::InterVoltage, 99, false}};
    for (const auto& c : cases)
        EXPECT_EQ(edit::CheckOrder(c.Editor, c.Order).has_value(), c.Refused)
            << static_cast<int>(c.Editor) << " " << c.Order;
    EXPECT_EQ(edit::CheckOrder(HarmEditor::ConverterInter, 0),
              "Заданный номер интергармоники превышает возможный диапазон (1..49)");
    for (SetAllButton b : {SetAllButton::ConverterKoef, SetAllButton::ConverterInterKoef})
        EXPECT_TRUE(edit::DeclineFocusesAngle(b));
    for (SetAllButton b : {SetAllButton::GarmI, SetAllButton::ConverterAngle, SetAllButton::InterKi})
        EXPECT_FALSE(edit::DeclineFocusesAngle(b));
}

}  // namespace
