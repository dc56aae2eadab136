#pragma once

#include <cstdint>
#include <span>

#include "SignalLib/device/CommPort.h"

// Result codes of the library's port and exchange steps.
namespace stlib {

inline constexpr std::int16_t kErrNoAnswer = 1;
inline constexpr std::int16_t kErrWrite = 2;
inline constexpr std::int16_t kErrRead = 3;
inline constexpr std::int16_t kErrReceiptShort = 11;
inline constexpr std::int16_t kErrReceiptSync = 12;
inline constexpr std::int16_t kErrReceiptCode = 13;
inline constexpr std::int16_t kErrExecutionShort = 14;
inline constexpr std::int16_t kErrExecutionSync = 15;
inline constexpr std::int16_t kErrExecutionCode = 16;
inline constexpr std::int16_t kErrPortBusy = 101;
inline constexpr std::int16_t kErrPortAbsent = 102;
inline constexpr std::int16_t kErrPortInvalid = 103;
inline constexpr std::int16_t kErrPortSettings = 104;
inline constexpr std::int16_t kErrPortClose = 105;

// The code for a confirmation read as `received` (however many bytes came),
// 0 when it confirms `code`. An execution confirmation must carry code + 128.
std::int16_t ReceiptError(std::span<const std::uint8_t> received, std::uint16_t code);
std::int16_t ExecutionError(std::span<const std::uint8_t> received, std::uint16_t code);

// Opens the port and sets the calibrator's line (115200 8N1, no flow
// control; time-outs 10 ms per byte + 100 ms): 0, or 101 busy, 102 absent,
// 103 unusable, 104 settings or time-outs refused.
std::int16_t OpenAndConfigure(TCommPort& port);

// Closes the port; a failed close turns a code of 0 into 105.
std::int16_t CloseKeepingCode(TCommPort& port, std::int16_t code);

}  // namespace stlib
