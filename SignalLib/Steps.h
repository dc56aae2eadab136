#pragma once

#include "SignalLib/ResultCodes.h"

namespace stlib {

// Runs one step of a load or computation under the code noted for it: any
// failure inside the step, of whatever kind, becomes that code.
template <class Step>
code::TCode RunStep(code::TCode stepCode, Step&& step) {
    try {
        step();
        return code::NoError;
    } catch (...) {
        return stepCode;
    }
}

}  // namespace stlib
