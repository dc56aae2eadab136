#include "KalibratorManager.h"

#include "SignalLib/FullParams.h"
#include "SignalLib/Loader.h"

namespace stlib {

code::TCode TKalibratorManager::Validate() {
    if (params == nullptr) return code::NoOutParams;
    return LoadOutSignalParams(signal, *params);
}

code::TCode TKalibratorManager::FullParameters() {
    if (fullParams == nullptr) return code::NoFullParams;
    if (code::TCode c = Validate()) return c;
    // Computed aside and handed over in one piece.
    TFullSignalParams result;
    const code::TCode c = CalcFullSignalParams(signal, *params, result);
    *fullParams = result;
    return c;
}

}  // namespace stlib
