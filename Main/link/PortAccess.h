#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "CommonUtils/ProtocolLog.h"
#include "link/ComPort.h"

namespace lnk {

// Opens the port of one action and writes the outcome into the protocol
// log; nothing (the action stops) when no port is chosen or it did not open.
std::unique_ptr<TMyComPort> OpenActionPort(const std::string& portName, std::uint32_t baudRate, cmn::IProtocolLog& log);

// Closes and frees the port of an action, whatever its outcome, and logs
// it; true when released. An action that opened no port releases nothing.
bool ReleaseActionPort(std::unique_ptr<TMyComPort>& port, cmn::IProtocolLog& log);

}  // namespace lnk
