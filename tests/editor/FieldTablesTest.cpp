#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "editor/DipsAndFluctuations.h"
#include "editor/FundamentalChoices.h"
#include "editor/SignalDefaults.h"
#include "editor/SignalFields.h"
#include "signal/Nominals.h"

// Every editable row of the four field tables (fundamentals, powers, dips,
// fluctuations) walked against what the window must do: the family and tag
// that route the entry, the field Enter moves to, the range with its
// refusal, and the shown format.
namespace {

using edit::FieldByName;
using edit::FieldFamily;
using F = FieldFamily;

struct TQuietLog : cmn::IProtocolLog {
    void Log(cmn::LogType, const std::string&) override {}
    bool Interactive() const override { return false; }
    bool Ask(const std::string&, cmn::MessageKind, cmn::Buttons) override { return true; }
};

std::string Fixed(const char* format, double x) {
    char text[64];
    std::snprintf(text, sizeof text, format, x);
    return text;
}

class FieldTables : public ::testing::Test {
protected:
    TQuietLog log;
    sig::TKolebParamsHelpTable flicker;
    sig::TSignalSet s = edit::DefaultSignal({0, {}, log});

    void SetUp() override {
        flicker.LoadDefaults(sig::fsGost99);
        sig::CalcKolebParams(s.Voltage, s.Koleb, true, true, true, flicker);
    }
    edit::TEntryOutcome Enter(std::string_view field, std::string_view text) {
        const edit::TFieldRow& row = *FieldByName(field);
        return edit::TakeOver(row, text, {s, 0, sig::DeriveFrequencyBounds(0), log, nullptr, row.Page, &flicker});
    }
    std::string Refusal(std::string_view field, std::string_view text) {
        return Enter(field, text).Message.value_or("(accepted)");
    }
    std::string Shown(std::string_view field) { return edit::FieldText(*FieldByName(field), s); }
};

struct TExpectedRow {
    const char* Name;
    const char* Page;
    FieldFamily Family;
    int Tag;  // -1: not fixed
    const char* Next;
};

// The editable fields of the four tables with their families, tags and the
// field Enter moves to.
const TExpectedRow kEditable[] = {
    // voltages: value A → B → C → deviation A → B → C → angle B → C → value A
    {"e_dey_znach_u_a", "page_u", F::VoltageValue, 1, "e_dey_znach_u_b"},
    {"e_dey_znach_u_b", "page_u", F::VoltageValue, 2, "e_dey_znach_u_c"},
    {"e_dey_znach_u_c", "page_u", F::VoltageValue, 3, "e_otcl_u_a"},
    {"e_otcl_u_a", "page_u", F::VoltageDeviation, 4, "e_otcl_u_b"},
    {"e_otcl_u_b", "page_u", F::VoltageDeviation, 5, "e_otcl_u_c"},
    {"e_otcl_u_c", "page_u", F::VoltageDeviation, 6, "e_ugol_u_b"},
    {"e_ugol_u_b", "page_u", F::VoltageAngle, 8, "e_ugol_u_c"},
    {"e_ugol_u_c", "page_u", F::VoltageAngle, 9, "e_dey_znach_u_a"},
    {"e_rate_u", "page_u", F::Frequency, -1, "e_rate_otcl_u"},
    {"e_rate_otcl_u", "page_u", F::FrequencyDeviation, -1, "e_rate_u"},
    // currents: value A → B → C → deviation A → B → C → angle A → B → C → value A
    {"e_dey_znach_i_a", "page_i", F::CurrentValue, 20, "e_dey_znach_i_b"},
    {"e_dey_znach_i_b", "page_i", F::CurrentValue, 21, "e_dey_znach_i_c"},
    {"e_dey_znach_i_c", "page_i", F::CurrentValue, 22, "e_otcl_i_a"},
    {"e_otcl_i_a", "page_i", F::CurrentDeviation, 23, "e_otcl_i_b"},
    {"e_otcl_i_b", "page_i", F::CurrentDeviation, 24, "e_otcl_i_c"},
    {"e_otcl_i_c", "page_i", F::CurrentDeviation, 25, "e_ugol_i_a"},
    {"e_ugol_i_a", "page_i", F::CurrentAngle, 26, "e_ugol_i_b"},
    {"e_ugol_i_b", "page_i", F::CurrentAngle, 27, "e_ugol_i_c"},
    {"e_ugol_i_c", "page_i", F::CurrentAngle, 28, "e_dey_znach_i_a"},
    {"e_Rate_I", "page_i", F::Frequency, -1, "e_Rate_Otcl_I"},
    {"e_Rate_Otcl_I", "page_i", F::FrequencyDeviation, -1, "e_Rate_I"},
    // single phase: U → δU → I → δI → U; angle → U; frequency → the phase choice
    {"e_dey_znach_u_one_faza", "page_u_i", F::SinglePhase, edit::kOneVoltageValue, "e_one_faza_u_otcl"},
    {"e_one_faza_u_otcl", "page_u_i", F::SinglePhase, edit::kOneVoltageDeviation, "e_dey_znach_i_one_faza"},
    {"e_dey_znach_i_one_faza", "page_u_i", F::SinglePhase, edit::kOneCurrentValue, "e_one_faza_i_otcl"},
    {"e_one_faza_i_otcl", "page_u_i", F::SinglePhase, edit::kOneCurrentDeviation, "e_dey_znach_u_one_faza"},
    {"e_angle", "page_u_i", F::SinglePhase, edit::kOneAngle, "e_dey_znach_u_one_faza"},
    {"e_one_power_rate", "page_u_i", F::Frequency, -1, "cb_faza"},
    // three phases: per phase value → deviation (→ angle), phase A's voltage angle is read-only
    {"e_dey_znach_u_faza_a", "page_u_i_3", F::VoltageValue, 50, "e_otcl_u_faza_a"},
    {"e_otcl_u_faza_a", "page_u_i_3", F::VoltageDeviation, 51, "e_dey_znach_u_faza_b"},
    {"e_dey_znach_u_faza_b", "page_u_i_3", F::VoltageValue, 53, "e_otcl_u_faza_b"},
    {"e_otcl_u_faza_b", "page_u_i_3", F::VoltageDeviation, 54, "e_ugol_u_faza_b"},
    {"e_ugol_u_faza_b", "page_u_i_3", F::VoltageAngle, 55, "e_dey_znach_u_faza_c"},
    {"e_dey_znach_u_faza_c", "page_u_i_3", F::VoltageValue, 56, "e_otcl_u_faza_c"},
    {"e_otcl_u_faza_c", "page_u_i_3", F::VoltageDeviation, 57, "e_ugol_u_faza_c"},
    {"e_ugol_u_faza_c", "page_u_i_3", F::VoltageAngle, 58, "e_dey_znach_u_faza_a"},
    {"e_dey_znach_i_faza_a", "page_u_i_3", F::CurrentValue, 59, "e_otcl_i_faza_a"},
    {"e_otcl_i_faza_a", "page_u_i_3", F::CurrentDeviation, 60, "e_ugol_i_faza_a"},
    {"e_ugol_i_faza_a", "page_u_i_3", F::CurrentAngle, 61, "e_dey_znach_i_faza_b"},
    {"e_dey_znach_i_faza_b", "page_u_i_3", F::CurrentValue, 62, "e_otcl_i_faza_b"},
    {"e_otcl_i_faza_b", "page_u_i_3", F::CurrentDeviation, 63, "e_ugol_i_faza_b"},
    {"e_ugol_i_faza_b", "page_u_i_3", F::CurrentAngle, 64, "e_dey_znach_i_faza_c"},
    {"e_dey_znach_i_faza_c", "page_u_i_3", F::CurrentValue, 65, "e_otcl_i_faza_c"},
    {"e_otcl_i_faza_c", "page_u_i_3", F::CurrentDeviation, 66, "e_ugol_i_faza_c"},
    {"e_ugol_i_faza_c", "page_u_i_3", F::CurrentAngle, 67, "e_dey_znach_i_faza_a"},
    {"e_three_power_rate_1", "page_u_i_3", F::Frequency, -1, "cb_voltage_three_faza"},
    // dips: the phases in turn (the field in use of each, see below); count → duration → period → start phase
    {"e_proval_a", "page_in_out", F::CollapseDepth, 0, "e_proval_b"},
    {"e_proval_b", "page_in_out", F::CollapseDepth, 1, "e_proval_c"},
    {"e_proval_c", "page_in_out", F::CollapseDepth, 2, "e_proval_a"},
    {"e_perenapr_a", "page_in_out", F::CollapseCoefficient, 0, "e_proval_b"},
    {"e_perenapr_b", "page_in_out", F::CollapseCoefficient, 1, "e_proval_c"},
    {"e_perenapr_c", "page_in_out", F::CollapseCoefficient, 2, "e_proval_a"},
    {"Edit3", "page_in_out", F::CollapseCount, -1, "Edit4"},
    {"Edit4", "page_in_out", F::CollapseTime, 0, "Edit5"},
    {"Edit5", "page_in_out", F::CollapseTime, 1, "Edit6"},
    {"Edit6", "page_in_out", F::CollapseStartPhase, -1, "Edit3"},
    // fluctuations: frequency or changes → swing A → B → C → frequency
    {"EditKolebFreq", "page_vibr", F::KolebFrequency, -1, "EditKolebAmplA"},
    {"EditKolebNum", "page_vibr", F::KolebChanges, -1, "EditKolebAmplA"},
    {"EditKolebAmplA", "page_vibr", F::KolebSwing, 0, "EditKolebAmplB"},
    {"EditKolebAmplB", "page_vibr", F::KolebSwing, 1, "EditKolebAmplC"},
    {"EditKolebAmplC", "page_vibr", F::KolebSwing, 2, "EditKolebFreq"},
};

TEST_F(FieldTables, EveryEditableRowRoutesAndChainsAsThePageDoes) {
    std::set<std::string_view> listed;
    for (const TExpectedRow& e : kEditable) {
        SCOPED_TRACE(e.Name);
        listed.insert(e.Name);
        const edit::TFieldRow* row = FieldByName(e.Name);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->Page, e.Page);
        EXPECT_EQ(row->Family, e.Family);
        if (e.Tag >= 0) EXPECT_EQ(row->Tag, e.Tag);
        EXPECT_TRUE(edit::Editable(*row));
        EXPECT_EQ(edit::NextFocus(*row, s), e.Next);
    }
    // No other row of these pages takes entries: phase A's voltage angles and the results are read-only.
    for (const edit::TFieldRow& row : edit::FieldRows()) {
        const std::set<std::string_view> pages{"page_u",      "page_i",    "page_u_i",      "page_u_i_3",
                                               "page_in_out", "page_vibr", "page_IEEE_1459"};
        if (pages.count(row.Page) && !listed.count(row.Name)) EXPECT_FALSE(edit::Editable(row)) << row.Name;
    }
    // A result stores nothing: no tag, no field after it.
    for (const edit::TFieldRow& row : edit::FieldRows()) {
        if (edit::Editable(row)) continue;
        EXPECT_EQ(row.Tag, 0) << row.Name;
        EXPECT_TRUE(row.Next.empty()) << row.Name;
    }
    EXPECT_FALSE(edit::Editable(*FieldByName("e_ugol_u_a")));
    EXPECT_FALSE(edit::Editable(*FieldByName("e_ugol_u_faza_a")));
}

