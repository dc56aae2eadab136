#include <array>

#include "editor/FieldGroups.h"

namespace edit::groups {
namespace {

using sig::TSignalSet;
using F = FieldFamily;
constexpr std::string_view kU = "page_u";
constexpr std::string_view kI = "page_i";
constexpr std::string_view kCur = "";  // the current format
constexpr std::string_view k3 = "%2.3f";

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

}  // namespace

std::span<const TFieldRow> Fundamentals() { return kRows; }

}  // namespace edit::groups
