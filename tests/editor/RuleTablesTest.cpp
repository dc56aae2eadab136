#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSignals.h"
#include "editor/ChartRules.h"
#include "editor/HarmonicGrid.h"
#include "editor/HarmonicRules.h"
#include "editor/ScheduleWindowRules.h"
#include "signal/Calculations.h"

// Rules that are a small table each, walked over every row: the limits of
// the buttons that set all harmonics equal, the interharmonic number editor,
// and what the schedule's modes show and let the user edit.
namespace {

using edit::SetAllButton;
using sched::TScheduleMode;

struct TSetAllLimit {
    SetAllButton Button;
    double Limit;       // the highest coefficient accepted; 0 for the angle buttons
    const char* Range;  // the refusal of a coefficient outside 0 ... Limit
    const char* NotNumber;
};

constexpr const char* kHarm20 = "Значение гармоники выходит за заданный диапазон (от 0 до 20%)!";
constexpr const char* kHarm80 = "Значение гармоники выходит за заданный диапазон (от 0 до 80%)!";
constexpr const char* kInter80 = "Значение интергармоники выходит за заданный диапазон (от 0 до 80%)!";
constexpr const char* kFormat = "Неверный формат числа!";
constexpr const char* kParse = "Ошибка при вводе значения! Повторите ввод!";

const TSetAllLimit kSetAll[] = {
    {SetAllButton::GarmU, 20, kHarm20, kFormat},         {SetAllButton::GarmI, 80, kHarm80, kFormat},
    {SetAllButton::InterKuf, 20, kHarm20, kFormat},      {SetAllButton::InterKi, 80, kHarm80, kFormat},
    {SetAllButton::ConverterKoef, 80, kHarm80, kFormat}, {SetAllButton::ConverterInterKoef, 80, kInter80, kFormat},
    {SetAllButton::UgolU, 0, nullptr, kParse},           {SetAllButton::UgolI, 0, nullptr, kParse},
    {SetAllButton::InterFiUf, 0, nullptr, kFormat},      {SetAllButton::InterFiUI, 0, nullptr, kFormat},
    {SetAllButton::ConverterAngle, 0, nullptr, kParse},  {SetAllButton::ConverterInterAngle, 0, nullptr, kParse},
};

std::string Text(double x) {
    char text[32];
    std::snprintf(text, sizeof text, "%.3f", x);
    return text;
}

TEST(SetAllButtons, EveryButtonKeepsItsLimitsAndMessages) {
    for (const TSetAllLimit& b : kSetAll) {
        SCOPED_TRACE(static_cast<int>(b.Button));
        EXPECT_EQ(edit::IsAngleButton(b.Button), b.Range == nullptr);
        EXPECT_EQ(edit::CheckSetAll(b.Button, "x", 0).Message, b.NotNumber);
        if (!b.Range) {
            // Angles of any size are folded, never refused.
            EXPECT_FALSE(edit::CheckSetAll(b.Button, "1000", 0).Message);
            continue;
        }
        EXPECT_FALSE(edit::CheckSetAll(b.Button, Text(b.Limit), 0).Message);
        EXPECT_FALSE(edit::CheckSetAll(b.Button, "0", 0).Message);
        EXPECT_EQ(edit::CheckSetAll(b.Button, Text(b.Limit + 0.001), 0).Message, b.Range);
        EXPECT_EQ(edit::CheckSetAll(b.Button, "-0.001", 0).Message, b.Range);
        EXPECT_EQ(edit::CheckSetAll(b.Button, Text(b.Limit), 0).Value, b.Limit);
    }
}

TEST(NumberEditors, InterharmonicsRunFromOneToFortyNine) {
    const std::string message = "Заданный номер интергармоники превышает возможный диапазон (1..49)";
    for (const char* text : {"1", "2", "48", "49"}) EXPECT_FALSE(edit::CheckInterharmonicNumber(text)) << text;
    for (const char* text : {"0", "-1", "50", "", "x", "1.5"})
        EXPECT_EQ(edit::CheckInterharmonicNumber(text), message) << text;
    EXPECT_FALSE(edit::CheckHarmonicNumber("2"));
    EXPECT_EQ(edit::CheckHarmonicNumber("1"), "Заданный номер гармоники превышает возможный диапазон (2..50)");
    EXPECT_EQ(edit::CheckHarmonicNumber("41", 40), "Заданный номер гармоники превышает возможный диапазон (2..40)");
}

// The copy and zero menus, item by item: the submenu, the caption, the tag.
TEST(CopyMenus, EveryItemInItsSubmenuWithItsCaption) {
    struct TItem {
        int Tag;
        const char* Group;
        const char* Caption;
    };
    const char* zero = "Обнулить";
    const char* koef = "Копировать коэффициенты в...";
    const char* angle = "Копировать фазовые углы в...";
    const char* toI = "Копировать коэффициенты и углы в ток...";
    const char* koefToI = "Копировать коэффициенты в ток...";
    const char* angleToI = "Копировать фазовые углы в ток...";
    const std::vector<TItem> voltage{
        {1, zero, "Коэффициенты"},    {2, zero, "Фазовые углы"},    {3, "copy", "Фаза A"},
        {4, "copy", "Фаза B"},        {5, "copy", "Фаза C"},        {6, koef, "Фаза A"},
        {7, koef, "Фаза B"},          {8, koef, "Фаза C"},          {9, angle, "Фаза A"},
        {10, angle, "Фаза B"},        {11, angle, "Фаза C"},        {12, toI, "Ток фазы A"},
        {13, toI, "Ток фазы B"},      {14, toI, "Ток фазы C"},      {15, koefToI, "Ток фазы A"},
        {16, koefToI, "Ток фазы B"},  {17, koefToI, "Ток фазы C"},  {18, angleToI, "Ток фазы A"},
        {19, angleToI, "Ток фазы B"}, {20, angleToI, "Ток фазы C"},
    };
    const auto items = edit::CopyMenuItems(edit::CopyMenu::Voltage);
    ASSERT_EQ(items.size(), voltage.size());
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].Tag, voltage[i].Tag);
        EXPECT_EQ(items[i].Group, voltage[i].Group) << voltage[i].Tag;
        EXPECT_EQ(items[i].Caption, voltage[i].Caption) << voltage[i].Tag;
    }
    // The current menu: no copies into the currents (12 ... 14) and "Углы" for zeroing.
    const auto current = edit::CopyMenuItems(edit::CopyMenu::Current);
    ASSERT_EQ(current.size(), 17u);
    EXPECT_EQ(current[1].Caption, "Углы");
    EXPECT_EQ(current[1].Group, zero);
    EXPECT_EQ(current[11].Tag, 15);
    EXPECT_EQ(current[11].Group, koefToI);
}

