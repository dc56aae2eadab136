#pragma once

#include "SignalLib/ResultCodes.h"
#include "SignalLib/SignalModel.h"
#include "SignalLib/SignalTalvo.h"

namespace stlib {

// Fills the full parameters of a loaded signal. The record is cleared first;
// then frequency, voltage, current, harmonic angles, powers and dips run in
// that order, and the first step that fails ends the computation with its
// code (151 to 156). A value that does not fit a float fails its step.
code::TCode CalcFullSignalParams(const TSignalClass& signal, const TOutSignalParams& params, TFullSignalParams& full);

}  // namespace stlib