TEST_F(FieldTables, DipChainGoesToTheFieldInUseOfTheNextPhase) {
    // Phase B a swell, phase C a dip: from either field of A the focus goes to B's coefficient.
    edit::SetCollapseKind(s, 1, sig::ckSwell, 0);
    EXPECT_EQ(edit::NextFocus(*FieldByName("e_proval_a"), s), "e_perenapr_b");
    EXPECT_EQ(edit::NextFocus(*FieldByName("e_perenapr_a"), s), "e_perenapr_b");
    EXPECT_EQ(edit::NextFocus(*FieldByName("e_perenapr_b"), s), "e_proval_c");
    edit::SetCollapseKind(s, 0, sig::ckSwell, 0);
    EXPECT_EQ(edit::NextFocus(*FieldByName("e_proval_c"), s), "e_perenapr_a");
    EXPECT_EQ(edit::NextFocus(*FieldByName("Edit6"), s), "Edit3");
}

// A number just inside and one just outside each range, with the refusal.
struct TRange {
    const char* Field;
    const char* Inside;
    const char* Outside;
    const char* Message;
};

constexpr const char* kVoltageRange = "Выход за границы диапазона! Повторите ввод.";
constexpr const char* kCurrentRange = "Выход за границы диапазона! Повторите ввод!";
constexpr const char* kDepthRange = "Выход за границы диапазона (от 0 до 100% )! Повторите ввод!";
constexpr const char* kCoefficientRange = "Выход за границы диапазона (от 1 до 2 )! Повторите ввод!";
constexpr const char* kTimeRange = "Выход за границы диапазона (от 0 до 600 сек.) Повторите ввод!";
constexpr const char* kCountRange = "Выход за границы диапазона (от 0 до 32767 сек.) Повторите ввод!";
constexpr const char* kSwingRange = "Выход за границы диапазона (от 0.000 до 80.000%)! Повторите ввод!";

