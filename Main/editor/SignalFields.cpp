#include "editor/SignalFields.h"

#include <algorithm>
#include <array>
#include <cmath>

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
constexpr std::string_view kCur = "";  // the current format
constexpr std::string_view k3 = "%2.3f";
constexpr std::string_view kDegree = "°";

constexpr std::string_view kParseError = "Ошибка при вводе значения! Повторите ввод!";
constexpr std::string_view kVoltageRange = "Выход за границы диапазона! Повторите ввод.";
constexpr std::string_view kCurrentRange = "Выход за границы диапазона! Повторите ввод!";

// clang-format off
const std::array kRows{
    // editable voltage fundamentals; the tags select phase A, B, C
    TFieldRow{"e_dey_znach_u_a", kU, F::VoltageValue, 1, k3, false, "e_dey_znach_u_b", "U~A~", [](const TSignalSet& s) { return s.Voltage.UA; }},
    TFieldRow{"e_dey_znach_u_b", kU, F::VoltageValue, 2, k3, false, "e_dey_znach_u_c", "U~B~", [](const TSignalSet& s) { return s.Voltage.UB; }},
    TFieldRow{"e_dey_znach_u_c", kU, F::VoltageValue, 3, k3, false, "e_otcl_u_a", "U~C~", [](const TSignalSet& s) { return s.Voltage.UC; }},
    TFieldRow{"e_otcl_u_a", kU, F::VoltageDeviation, 4, k3, false, "e_otcl_u_b", "", [](const TSignalSet& s) { return s.Voltage.DeltaUA; }},
    TFieldRow{"e_otcl_u_b", kU, F::VoltageDeviation, 5, k3, false, "e_otcl_u_c", "", [](const TSignalSet& s) { return s.Voltage.DeltaUB; }},
    TFieldRow{"e_otcl_u_c", kU, F::VoltageDeviation, 6, k3, false, "e_ugol_u_b", "", [](const TSignalSet& s) { return s.Voltage.DeltaUC; }},
    TFieldRow{"e_ugol_u_a", kU, F::Result, 0, k3, true, "", "", [](const TSignalSet& s) { return s.Voltage.ShiftA; }},
    TFieldRow{"e_ugol_u_b", kU, F::VoltageAngle, 8, k3, true, "e_ugol_u_c", "", [](const TSignalSet& s) { return s.Voltage.ShiftB; }},
    TFieldRow{"e_ugol_u_c", kU, F::VoltageAngle, 9, k3, true, "e_dey_znach_u_a", "", [](const TSignalSet& s) { return s.Voltage.ShiftC; }},
    TFieldRow{"e_rate_u", kU, F::Frequency, 0, k3, false, "e_rate_otcl_u", "", [](const TSignalSet& s) { return s.Voltage.Freq; }},
    TFieldRow{"e_rate_otcl_u", kU, F::FrequencyDeviation, 0, k3, false, "e_rate_u", "@Df", [](const TSignalSet& s) { return s.Voltage.FreqDelta; }},
    // line voltages
    TFieldRow{"e_dey_znach_u_ab", kU, F::Result, 0, k3, false, "", "U~AB~", [](const TSignalSet& s) { return s.Voltage.ULine[sig::lnAB]; }},
    TFieldRow{"e_dey_znach_u_bc", kU, F::Result, 0, k3, false, "", "U~BC~", [](const TSignalSet& s) { return s.Voltage.ULine[sig::lnBC]; }},
    TFieldRow{"e_dey_znach_u_ca", kU, F::Result, 0, k3, false, "", "U~CA~", [](const TSignalSet& s) { return s.Voltage.ULine[sig::lnCA]; }},
    TFieldRow{"e_otcl_u_ab", kU, F::Result, 0, k3, false, "", "", [](const TSignalSet& s) { return s.Voltage.DeltaULine[sig::lnAB]; }},
    TFieldRow{"e_otcl_u_bc", kU, F::Result, 0, k3, false, "", "", [](const TSignalSet& s) { return s.Voltage.DeltaULine[sig::lnBC]; }},
    TFieldRow{"e_otcl_u_ca", kU, F::Result, 0, k3, false, "", "", [](const TSignalSet& s) { return s.Voltage.DeltaULine[sig::lnCA]; }},
    TFieldRow{"e_ugol_u_ab", kU, F::Result, 0, k3, true, "", "", [](const TSignalSet& s) { return s.Voltage.LineAngle[sig::lnAB]; }},
    TFieldRow{"e_ugol_u_bc", kU, F::Result, 0, k3, true, "", "", [](const TSignalSet& s) { return s.Voltage.LineAngle[sig::lnBC]; }},
    TFieldRow{"e_ugol_u_ca", kU, F::Result, 0, k3, true, "", "", [](const TSignalSet& s) { return s.Voltage.LineAngle[sig::lnCA]; }},
    // angles between the phases and between the lines
    TFieldRow{"e_ugol_u_a_b", kU, F::Result, 0, k3, true, "", "@fU~A-B~", [](const TSignalSet& s) { return s.Voltage.FazaAngleDiff[sig::lnAB]; }},
    TFieldRow{"e_ugol_u_b_c", kU, F::Result, 0, k3, true, "", "@fU~B-C~", [](const TSignalSet& s) { return s.Voltage.FazaAngleDiff[sig::lnBC]; }},
    TFieldRow{"e_ugol_u_c_a", kU, F::Result, 0, k3, true, "", "@fU~C-A~", [](const TSignalSet& s) { return s.Voltage.FazaAngleDiff[sig::lnCA]; }},
    TFieldRow{"e_ugol_u_ab_bc", kU, F::Result, 0, k3, true, "", "@fU~AB-BC~", [](const TSignalSet& s) { return s.Voltage.LineAngleDiff[sig::lnAB]; }},
    TFieldRow{"e_ugol_u_bc_ca", kU, F::Result, 0, k3, true, "", "@fU~BC-CA~", [](const TSignalSet& s) { return s.Voltage.LineAngleDiff[sig::lnBC]; }},
    TFieldRow{"e_ugol_u_ca_ab", kU, F::Result, 0, k3, true, "", "@fU~CA-AB~", [](const TSignalSet& s) { return s.Voltage.LineAngleDiff[sig::lnCA]; }},
    // symmetrical components and unbalance
    TFieldRow{"e_u1_faza", kU, F::Result, 0, k3, false, "", "U~1~, В", [](const TSignalSet& s) { return s.Voltage.SymFaza.Pos.Magnitude; }},
    TFieldRow{"e_u2_faza", kU, F::Result, 0, k3, false, "", "U~2~, В", [](const TSignalSet& s) { return s.Voltage.SymFaza.Neg.Magnitude; }},
    TFieldRow{"e_u0_faza", kU, F::Result, 0, k3, false, "", "U~0~, В", [](const TSignalSet& s) { return s.Voltage.SymFaza.Zero.Magnitude; }},
    TFieldRow{"e_u1_line", kU, F::Result, 0, k3, false, "", "U~1~, В", [](const TSignalSet& s) { return s.Voltage.SymLine.Pos.Magnitude; }},
    TFieldRow{"e_u2_line", kU, F::Result, 0, k3, false, "", "U~2~, В", [](const TSignalSet& s) { return s.Voltage.SymLine.Neg.Magnitude; }},
    TFieldRow{"e_u0_line", kU, F::Result, 0, k3, false, "", "U~0~, В", [](const TSignalSet& s) { return s.Voltage.SymLine.Zero.Magnitude; }},
    TFieldRow{"e_k2u", kU, F::Result, 0, k3, false, "", "K~2U~, %", [](const TSignalSet& s) { return s.Voltage.KUNeg; }},
    TFieldRow{"e_k0u", kU, F::Result, 0, k3, false, "", "K~0U~, %", [](const TSignalSet& s) { return s.Voltage.KUZero; }},
    // distortion factors, %
    TFieldRow{"e_ku_a", kU, F::Result, 0, k3, false, "", "K~Ua~", [](const TSignalSet& s) { return s.Voltage.KU[sig::fzA]; }},
    TFieldRow{"e_ku_ab", kU, F::Result, 0, k3, false, "", "K~Uaв~", [](const TSignalSet& s) { return s.Voltage.KU[sig::fzAB]; }},
    TFieldRow{"e_ku_b", kU, F::Result, 0, k3, false, "", "K~Uв~", [](const TSignalSet& s) { return s.Voltage.KU[sig::fzB]; }},
    TFieldRow{"e_ku_bc", kU, F::Result, 0, k3, false, "", "K~Uвc~", [](const TSignalSet& s) { return s.Voltage.KU[sig::fzBC]; }},
    TFieldRow{"e_ku_c", kU, F::Result, 0, k3, false, "", "K~Uc~", [](const TSignalSet& s) { return s.Voltage.KU[sig::fzC]; }},
    TFieldRow{"e_ku_ca", kU, F::Result, 0, k3, false, "", "K~Uca~", [](const TSignalSet& s) { return s.Voltage.KU[sig::fzCA]; }},
    // RMS values of the whole signal
    TFieldRow{"e_rms_u_a", kU, F::Result, 0, k3, false, "", "U~а~", [](const TSignalSet& s) { return s.Voltage.URmsA; }},
    TFieldRow{"e_rms_u_b", kU, F::Result, 0, k3, false, "", "U~в~", [](const TSignalSet& s) { return s.Voltage.URmsB; }},
    TFieldRow{"e_rms_u_c", kU, F::Result, 0, k3, false, "", "U~с~", [](const TSignalSet& s) { return s.Voltage.URmsC; }},
    TFieldRow{"e_rms_u_ab", kU, F::Result, 0, k3, false, "", "U~ав~", [](const TSignalSet& s) { return s.Voltage.ULineRms[sig::lnAB]; }},
    TFieldRow{"e_rms_u_bc", kU, F::Result, 0, k3, false, "", "U~вс~", [](const TSignalSet& s) { return s.Voltage.ULineRms[sig::lnBC]; }},
    TFieldRow{"e_rms_u_ca", kU, F::Result, 0, k3, false, "", "U~са~", [](const TSignalSet& s) { return s.Voltage.ULineRms[sig::lnCA]; }},
    // editable current fundamentals; the tags select phase A, B, C
    TFieldRow{"e_dey_znach_i_a", kI, F::CurrentValue, 20, kCur, false, "e_dey_znach_i_b", "I~A~", [](const TSignalSet& s) { return s.Current.IA; }},
    TFieldRow{"e_dey_znach_i_b", kI, F::CurrentValue, 21, kCur, false, "e_dey_znach_i_c", "I~B~", [](const TSignalSet& s) { return s.Current.IB; }},
    TFieldRow{"e_dey_znach_i_c", kI, F::CurrentValue, 22, kCur, false, "e_otcl_i_a", "I~C~", [](const TSignalSet& s) { return s.Current.IC; }},
    TFieldRow{"e_otcl_i_a", kI, F::CurrentDeviation, 23, k3, false, "e_otcl_i_b", "", [](const TSignalSet& s) { return s.Current.DeltaIA; }},
    TFieldRow{"e_otcl_i_b", kI, F::CurrentDeviation, 24, k3, false, "e_otcl_i_c", "", [](const TSignalSet& s) { return s.Current.DeltaIB; }},
    TFieldRow{"e_otcl_i_c", kI, F::CurrentDeviation, 25, k3, false, "e_ugol_i_a", "", [](const TSignalSet& s) { return s.Current.DeltaIC; }},
    TFieldRow{"e_ugol_i_a", kI, F::CurrentAngle, 26, k3, true, "e_ugol_i_b", "", [](const TSignalSet& s) { return s.Current.PhiUIA; }},
    TFieldRow{"e_ugol_i_b", kI, F::CurrentAngle, 27, k3, true, "e_ugol_i_c", "", [](const TSignalSet& s) { return s.Current.PhiUIB; }},
    TFieldRow{"e_ugol_i_c", kI, F::CurrentAngle, 28, k3, true, "e_dey_znach_i_a", "", [](const TSignalSet& s) { return s.Current.PhiUIC; }},
    TFieldRow{"e_Rate_I", kI, F::Frequency, 0, k3, false, "e_Rate_Otcl_I", "", [](const TSignalSet& s) { return s.Voltage.Freq; }},
    TFieldRow{"e_Rate_Otcl_I", kI, F::FrequencyDeviation, 0, k3, false, "e_Rate_I", "@Df", [](const TSignalSet& s) { return s.Voltage.FreqDelta; }},
    // angles between the currents
    TFieldRow{"e_ugol_i_a_b", kI, F::Result, 0, k3, true, "", "@fI~A-B~", [](const TSignalSet& s) { return s.Current.IAngleDiff[sig::lnAB]; }},
    TFieldRow{"e_ugol_i_b_c", kI, F::Result, 0, k3, true, "", "@fI~B-C~", [](const TSignalSet& s) { return s.Current.IAngleDiff[sig::lnBC]; }},
    TFieldRow{"e_ugol_i_c_a", kI, F::Result, 0, k3, true, "", "@fI~C-A~", [](const TSignalSet& s) { return s.Current.IAngleDiff[sig::lnCA]; }},
    // symmetrical components with their angles, unbalance
    TFieldRow{"e_i1", kI, F::Result, 0, kCur, false, "", "I~1~, А", [](const TSignalSet& s) { return s.Current.I1; }},
    TFieldRow{"e_i2", kI, F::Result, 0, kCur, false, "", "I~2~, А", [](const TSignalSet& s) { return s.Current.I2; }},
    TFieldRow{"e_i0", kI, F::Result, 0, kCur, false, "", "I~0~, А", [](const TSignalSet& s) { return s.Current.I0; }},
    TFieldRow{"e_phi_ui1", kI, F::Result, 0, k3, true, "", "@fUI~1~", [](const TSignalSet& s) { return s.Current.PhiUI1; }},
    TFieldRow{"e_phi_ui2", kI, F::Result, 0, k3, true, "", "@fUI~2~", [](const TSignalSet& s) { return s.Current.PhiUI2; }},
    TFieldRow{"e_phi_ui0", kI, F::Result, 0, k3, true, "", "@fUI~0~", [](const TSignalSet& s) { return s.Current.PhiUI0; }},
    TFieldRow{"e_k2i", kI, F::Result, 0, k3, false, "", "K~2I~, %", [](const TSignalSet& s) { return s.Current.KINeg; }},
    TFieldRow{"e_k0i", kI, F::Result, 0, k3, false, "", "K~0I~, %", [](const TSignalSet& s) { return s.Current.KIZero; }},
    // distortion factors, %, and RMS values of the whole signal with the neutral
    TFieldRow{"e_ki_a", kI, F::Result, 0, k3, false, "", "K~Ia~", [](const TSignalSet& s) { return s.Current.KI[0]; }},
    TFieldRow{"e_ki_b", kI, F::Result, 0, k3, false, "", "K~Ib~", [](const TSignalSet& s) { return s.Current.KI[1]; }},
    TFieldRow{"e_ki_c", kI, F::Result, 0, k3, false, "", "K~Iс~", [](const TSignalSet& s) { return s.Current.KI[2]; }},
    TFieldRow{"e_rms_i_a", kI, F::Result, 0, kCur, false, "", "I~a~, A", [](const TSignalSet& s) { return s.Current.IRmsA; }},
    TFieldRow{"e_rms_i_b", kI, F::Result, 0, kCur, false, "", "I~b~, A", [](const TSignalSet& s) { return s.Current.IRmsB; }},
    TFieldRow{"e_rms_i_c", kI, F::Result, 0, kCur, false, "", "I~с~, A", [](const TSignalSet& s) { return s.Current.IRmsC; }},
    TFieldRow{"e_rms_i_n", kI, F::Result, 0, kCur, false, "", "I~N~, A", [](const TSignalSet& s) { return s.Current.INRms; }},
};
// clang-format on

