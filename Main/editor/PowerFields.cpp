#include <array>

#include "editor/FieldGroups.h"
#include "signal/Helpers.h"

namespace edit::groups {
namespace {

using sig::TSignalSet;
using F = FieldFamily;
constexpr std::string_view kOne = "page_u_i";
constexpr std::string_view k3p = "page_u_i_3";
constexpr std::string_view kIeee = "page_IEEE_1459";
constexpr std::string_view kCur = "";  // the current format
constexpr std::string_view k3 = "%2.3f";

// clang-format off
const std::array kRows{
    // the single-phase page: the phase chosen in cb_faza
    TFieldRow{"e_dey_znach_u_one_faza", kOne, F::SinglePhase, kOneVoltageValue, k3, false, "e_one_faza_u_otcl", "", nullptr, nullptr, [](const TSignalSet& s, int p) { return sig::U(s.Voltage, p); }},
    TFieldRow{"e_one_faza_u_otcl", kOne, F::SinglePhase, kOneVoltageDeviation, k3, false, "e_dey_znach_i_one_faza", "", nullptr, nullptr, [](const TSignalSet& s, int p) { return sig::DeltaU(s.Voltage, p); }},
    TFieldRow{"e_dey_znach_i_one_faza", kOne, F::SinglePhase, kOneCurrentValue, kCur, false, "e_one_faza_i_otcl", "", nullptr, nullptr, [](const TSignalSet& s, int p) { return sig::I(s.Current, p); }},
    TFieldRow{"e_one_faza_i_otcl", kOne, F::SinglePhase, kOneCurrentDeviation, k3, false, "e_dey_znach_u_one_faza", "", nullptr, nullptr, [](const TSignalSet& s, int p) { return sig::DeltaI(s.Current, p); }},
    TFieldRow{"e_angle", kOne, F::SinglePhase, kOneAngle, k3, true, "e_dey_znach_u_one_faza", "@fUI", nullptr, nullptr, [](const TSignalSet& s, int p) { return sig::PhiUI(s.Current, p); }},
    TFieldRow{"e_one_power_rate", kOne, F::Frequency, 0, k3, false, "cb_faza", "", [](const TSignalSet& s) { return s.Voltage.Freq; }},
    TFieldRow{"e_cos_angle", kOne, F::Result, 0, k3, false, "", "cos@f", nullptr, nullptr, [](const TSignalSet& s, int p) { return s.FundamentalPowers.CosPhi[p]; }},
    TFieldRow{"e_active_one_faza", kOne, F::Result, 0, k3, false, "", "P, Вт", nullptr, nullptr, [](const TSignalSet& s, int p) { return s.FundamentalPowers.P[p]; }},
    TFieldRow{"e_reactive_one_faza", kOne, F::Result, 0, k3, false, "", "Q, вар", nullptr, nullptr, [](const TSignalSet& s, int p) { return s.FundamentalPowers.Q[p]; }},
    TFieldRow{"e_all_one_faza", kOne, F::Result, 0, k3, false, "", "S, ВА", nullptr, nullptr, [](const TSignalSet& s, int p) { return s.FundamentalPowers.S[p]; }},
    TFieldRow{"Edit20", kOne, F::Result, 0, k3, false, "", "K~U~, %", nullptr, nullptr, [](const TSignalSet& s, int p) { return s.Voltage.KU[p]; }},
    TFieldRow{"Edit21", kOne, F::Result, 0, k3, false, "", "K~I~, %", nullptr, nullptr, [](const TSignalSet& s, int p) { return s.Current.KI[p]; }},
    // the three-phase page: voltages, then currents, of phases A, B, C
    TFieldRow{"e_dey_znach_u_faza_a", k3p, F::VoltageValue, 50, k3, false, "e_otcl_u_faza_a", "U~A~", [](const TSignalSet& s) { return s.Voltage.UA; }},
    TFieldRow{"e_otcl_u_faza_a", k3p, F::VoltageDeviation, 51, k3, false, "e_dey_znach_u_faza_b", "", [](const TSignalSet& s) { return s.Voltage.DeltaUA; }},
    TFieldRow{"e_ugol_u_faza_a", k3p, F::Result, 0, k3, true, "", "", [](const TSignalSet& s) { return s.Voltage.ShiftA; }},
    TFieldRow{"e_dey_znach_u_faza_b", k3p, F::VoltageValue, 53, k3, false, "e_otcl_u_faza_b", "U~B~", [](const TSignalSet& s) { return s.Voltage.UB; }},
    TFieldRow{"e_otcl_u_faza_b", k3p, F::VoltageDeviation, 54, k3, false, "e_ugol_u_faza_b", "", [](const TSignalSet& s) { return s.Voltage.DeltaUB; }},
    TFieldRow{"e_ugol_u_faza_b", k3p, F::VoltageAngle, 55, k3, true, "e_dey_znach_u_faza_c", "", [](const TSignalSet& s) { return s.Voltage.ShiftB; }},
    TFieldRow{"e_dey_znach_u_faza_c", k3p, F::VoltageValue, 56, k3, false, "e_otcl_u_faza_c", "U~C~", [](const TSignalSet& s) { return s.Voltage.UC; }},
    TFieldRow{"e_otcl_u_faza_c", k3p, F::VoltageDeviation, 57, k3, false, "e_ugol_u_faza_c", "", [](const TSignalSet& s) { return s.Voltage.DeltaUC; }},
    TFieldRow{"e_ugol_u_faza_c", k3p, F::VoltageAngle, 58, k3, true, "e_dey_znach_u_faza_a", "", [](const TSignalSet& s) { return s.Voltage.ShiftC; }},
    TFieldRow{"e_dey_znach_i_faza_a", k3p, F::CurrentValue, 59, kCur, false, "e_otcl_i_faza_a", "I~A~", [](const TSignalSet& s) { return s.Current.IA; }},
    TFieldRow{"e_otcl_i_faza_a", k3p, F::CurrentDeviation, 60, k3, false, "e_ugol_i_faza_a", "", [](const TSignalSet& s) { return s.Current.DeltaIA; }},
    TFieldRow{"e_ugol_i_faza_a", k3p, F::CurrentAngle, 61, k3, true, "e_dey_znach_i_faza_b", "", [](const TSignalSet& s) { return s.Current.PhiUIA; }},
    TFieldRow{"e_dey_znach_i_faza_b", k3p, F::CurrentValue, 62, kCur, false, "e_otcl_i_faza_b", "I~B~", [](const TSignalSet& s) { return s.Current.IB; }},
    TFieldRow{"e_otcl_i_faza_b", k3p, F::CurrentDeviation, 63, k3, false, "e_ugol_i_faza_b", "", [](const TSignalSet& s) { return s.Current.DeltaIB; }},
    TFieldRow{"e_ugol_i_faza_b", k3p, F::CurrentAngle, 64, k3, true, "e_dey_znach_i_faza_c", "", [](const TSignalSet& s) { return s.Current.PhiUIB; }},
    TFieldRow{"e_dey_znach_i_faza_c", k3p, F::CurrentValue, 65, kCur, false, "e_otcl_i_faza_c", "I~C~", [](const TSignalSet& s) { return s.Current.IC; }},
    TFieldRow{"e_otcl_i_faza_c", k3p, F::CurrentDeviation, 66, k3, false, "e_ugol_i_faza_c", "", [](const TSignalSet& s) { return s.Current.DeltaIC; }},
    TFieldRow{"e_ugol_i_faza_c", k3p, F::CurrentAngle, 67, k3, true, "e_dey_znach_i_faza_a", "", [](const TSignalSet& s) { return s.Current.PhiUIC; }},
    TFieldRow{"e_three_power_rate_1", k3p, F::Frequency, 0, k3, false, "cb_voltage_three_faza", "", [](const TSignalSet& s) { return s.Voltage.Freq; }},
    // sequence powers: one phase, and three times that for the three phases
    TFieldRow{"e_p1_one", k3p, F::Result, 0, k3, false, "", "P~1~, Вт", [](const TSignalSet& s) { return s.ShownPowers.PSeq[sig::sqPos]; }},
    TFieldRow{"e_p2_one", k3p, F::Result, 0, k3, false, "", "P~2~, Вт", [](const TSignalSet& s) { return s.ShownPowers.PSeq[sig::sqNeg]; }},
    TFieldRow{"e_p0_one", k3p, F::Result, 0, k3, false, "", "P~0~, Вт", [](const TSignalSet& s) { return s.ShownPowers.PSeq[sig::sqZero]; }},
    TFieldRow{"e_q1_one", k3p, F::Result, 0, k3, false, "", "Q~1~, вар", [](const TSignalSet& s) { return s.ShownPowers.QSeq[sig::sqPos]; }},
    TFieldRow{"e_q2_one", k3p, F::Result, 0, k3, false, "", "Q~2~, вар", [](const TSignalSet& s) { return s.ShownPowers.QSeq[sig::sqNeg]; }},
    TFieldRow{"e_q0_one", k3p, F::Result, 0, k3, false, "", "Q~0~, вар", [](const TSignalSet& s) { return s.ShownPowers.QSeq[sig::sqZero]; }},
    TFieldRow{"e_s1_one", k3p, F::Result, 0, k3, false, "", "S~1~, ВА", [](const TSignalSet& s) { return s.ShownPowers.SSeq[sig::sqPos]; }},
    TFieldRow{"e_s2_one", k3p, F::Result, 0, k3, false, "", "S~2~, ВА", [](const TSignalSet& s) { return s.ShownPowers.SSeq[sig::sqNeg]; }},
    TFieldRow{"e_s0_one", k3p, F::Result, 0, k3, false, "", "S~0~, ВА", [](const TSignalSet& s) { return s.ShownPowers.SSeq[sig::sqZero]; }},
    TFieldRow{"e_p1_three", k3p, F::Result, 0, k3, false, "", "P~1~, Вт", [](const TSignalSet& s) { return 3 * s.ShownPowers.PSeq[sig::sqPos]; }},
    TFieldRow{"e_p2_three", k3p, F::Result, 0, k3, false, "", "P~2~, Вт", [](const TSignalSet& s) { return 3 * s.ShownPowers.PSeq[sig::sqNeg]; }},
    TFieldRow{"e_p0_three", k3p, F::Result, 0, k3, false, "", "P~0~, Вт", [](const TSignalSet& s) { return 3 * s.ShownPowers.PSeq[sig::sqZero]; }},
    TFieldRow{"e_q1_three", k3p, F::Result, 0, k3, false, "", "Q~1~, вар", [](const TSignalSet& s) { return 3 * s.ShownPowers.QSeq[sig::sqPos]; }},
    TFieldRow{"e_q2_three", k3p, F::Result, 0, k3, false, "", "Q~2~, вар", [](const TSignalSet& s) { return 3 * s.ShownPowers.QSeq[sig::sqNeg]; }},
    TFieldRow{"e_q0_three", k3p, F::Result, 0, k3, false, "", "Q~0~, вар", [](const TSignalSet& s) { return 3 * s.ShownPowers.QSeq[sig::sqZero]; }},
    TFieldRow{"e_s1_three", k3p, F::Result, 0, k3, false, "", "S~1~, ВА", [](const TSignalSet& s) { return 3 * s.ShownPowers.SSeq[sig::sqPos]; }},
    TFieldRow{"e_s2_three", k3p, F::Result, 0, k3, false, "", "S~2~, ВА", [](const TSignalSet& s) { return 3 * s.ShownPowers.SSeq[sig::sqNeg]; }},
    TFieldRow{"e_s0_three", k3p, F::Result, 0, k3, false, "", "S~0~, ВА", [](const TSignalSet& s) { return 3 * s.ShownPowers.SSeq[sig::sqZero]; }},
    // IEEE 1459 per phase
    TFieldRow{"e_Dia_1459", kIeee, F::Result, 0, k3, false, "", "D~I~, вар", [](const TSignalSet& s) { return s.Ieee1459.DI[sig::fzA]; }},
    TFieldRow{"e_Dib_1459", kIeee, F::Result, 0, k3, false, "", "D~I~, вар", [](const TSignalSet& s) { return s.Ieee1459.DI[sig::fzB]; }},
    TFieldRow{"e_Dic_1459", kIeee, F::Result, 0, k3, false, "", "D~I~, вар", [](const TSignalSet& s) { return s.Ieee1459.DI[sig::fzC]; }},
    TFieldRow{"e_Dua_1459", kIeee, F::Result, 0, k3, false, "", "D~U~, вар", [](const TSignalSet& s) { return s.Ieee1459.DU[sig::fzA]; }},
    TFieldRow{"e_Dub_1459", kIeee, F::Result, 0, k3, false, "", "D~U~, вар", [](const TSignalSet& s) { return s.Ieee1459.DU[sig::fzB]; }},
    TFieldRow{"e_Duc_1459", kIeee, F::Result, 0, k3, false, "", "D~U~, вар", [](const TSignalSet& s) { return s.Ieee1459.DU[sig::fzC]; }},
    TFieldRow{"e_Sha_1459", kIeee, F::Result, 0, k3, false, "", "S~H~, ВА", [](const TSignalSet& s) { return s.Ieee1459.SH[sig::fzA]; }},
    TFieldRow{"e_Shb_1459", kIeee, F::Result, 0, k3, false, "", "S~H~, ВА", [](const TSignalSet& s) { return s.Ieee1459.SH[sig::fzB]; }},
    TFieldRow{"e_Shc_1459", kIeee, F::Result, 0, k3, false, "", "S~H~, ВА", [](const TSignalSet& s) { return s.Ieee1459.SH[sig::fzC]; }},
    TFieldRow{"e_Sna_1459", kIeee, F::Result, 0, k3, false, "", "S~N~, ВА", [](const TSignalSet& s) { return s.Ieee1459.SN[sig::fzA]; }},
    TFieldRow{"e_Snb_1459", kIeee, F::Result, 0, k3, false, "", "S~N~, ВА", [](const TSignalSet& s) { return s.Ieee1459.SN[sig::fzB]; }},
    TFieldRow{"e_Snc_1459", kIeee, F::Result, 0, k3, false, "", "S~N~, ВА", [](const TSignalSet& s) { return s.Ieee1459.SN[sig::fzC]; }},
    TFieldRow{"e_Pha_1459", kIeee, F::Result, 0, k3, false, "", "P~H~, Вт", [](const TSignalSet& s) { return s.Ieee1459.PH[sig::fzA]; }},
    TFieldRow{"e_Phb_1459", kIeee, F::Result, 0, k3, false, "", "P~H~, Вт", [](const TSignalSet& s) { return s.Ieee1459.PH[sig::fzB]; }},
    TFieldRow{"e_Phc_1459", kIeee, F::Result, 0, k3, false, "", "P~H~, Вт", [](const TSignalSet& s) { return s.Ieee1459.PH[sig::fzC]; }},
    TFieldRow{"e_Dha_1459", kIeee, F::Result, 0, k3, false, "", "D~H~, вар", [](const TSignalSet& s) { return s.Ieee1459.DH[sig::fzA]; }},
    TFieldRow{"e_Dhb_1459", kIeee, F::Result, 0, k3, false, "", "D~H~, вар", [](const TSignalSet& s) { return s.Ieee1459.DH[sig::fzB]; }},
    TFieldRow{"e_Dhc_1459", kIeee, F::Result, 0, k3, false, "", "D~H~, вар", [](const TSignalSet& s) { return s.Ieee1459.DH[sig::fzC]; }},
    // IEEE 1459 three-phase, four-wire and three-wire views
    TFieldRow{"e_Se_4p_1459", kIeee, F::Result, 0, k3, false, "", "S~E~, ВА", [](const TSignalSet& s) { return s.Ieee1459.Se4; }},
    TFieldRow{"e_Se_3p_1459", kIeee, F::Result, 0, k3, false, "", "S~E~, ВА", [](const TSignalSet& s) { return s.Ieee1459.Se3; }},
    TFieldRow{"e_Dei_4p_1459", kIeee, F::Result, 0, k3, false, "", "D~EI~, вар", [](const TSignalSet& s) { return s.Ieee1459.DeI4; }},
    TFieldRow{"e_Dei_3p_1459", kIeee, F::Result, 0, k3, false, "", "D~EI~, вар", [](const TSignalSet& s) { return s.Ieee1459.DeI3; }},
    TFieldRow{"e_Deu_4p_1459", kIeee, F::Result, 0, k3, false, "", "D~EU~, вар", [](const TSignalSet& s) { return s.Ieee1459.DeU4; }},
    TFieldRow{"e_Deu_3p_1459", kIeee, F::Result, 0, k3, false, "", "D~EU~, вар", [](const TSignalSet& s) { return s.Ieee1459.DeU3; }},
    TFieldRow{"e_Seh_4p_1459", kIeee, F::Result, 0, k3, false, "", "S~EH~, ВА", [](const TSignalSet& s) { return s.Ieee1459.SeH4; }},
    TFieldRow{"e_Seh_3p_1459", kIeee, F::Result, 0, k3, false, "", "S~EH~, ВА", [](const TSignalSet& s) { return s.Ieee1459.SeH3; }},
    TFieldRow{"e_Sen_4p_1459", kIeee, F::Result, 0, k3, false, "", "S~EN~, ВА", [](const TSignalSet& s) { return s.Ieee1459.SeN4; }},
    TFieldRow{"e_Sen_3p_1459", kIeee, F::Result, 0, k3, false, "", "S~EN~, ВА", [](const TSignalSet& s) { return s.Ieee1459.SeN3; }},
    TFieldRow{"e_Deh_4p_1459", kIeee, F::Result, 0, k3, false, "", "D~EH~, вар", [](const TSignalSet& s) { return s.Ieee1459.DeH4; }},
    TFieldRow{"e_Deh_3p_1459", kIeee, F::Result, 0, k3, false, "", "D~EH~, вар", [](const TSignalSet& s) { return s.Ieee1459.DeH3; }},
    TFieldRow{"e_HP_4p_1459", kIeee, F::Result, 0, k3, false, "", "HP, %", [](const TSignalSet& s) { return s.Ieee1459.HP4; }},
    TFieldRow{"e_HP_3p_1459", kIeee, F::Result, 0, k3, false, "", "HP, %", [](const TSignalSet& s) { return s.Ieee1459.HP3; }},
    TFieldRow{"e_LU_4p_1459", kIeee, F::Result, 0, k3, false, "", "LU, %", [](const TSignalSet& s) { return s.Ieee1459.LU4; }},
    TFieldRow{"e_LU_3p_1459", kIeee, F::Result, 0, k3, false, "", "LU, %", [](const TSignalSet& s) { return s.Ieee1459.LU3; }},
    TFieldRow{"e_Ke_4p_1459", kIeee, F::Result, 0, k3, false, "", "K~E~", [](const TSignalSet& s) { return s.Ieee1459.KE4; }},
    TFieldRow{"e_Ke_3p_1459", kIeee, F::Result, 0, k3, false, "", "K~E~", [](const TSignalSet& s) { return s.Ieee1459.KE3; }},
    TFieldRow{"e_K1_1459", kIeee, F::Result, 0, k3, false, "", "K~1~", [](const TSignalSet& s) { return s.Ieee1459.K1; }},
    TFieldRow{"e_Ph_1459", kIeee, F::Result, 0, k3, false, "", "P~H~, Вт", [](const TSignalSet& s) { return s.Ieee1459.PHSum; }},
};
// clang-format on

}  // namespace

std::span<const TFieldRow> Powers() { return kRows; }

}  // namespace edit::groups
