#pragma once

#include "SignalLib/ResultCodes.h"
#include "SignalLib/SignalModel.h"
#include "SignalLib/SignalTalvo.h"

namespace stlib {

// Loads the caller's parameters into the model field by field, then its
// dips and swells when it carries them. The first value refused ends the
// load; the result is the code of that step, 0 when everything was taken.
code::TCode LoadOutSignalParams(TSignalClass& signal, const TOutSignalParams& params);

}  // namespace stlib
