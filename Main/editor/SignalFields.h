#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "CommonUtils/ProtocolLog.h"
#include "signal/Display.h"
#include "signal/Flicker.h"
#include "signal/Frequency.h"
#include "signal/SignalSet.h"

// The fields of the signal window's pages as one table: each row names a
// control, its page, the family whose rule takes its entries over, the tag
// that selects the stored value, the display format and the field Enter
// moves to. The window builds, names and routes its fields from this table.
namespace edit {

enum class FieldFamily {
    VoltageValue,
    VoltageDeviation,
    VoltageAngle,
    CurrentValue,
    CurrentDeviation,
    CurrentAngle,
    Frequency,
    FrequencyDeviation,
    SinglePhase,          // the phase chosen on the single-phase page; the tag selects the quantity
    CollapseDepth,        // tag: the phase
    CollapseCoefficient,  // tag: the phase
    CollapseTime,         // tag 0 the duration, 1 the period
    CollapseCount,
    CollapseStartPhase,
    KolebFrequency,
    KolebChanges,  // changes per minute
    KolebSwing,    // tag: the phase
    // The converter page's own fields; the page's rules take them over, with
    // the converter state: output voltages (tag 20 ... 22), input currents
    // (tag 73 ... 75), and the coefficient and angle of the harmonic view,
    // which serve the harmonic and the interharmonic list and are taken over on Enter.
    ConverterOutput,
    ConverterInput,
    ConverterHarmonicKoef,
    ConverterHarmonicAngle,
    Result,  // read-only, computed
};

// The tags of the single-phase page's fields.
enum SinglePhaseTag : int {
    kOneVoltageValue = 1,
    kOneVoltageDeviation,
    kOneCurrentValue,
    kOneCurrentDeviation,
    kOneAngle,
};

struct TFieldRow {
    std::string_view Name;
    std::string_view Page;
    FieldFamily Family;
    int Tag;                  // editable fields: the value they store; results: 0
    std::string_view Format;  // empty: the current format of the nominal
    bool Angle;               // shown with "°"
    std::string_view Next;    // focus successor on Enter; empty for results
    std::string_view Symbol;  // the quantity in indexed text, beside the field
    sig::real (*Value)(const sig::TSignalSet&);
    // A shown text that is not the value formatted; when set, Format and Value are not used.
    std::string (*Text)(const sig::TSignalSet&) = nullptr;
    // Rows of the single-phase page show the phase chosen there (0 = A).
    sig::real (*PhaseValue)(const sig::TSignalSet&, int phase) = nullptr;
};

std::span<const TFieldRow> FieldRows();
const TFieldRow* FieldByName(std::string_view name);
bool Editable(const TFieldRow& row);
// Fields taken over on Enter by their editor; leaving them discards the typing.
bool TakenOnEnter(const TFieldRow& row);

// "%2.5f" for the nominal current 1 A, "%2.4f" for 5 A.
std::string_view GetCurrentFmtStrByNominal(sig::real nominal);

// The text a field shows for the records as they are.
// `phase` is the phase of the single-phase page.
std::string FieldText(const TFieldRow& row, const sig::TSignalSet& s, int phase = 0);

// What an entry needs besides the records.
struct TEntryContext {
    sig::TSignalSet& Signal;
    sig::real Kf = 0;
    sig::TFrequencyBounds Bounds;
    cmn::IProtocolLog& Log;  // the frequency range refusal goes here
    sig::ISignalDisplay* Display = nullptr;
    std::string_view ShownPage;
    const sig::TKolebParamsHelpTable* Flicker = nullptr;  // the fluctuation bounds
    bool FullPowersShown = false;                         // the whole-signal power mode of the three-phase page
    int OnePhase = 0;                                     // the phase of the single-phase page, 0 = A
};

struct TEntryOutcome {
    bool Accepted = false;
    // A refusal to show ("Warning") before the focus returns to the field;
    // empty when the refusal was already reported (frequency range).
    std::optional<std::string> Message;
    // The page whose fields are redisplayed from the records; empty for none.
    std::string_view Redisplay;
};

// While the converter page is present in its automatic mode, the converter
// sets the current values: their fields on the current page refuse keys.
inline constexpr std::string_view kConverterAutoReadOnly =
    "Значение поля, доступно только для чтения!\r\n Т.к. установлен автоматический режим работы с преобразователем "
    "тока в напряжение.";
bool LockedByConverterAuto(const TFieldRow& row);

// Takes the text of an editable field over: parses, checks, stores and
// recomputes what the field's family says. Refused, nothing is stored.
TEntryOutcome TakeOver(const TFieldRow& row, std::string_view text, const TEntryContext& context);

// An angle field shows its text without the degree sign while it is edited.
std::string EditingText(const TFieldRow& row, std::string_view shown);

}  // namespace edit
