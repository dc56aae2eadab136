#include "editor/SignalFields.h"
#include "editor/EntryMessages.h"

#include "editor/FieldGroups.h"
#include "editor/NumberEntry.h"
#include "editor/PowerPages.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "CommonUtils/Format.h"
#include "CommonUtils/Numbers.h"
#include "CommonUtils/TalvoError.h"
#include "signal/Calculations.h"
#include "signal/Helpers.h"
#include "signal/Nominals.h"

namespace edit {
namespace {

using sig::TSignalSet;
using F = FieldFamily;
constexpr std::string_view kU = "page_u";
constexpr std::string_view kI = "page_i";
constexpr std::string_view kOne = "page_u_i";
constexpr std::string_view k3 = "page_u_i_3";
constexpr std::string_view kDegree = "°";

constexpr std::string_view kOneVoltageRange = "Выход за пределы диапазона! Повторите ввод!";

// The phase a tag stores: values 1 ... 3, deviations 4 ... 6 and angles 8, 9
// of the voltage page; 20 ... 28 of the current page (values, deviations,
// angles); 50 ... 58 of the voltages and 59 ... 67 of the currents of the
// three-phase page, value, deviation and angle for each phase in turn.
int PhaseOfTag(int tag) {
    if (tag >= 59) return (tag - 59) / 3;
    if (tag >= 50) return (tag - 50) / 3;
    if (tag >= 26) return tag - 26;
    if (tag >= 20) return (tag - 20) % 3;
    if (tag >= 7) return tag - 7;
    return (tag - 1) % 3;
}

TEntryOutcome Refused(std::string_view message) { return {false, std::string(message), {}}; }

struct TValueDelta {
    sig::real Value;
    sig::real Delta;
};

// A value and its deviation from the nominal (%) agree both ways.
TValueDelta Agree(bool fromValue, sig::real x, sig::real nominal) {
    if (fromValue) return {x, -(100 - x / (nominal / 100))};
    return {x * (nominal / 100) + nominal, x};
}

// The three-phase page shows voltages, currents and powers together.
TEntryOutcome ThreePhaseChanged(const TEntryContext& c) {
    TSignalSet& s = c.Signal;
    sig::CalcVoltageParams(s.Voltage, s.Switches, c.Display);
    sig::CalcCurrentParams(s.Current, s.Voltage, s.Switches, c.Display);
    CalcPowers(s, c.FullPowersShown, c.Display);
    return {true, std::nullopt, k3};
}

TEntryOutcome VoltageChanged(const TEntryContext& c) {
    if (c.ShownPage == k3) return ThreePhaseChanged(c);
    sig::CalcVoltageParams(c.Signal.Voltage, c.Signal.Switches, c.Display);
    return {true, std::nullopt, c.ShownPage == kU ? kU : std::string_view{}};
}

TEntryOutcome TakeVoltage(const TFieldRow& row, sig::real x, const TEntryContext& c) {
    sig::TSignalParamsU& v = c.Signal.Voltage;
    const int phase = PhaseOfTag(row.Tag);
    const auto [value, delta] = Agree(row.Family == F::VoltageValue, x, v.NominalFaza);
    if (value < 0) return Refused(kVoltageRangeError);
    sig::U(v, phase) = value;
    sig::DeltaU(v, phase) = delta;
    return VoltageChanged(c);
}

TEntryOutcome CurrentChanged(const TEntryContext& c) {
    if (c.ShownPage == k3) return ThreePhaseChanged(c);
    sig::CalcCurrentParams(c.Signal.Current, c.Signal.Voltage, c.Signal.Switches, c.Display);
    return {true, std::nullopt, c.ShownPage == kI ? kI : std::string_view{}};
}

// Deviations of a current are taken against 5 A or 1 A by its nominal.
TEntryOutcome TakeCurrent(const TFieldRow& row, sig::real x, const TEntryContext& c) {
    sig::TSignalParamsI& i = c.Signal.Current;
    const int phase = PhaseOfTag(row.Tag);
    const auto [value, delta] = Agree(row.Family == F::CurrentValue, x, sig::ReferenceCurrent(i.Nominal));
    if (value < 0) return Refused(kRangeError);
    sig::I(i, phase) = value;
    sig::DeltaI(i, phase) = delta;
    return CurrentChanged(c);
}

TEntryOutcome TakeFrequency(const TFieldRow& row, sig::real x, const TEntryContext& c) {
    sig::TSignalParamsU& v = c.Signal.Voltage;
    const sig::real requested = row.Family == F::FrequencyDeviation ? v.FreqNominal + x : x;
    if (!sig::SetSignalFrequency(requested, c.Kf, c.Signal.Grid, c.Bounds, true, false, c.Log, v)) return {};
    return {true, std::nullopt, c.ShownPage == row.Page ? row.Page : std::string_view{}};
}

// The single-phase page stores into the phase chosen there and recomputes
// only that phase's fundamental powers.
TEntryOutcome TakeSinglePhase(const TFieldRow& row, sig::real x, const TEntryContext& c) {
    TSignalSet& s = c.Signal;
    const int phase = c.OnePhase;
    switch (row.Tag) {
        case kOneVoltageValue:
        case kOneVoltageDeviation: {
            const auto [value, delta] = Agree(row.Tag == kOneVoltageValue, x, s.Voltage.NominalFaza);
            if (value < 0) return Refused(kOneVoltageRange);
            sig::U(s.Voltage, phase) = value;
            sig::DeltaU(s.Voltage, phase) = delta;
            break;
        }
        case kOneCurrentValue:
        case kOneCurrentDeviation: {
            const auto [value, delta] = Agree(row.Tag == kOneCurrentValue, x, sig::ReferenceCurrent(s.Current.Nominal));
            if (value < 0) return Refused(kRangeError);
            sig::I(s.Current, phase) = value;
            sig::DeltaI(s.Current, phase) = delta;
            break;
        }
        default: sig::PhiUI(s.Current, phase) = sig::NormalizeAngle(x);
    }
    sig::CalcPhaseFundamentalPowers(s.Voltage, s.Current, s.Switches, phase, s.FundamentalPowers);
    return {true, std::nullopt, kOne};
}

}  // namespace

std::span<const TFieldRow> FieldRows() {
    static const std::vector<TFieldRow> rows = [] {
        std::vector<TFieldRow> all;
        for (const std::span<const TFieldRow> group : {groups::Fundamentals(), groups::Powers(), groups::Collapses(),
                                                       groups::Fluctuations(), groups::Converter()})
            all.insert(all.end(), group.begin(), group.end());
        return all;
    }();
    return rows;
}

const TFieldRow* FieldByName(std::string_view name) {
    const std::span<const TFieldRow> rows = FieldRows();
    const auto it = std::find_if(rows.begin(), rows.end(), [name](const TFieldRow& r) { return r.Name == name; });
    return it == rows.end() ? nullptr : &*it;
}

bool LockedByConverterAuto(const TFieldRow& row) {
    return row.Page == kI && (row.Family == F::CurrentValue || row.Family == F::CurrentDeviation);
}

bool Editable(const TFieldRow& row) { return row.Family != F::Result; }

bool TakenOnEnter(const TFieldRow& row) {
    return row.Family == F::ConverterHarmonicKoef || row.Family == F::ConverterHarmonicAngle;
}

std::string_view GetCurrentFmtStrByNominal(sig::real nominal) {
    return static_cast<int>(std::trunc(nominal)) == 1 ? "%2.5f" : "%2.4f";
}

std::string FieldText(const TFieldRow& row, const sig::TSignalSet& s, int phase) {
    if (row.Text) return row.Text(s);
    const std::string_view format = row.Format.empty() ? GetCurrentFmtStrByNominal(s.Current.Nominal) : row.Format;
    std::string text = cmn::Format(format, row.PhaseValue ? row.PhaseValue(s, phase) : row.Value(s));
    if (row.Angle) text += kDegree;
    return text;
}

std::string EditingText(const TFieldRow& row, std::string_view shown) {
    if (row.Angle && shown.ends_with(kDegree)) shown.remove_suffix(kDegree.size());
    return std::string(shown);
}

TEntryOutcome TakeOver(const TFieldRow& row, std::string_view text, const TEntryContext& context) {
    const std::optional<sig::real> x = ParseEntry(text, row.Angle);
    if (!x) return Refused(kParseError);
    switch (row.Family) {
        case F::VoltageValue:
        case F::VoltageDeviation: return TakeVoltage(row, *x, context);
        case F::VoltageAngle:
            sig::Shift(context.Signal.Voltage, PhaseOfTag(row.Tag)) = sig::NormalizeAngle(*x);
            return VoltageChanged(context);
        case F::CurrentValue:
        case F::CurrentDeviation: return TakeCurrent(row, *x, context);
        case F::CurrentAngle:
            sig::PhiUI(context.Signal.Current, PhaseOfTag(row.Tag)) = sig::NormalizeAngle(*x);
            return CurrentChanged(context);
        case F::SinglePhase: return TakeSinglePhase(row, *x, context);
        case F::Frequency:
        case F::FrequencyDeviation: return TakeFrequency(row, *x, context);
        case F::CollapseDepth:
        case F::CollapseCoefficient:
        case F::CollapseTime:
        case F::CollapseCount:
        case F::CollapseStartPhase: return groups::TakeCollapse(row, *x, context);
        case F::KolebFrequency:
        case F::KolebChanges:
        case F::KolebSwing: return groups::TakeKoleb(row, *x, context);
        // The converter page takes these over with its own state (TConverterPageRules).
        case F::ConverterOutput:
        case F::ConverterInput:
        case F::ConverterHarmonicKoef:
        case F::ConverterHarmonicAngle:
        case F::Result: break;
    }
    throw cmn::TalvoError("Значение только для чтения!");
}

}  // namespace edit
