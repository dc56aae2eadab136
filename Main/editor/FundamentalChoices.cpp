#include "editor/FundamentalChoices.h"

#include <cmath>

#include "CommonUtils/Format.h"
#include "CommonUtils/Numbers.h"
#include "CommonUtils/TalvoError.h"
#include "signal/Calculations.h"
#include "signal/Nominals.h"

namespace edit {

int RangeNumber(std::string_view choice) {
    const auto value = cmn::ParseReal(choice);
    return value ? static_cast<int>(std::trunc(*value)) : 0;
}

void Set_Naminal_U(sig::TSignalSet& s, int range, sig::ISignalDisplay* display) {
    sig::TSignalParamsU& v = s.Voltage;
    if (range == 57) {
        v.Nominal = v.NominalFaza = sig::kNominalVoltageLow;
        v.NominalLine = 100;
    } else if (range == 220) {
        v.Nominal = v.NominalFaza = sig::kNominalVoltageHigh;
        v.NominalLine = kDefaultLineVoltage;
    } else {
        throw cmn::TalvoError(cmn::Format("Неизвестный диапазон напряжения: %d", range));
    }
    const sig::real step = v.NominalFaza / 100;
    v.UA = v.DeltaUA * step + v.NominalFaza;
    v.UB = v.DeltaUB * step + v.NominalFaza;
    v.UC = v.DeltaUC * step + v.NominalFaza;
    sig::CalcVoltageParams(v, s.Switches, display);
}

std::string_view NominalUChoice(const sig::TSignalParamsU& v) {
    return static_cast<int>(std::trunc(v.NominalFaza)) == 220 ? sig::kNominalVoltageTexts[1]
                                                              : sig::kNominalVoltageTexts[0];
}

void SetVoltageSwitch(sig::TSignalSet& s, int phase, bool on, sig::ISignalDisplay* display) {
    bool* switches[3]{&s.Switches.UOnA, &s.Switches.UOnB, &s.Switches.UOnC};
    *switches[phase] = on;
    sig::CalcVoltageParams(s.Voltage, s.Switches, display);
}

void SetVoltageHarmCount(sig::TSignalSet& s, int count, sig::ISignalDisplay* display) {
    s.Switches.HarmCountU = static_cast<std::uint8_t>(count == 40 ? 40 : 50);
    sig::CalcVoltageParams(s.Voltage, s.Switches, display);
}

void Set_Naminal_I(sig::TSignalSet& s, int range, sig::ISignalDisplay* display) {
    if (range != 1 && range != 5) throw cmn::TalvoError(cmn::Format("Неизвестный диапазон тока: %d", range));
    sig::TSignalParamsI& c = s.Current;
    c.Nominal = range == 1 ? sig::kNominalCurrentLow : sig::kNominalCurrentHigh;
    const sig::real reference = sig::ReferenceCurrent(c.Nominal);
    for (int phase = 0; phase < 3; ++phase) sig::I(c, phase) = sig::DeltaI(c, phase) * (reference / 100) + reference;
    sig::CalcCurrentParams(c, s.Voltage, s.Switches, display);
}

std::string_view NominalIChoice(const sig::TSignalParamsI& c) {
    return c.Nominal == sig::kNominalCurrentHigh ? sig::kNominalCurrentTexts[1] : sig::kNominalCurrentTexts[0];
}

void SetCurrentSwitch(sig::TSignalSet& s, int phase, bool on, sig::ISignalDisplay* display) {
    bool* switches[3]{&s.Switches.IOnA, &s.Switches.IOnB, &s.Switches.IOnC};
    *switches[phase] = on;
    sig::CalcCurrentParams(s.Current, s.Voltage, s.Switches, display);
}

void SetCurrentHarmCount(sig::TSignalSet& s, int count, sig::ISignalDisplay* display) {
    s.Switches.HarmCountI = static_cast<std::uint8_t>(count == 40 ? 40 : 50);
    sig::CalcCurrentParams(s.Current, s.Voltage, s.Switches, display);
}

bool ThreeWirePossible(const sig::TSignalSwitches& switches) { return switches.IOnA && switches.IOnB && switches.IOnC; }

void Calc3f3pr(sig::TSignalSet& s, sig::ISignalDisplay* display) {
    sig::DeriveThreeWireCurrentB(s.Voltage, s.Current);
    sig::CalcCurrentParams(s.Current, s.Voltage, s.Switches, display);
}

}  // namespace edit
