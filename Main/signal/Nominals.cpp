#include "signal/Nominals.h"

#include <cmath>

#include "CommonUtils/Format.h"
#include "CommonUtils/TalvoError.h"

namespace sig {
namespace {

constexpr TModificationInfo kModifications[2]{
    {"dmTalvo", "Orbis-Talvo", false, false, false, 0.6938603561695532015L, false},
    {"dmTalvoM", "Orbis-TalvoM", true, true, true, 0.44L, true},
};

constexpr std::string_view kLineBreak = "\r\n";

bool AnyAbove40(const TGarmonikFaza& block) {
    for (int n = 41; n <= kHarmonics; ++n)
        if (block.Koef[n] != 0) return true;
    return false;
}

bool Empty(const TInterGarmonik& inter) {
    for (int m = 1; m <= kInterHarmonics; ++m)
        if (inter.Koef[m] != 0 || inter.Angle[m] != 0) return false;
    return true;
}

}  // namespace

bool IsAcceptedVoltageNominal(real value) {
    const real whole = std::trunc(value);
    return whole == 57 || whole == 220;
}

bool IsAcceptedCurrentNominal(real value) { return value == 1 || value == 5; }

real ReferenceCurrent(real nominal) { return nominal == 5 ? 5 : 1; }

const TModificationInfo& ModificationInfo(int modification) {
    if (modification != dmTalvo && modification != dmTalvoM)
        throw cmn::TalvoError(cmn::Format("Неизвестная модификация калибратора: %d", modification));
    return kModifications[modification];
}

bool HasVoltageHarmonicsAbove40(const TSignalParamsU& v) {
    for (int slot = fzA; slot <= fzCA; ++slot)
        if (AnyAbove40(v.Garmonik.Faza(slot))) return true;
    return false;
}

bool HasCurrentHarmonicsAbove40(const TSignalParamsI& c) {
    for (int phase = fzA; phase <= fzC; ++phase)
        if (AnyAbove40(c.Garmonik.Faza(phase))) return true;
    return false;
}

bool InterharmonicsEmpty(const TSignalParamsU& v, const TSignalParamsI& c) {
    for (int phase = fzA; phase <= fzC; ++phase)
        if (!Empty(v.InterGarm[phase]) || !Empty(c.InterGarm[phase])) return false;
    return true;
}

std::string UnsupportedParameters(int modification, const TSignalParamsU& v, const TSignalParamsI& c,
                                  const TSignalSwitches& switches) {
    const TModificationInfo& info = ModificationInfo(modification);
    std::string list;
    const auto add = [&](bool present, std::string_view line) {
        if (present) (list += line) += kLineBreak;
    };
    add(!info.VoltageAbove40 && HasVoltageHarmonicsAbove40(v), "- гармонические составляющие напряжения более 40-й");
    add(!info.CurrentAbove40 && HasCurrentHarmonicsAbove40(c), "- гармонические составляющие тока более 40-й");
    add(!info.InterHarmonics && switches.IncludeInterGarm, "- интергармонические составляющие");
    return list;
}

std::string UnsupportedQuestion(int modification, const std::string& unsupported) {
    std::string text = "В работе используется калибратор модификации ";
    text += ModificationInfo(modification).DisplayName;
    text += ".";
    text += kLineBreak;
    text += "Данная модификация не рассчитана на поддержку следующих из заданных параметров:";
    text += kLineBreak;
    text += kLineBreak;
    text += unsupported;
    text += kLineBreak;
    text += "Возможно ухудшение метрологических характеристик выходного сигнала.";
    text += kLineBreak;
    text += "Продолжить?";
    return text;
}

std::string UnsupportedNotice(const std::string& unsupported) {
    std::string text = "Данная модификация калибратора не рассчитана на поддержку следующих из заданных параметров:";
    text += kLineBreak;
    text += unsupported;
    text += kLineBreak;
    text += "Возможно ухудшение метрологических характеристик выходного сигнала.";
    return text;
}

RefVoltageKind CheckRefVoltageKind(std::uint8_t kind) {
    if (kind != rvNominal && kind != rvSet) throw cmn::TalvoError("Неизвестный вид опорного напряжения");
    return static_cast<RefVoltageKind>(kind);
}

CollapseBinding CheckCollapseBinding(std::uint8_t binding) {
    if (binding > cbPeriod) throw cmn::TalvoError(cmn::Format("Неизвестный вид привязки провалов: %d", binding));
    return static_cast<CollapseBinding>(binding);
}

}  // namespace sig
