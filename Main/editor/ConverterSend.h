#pragma once

#include <functional>
#include <string>

#include "editor/ConverterSession.h"
#include "signal/SignalSet.h"

namespace edit {

// The test signal in converter mode, in its order: the converter is tested,
// reset and read; the converter calculation fills the signal's currents in
// and checks them; `send` sends the signal; the selected gain is written. A
// converter that does not answer lets the signal go unchanged. Each message
// of the steps goes to `messages` and is answered before the steps go on.
// Returns what the send returned (false when the steps stopped it) and
// fills `result` with what the window takes over.
bool SendWithConverter(const TConverterState& state, const std::string& port, sig::TSignalSet& signal,
                       const std::function<void(const TConverterMessage&)>& messages, const std::function<bool()>& send,
                       TConverterSendResult& result);

}  // namespace edit
