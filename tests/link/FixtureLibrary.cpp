// Files that stand in for the signal library: one that lacks
// GetOutSignalData, and one whose GetOutSignalData throws.
#include <stdexcept>

#include "SignalLib/SignalTalvo.h"

#ifdef FIXTURE_THROWING
int16_t STALVO_CALL GetOutSignalData(TOutSignalParams, TFullSignalParams*) {
    throw std::runtime_error("GetOutSignalData failed");
}
#else
void STALVO_CALL GetDllVersion(uint16_t* major, uint16_t* minor) {
    *major = 1;
    *minor = 0;
}
#endif