const TRange kRanges[] = {
    // values from 0, deviations down to -100 % (value 0)
    {"e_dey_znach_u_a", "0", "-0.001", kVoltageRange},
    {"e_dey_znach_u_b", "0", "-0.001", kVoltageRange},
    {"e_dey_znach_u_c", "0", "-0.001", kVoltageRange},
    {"e_otcl_u_a", "-100", "-100.001", kVoltageRange},
    {"e_otcl_u_b", "-100", "-100.001", kVoltageRange},
    {"e_otcl_u_c", "-100", "-100.001", kVoltageRange},
    {"e_dey_znach_u_faza_a", "0", "-0.001", kVoltageRange},
    {"e_otcl_u_faza_b", "-100", "-100.001", kVoltageRange},
    {"e_dey_znach_u_faza_c", "0", "-0.001", kVoltageRange},
    {"e_dey_znach_i_a", "0", "-0.001", kCurrentRange},
    {"e_dey_znach_i_b", "0", "-0.001", kCurrentRange},
    {"e_dey_znach_i_c", "0", "-0.001", kCurrentRange},
    {"e_otcl_i_a", "-100", "-100.001", kCurrentRange},
    {"e_otcl_i_b", "-100", "-100.001", kCurrentRange},
    {"e_otcl_i_c", "-100", "-100.001", kCurrentRange},
    {"e_dey_znach_i_faza_a", "0", "-0.001", kCurrentRange},
    {"e_otcl_i_faza_b", "-100", "-100.001", kCurrentRange},
    {"e_otcl_i_faza_c", "-100", "-100.001", kCurrentRange},
    {"e_dey_znach_u_one_faza", "0", "-0.001", "Выход за пределы диапазона! Повторите ввод!"},
    {"e_one_faza_u_otcl", "-100", "-100.001", "Выход за пределы диапазона! Повторите ввод!"},
    {"e_dey_znach_i_one_faza", "0", "-0.001", kCurrentRange},
    {"e_one_faza_i_otcl", "-100", "-100.001", kCurrentRange},
    // dips and swells: both ends of each range
    {"e_proval_a", "0", "-0.001", kDepthRange},
    {"e_proval_b", "100", "100.001", kDepthRange},
    {"e_proval_c", "100", "100.001", kDepthRange},
    {"e_perenapr_a", "1", "0.999", kCoefficientRange},
    {"e_perenapr_b", "2", "2.001", kCoefficientRange},
    {"e_perenapr_c", "2", "2.001", kCoefficientRange},
    {"Edit4", "600", "600.001", kTimeRange},
    {"Edit4", "0", "-0.001", kTimeRange},
    {"Edit5", "600", "600.001", kTimeRange},
    {"Edit5", "0", "-0.001", kTimeRange},
    {"Edit3", "32767", "32768", kCountRange},
    {"Edit3", "0", "-1", kCountRange},
    // fluctuation swings 0 ... 80 %
    {"EditKolebAmplA", "80", "80.001", kSwingRange},
    {"EditKolebAmplB", "0", "-0.001", kSwingRange},
    {"EditKolebAmplC", "80", "80.001", kSwingRange},
};

