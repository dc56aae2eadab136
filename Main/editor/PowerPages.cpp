#include "editor/PowerPages.h"
#include "editor/EntryMessages.h"

#include <cmath>
#include <limits>

#include "CommonUtils/Numbers.h"
#include "signal/Calculations.h"

namespace edit {

void CalcPowers(sig::TSignalSet& s, bool fullPowersShown, sig::ISignalDisplay* display) {
    sig::CalcPowerParams(s.Voltage, s.Current, s.Switches, fullPowersShown, s.Energy,
                         {s.ShownPowers, s.FundamentalPowers, s.FullPowers}, display);
}

TPowerModeLook PowerModeLook(PowerMode mode) {
    constexpr std::array<std::string_view, 3> kPowers{"Активная, Вт", "Реактивная, вар", "Полная, ВА"};
    switch (mode) {
        case PowerMode::Fundamental: return {"Мощность первой гармоники", kPowers, false};
        case PowerMode::Full: return {"Мощность всего сигнала", kPowers, false};
        case PowerMode::Energy: break;
    }
    return {"Энергия первой гармоники", {"Активная, Вт*ч", "Реактивная, вар*ч", "Полная, ВА*ч"}, true};
}

void TEnergyCount::Start() { *this = {}; }

void TEnergyCount::Tick(const sig::TPowerSummary& shown) {
    ++seconds_;
    const sig::real hours = static_cast<sig::real>(seconds_) / 3600;
    const std::array<const sig::TPhaseReals*, 3> powers{&shown.P, &shown.Q, &shown.S};
    for (int kind = 0; kind < 3; ++kind) {
        sums_[kind] = 0;
        for (int phase = sig::fzA; phase <= sig::fzC; ++phase) {
            energies_[kind][phase] = hours * (*powers[kind])[phase];
            sums_[kind] += energies_[kind][phase];
        }
    }
}

TThreePhaseTable ThreePhaseTable(PowerMode mode, const sig::TSignalSet& s, const TEnergyCount& count) {
    if (mode == PowerMode::Energy) return {count.Phases(), count.Sums()};
    const sig::TPowerSummary& p = s.ShownPowers;
    return {{p.P, p.Q, p.S}, {p.PSum, p.QSum, p.SSum}};
}

std::array<sig::real, 2> IntervalEnergies(const sig::TSignalSet& s) {
    const sig::real hours = static_cast<sig::real>(s.Energy.TestSeconds) / 3600;
    return {hours * s.ShownPowers.PSum, hours * s.ShownPowers.QSum};
}

TIntervalEntry TakeEnergyInterval(std::string_view text) {
    const std::optional<sig::real> x = cmn::ParseReal(text);
    if (!x || !std::isfinite(static_cast<double>(*x))) return {std::nullopt, std::string(kParseError)};
    const sig::real seconds = std::trunc(*x);
    if (seconds < 0 || seconds > std::numeric_limits<int>::max()) return {std::nullopt, std::string(kRangeError)};
    return {static_cast<int>(seconds), std::nullopt};
}

TIntervalEntry TakeEnergyInterval(std::string_view text, sig::TSignalSet& s, bool fullPowersShown) {
    TIntervalEntry entry = TakeEnergyInterval(text);
    if (!entry.Seconds) return entry;
    s.Energy.TestSeconds = *entry.Seconds;
    CalcPowers(s, fullPowersShown, nullptr);
    return entry;
}

}  // namespace edit
