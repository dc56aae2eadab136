#pragma once

#include "signal/Display.h"
#include "signal/Flicker.h"
#include "signal/SignalSet.h"

namespace sig {

struct TRecalcOptions {
    real FreqCorrection = 0;       // kf, %
    bool FullPowersShown = false;  // the shown powers are the full ones, not the fundamental
    ISignalDisplay* Display = nullptr;
};

// Every derived quantity of a signal, in the fixed order: voltage, current,
// powers, IEEE 1459, per-harmonic powers, dips and swells, fluctuations.
// A failing step raises TalvoError; the steps after it are not run.
void Recalculate(TSignalSet& s, const TKolebParamsHelpTable& flicker, const TRecalcOptions& options = {});

}  // namespace sig
