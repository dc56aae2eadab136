#pragma once

#include "link/ActionContext.h"

// The six actions on the calibrator. Each runs on its caller's thread, only
// while no other action runs (otherwise it does nothing and fails), checks
// the signal, opens the port, sends its commands and releases the port and
// the busy flag on every path. True on success. A TalvoError raised inside
// (the library exercise, a signal that cannot be sent) ends the action as
// failed and then reaches the caller, who shows or logs it.
namespace lnk {

bool SendTestSignal(TSignalAction& action);
bool SendCollapses(TSignalAction& action);
bool SendKoleb(TSignalAction& action);
bool ResetCollapses(const TActionTarget& target);
bool ResetAll(const TActionTarget& target);
// Plays the voltage with zero current until the meter counters are reset,
// then the whole signal for the countdown of the verification time
// (Energy.TestSeconds), then zero current again. The signal's currents are
// restored whatever happens.
bool MeterVerification(TSignalAction& action, const TSignalRecompute& recompute, IEnergyCountdown& countdown);

}  // namespace lnk