TEST_F(FieldTables, RangesAndTheirRefusals) {
    for (const TRange& r : kRanges) {
        SCOPED_TRACE(std::string(r.Field) + " " + r.Outside);
        const sig::TSignalSet before = s;
        EXPECT_EQ(Refusal(r.Field, r.Outside), r.Message);
        EXPECT_EQ(Shown(r.Field), edit::FieldText(*FieldByName(r.Field), before));
        EXPECT_EQ(Refusal(r.Field, r.Inside), "(accepted)");
        s = edit::DefaultSignal({0, {}, log});
        sig::CalcKolebParams(s.Voltage, s.Koleb, true, true, true, flicker);
    }
}

TEST_F(FieldTables, FluctuationFrequencyBoundsComeFromTheFlickerTable) {
    const double first = static_cast<double>(flicker.FirstFreq()), last = static_cast<double>(flicker.LastFreq());
    const std::string frequencyRange = "Выход за границы диапазона (от " + Fixed("%2.4f", first) + " до " +
                                       Fixed("%2.4f", last) + "Гц)! Повторите ввод!";
    const std::string changesRange = "Выход за границы диапазона (от " + Fixed("%2.4f", 120 * first) + " до " +
                                     Fixed("%2.4f", 120 * last) + " ! Повторите ввод!";
    EXPECT_EQ(Refusal("EditKolebFreq", Fixed("%.6f", last + 0.001)), frequencyRange);
    EXPECT_EQ(Refusal("EditKolebFreq", Fixed("%.6f", first - 0.00011)), frequencyRange);
    EXPECT_EQ(Refusal("EditKolebNum", Fixed("%.6f", 120 * last + 0.1)), changesRange);
    EXPECT_EQ(Refusal("EditKolebNum", Fixed("%.6f", 120 * first - 0.1)), changesRange);
    EXPECT_EQ(Refusal("EditKolebFreq", Fixed("%.6f", last)), "(accepted)");
    // Just short of the first row means the first row; changes per minute are twice the frequency a minute.
    EXPECT_EQ(Refusal("EditKolebFreq", Fixed("%.6f", first - 0.00009)), "(accepted)");
    EXPECT_NEAR(static_cast<double>(s.Koleb.Freq), first, 1e-12);
    EXPECT_EQ(Refusal("EditKolebNum", "120"), "(accepted)");
    EXPECT_NEAR(static_cast<double>(s.Koleb.Freq), 1.0, 1e-12);
}

