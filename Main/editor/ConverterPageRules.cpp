#include "editor/ConverterPageRules.h"

#include "CommonUtils/Format.h"
#include "CommonUtils/Numbers.h"
#include "signal/Helpers.h"

namespace edit {
namespace {

using sig::real;
using sig::TSignalSet;
using F = FieldFamily;

constexpr int kFirstOutputTag = 20;
constexpr int kFirstInputTag = 73;

std::string Fixed(real v, int decimals) { return cmn::FormatFixed(v, decimals, 2); }
std::string Degrees(real v) { return Fixed(v, 3) + "°"; }

// The symmetrical components, the output totals and the unbalance are
// kept in mV and shown in the page's unit.
real Scale(const TConverterState& state) { return state.Volts ? 1000 : 1; }
int TotalDecimals(const TConverterState& state) { return state.Volts ? 4 : 3; }

const sig::TPolar& Sequence(const TSignalSet& s, int k) {
    const sig::TPolar* sequences[3]{&s.Converter.SymFaza.Pos, &s.Converter.SymFaza.Neg, &s.Converter.SymFaza.Zero};
    return *sequences[k];
}

using TextFn = std::string (*)(const TConverterState&, const TSignalSet&);
struct TTextRow {
    std::string_view Name;
    TextFn Text;
};

// clang-format off
const TTextRow kTexts[]{
    {"e_dey_znach_iu_a", [](const TConverterState& t, const TSignalSet& s) { return ConverterValueText(t, s.Converter.UA); }},
    {"e_dey_znach_iu_b", [](const TConverterState& t, const TSignalSet& s) { return ConverterValueText(t, s.Converter.UB); }},
    {"e_dey_znach_iu_c", [](const TConverterState& t, const TSignalSet& s) { return ConverterValueText(t, s.Converter.UC); }},
    {"e_ugol_under_iu_a", [](const TConverterState&, const TSignalSet& s) { return Degrees(s.Current.IAngleDiff[0]); }},
    {"e_ugol_under_iu_b", [](const TConverterState&, const TSignalSet& s) { return Degrees(s.Current.IAngleDiff[1]); }},
    {"e_ugol_under_iu_c", [](const TConverterState&, const TSignalSet& s) { return Degrees(s.Current.IAngleDiff[2]); }},
    {"nessim_iu_1", [](const TConverterState& t, const TSignalSet& s) { return Fixed(Sequence(s, 0).Magnitude / Scale(t), 4); }},
    {"nessim_iu_2", [](const TConverterState& t, const TSignalSet& s) { return Fixed(Sequence(s, 1).Magnitude / Scale(t), 4); }},
    {"nessim_iu_0", [](const TConverterState& t, const TSignalSet& s) { return Fixed(Sequence(s, 2).Magnitude / Scale(t), 4); }},
    {"nessim_iu_fui_1", [](const TConverterState&, const TSignalSet& s) { return Degrees(s.Current.PhiUI1); }},
    {"nessim_iu_fui_2", [](const TConverterState&, const TSignalSet& s) { return Degrees(s.Current.PhiUI2); }},
    {"nessim_iu_fui_0", [](const TConverterState&, const TSignalSet& s) { return Degrees(s.Current.PhiUI0); }},
    {"ui_u_a", [](const TConverterState& t, const TSignalSet& s) { return Fixed(s.Converter.URmsA / Scale(t), TotalDecimals(t)); }},
    {"ui_u_b", [](const TConverterState& t, const TSignalSet& s) { return Fixed(s.Converter.URmsB / Scale(t), TotalDecimals(t)); }},
    {"ui_u_c", [](const TConverterState& t, const TSignalSet& s) { return Fixed(s.Converter.URmsC / Scale(t), TotalDecimals(t)); }},
    {"ki_a", [](const TConverterState&, const TSignalSet& s) { return Fixed(s.Current.KI[0], 3); }},
    {"ki_b", [](const TConverterState&, const TSignalSet& s) { return Fixed(s.Current.KI[1], 3); }},
    {"ki_c", [](const TConverterState&, const TSignalSet& s) { return Fixed(s.Current.KI[2], 3); }},
    // the input totals in the current format of the nominal
    {"ui_i_a", [](const TConverterState&, const TSignalSet& s) { return cmn::Format(GetCurrentFmtStrByNominal(s.Current.Nominal), s.Current.IRmsA); }},
    {"ui_i_b", [](const TConverterState&, const TSignalSet& s) { return cmn::Format(GetCurrentFmtStrByNominal(s.Current.Nominal), s.Current.IRmsB); }},
    {"ui_i_c", [](const TConverterState&, const TSignalSet& s) { return cmn::Format(GetCurrentFmtStrByNominal(s.Current.Nominal), s.Current.IRmsC); }},
    // the range box shows the current range only; 1 A exactly is the small one
    {"cb_naminal_i_iu", [](const TConverterState&, const TSignalSet& s) { return std::string(s.Current.Nominal == 1 ? "1.0" : "5.0"); }},
};
// clang-format on

}  // namespace

bool TConverterPageRules::TakenByWindow(const TFieldRow& row) {
    return row.Family == F::CurrentAngle || row.Family == F::Frequency || row.Family == F::FrequencyDeviation;
}

// Output values are taken over in automatic mode with the automatic
// calculation, input currents in manual mode with the manual one.
TConverterOutcome TConverterPageRules::TakeEntry(const TFieldRow& row, std::string_view text,
                                                 sig::TSignalSet& s) const {
    const bool output = row.Family == F::ConverterOutput;
    const int phase = row.Tag - (output ? kFirstOutputTag : kFirstInputTag);
    const TConverterEntry entry =
        output ? TakeConverterOutput(state_, s, phase, text) : TakeConverterInput(state_, s, phase, text);
    TConverterOutcome out;
    if (!entry.Accepted) {
        out.Message = entry.Message;
        out.Refused = true;
    } else if (entry.Calculate) {
        out.Calculation = CalculationFor(output ? ConverterEvent::OutputTaken : ConverterEvent::InputTaken, state_);
    }
    return out;
}

TConverterOutcome TConverterPageRules::TakenByWindowRule(const TFieldRow& row, bool accepted) const {
    TConverterOutcome out;
    if (!accepted) return out;
    if (row.Family == F::CurrentAngle) out.Calculation = CalculationFor(ConverterEvent::AngleTaken, state_);
    else out.Redisplay = true;
    return out;
}

TConverterModeLook TConverterPageRules::ChooseMode(bool automatic) {
    state_.Automatic = automatic;
    return {automatic, OutputLocked(state_), InputLocked(state_)};
}

TConverterUnitLook TConverterPageRules::ChooseUnit(bool volts) {
    state_.Volts = volts;
    const std::string unit = volts ? "В" : "мВ";
    return {"Uвых., " + unit,
            "СКЗ. сигналов в каналах преобразователя, " + unit,
            {ConverterSymmetrySymbol(0, volts), ConverterSymmetrySymbol(1, volts), ConverterSymmetrySymbol(2, volts)}};
}

TConverterOutcome TConverterPageRules::ChooseGain(float kpga, float k1pga, float kina) {
    const auto index = sig::FindGainIndex(kpga, k1pga, kina);
    if (!index) return {};
    state_.ManualGainIndex = *index;
    TConverterOutcome out;
    out.Calculation = CalculationFor(ConverterEvent::GainBoxChanged, state_);
    out.GainTexts = out.Calculation == ConverterCalculation::None;
    return out;
}

THarmonicViewLook TConverterPageRules::ChooseHarmonicList(bool interharmonics) {
    state_.EditsInterharmonics = interharmonics;
    if (interharmonics) return {HarmEditor::ConverterInter, "K~ig(n)~", "@f~ig(n)~"};
    return {HarmEditor::ConverterHarm, "K~(n)~", "@f~(n)~"};
}

HarmEditor TConverterPageRules::HarmonicEditor() const {
    return state_.EditsInterharmonics ? HarmEditor::ConverterInter : HarmEditor::ConverterHarm;
}

SetAllButton TConverterPageRules::SetAllButtonFor(bool angle) const {
    if (state_.EditsInterharmonics) return angle ? SetAllButton::ConverterInterAngle : SetAllButton::ConverterInterKoef;
    return angle ? SetAllButton::ConverterAngle : SetAllButton::ConverterKoef;
}

TConverterOutcome TConverterPageRules::Event(ConverterEvent event) const {
    TConverterOutcome out;
    out.Calculation = CalculationFor(event, state_);
    return out;
}

// Setting all angles runs no calculation; the page is shown anew. A set-all
// moves the focus on even when its calculation fails, an Enter only when it
// did not.
THarmonicStore TConverterPageRules::HarmonicStored(bool angle, bool all) const {
    THarmonicStore store;
    store.ErrorKeepsFocus = !all;
    if (all && angle) store.Outcome.Redisplay = true;
    else store.Outcome = Event(ConverterEvent::HarmonicEdited);
    return store;
}

TConverterOutcome TConverterPageRules::Calculate(ConverterCalculation which, sig::TSignalSet& s,
                                                 sig::IConverterDisplay* display) {
    TConverterOutcome out;
    if (which == ConverterCalculation::None) return out;
    const bool automatic =
        which == ConverterCalculation::ByMode ? state_.Automatic : which == ConverterCalculation::Automatic;
    const std::uint8_t code = CalcConverter(state_, s, automatic, display);
    if (code == 0) return out;
    // A calculation that ran to its end has shown the page itself; one that stopped has not.
    out.Redisplay = true;
    out.Refused = true;
    if (auto text = AnalizeErrText(code); text && !text->empty()) out.Message = std::move(*text);
    return out;
}

TConverterOutcome TConverterPageRules::Connected(bool ok) const {
    TConverterOutcome out;
    if (!ok) {
        out.GainTexts = true;
        return out;
    }
    out.Calculation = CalculationFor(ConverterEvent::Connected, state_);
    out.Redisplay = true;
    return out;
}

TConverterOutcome TConverterPageRules::SendFinished(const TConverterSendResult& result, sig::TSignalSet& s) {
    state_.TakeDeviceData(result.State);
    TConverterOutcome out;
    if (result.Calculated) {
        state_.CalculatedGainIndex = result.State.CalculatedGainIndex;
        state_.ManualGainIndex = result.State.ManualGainIndex;
        s.Current = result.Current;
        s.Converter = result.Converter;
        // Also shows the gain written after the send: a written gain implies a calculation.
        out.CurrentsChanged = true;
        out.Redisplay = true;
    }
    if (result.Error != 0) {
        out.Refused = true;
        if (auto text = AnalizeErrText(result.Error); text && !text->empty()) out.Message = std::move(*text);
    }
    return out;
}

std::vector<TConverterText> TConverterPageRules::Texts(const sig::TSignalSet& s) const {
    std::vector<TConverterText> texts;
    for (const TTextRow& row : kTexts) texts.push_back({row.Name, row.Text(state_, s)});
    // The angle, input and frequency fields show what the field table gives them.
    for (const TFieldRow& row : FieldRows())
        if (row.Page == "page_iu" && row.Family != F::ConverterOutput && !TakenOnEnter(row))
            texts.push_back({row.Name, FieldText(row, s)});
    return texts;
}

}  // namespace edit
