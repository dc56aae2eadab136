#pragma once

#include "measure/engine/Flickermeter.h"
#include "measure/engine/Playback.h"

namespace msr {

// The flicker of a played voltage over `seconds` from tick 0: a phase
// (`second` < 0) or the line `first` minus `second`. The squared values of
// each table are summed once, so every block of the flickermeter is a
// difference of running sums instead of a pass over its samples.
TFlickerResult PlayedFlicker(const TPlayback& playback, int first, int second, double seconds, double nominalFrequency);

}  // namespace msr
