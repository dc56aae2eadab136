#include <array>
#include <cmath>
#include <span>
#include <string>

#include "CommonUtils/Format.h"
#include "CommonUtils/TalvoError.h"
#include "editor/DipsAndFluctuations.h"
#include "editor/FieldGroups.h"
#include "signal/Collapses.h"
#include "signal/Helpers.h"

namespace edit {
namespace {

using sig::TSignalSet;
using F = FieldFamily;
constexpr std::string_view kPage = "page_in_out";
constexpr std::string_view k3 = "%2.3f";

constexpr std::string_view kDepthRange = "Выход за границы диапазона (от 0 до 100% )! Повторите ввод!";
constexpr std::string_view kCoefficientRange = "Выход за границы диапазона (от 1 до 2 )! Повторите ввод!";
constexpr std::string_view kTimeRange = "Выход за границы диапазона (от 0 до 600 сек.) Повторите ввод!";
constexpr std::string_view kCountRange = "Выход за границы диапазона (от 0 до 32767 сек.) Повторите ввод!";

constexpr std::array<std::string_view, 3> kDepthFields{"e_proval_a", "e_proval_b", "e_proval_c"};
constexpr std::array<std::string_view, 3> kCoefficientFields{"e_perenapr_a", "e_perenapr_b", "e_perenapr_c"};

// The line event: what it is, its percent as the dips table shows it, and its voltage.
std::string LineKind(const TSignalSet& s, int line) {
    return s.Collapses.Line[line].Kind == sig::ckDip ? "Провал" : "Перенапряжение";
}
sig::real LineVoltage(const TSignalSet& s, int line) {
    const sig::TCollapseFazaParams& b = s.Collapses.Line[line];
    return b.Kind == sig::ckDip ? b.UResidual : b.UPer;
}

// clang-format off
const std::array kRows{
    // per phase: depth or coefficient as the kind says, and what follows from them
    TFieldRow{"e_proval_a", kPage, F::CollapseDepth, 0, k3, false, "e_proval_b", "@dU~п~", [](const TSignalSet& s) { return s.Collapses.Faza[0].DepthPercent; }},
    TFieldRow{"e_proval_b", kPage, F::CollapseDepth, 1, k3, false, "e_proval_c", "@dU~п~", [](const TSignalSet& s) { return s.Collapses.Faza[1].DepthPercent; }},
    TFieldRow{"e_proval_c", kPage, F::CollapseDepth, 2, k3, false, "e_proval_a", "@dU~п~", [](const TSignalSet& s) { return s.Collapses.Faza[2].DepthPercent; }},
    TFieldRow{"e_perenapr_a", kPage, F::CollapseCoefficient, 0, k3, false, "e_perenapr_b", "K~перU~", [](const TSignalSet& s) { return s.Collapses.Faza[0].KPerU; }},
    TFieldRow{"e_perenapr_b", kPage, F::CollapseCoefficient, 1, k3, false, "e_perenapr_c", "K~перU~", [](const TSignalSet& s) { return s.Collapses.Faza[1].KPerU; }},
    TFieldRow{"e_perenapr_c", kPage, F::CollapseCoefficient, 2, k3, false, "e_perenapr_a", "K~перU~", [](const TSignalSet& s) { return s.Collapses.Faza[2].KPerU; }},
    TFieldRow{"e_ost_u_a", kPage, F::Result, 0, k3, false, "", "U~o~", [](const TSignalSet& s) { return s.Collapses.Faza[0].UResidual; }},
    TFieldRow{"e_ost_u_b", kPage, F::Result, 0, k3, false, "", "U~o~", [](const TSignalSet& s) { return s.Collapses.Faza[1].UResidual; }},
    TFieldRow{"e_ost_u_c", kPage, F::Result, 0, k3, false, "", "U~o~", [](const TSignalSet& s) { return s.Collapses.Faza[2].UResidual; }},
    TFieldRow{"e_max_u_a", kPage, F::Result, 0, k3, false, "", "U~пер~", [](const TSignalSet& s) { return s.Collapses.Faza[0].UPer; }},
    TFieldRow{"e_max_u_b", kPage, F::Result, 0, k3, false, "", "U~пер~", [](const TSignalSet& s) { return s.Collapses.Faza[1].UPer; }},
    TFieldRow{"e_max_u_c", kPage, F::Result, 0, k3, false, "", "U~пер~", [](const TSignalSet& s) { return s.Collapses.Faza[2].UPer; }},
    // the events of the line voltages that follow from the phases
    TFieldRow{"e_collapse_kind_ab", kPage, F::Result, 0, k3, false, "", "U~AB~", nullptr, [](const TSignalSet& s) { return LineKind(s, sig::lnAB); }},
    TFieldRow{"e_collapse_kind_bc", kPage, F::Result, 0, k3, false, "", "U~BC~", nullptr, [](const TSignalSet& s) { return LineKind(s, sig::lnBC); }},
    TFieldRow{"e_collapse_kind_ca", kPage, F::Result, 0, k3, false, "", "U~CA~", nullptr, [](const TSignalSet& s) { return LineKind(s, sig::lnCA); }},
    TFieldRow{"e_collapse_percent_ab", kPage, F::Result, 0, k3, false, "", "%", [](const TSignalSet& s) { return s.Collapses.Line[sig::lnAB].ShownPercent; }},
    TFieldRow{"e_collapse_percent_bc", kPage, F::Result, 0, k3, false, "", "%", [](const TSignalSet& s) { return s.Collapses.Line[sig::lnBC].ShownPercent; }},
    TFieldRow{"e_collapse_percent_ca", kPage, F::Result, 0, k3, false, "", "%", [](const TSignalSet& s) { return s.Collapses.Line[sig::lnCA].ShownPercent; }},
    TFieldRow{"e_collapse_u_ab", kPage, F::Result, 0, k3, false, "", "U, В", [](const TSignalSet& s) { return LineVoltage(s, sig::lnAB); }},
    TFieldRow{"e_collapse_u_bc", kPage, F::Result, 0, k3, false, "", "U, В", [](const TSignalSet& s) { return LineVoltage(s, sig::lnBC); }},
    TFieldRow{"e_collapse_u_ca", kPage, F::Result, 0, k3, false, "", "U, В", [](const TSignalSet& s) { return LineVoltage(s, sig::lnCA); }},
    // the parameters common to the phases
    TFieldRow{"Edit3", kPage, F::CollapseCount, 0, k3, false, "Edit4", "Количество", nullptr, [](const TSignalSet& s) { return std::to_string(s.Collapses.Count); }},
    TFieldRow{"Edit4", kPage, F::CollapseTime, 0, k3, false, "Edit5", "Длительность, с", [](const TSignalSet& s) { return s.Collapses.Duration; }},
    TFieldRow{"Edit5", kPage, F::CollapseTime, 1, k3, false, "Edit6", "Период, с", [](const TSignalSet& s) { return s.Collapses.Period; }},
    TFieldRow{"Edit6", kPage, F::CollapseStartPhase, 0, k3, true, "Edit3", "Начальная фаза", nullptr, [](const TSignalSet& s) { return std::to_string(s.Collapses.StartPhase) + "°"; }},
};
// clang-format on

bool Within(sig::real x, sig::real low, sig::real high) { return x >= low && x <= high; }

TEntryOutcome Refused(std::string_view message) { return {false, std::string(message), {}}; }

// The entry is stored only when the events could be recomputed with it (a
// binding read from a file may be unknown).
TEntryOutcome Recomputed(sig::TCollapsesParams d, const TEntryContext& c) {
    const sig::TSignalSet& s = c.Signal;
    sig::CalcCollapsesParams(s.Voltage, d, s.Grid.SamplesPerPeriod, s.Grid.SampleRate, c.Kf, s.Switches);
    c.Signal.Collapses = d;
    return {true, std::nullopt, kPage};
}

int ListIndex(std::span<const TChoiceItem> items, std::uint8_t value, std::string_view error) {
    for (std::size_t i = 0; i < items.size(); ++i)
        if (items[i].Value == value) return static_cast<int>(i);
    throw cmn::TalvoError(cmn::Format(error, value));
}

}  // namespace

namespace groups {

std::span<const TFieldRow> Collapses() { return kRows; }

TEntryOutcome TakeCollapse(const TFieldRow& row, sig::real x, const TEntryContext& c) {
    sig::TCollapsesParams d = c.Signal.Collapses;
    switch (row.Family) {
        case F::CollapseDepth:
            if (!Within(x, 0, 100)) return Refused(kDepthRange);
            d.Faza[row.Tag].DepthPercent = x;
            return Recomputed(d, c);
        case F::CollapseCoefficient:
            if (!Within(x, 1, 2)) return Refused(kCoefficientRange);
            d.Faza[row.Tag].KPerU = x;
            return Recomputed(d, c);
        case F::CollapseTime:
            if (!Within(x, 0, 600)) return Refused(kTimeRange);
            (row.Tag == 0 ? d.Duration : d.Period) = x;
            return Recomputed(d, c);
        // The count and the start phase only go to the device; nothing follows from them.
        case F::CollapseCount:
            if (!Within(x, 0, 32767) || x != std::trunc(x)) return Refused(kCountRange);
            c.Signal.Collapses.Count = static_cast<std::int32_t>(x);
            return {true, std::nullopt, kPage};
        case F::CollapseStartPhase:
            // Whole degrees, rounded half to even.
            c.Signal.Collapses.StartPhase =
                static_cast<std::int32_t>(std::nearbyint(static_cast<double>(sig::NormalizeAngle(x))));
            return {true, std::nullopt, kPage};
        default: break;
    }
    throw cmn::TalvoError("Значение только для чтения!");
}

}  // namespace groups

int CollapseAlignIndex(std::uint8_t binding) {
    return ListIndex(kCollapseAlignItems, binding, "Неизвестный вид привязки провалов: %d");
}

int ReferenceVoltageIndex(std::uint8_t refKind) {
    return ListIndex(kReferenceVoltageItems, refKind, "Неизвестный вид опорного напряжения: %d");
}

void RecalcCollapses(sig::TSignalSet& s, sig::real kf) {
    sig::CalcCollapsesParams(s.Voltage, s.Collapses, s.Grid.SamplesPerPeriod, s.Grid.SampleRate, kf, s.Switches);
}

void SetCollapseKind(sig::TSignalSet& s, int phase, std::uint8_t kind, sig::real kf) {
    s.Collapses.Faza[phase].Kind = kind;
    RecalcCollapses(s, kf);
}

void SetCollapseAlign(sig::TSignalSet& s, int row, sig::real kf) {
    s.Collapses.Binding = kCollapseAlignItems.at(row).Value;
    RecalcCollapses(s, kf);
}

void SetReferenceVoltage(sig::TSignalSet& s, int row, sig::real kf) {
    s.Collapses.RefKind = kReferenceVoltageItems.at(row).Value;
    RecalcCollapses(s, kf);
}

bool DipFieldsInUse(const sig::TSignalSet& s, int phase) { return s.Collapses.Faza[phase].Kind == sig::ckDip; }

bool CollapseAlignWarningShown(const sig::TSignalSet& s) { return s.Collapses.Binding != sig::cbPeriod; }

std::string_view NextFocus(const TFieldRow& row, const sig::TSignalSet& s) {
    const TFieldRow* next = FieldByName(row.Next);
    if (!next || (next->Family != F::CollapseDepth && next->Family != F::CollapseCoefficient)) return row.Next;
    return DipFieldsInUse(s, next->Tag) ? kDepthFields[next->Tag] : kCoefficientFields[next->Tag];
}

}  // namespace edit