// The angle fields accept a trailing degree sign; no other field does.
std::optional<sig::real> ParseField(const TFieldRow& row, std::string_view text) {
    if (row.Angle) {
        const auto end = text.find_last_not_of(' ');
        if (end != std::string_view::npos) text = text.substr(0, end + 1);
        if (text.ends_with(kDegree)) text.remove_suffix(kDegree.size());
    }
    // The calculations round through double: a number beyond its range
    // ("1e999") would come back as infinity.
    const std::optional<sig::real> x = cmn::ParseReal(text);
    if (x && !std::isfinite(static_cast<double>(*x))) return std::nullopt;
    return x;
}

// Values 1 ... 3 and deviations 4 ... 6 of the voltage, 20 ... 22 and
// 23 ... 25 of the current.
int PhaseOfTag(int tag) { return (tag < 20 ? tag - 1 : tag - 20) % 3; }

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

// What every accepted voltage fundamental runs on the voltage page.
TEntryOutcome VoltageChanged(const TEntryContext& c) {
    sig::CalcVoltageParams(c.Signal.Voltage, c.Signal.Switches, c.Display);
    return {true, std::nullopt, c.ShownPage == kU ? kU : std::string_view{}};
}

TEntryOutcome TakeVoltage(const TFieldRow& row, sig::real x, const TEntryContext& c) {
    sig::TSignalParamsU& v = c.Signal.Voltage;
    const int phase = PhaseOfTag(row.Tag);
    const auto [value, delta] = Agree(row.Family == F::VoltageValue, x, v.NominalFaza);
    if (value < 0) return Refused(kVoltageRange);
    sig::U(v, phase) = value;
    sig::DeltaU(v, phase) = delta;
    return VoltageChanged(c);
}

