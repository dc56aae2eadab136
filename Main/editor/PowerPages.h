#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "signal/Display.h"
#include "signal/SignalSet.h"

// The power and energy modes of the three-phase page, the energy counted
// there second by second, and the energy interval.
namespace edit {

// The three power records from the voltages and currents as they are;
// the shown record is the whole-signal one when `fullPowersShown`.
void CalcPowers(sig::TSignalSet& s, bool fullPowersShown, sig::ISignalDisplay* display);

// sb_Main_Power, sb_Main_And_Garm_Power, sb_Main_Energy.
enum class PowerMode { Fundamental, Full, Energy };

struct TPowerModeLook {
    std::string_view Heading;                 // st_Name
    std::array<std::string_view, 3> Columns;  // active, reactive, apparent
    bool Counting;                            // the counting controls are enabled
};
TPowerModeLook PowerModeLook(PowerMode mode);

// The energies of the phases, accumulated once a second while counting.
class TEnergyCount {
public:
    void Start();
    // One second more: each phase's energies from its displayed powers.
    void Tick(const sig::TPowerSummary& shown);
    int Seconds() const { return seconds_; }
    // [P, Q, S][phase], Wh, varh, VAh.
    const std::array<sig::TPhaseReals, 3>& Phases() const { return energies_; }
    const std::array<sig::real, 3>& Sums() const { return sums_; }

private:
    int seconds_ = 0;
    std::array<sig::TPhaseReals, 3> energies_{};
    std::array<sig::real, 3> sums_{};
};

// What the power table shows in a mode: [P, Q, S][phase] and the sums.
struct TThreePhaseTable {
    std::array<sig::TPhaseReals, 3> Phases{};
    std::array<sig::real, 3> Sums{};
};
TThreePhaseTable ThreePhaseTable(PowerMode mode, const sig::TSignalSet& s, const TEnergyCount& count);

// The active and reactive energy over the signal's energy interval at the displayed powers.
std::array<sig::real, 2> IntervalEnergies(const sig::TSignalSet& s);

inline constexpr int kDefaultEnergyInterval = 10;

// The energy interval takes the integer part of a number of seconds from 0 on.
struct TIntervalEntry {
    std::optional<int> Seconds;
    std::optional<std::string> Message;  // set when refused
};
TIntervalEntry TakeEnergyInterval(std::string_view text);

// The energy interval is the signal's test duration: the meter verification
// runs for it, and the energies of the power records and of the export are
// computed over it. An accepted entry is stored and the energies follow.
TIntervalEntry TakeEnergyInterval(std::string_view text, sig::TSignalSet& s, bool fullPowersShown);

}  // namespace edit
