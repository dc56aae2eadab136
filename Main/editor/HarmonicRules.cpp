#include "editor/HarmonicRules.h"
#include "editor/EntryMessages.h"
#include "editor/NumberEntry.h"

#include <cmath>

#include "CommonUtils/Format.h"
#include "CommonUtils/Numbers.h"
#include "signal/Calculations.h"
#include "signal/Helpers.h"

namespace edit {
namespace {

using sig::real;
using sig::TSignalSet;

constexpr std::string_view kDegree = "°";
constexpr std::string_view kNotNumber = "Неверный формат числа!";
constexpr std::string_view kOnePhaseRange = "Выход за границы заданного диапазона! Повторите ввод!";
constexpr std::string_view kHarmRange = "Значение гармоники выходит за заданный диапазон (от 0 до %d%%)!";
constexpr std::string_view kInterRange = "Значение интергармоники выходит за заданный диапазон (от 0 до %d%%)!";
constexpr std::string_view kNumberRange = "Заданный номер гармоники превышает возможный диапазон (2..%d)";
constexpr std::string_view kInterNumberRange = "Заданный номер интергармоники превышает возможный диапазон (1..%d)";

std::string F3(real x) { return cmn::FormatFixed(x, 3, 2); }
std::string Degrees(real x) { return F3(x) + std::string(kDegree); }

// Characters, not bytes: the degree sign counts once.
int Length(std::string_view text) {
    int n = 0;
    for (const char c : text)
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++n;
    return n;
}

// The text followed by `base` - 2 * its length spaces (none below zero), and
// one more for a negative number when asked.
std::string Padded(std::string text, int base, bool extraWhenNegative = false) {
    int spaces = std::max(0, base - 2 * Length(text));
    if (extraWhenNegative && text.starts_with('-')) ++spaces;
    text.append(static_cast<std::size_t>(spaces), ' ');
    return text;
}

// The stored coefficient or angle of one order of a phase, of a set or a
// const set alike.
template <class Set>
auto& Slot(Set& s, bool current, bool inter, bool angle, int phase, int order) {
    if (inter) {
        auto& block = current ? s.Current.InterGarm[phase] : s.Voltage.InterGarm[phase];
        return angle ? block.Angle[order] : block.Koef[order];
    }
    auto& block = (current ? s.Current.Garmonik : s.Voltage.Garmonik).Faza(phase);
    return angle ? block.Angle[order] : block.Koef[order];
}

real Stored(const TSignalSet& s, bool current, bool inter, bool angle, int phase, int order) {
    return Slot(s, current, inter, angle, phase, order);
}

// Harmonics pass through the store's single precision, as its setters do.
void Put(TSignalSet& s, bool current, bool inter, bool angle, int phase, int order, real value) {
    Slot(s, current, inter, angle, phase, order) = inter ? value : static_cast<real>(static_cast<float>(value));
}

int FirstOrder(bool inter) { return inter ? kFirstInter : kFirstHarmonic; }
int LastOrder(bool inter) { return inter ? kLastInter : kLastHarmonic; }

void CalcVoltage(TSignalSet& s, sig::ISignalDisplay* display) {
    sig::CalcVoltageParams(s.Voltage, s.Switches, display);
}
void CalcCurrent(TSignalSet& s, sig::ISignalDisplay* display) {
    sig::CalcCurrentParams(s.Current, s.Voltage, s.Switches, display);
}

}  // namespace

// ---------------------------------------------------------------- list rows

std::string HarmonicListRow(int n, real koef, real angle) {
    return Padded(std::to_string(n), 8) + Padded(F3(koef), 20) + Degrees(angle);
}

std::vector<std::string> MadeList(const sig::TGarmonikFaza& block) {
    std::vector<std::string> rows;
    for (int n = kFirstHarmonic; n <= kLastHarmonic; ++n)
        rows.push_back(HarmonicListRow(n, block.Koef[n], block.Angle[n]));
    return rows;
}

std::string InterListRow(int m, real koef, real angle) {
    return Padded(std::to_string(m), 10) + Padded(F3(koef), 20) + Degrees(angle);
}

std::vector<std::string> MadeList_InterGarm(const sig::TInterGarmonik& inter) {
    std::vector<std::string> rows;
    for (int m = kFirstInter; m <= kLastInter; ++m) rows.push_back(InterListRow(m, inter.Koef[m], inter.Angle[m]));
    return rows;
}

TPowerTable MadeList_Power(TSignalSet& s, int phase) {
    sig::TPowerParams& powers = s.FundamentalPowers;
    sig::CalcHarmonicPowers(s.Voltage, s.Current, powers);
    const sig::TGarmonikFaza& u = s.Voltage.Garmonik.Faza(phase);
    const sig::TGarmonikFaza& i = s.Current.Garmonik.Faza(phase);
    TPowerTable table;
    table.SumP = powers.P[phase];
    table.SumQ = powers.Q[phase];
    table.SumS = powers.S[phase];
    for (int n = kFirstHarmonic; n <= kLastHarmonic; ++n) {
        const real p = powers.PGarm[phase][n], q = powers.QGarm[phase][n], sn = powers.SGarm[phase][n];
        table.Rows.push_back(Padded(std::to_string(n), 7) + Padded(F3(u.Koef[n]), 19) +
                             Padded(Degrees(u.Angle[n]), 19, true) + Padded(F3(i.Koef[n]), 19) +
                             Padded(Degrees(i.Angle[n]), 17, true) + Padded(cmn::FormatFixed(p, 5, 2), 19, true) +
                             Padded(cmn::FormatFixed(q, 5, 2), 19, true) + cmn::FormatFixed(sn, 5, 2));
        table.Ku[n] = u.Koef[n];
        table.Ki[n] = i.Koef[n];
        table.SumP += p;
        table.SumQ += q;
        table.SumS += sn;
    }
    // A share of a zero sum is 0, not a division by zero.
    const auto share = [](real x, real sum) { return sum == 0 ? real{0} : x / sum * 100; };
    for (int n = kFirstHarmonic; n <= kLastHarmonic; ++n) {
        table.Kp[n] = share(powers.PGarm[phase][n], table.SumP);
        table.Kq[n] = share(powers.QGarm[phase][n], table.SumQ);
        table.Ks[n] = share(powers.SGarm[phase][n], table.SumS);
    }
    return table;
}

// ---------------------------------------------------------------- editors

bool IsInter(HarmEditor editor) {
    return editor == HarmEditor::InterVoltage || editor == HarmEditor::InterCurrent ||
           editor == HarmEditor::ConverterInter;
}

bool IsCurrent(HarmEditor editor) {
    return editor == HarmEditor::Current || editor == HarmEditor::OnePhaseI || editor == HarmEditor::InterCurrent ||
           editor == HarmEditor::ConverterHarm || editor == HarmEditor::ConverterInter;
}

int CoefLimit(HarmEditor editor) { return IsCurrent(editor) ? 100 : 80; }

namespace {

bool OnePhase(HarmEditor editor) { return editor == HarmEditor::OnePhaseU || editor == HarmEditor::OnePhaseI; }

std::string RangeMessage(HarmEditor editor) {
    if (OnePhase(editor)) return std::string(kOnePhaseRange);
    return cmn::Format(IsInter(editor) ? kInterRange : kHarmRange, CoefLimit(editor));
}

std::string_view CoefParseMessage(HarmEditor editor) { return OnePhase(editor) ? kParseError : kNotNumber; }
std::string_view AngleParseMessage(HarmEditor editor) {
    return IsInter(editor) && editor != HarmEditor::ConverterInter ? kNotNumber : kParseError;
}

}  // namespace

THarmEntry EnterCoef(HarmEditor editor, TSignalSet& s, int phase, int order, std::string_view text,
                     sig::ISignalDisplay* display) {
    const std::optional<real> x = ParseEntry(text, false);
    if (!x) return {false, std::string(CoefParseMessage(editor)), {}};
    if (*x < 0 || *x > CoefLimit(editor)) return {false, RangeMessage(editor), {}};
    Put(s, IsCurrent(editor), IsInter(editor), false, phase, order, *x);
    if (editor == HarmEditor::Voltage || editor == HarmEditor::InterVoltage) CalcVoltage(s, display);
    if (editor == HarmEditor::Current) CalcCurrent(s, display);
    return {true, {}, F3(*x)};
}

THarmEntry EnterAngle(HarmEditor editor, TSignalSet& s, int phase, int order, std::string_view text,
                      sig::ISignalDisplay* display) {
    const std::optional<real> x = ParseEntry(text, true);
    if (!x) return {false, std::string(AngleParseMessage(editor)), {}};
    const real angle = sig::NormalizeAngle(*x);
    Put(s, IsCurrent(editor), IsInter(editor), true, phase, order, angle);
    if (editor == HarmEditor::Voltage || editor == HarmEditor::InterVoltage) CalcVoltage(s, display);
    // The neutral current and the totals shown beside the current editor
    // depend on the harmonic angles: they follow at once, not on the next entry.
    if (editor == HarmEditor::Current) CalcCurrent(s, display);
    return {true, {}, Degrees(angle)};
}

int NextOrder(HarmEditor editor, int order) {
    if (OnePhase(editor)) return order >= kLastHarmonic ? kFirstHarmonic : order + 1;
    if (editor == HarmEditor::ConverterInter) return order;
    return std::min(order + 1, LastOrder(IsInter(editor)));
}

std::string CoefText(HarmEditor editor, const TSignalSet& s, int phase, int order) {
    return F3(Stored(s, IsCurrent(editor), IsInter(editor), false, phase, order));
}

std::string AngleText(HarmEditor editor, const TSignalSet& s, int phase, int order) {
    return Degrees(Stored(s, IsCurrent(editor), IsInter(editor), true, phase, order));
}

std::vector<std::string> EditorRows(HarmEditor editor, const TSignalSet& s, int phase) {
    if (IsInter(editor))
        return MadeList_InterGarm(IsCurrent(editor) ? s.Current.InterGarm[phase] : s.Voltage.InterGarm[phase]);
    return MadeList((IsCurrent(editor) ? s.Current.Garmonik : s.Voltage.Garmonik).Faza(phase));
}

std::optional<std::string> CheckHarmonicNumber(std::string_view text, int max) {
    const std::optional<std::int32_t> n = cmn::ParseInt(text);
    if (n && *n >= kFirstHarmonic && *n <= max) return std::nullopt;
    return cmn::Format(kNumberRange, max);
}

std::optional<std::string> CheckInterharmonicNumber(std::string_view text) {
    const std::optional<std::int32_t> m = cmn::ParseInt(text);
    if (m && *m >= 1 && *m <= sig::kInterHarmonics) return std::nullopt;
    return cmn::Format(kInterNumberRange, sig::kInterHarmonics);
}

std::optional<std::string> CheckOrder(HarmEditor editor, int order) {
    if (editor == HarmEditor::ConverterInter) return CheckInterharmonicNumber(std::to_string(order));
    if (IsInter(editor)) return std::nullopt;
    return CheckHarmonicNumber(std::to_string(order));
}

// ---------------------------------------------------------------- set all equal

namespace {

struct TButtonRow {
    SetAllButton Button;
    bool Current, Inter, Angle;
    int Limit;  // coefficients, %
    std::string_view ParseMessage;
    std::string_view RangeMessage;  // "%d" is the limit
    std::string_view Question;      // before the phase letter
    std::string_view Unit;          // after the value
};

// The signal pages' interharmonic buttons use the harmonic wording too.
// clang-format off
constexpr TButtonRow kButtons[]{
    {SetAllButton::GarmU, false, false, false, 20, kNotNumber, kHarmRange, "Задать модули всех гармоник фазы ", " %?"},
    {SetAllButton::UgolU, false, false, true, 0, kParseError, {}, "Задать фазовые углы всех гармоник фазы ", " градусов?"},
    {SetAllButton::GarmI, true, false, false, 80, kNotNumber, kHarmRange, "Задать модули всех гармоник фазы ", " %?"},
    {SetAllButton::UgolI, true, false, true, 0, kParseError, {}, "Задать фазовые углы всех гармоник фазы ", " градусов?"},
    {SetAllButton::InterKuf, false, true, false, 20, kNotNumber, kHarmRange, "Задать модули всех интергармоник фазы ", " %?"},
    {SetAllButton::InterFiUf, false, true, true, 0, kNotNumber, {}, "Задать фазовые углы всех интергармоник фазы ", " градусов?"},
    {SetAllButton::InterKi, true, true, false, 80, kNotNumber, kHarmRange, "Задать модули всех интергармоник фазы ", " %?"},
    {SetAllButton::InterFiUI, true, true, true, 0, kNotNumber, {}, "Задать углы фазового сдвига всех интергармоник фазы ", " градусов?"},
    {SetAllButton::ConverterKoef, true, false, false, 80, kNotNumber, kHarmRange, "Задать модули всех гармоник фазы ", " %?"},
    {SetAllButton::ConverterAngle, true, false, true, 0, kParseError, {}, "Задать фазовые углы всех гармоник фазы ", " градусов?"},
    {SetAllButton::ConverterInterKoef, true, true, false, 80, kNotNumber, kInterRange, "Задать модули всех интергармоник фазы ", " %?"},
    {SetAllButton::ConverterInterAngle, true, true, true, 0, kParseError, {}, "Задать фазовые углы всех интергармоник фазы ", " градусов?"},
};
// clang-format on

const TButtonRow& ButtonRow(SetAllButton button) {
    for (const TButtonRow& row : kButtons)
        if (row.Button == button) return row;
    return kButtons[0];
}

}  // namespace

bool IsAngleButton(SetAllButton button) { return ButtonRow(button).Angle; }

bool DeclineFocusesAngle(SetAllButton button) {
    return button == SetAllButton::ConverterKoef || button == SetAllButton::ConverterInterKoef;
}

TSetAllCheck CheckSetAll(SetAllButton button, std::string_view text, int phase) {
    const TButtonRow& row = ButtonRow(button);
    TSetAllCheck check;
    const std::optional<real> x = ParseEntry(text, row.Angle);
    if (!x) {
        check.Message = std::string(row.ParseMessage);
        return check;
    }
    if (!row.Angle && (*x < 0 || *x > row.Limit)) {
        check.Message = cmn::Format(row.RangeMessage, row.Limit);
        return check;
    }
    check.Value = row.Angle ? sig::NormalizeAngle(*x) : *x;
    check.Question = std::string(row.Question) + std::string(PhaseLetter(phase)) + " равными " + F3(check.Value) +
                     std::string(row.Unit);
    return check;
}

void ApplySetAll(SetAllButton button, TSignalSet& s, int phase, real value, sig::ISignalDisplay* display) {
    const TButtonRow& row = ButtonRow(button);
    for (int order = FirstOrder(row.Inter); order <= LastOrder(row.Inter); ++order)
        Put(s, row.Current, row.Inter, row.Angle, phase, order, value);
    if (!row.Current) CalcVoltage(s, display);
    // The angles too: the current page shows the neutral current they change.
    if (button == SetAllButton::GarmI || button == SetAllButton::UgolI) CalcCurrent(s, display);
}

// ---------------------------------------------------------------- copy and zero menus

namespace {

constexpr std::string_view kCopyGroup = "copy";  // captioned by CopyMenuCaption
constexpr std::string_view kZeroGroup = "Обнулить";
constexpr std::string_view kPhaseCaptions[3]{"Фаза A", "Фаза B", "Фаза C"};
constexpr std::string_view kCurrentCaptions[3]{"Ток фазы A", "Ток фазы B", "Ток фазы C"};
constexpr std::string_view kGroups[6]{kCopyGroup,
                                      "Копировать коэффициенты в...",
                                      "Копировать фазовые углы в...",
                                      "Копировать коэффициенты и углы в ток...",
                                      "Копировать коэффициенты в ток...",
                                      "Копировать фазовые углы в ток..."};

// Tags 3 ... 20 in groups of three: which parts go and to which quantity.
struct TCopyTarget {
    bool Koef, Angle, ToCurrent;
    int Phase;
};
TCopyTarget Target(CopyMenu menu, int tag) {
    const int group = (tag - 3) / 3;
    const bool koef = group % 3 != 2, angle = group % 3 != 1;
    return {koef, angle, group >= 3 || menu == CopyMenu::Current, (tag - 3) % 3};
}

}  // namespace

std::vector<TCopyItem> CopyMenuItems(CopyMenu menu) {
    std::vector<TCopyItem> items{{1, kZeroGroup, "Коэффициенты"},
                                 {2, kZeroGroup, menu == CopyMenu::Voltage ? "Фазовые углы" : "Углы"}};
    for (int tag = 3; tag <= 20; ++tag) {
        if (menu == CopyMenu::Current && tag >= 12 && tag <= 14) continue;
        const int group = (tag - 3) / 3;
        const std::string_view* captions = group >= 3 ? kCurrentCaptions : kPhaseCaptions;
        items.push_back({tag, kGroups[group], captions[(tag - 3) % 3]});
    }
    return items;
}

std::string CopyMenuCaption(bool inter) {
    return cmn::Format("Копировать параметры %s в...", inter ? "интергармоник" : "гармоник");
}

bool CopyItemEnabled(CopyMenu menu, int tag, int sourcePhase) {
    if (tag < 3) return true;
    const TCopyTarget target = Target(menu, tag);
    const bool sameQuantity = target.ToCurrent == (menu == CopyMenu::Current);
    return !(sameQuantity && target.Phase == sourcePhase);
}

void ApplyCopyItem(CopyMenu menu, bool inter, int tag, int sourcePhase, TSignalSet& s, sig::ISignalDisplay* display) {
    const bool current = menu == CopyMenu::Current;
    if (tag < 1 || tag > 20 || (current && tag >= 12 && tag <= 14)) return;
    for (int order = FirstOrder(inter); order <= LastOrder(inter); ++order) {
        if (tag <= 2) {
            Put(s, current, inter, tag == 2, sourcePhase, order, 0);
            continue;
        }
        const TCopyTarget t = Target(menu, tag);
        for (const bool angle : {false, true})
            if (angle ? t.Angle : t.Koef)
                Put(s, t.ToCurrent, inter, angle, t.Phase, order, Stored(s, current, inter, angle, sourcePhase, order));
    }
    if (!current) CalcVoltage(s, display);
    if (current && !inter) CalcCurrent(s, display);
}

std::string_view PhaseLetter(int phase) {
    constexpr std::string_view letters[3]{"A", "B", "C"};
    return letters[phase];
}

}  // namespace edit