TEntryOutcome CurrentChanged(const TEntryContext& c) {
    sig::CalcCurrentParams(c.Signal.Current, c.Signal.Voltage, c.Signal.Switches, c.Display);
    return {true, std::nullopt, c.ShownPage == kI ? kI : std::string_view{}};
}

// Deviations of a current are taken against 5 A or 1 A by its nominal.
TEntryOutcome TakeCurrent(const TFieldRow& row, sig::real x, const TEntryContext& c) {
    sig::TSignalParamsI& i = c.Signal.Current;
    const int phase = PhaseOfTag(row.Tag);
    const auto [value, delta] = Agree(row.Family == F::CurrentValue, x, sig::ReferenceCurrent(i.Nominal));
    if (value < 0) return Refused(kCurrentRange);
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

}  // namespace

std::span<const TFieldRow> FieldRows() { return kRows; }

const TFieldRow* FieldByName(std::string_view name) {
    const auto it = std::find_if(kRows.begin(), kRows.end(), [name](const TFieldRow& r) { return r.Name == name; });
    return it == kRows.end() ? nullptr : &*it;
}

bool Editable(const TFieldRow& row) { return row.Family != F::Result; }

std::string_view GetCurrentFmtStrByNominal(sig::real nominal) {
    return static_cast<int>(std::trunc(nominal)) == 1 ? "%2.5f" : "%2.4f";
}