TEST_F(FieldTables, EveryEditableFieldRefusesAnEntryThatIsNoNumber) {
    for (const TExpectedRow& e : kEditable) {
        SCOPED_TRACE(e.Name);
        EXPECT_EQ(Refusal(e.Name, "1,5x"), "Ошибка при вводе значения! Повторите ввод!");
    }
}

// What each field of the dips and fluctuations pages shows: its own phase's
// quantity, in its own format.
TEST_F(FieldTables, DipAndFluctuationFieldsShowTheirPhase) {
    for (int k = 0; k < 3; ++k) {
        s.Collapses.Faza[k].DepthPercent = 10 + k;
        s.Collapses.Faza[k].KPerU = 1.25L + k / 10.0L;
        s.Collapses.Faza[k].UResidual = 100 + k;
        s.Collapses.Faza[k].UPer = 200 + k;
        s.Koleb.Swing[k] = 20 + k;
    }
    for (int k = 0; k < 6; ++k) s.Koleb.Pst[k] = 1 + k / 8.0L;
    for (int l = 0; l < 3; ++l) s.Koleb.SwingLine[l] = 30 + l;
    s.Collapses.Duration = 1.5L;
    s.Collapses.Period = 2.25L;
    s.Collapses.Count = 7;
    s.Collapses.StartPhase = -45;
    s.Koleb.Period = 0.125L;
    s.Koleb.HalfPeriod = 0.0625L;
    const std::vector<std::pair<const char*, const char*>> shown{
        {"e_proval_a", "10.000"},
        {"e_proval_b", "11.000"},
        {"e_proval_c", "12.000"},
        {"e_perenapr_a", "1.250"},
        {"e_perenapr_b", "1.350"},
        {"e_perenapr_c", "1.450"},
        {"e_ost_u_a", "100.000"},
        {"e_ost_u_b", "101.000"},
        {"e_ost_u_c", "102.000"},
        {"e_max_u_a", "200.000"},
        {"e_max_u_b", "201.000"},
        {"e_max_u_c", "202.000"},
        {"Edit3", "7"},
        {"Edit4", "1.500"},
        {"Edit5", "2.250"},
        {"Edit6", "-45°"},
        {"EditKolebAmplA", "20.000"},
        {"EditKolebAmplB", "21.000"},
        {"EditKolebAmplC", "22.000"},
        {"EditKolebAmplAB", "30.000"},
        {"EditKolebAmplBC", "31.000"},
        {"EditKolebAmplCA", "32.000"},
        {"EditKolebPeriod", "0.125"},
        {"EditKolebHalfPeriod", "0.062"},
        {"EditPstA", "1.000"},
        {"EditPstB", "1.125"},
        {"EditPstC", "1.250"},
        {"EditPstAB", "1.375"},
        {"EditPstBC", "1.500"},
        {"EditPstCA", "1.625"},
    };
    for (const auto& [field, text] : shown) EXPECT_EQ(Shown(field), text) << field;
}

