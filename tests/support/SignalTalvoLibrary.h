#pragma once

#include <cstdint>
#include <string>

#include "SignalLib/SignalTalvo.h"

namespace talvo_test {

// The built shared library, opened with dlopen and bound through dlsym the
// way outside callers bind it. Opened once per test program.
struct TSignalTalvoLibrary {
    TCheckPortFunc CheckPort;
    TCheckSignalDataFunc CheckSignalData;
    TSetSignalFunc SetSignal;
    TGetOutSignalDataFunc GetOutSignalData;
    TStopSignalFunc StopSignal;
    TStopCollapsesOvervoltagesFunc StopCollapsesOvervoltages;
    TGetErrorTextFunc GetErrorText;
    TGetDllVersionFunc GetDllVersion;
};

const TSignalTalvoLibrary& Library();

// A valid signal: 220 V and 5 A in each phase at 50 Hz, voltages at 0, -120,
// 120 degrees, currents in phase with them, every fundamental on.
TOutSignalParams BalancedParams();

// One dip of 50 % in every phase, 0.1 s every 1 s.
TCollapsesOvervoltagesParams OneDip();

// GetErrorText's text of a code, converted to UTF-8.
std::string Text(std::int16_t code);

// The full parameters of a signal; the code goes to `code`.
TFullSignalParams FullParams(const TOutSignalParams& params, std::int16_t& code);

}  // namespace talvo_test
