#pragma once

#include "signal/SampleClock.h"

namespace lnk {

// The samples per period of a signal's grid, refused with cmn::TalvoError
// when the frequency has not been realised yet or a period needs more
// samples than a table of the calibrator holds.
int CheckedSamples(const sig::TSampleGrid& grid);

}  // namespace lnk