// Values are shown "%2.3f", angles with "°", current values in the format of
// the nominal current ("%2.5f" at 1 A).
TEST_F(FieldTables, FormatsOfTheFundamentalAndPowerFields) {
    edit::Set_Naminal_I(s, 1, nullptr);
    const std::set<std::string_view> currentFormat{"e_dey_znach_i_a",
                                                   "e_dey_znach_i_b",
                                                   "e_dey_znach_i_c",
                                                   "e_dey_znach_i_one_faza",
                                                   "e_dey_znach_i_faza_a",
                                                   "e_dey_znach_i_faza_b",
                                                   "e_dey_znach_i_faza_c",
                                                   "e_rms_i_a",
                                                   "e_rms_i_b",
                                                   "e_rms_i_c"};
    const std::set<std::string_view> pages{"page_u", "page_i", "page_u_i", "page_u_i_3", "page_IEEE_1459"};
    for (const edit::TFieldRow& row : edit::FieldRows()) {
        if (!pages.count(row.Page) || row.Text) continue;
        SCOPED_TRACE(row.Name);
        const std::string text = edit::FieldText(row, s);
        const std::string_view name = row.Name;
        const bool angle = (name.find("ugol") != name.npos || name.find("phi") != name.npos || name == "e_angle");
        EXPECT_EQ(text.ends_with("°"), angle);
        const std::string number = angle ? text.substr(0, text.size() - std::string("°").size()) : text;
        const std::size_t point = number.find('.');
        ASSERT_NE(point, std::string::npos);
        const std::size_t decimals = number.size() - point - 1;
        if (currentFormat.count(name)) EXPECT_EQ(decimals, 5u);
        else if (name.starts_with("e_i") || name.starts_with("e_rms_i_n"))
            EXPECT_TRUE(decimals == 3u || decimals == 5u);
        else EXPECT_EQ(decimals, 3u);
    }
}

