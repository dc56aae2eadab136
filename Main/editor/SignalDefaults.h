#pragma once

#include "CommonUtils/ProtocolLog.h"
#include "signal/Frequency.h"
#include "signal/SignalSet.h"

// The values a new signal window starts with, and that the "Восстановить"
// buttons put back: a balanced 220 V, 5 A signal at the nominal frequency.
namespace edit {

inline constexpr sig::real kDefaultLineVoltage = 381.051177672L;
inline constexpr sig::real kDefaultConverterValue = 12.5L;  // mV

// Sets the frequency through the grid, with the window's bounds and kf;
// `log` receives the refusal when the nominal frequency cannot be realised.
struct TFrequencySetting {
    sig::real Kf = 0;
    sig::TFrequencyBounds Bounds;
    cmn::IProtocolLog& Log;
};

void SetDefaultVoltage(sig::TSignalSet& s, const TFrequencySetting& f);
void SetDefaultCurrent(sig::TSignalSet& s);
void SetDefaultConverter(sig::TSignalSet& s);

// A whole new signal: every record zeroed, then the three defaults and the
// default dips and fluctuation settings, computed as a window needs them.
sig::TSignalSet DefaultSignal(const TFrequencySetting& f);

}  // namespace edit
