#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "CommonUtils/CalibratorWire.h"
#include "CommonUtils/ProtocolLog.h"
#include "link/ComPort.h"

// The program's side of one command exchange with the calibrator: every
// step and every failure is a protocol-log line; nothing is retried.
namespace lnk {

// The command's name as the protocol log shows it.
std::string CommandName(cmn::CalCommand code);

enum class TConfirmationKind { Receipt, Execution };

// Judges a confirmation and logs the verdict. `received` holds the bytes of
// a complete read, or nothing when the read did not bring all 8 bytes. An
// execution confirmation must carry the code with bit 7 set.
bool CheckConfirmation(TConfirmationKind kind, std::span<const std::uint8_t> received, std::uint16_t code,
                       cmn::IProtocolLog& log);

// Frame, confirmation of receipt, the data block of the command if any
// (the tables of 1 and 2, the timing block of 13), and the confirmation of
// execution, which every command but 13 waits for; after a table it is the
// calibrator's confirmation of the table. False at the first failed step.
bool SendCommand(TMyComPort& port, cmn::IProtocolLog& log, cmn::CalCommand code, std::uint16_t first,
                 std::uint16_t second, std::span<const std::uint8_t> block = {});

}  // namespace lnk