std::string FieldText(const TFieldRow& row, const sig::TSignalSet& s) {
    const std::string_view format = row.Format.empty() ? GetCurrentFmtStrByNominal(s.Current.Nominal) : row.Format;
    std::string text = cmn::Format(format, row.Value(s));
    if (row.Angle) text += kDegree;
    return text;
}

std::string EditingText(const TFieldRow& row, std::string_view shown) {
    if (row.Angle && shown.ends_with(kDegree)) shown.remove_suffix(kDegree.size());
    return std::string(shown);
}

TEntryOutcome TakeOver(const TFieldRow& row, std::string_view text, const TEntryContext& context) {
    const std::optional<sig::real> x = ParseField(row, text);
    if (!x) return Refused(kParseError);
    switch (row.Family) {
        case F::VoltageValue:
        case F::VoltageDeviation: return TakeVoltage(row, *x, context);
        case F::VoltageAngle:
            sig::Shift(context.Signal.Voltage, row.Tag - 7) = sig::NormalizeAngle(*x);
            return VoltageChanged(context);
        case F::CurrentValue:
        case F::CurrentDeviation: return TakeCurrent(row, *x, context);
        case F::CurrentAngle:
            sig::PhiUI(context.Signal.Current, row.Tag - 26) = sig::NormalizeAngle(*x);
            return CurrentChanged(context);
        case F::Frequency:
        case F::FrequencyDeviation: return TakeFrequency(row, *x, context);
        case F::Result: break;
    }
    throw cmn::TalvoError("Значение только для чтения!");
}

}  // namespace edit
