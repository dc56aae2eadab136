#include <array>

#include "editor/FieldGroups.h"

namespace edit::groups {
namespace {

using sig::TSignalSet;
using F = FieldFamily;
constexpr std::string_view kIU = "page_iu";
constexpr std::string_view k3 = "%2.3f";

// clang-format off
const std::array kRows{
    // output voltages of the channels, mV; the page shows them in its unit
    TFieldRow{"e_dey_znach_iu_a", kIU, F::ConverterOutput, 20, k3, false, "e_dey_znach_iu_b", "U~A~", [](const TSignalSet& s) { return s.Converter.UA; }},
    TFieldRow{"e_dey_znach_iu_b", kIU, F::ConverterOutput, 21, k3, false, "e_dey_znach_iu_c", "U~B~", [](const TSignalSet& s) { return s.Converter.UB; }},
    TFieldRow{"e_dey_znach_iu_c", kIU, F::ConverterOutput, 22, k3, false, "e_ugol_iu_a", "U~C~", [](const TSignalSet& s) { return s.Converter.UC; }},
    // the current angles, taken over as on the current page
    TFieldRow{"e_ugol_iu_a", kIU, F::CurrentAngle, 26, k3, true, "e_ugol_iu_b", "", [](const TSignalSet& s) { return s.Current.PhiUIA; }},
    TFieldRow{"e_ugol_iu_b", kIU, F::CurrentAngle, 27, k3, true, "e_ugol_iu_c", "", [](const TSignalSet& s) { return s.Current.PhiUIB; }},
    TFieldRow{"e_ugol_iu_c", kIU, F::CurrentAngle, 28, k3, true, "e_dey_znach_iu_a", "", [](const TSignalSet& s) { return s.Current.PhiUIC; }},
    // input currents of the channels; the chain goes on to the angles
    TFieldRow{"e_dey_znach_i_iu_a", kIU, F::ConverterInput, 73, k3, false, "e_dey_znach_i_iu_b", "I~A~", [](const TSignalSet& s) { return s.Current.IA; }},
    TFieldRow{"e_dey_znach_i_iu_b", kIU, F::ConverterInput, 74, k3, false, "e_dey_znach_i_iu_c", "I~B~", [](const TSignalSet& s) { return s.Current.IB; }},
    TFieldRow{"e_dey_znach_i_iu_c", kIU, F::ConverterInput, 75, k3, false, "e_ugol_iu_a", "I~C~", [](const TSignalSet& s) { return s.Current.IC; }},
    // the signal's frequency, taken over as on the voltage page
    TFieldRow{"e_Rate_IU", kIU, F::Frequency, 10, k3, false, "e_Otcl_Rate_IU", "", [](const TSignalSet& s) { return s.Voltage.Freq; }},
    TFieldRow{"e_Otcl_Rate_IU", kIU, F::FrequencyDeviation, 11, k3, false, "e_Rate_IU", "@Df", [](const TSignalSet& s) { return s.Voltage.FreqDelta; }},
    // the harmonic view's pair; until another order or phase is chosen they show harmonic 2 of phase A
    TFieldRow{"Edit30", kIU, F::ConverterHarmonicKoef, 0, k3, false, "Edit31", "K~(n)~", [](const TSignalSet& s) { return s.Current.Garmonik.a.Koef[2]; }},
    TFieldRow{"Edit31", kIU, F::ConverterHarmonicAngle, 0, k3, true, "Edit30", "@f~(n)~", [](const TSignalSet& s) { return s.Current.Garmonik.a.Angle[2]; }},
};
// clang-format on

}  // namespace

std::span<const TFieldRow> Converter() { return kRows; }

}  // namespace edit::groups
