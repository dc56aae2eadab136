#pragma once

#include "signal/Records.h"

namespace sig {

// The IEEE Std 1459 quantities of a signal for the four-wire and three-wire
// views, from the voltage and current parameters and the fundamental and
// full powers. A phase's fundamental counts only when its channel is on.
// Nothing is rounded; the result record is overwritten whole.
void CalcIeee1459(const TSignalParamsU& v, const TSignalParamsI& c, const TSignalSwitches& switches,
                  const TPowerParams& fundamental, const TPowerParams& full, TIeee1459Params& r);

}  // namespace sig