// The quantity drawn beside each value, as the window's paint boxes name it.
TEST(FieldSymbols, EveryValueCarriesItsQuantity) {
    const std::pair<const char*, const char*> symbols[] = {
        {"e_k0u", "K~0U~, %"},
        {"e_k2u", "K~2U~, %"},
        {"e_u1_faza", "U~1~, В"},
        {"e_u1_line", "U~1~, В"},
        {"e_ku_a", "K~Ua~"},
        {"e_ku_ab", "K~Uaв~"},
        {"e_ku_b", "K~Uв~"},
        {"e_ku_bc", "K~Uвc~"},
        {"e_ku_c", "K~Uc~"},
        {"e_ku_ca", "K~Uca~"},
        {"e_dey_znach_u_a", "U~A~"},
        {"e_dey_znach_u_b", "U~B~"},
        {"e_dey_znach_u_c", "U~C~"},
        {"e_dey_znach_u_ab", "U~AB~"},
        {"e_dey_znach_u_bc", "U~BC~"},
        {"e_dey_znach_u_ca", "U~CA~"},
        {"e_rate_otcl_u", "@Df"},
        {"e_u0_faza", "U~0~, В"},
        {"e_u0_line", "U~0~, В"},
        {"e_u2_faza", "U~2~, В"},
        {"e_u2_line", "U~2~, В"},
        {"e_rms_u_a", "U~а~"},
        {"e_rms_u_b", "U~в~"},
        {"e_rms_u_c", "U~с~"},
        {"e_rms_u_ab", "U~ав~"},
        {"e_rms_u_bc", "U~вс~"},
        {"e_rms_u_ca", "U~са~"},
        {"e_Se_4p_1459", "S~E~, ВА"},
        {"e_Se_3p_1459", "S~E~, ВА"},
        {"e_Ke_4p_1459", "K~E~"},
        {"e_Ke_3p_1459", "K~E~"},
        {"e_K1_1459", "K~1~"},
        {"e_Dia_1459", "D~I~, вар"},
        {"e_Dib_1459", "D~I~, вар"},
        {"e_Dic_1459", "D~I~, вар"},
        {"e_Dua_1459", "D~U~, вар"},
        {"e_Dub_1459", "D~U~, вар"},
        {"e_Duc_1459", "D~U~, вар"},
        {"e_Sha_1459", "S~H~, ВА"},
        {"e_Shb_1459", "S~H~, ВА"},
        {"e_Shc_1459", "S~H~, ВА"},
        {"e_Sna_1459", "S~N~, ВА"},
        {"e_Snb_1459", "S~N~, ВА"},
        {"e_Snc_1459", "S~N~, ВА"},
        {"e_Pha_1459", "P~H~, Вт"},
        {"e_Phb_1459", "P~H~, Вт"},
        {"e_Phc_1459", "P~H~, Вт"},
        {"e_Dha_1459", "D~H~, вар"},
        {"e_Dhb_1459", "D~H~, вар"},
        {"e_Dhc_1459", "D~H~, вар"},
        {"e_Dei_4p_1459", "D~EI~, вар"},
        {"e_Dei_3p_1459", "D~EI~, вар"},
        {"e_Deu_4p_1459", "D~EU~, вар"},
        {"e_Deu_3p_1459", "D~EU~, вар"},
        {"e_Seh_4p_1459", "S~EH~, ВА"},
        {"e_Seh_3p_1459", "S~EH~, ВА"},
        {"e_Sen_4p_1459", "S~EN~, ВА"},
        {"e_Sen_3p_1459", "S~EN~, ВА"},
        {"e_Ph_1459", "P~H~, Вт"},
        {"e_Deh_4p_1459", "D~EH~, вар"},
        {"e_Deh_3p_1459", "D~EH~, вар"},
        {"e_HP_4p_1459", "HP, %"},
        {"e_HP_3p_1459", "HP, %"},
        {"e_LU_4p_1459", "LU, %"},
        {"e_LU_3p_1459", "LU, %"},
        {"e_i0", "I~0~, А"},
        {"e_k0i", "K~0I~, %"},
        {"e_k2i", "K~2I~, %"},
        {"e_ki_a", "K~Ia~"},
        {"e_ki_b", "K~Ib~"},
        {"e_ki_c", "K~Iс~"},
        {"e_phi_ui0", "@fUI~0~"},
        {"e_dey_znach_i_a", "I~A~"},
        {"e_dey_znach_i_b", "I~B~"},
        {"e_dey_znach_i_c", "I~C~"},
        {"e_Rate_Otcl_I", "@Df"},
        {"e_i1", "I~1~, А"},
        {"e_i2", "I~2~, А"},
        {"e_rms_i_n", "I~N~, A"},
        {"e_rms_i_a", "I~a~, A"},
        {"e_rms_i_b", "I~b~, A"},
        {"e_rms_i_c", "I~с~, A"},
        {"e_phi_ui1", "@fUI~1~"},
        {"e_phi_ui2", "@fUI~2~"},
        {"e_p1_one", "P~1~, Вт"},
        {"e_p2_one", "P~2~, Вт"},
        {"e_p0_one", "P~0~, Вт"},
        {"e_q1_one", "Q~1~, вар"},
        {"e_q2_one", "Q~2~, вар"},
        {"e_q0_one", "Q~0~, вар"},
        {"e_s1_one", "S~1~, ВА"},
        {"e_s2_one", "S~2~, ВА"},
        {"e_s0_one", "S~0~, ВА"},
        {"e_p1_three", "P~1~, Вт"},
        {"e_p2_three", "P~2~, Вт"},
        {"e_p0_three", "P~0~, Вт"},
        {"e_q1_three", "Q~1~, вар"},
        {"e_q2_three", "Q~2~, вар"},
        {"e_q0_three", "Q~0~, вар"},
        {"e_s1_three", "S~1~, ВА"},
        {"e_s2_three", "S~2~, ВА"},
        {"e_s0_three", "S~0~, ВА"},
    };
    for (const auto& [field, symbol] : symbols) EXPECT_EQ(FieldByName(field)->Symbol, symbol) << field;
}

}  // namespace
