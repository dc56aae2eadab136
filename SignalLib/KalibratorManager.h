#pragma once

#include "SignalLib/ResultCodes.h"
#include "SignalLib/SignalModel.h"
#include "SignalLib/SignalTalvo.h"

namespace stlib {

// The context of one export call: it receives the caller's parameters into
// its own signal model and keeps nothing once the call returns.
class TKalibratorManager {
public:
    TKalibratorManager(const TOutSignalParams* params, TFullSignalParams* fullParams)
        : params(params), fullParams(fullParams) {}

    // Loads the parameters; the code of the first step that refused a value.
    code::TCode Validate();
    // Loads the parameters and, when they are valid, fills the caller's full
    // parameters. The caller's record is not touched when the load fails.
    code::TCode FullParameters();

private:
    TSignalClass signal;
    const TOutSignalParams* params;
    TFullSignalParams* fullParams;
};

}  // namespace stlib
