#pragma once

#include <string>

namespace da {

// Error codes of the physical and logical channel layers.
namespace err {
inline constexpr int kNone = 0;
inline constexpr int kNotImplemented = 1;
inline constexpr int kNoWorker = 2;
inline constexpr int kBadHandle = 3;
inline constexpr int kBadKind = 4;
inline constexpr int kTimeout = 5;
inline constexpr int kPortBusy = 10;
inline constexpr int kPortAbsent = 11;
inline constexpr int kWriteFailed = 12;
inline constexpr int kReadFailed = 13;
inline constexpr int kNoModem = 14;
inline constexpr int kSocket = 18;
inline constexpr int kServerNotFound = 19;
inline constexpr int kBadIpPort = 20;
inline constexpr int kBadAddress = 21;
inline constexpr int kConnectionLost = 22;
inline constexpr int kPortSettings = 23;
inline constexpr int kTaskPending = 101;
inline constexpr int kNoData = 102;
inline constexpr int kNoEvent = 103;
inline constexpr int kNotOwner = 104;
inline constexpr int kAborted = 105;
inline constexpr int kBadPriority = 106;
}  // namespace err

// Texts of the physical channel codes; "Неизвестный код ошибки." for others.
std::string PcaErrorText(int code);
// The logical layer's own codes 101 … 106, then the physical channel's texts.
std::string LcaErrorText(int code);

}  // namespace da
