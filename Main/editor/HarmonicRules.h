#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "signal/Display.h"
#include "signal/SignalSet.h"

// The harmonic and interharmonic editors of the signal window without
// widgets: the list rows, what an Enter in a coefficient or angle field
// accepts, stores and recomputes, the harmonic number check, the buttons
// that set every harmonic equal and the copy and zero menus.
namespace edit {

constexpr int kFirstHarmonic = 2;
constexpr int kLastHarmonic = 50;
constexpr int kFirstInter = 1;
constexpr int kLastInter = 49;

// ---------------------------------------------------------------- list rows

// n, coefficient and angle lined up under the list header.
std::string HarmonicListRow(int n, sig::real koef, sig::real angle);
// The rows of n = 2 ... 50 of one phase or line block.
std::vector<std::string> MadeList(const sig::TGarmonikFaza& block);
// m, coefficient and angle of one interharmonic.
std::string InterListRow(int m, sig::real koef, sig::real angle);
// The rows of m = 1 ... 49.
std::vector<std::string> MadeList_InterGarm(const sig::TInterGarmonik& inter);

// The per-harmonic power table of one phase of the single-phase page with
// the series of its chart; every array is indexed by the order n (0 and 1 stay 0).
struct TPowerTable {
    std::vector<std::string> Rows;  // n = 2 ... 50
    sig::real SumP = 0, SumQ = 0, SumS = 0;
    std::array<sig::real, sig::kHarmonics + 1> Ku{}, Ki{}, Kp{}, Kq{}, Ks{};
};
// Computes the per-harmonic powers of `phase` (0 ... 2) into the fundamental
// power record from the stored values, switched on or not, and builds the
// table. The sums include the phase's fundamental powers as last computed.
TPowerTable MadeList_Power(sig::TSignalSet& s, int phase);

// ---------------------------------------------------------------- editors

enum class HarmEditor {
    Voltage,         // page_u: ComboBox1, SpinEdit1, Edit15, Edit16, ListBox1
    Current,         // page_i: ComboBox5, SpinEdit2, Edit32, Edit33, ListBox4
    OnePhaseU,       // single phase, voltage fields
    OnePhaseI,       // single phase, current fields
    InterVoltage,    // page_intergarm, phase voltages
    InterCurrent,    // page_intergarm, phase currents
    ConverterHarm,   // page_iu: ComboBox4, SpinEdit5, Edit30, Edit31, ListBox6
    ConverterInter,  // page_iu: ComboBox3, SpinEdit6, Edit30, Edit31, ListBox7
};

bool IsInter(HarmEditor editor);
bool IsCurrent(HarmEditor editor);
// The largest coefficient the editor's Enter accepts, %.
int CoefLimit(HarmEditor editor);

struct THarmEntry {
    bool Accepted = false;
    std::optional<std::string> Message;  // refused: shown ("Warning"), the focus stays
    std::string Shown;                   // accepted: the field's new text
};

// Coefficient or angle Enter for harmonic (or interharmonic) `order` of
// `phase` (0 ... 2): parses, checks, stores and runs the editor's
// recalculation with `display` (the converter page runs its own
// calculation afterwards). Refused, nothing is stored.
THarmEntry EnterCoef(HarmEditor editor, sig::TSignalSet& s, int phase, int order, std::string_view text,
                     sig::ISignalDisplay* display);
THarmEntry EnterAngle(HarmEditor editor, sig::TSignalSet& s, int phase, int order, std::string_view text,
                      sig::ISignalDisplay* display);

// The order the editor goes to after an angle Enter: the next one, staying
// on the last; the single-phase editor wraps from 50 to 2, the converter
// page's interharmonic editor stays.
int NextOrder(HarmEditor editor, int order);

// The stored coefficient and angle of the editor's quantity as its fields show them.
std::string CoefText(HarmEditor editor, const sig::TSignalSet& s, int phase, int order);
std::string AngleText(HarmEditor editor, const sig::TSignalSet& s, int phase, int order);
// The list rows of the editor's quantity for `phase`.
std::vector<std::string> EditorRows(HarmEditor editor, const sig::TSignalSet& s, int phase);

// The harmonic number editors: the message for a number outside 2 ... max
// or a text that is no integer; nothing when the number is good.
std::optional<std::string> CheckHarmonicNumber(std::string_view text, int max = kLastHarmonic);
// The same for an interharmonic index 1 ... 49.
std::optional<std::string> CheckInterharmonicNumber(std::string_view text);
// The check of an editor's number editor: the harmonic editors and the
// converter's interharmonic editor refuse a number outside their range; the
// other interharmonic editors keep to 1 ... 49 by themselves.
std::optional<std::string> CheckOrder(HarmEditor editor, int order);

// ---------------------------------------------------------------- set all equal

enum class SetAllButton {
    GarmU,      // sb_write_all_garm_u
    UgolU,      // sb_write_all_ugol_u
    GarmI,      // sb_write_all_garm_i
    UgolI,      // sb_write_all_ugol_i
    InterKuf,   // SpBtnIntergarmCopyKuf
    InterFiUf,  // SpBtnIntergarmCopyFiuf
    InterKi,    // SpBtnIntergarmCopyKi
    InterFiUI,  // SpBtnIntergarmCopyFiUI
    // page_iu's SpeedButton34 and SpeedButton33 for harmonics and for interharmonics
    ConverterKoef,
    ConverterAngle,
    ConverterInterKoef,
    ConverterInterAngle,
};

struct TSetAllCheck {
    std::optional<std::string> Message;  // refused before the question
    std::string Question;                // asked ("Confirmation") when not refused
    sig::real Value = 0;
};
TSetAllCheck CheckSetAll(SetAllButton button, std::string_view text, int phase);
// Every harmonic 2 ... 50 (interharmonic 1 ... 49) of the phase gets the value;
// then the button's recalculation runs with `display` (the converter page's
// buttons leave it to the page).
void ApplySetAll(SetAllButton button, sig::TSignalSet& s, int phase, sig::real value, sig::ISignalDisplay* display);
bool IsAngleButton(SetAllButton button);
// A declined question of the converter page's coefficient button sends the
// focus on to the angle field; elsewhere the field is only refilled.
bool DeclineFocusesAngle(SetAllButton button);

// ---------------------------------------------------------------- copy and zero menus

enum class CopyMenu { Voltage, Current };  // pmVoltageGarm, pmCurrentGarm

struct TCopyItem {
    int Tag;
    std::string_view Group;  // the submenu holding the item, empty for the top level
    std::string_view Caption;
};
// The items of a menu in their order (the current menu has no 12 ... 14).
std::vector<TCopyItem> CopyMenuItems(CopyMenu menu);
// "Копировать параметры гармоник в..." or "... интергармоник в...".
std::string CopyMenuCaption(bool inter);
// Items copying onto the source phase of the same quantity are disabled.
bool CopyItemEnabled(CopyMenu menu, int tag, int sourcePhase);
// Zeroes or copies by the item's tag over n = 2 ... 50 or m = 1 ... 49, then
// runs the recalculation of the source quantity with `display`.
void ApplyCopyItem(CopyMenu menu, bool inter, int tag, int sourcePhase, sig::TSignalSet& s,
                   sig::ISignalDisplay* display);

// The latin letter of a phase, as the questions name it.
std::string_view PhaseLetter(int phase);

}  // namespace edit