TEST(HarmonicGrids, EveryColumnHeader) {
    const char* const harmonic[] = {
        "n",           "K~Ua(n)~, %",  "@f~Ua(n)~",   "K~Ia(n)~, %",  "@f~UIa(n)~",  "K~Uв(n)~, %", "@f~Uв(n)~",
        "K~Iв(n)~, %", "@f~UIв(n)~",   "K~Uс(n)~, %", "@f~Uс(n)~",    "K~Iс(n)~, %", "@f~UIс(n)~",  "K~Uав(n)~, %",
        "@f~Uав(n)~",  "K~Uвс(n)~, %", "@f~Uвс(n)~",  "K~Uса(n)~, %", "@f~Uса(n)~",
    };
    for (int c = 0; c < 19; ++c) EXPECT_EQ(edit::GridHeader(c), harmonic[c]) << c;
    const char* const angles[] = {"n",          "@fU~A-B~",   "@fU~B-C~", "@fU~C-A~", "@fU~AB-BC~",
                                  "@fU~BC-CA~", "@fU~CA-AB~", "@fI~A-B~", "@fI~B-C~", "@fI~C-A~"};
    for (int c = 0; c < 10; ++c) EXPECT_EQ(edit::AngleGridHeader(c), angles[c]) << c;
}

// The waveform view samples finely enough for the highest order the three
// phases carry; the records beside the phases' stores do not count.
TEST(WaveformCycles, OnlyThePhasesOrdersCount) {
    auto s = talvo_test::BalancedSignal(57.735L, 5, 30);
    s->Switches.IncludeInterGarm = true;
    s->Voltage.InterGarm[0].Koef[3] = 2;  // order 3.5 on phase A
    s->Current.Garmonik.SetKoef("faza_b", 2, 1);
    sig::CalcVoltageParams(s->Voltage, s->Switches);
    sig::CalcCurrentParams(s->Current, s->Voltage, s->Switches);
    EXPECT_EQ(edit::HighestCycles(*s), 7);  // two periods of order 3.5
}

using C = edit::TScheduleColumn;
using E = edit::TCellEditor;
constexpr C kColumns[] = {C::Id,        C::State,     C::Type,    C::Name,   C::Duration,
                          C::StartDate, C::StartTime, C::EndDate, C::EndTime};

// Per column: shown in the three modes, and the editor a double click opens in each.
struct TColumnRule {
    C Column;
    bool Shown[3];
    E Editor[3];
};
const TColumnRule kColumnRules[] = {
    {C::Id, {true, true, true}, {E::None, E::None, E::None}},
    {C::State, {true, true, true}, {E::None, E::None, E::None}},
    {C::Type, {true, true, true}, {E::TypeList, E::TypeList, E::TypeList}},
    {C::Name, {true, true, true}, {E::None, E::None, E::None}},
    {C::Duration, {true, false, true}, {E::Duration, E::None, E::Duration}},
    {C::StartDate, {false, true, true}, {E::None, E::Date, E::None}},
    {C::StartTime, {false, true, true}, {E::None, E::Time, E::None}},
    {C::EndDate, {false, true, true}, {E::None, E::Date, E::None}},
    {C::EndTime, {false, true, true}, {E::None, E::Time, E::None}},
};
constexpr TScheduleMode kModes[] = {TScheduleMode::ByDuration, TScheduleMode::ByTime, TScheduleMode::ByTimeAndDuration};

TEST(ScheduleModes, ColumnsShownAndEditedPerMode) {
    for (const TColumnRule& r : kColumnRules) {
        for (int m = 0; m < 3; ++m) {
            SCOPED_TRACE(testing::Message() << "column " << static_cast<int>(r.Column) << " mode " << m);
            EXPECT_EQ(edit::ColumnShown(kModes[m], r.Column), r.Shown[m]);
            EXPECT_EQ(edit::CellEditor(kModes[m], r.Column, false), r.Editor[m]);
            EXPECT_EQ(edit::CellEditor(kModes[m], r.Column, true), E::None);
        }
    }
}

TEST(ScheduleModes, TheDateButtonWorksOutsideTheFirstModeAndNotDuringARun) {
    const bool dateButton[3] = {false, true, true};
    for (int m = 0; m < 3; ++m) {
        SCOPED_TRACE(m);
        EXPECT_EQ(edit::ScheduleEnabling(2, false, kModes[m]).SetDate, dateButton[m]);
        EXPECT_FALSE(edit::ScheduleEnabling(2, true, kModes[m]).SetDate);
        EXPECT_FALSE(edit::ScheduleEnabling(0, false, kModes[m]).SetDate);
    }
}

}  // namespace
