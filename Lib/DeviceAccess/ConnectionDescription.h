#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The connection description: a fixed 531-byte record that names a physical
// channel and the logical channel's settings. Multi-byte numbers are
// little-endian; texts are a length byte followed by the characters.
namespace da {

inline constexpr std::size_t kDescriptionSize = 531;
using TConnectionDescription = std::array<std::uint8_t, kDescriptionSize>;

enum class InterfaceKind : std::uint8_t { Serial = 1, Tcp = 2 };
enum class SerialMode : std::uint8_t { Direct = 0, TelephoneModem = 1, RadioModem = 2, Optical = 3 };

// Byte offsets and sizes of the fields.
namespace desc {
inline constexpr std::size_t kKind = 0;
inline constexpr std::size_t kPortName = 1, kPortNameSize = 7;
inline constexpr std::size_t kIpAddress = 1, kIpAddressSize = 16;
inline constexpr std::size_t kBaudRate = 8;
inline constexpr std::size_t kMode = 12;
inline constexpr std::size_t kModemInit = 13, kModemInitSize = 256;
inline constexpr std::size_t kTcpPort = 17;
inline constexpr std::size_t kDialOut = 269, kCallNumberSize = 257;
inline constexpr std::size_t kPhoneNumber = 270, kPhoneNumberSize = 256;
inline constexpr std::size_t kDialKind = 526;
inline constexpr std::size_t kAttempts = 527;
inline constexpr std::size_t kPriority = 529;
inline constexpr std::size_t kLogMask = 530;

static_assert(kPortName + kPortNameSize == kBaudRate);
static_assert(kBaudRate + 4 == kMode && kMode + 1 == kModemInit);
static_assert(kModemInit + kModemInitSize == kDialOut);
static_assert(kIpAddress + kIpAddressSize == kTcpPort && kTcpPort + 2 <= kDialOut);
static_assert(kDialOut + kCallNumberSize == kDialKind && kDialOut + 1 == kPhoneNumber);
static_assert(kPhoneNumber + kPhoneNumberSize == kDialKind);
static_assert(kDialKind + 1 == kAttempts && kAttempts + 2 == kPriority);
static_assert(kPriority + 1 == kLogMask && kLogMask + 1 == kDescriptionSize);
}  // namespace desc

// Settings shared by every kind of connection.
struct ChannelSettings {
    std::uint16_t attempts = 1;
    std::uint8_t priority = 1;
    std::uint8_t logMask = 0;
};

struct ModemSettings {
    std::string init;
    bool dialOut = true;        // telephone: dial the number, else wait for a call
    std::string number;         // telephone number or radio call number
    bool firstDialKind = true;  // telephone: the first of the two dialling kinds
};

// A port name longer than 6 characters or a text longer than its field
// cannot be described and raises cmn::TalvoError.
TConnectionDescription SerialDescription(std::string_view portName, std::uint32_t baudRate, SerialMode mode,
                                         const ChannelSettings& channel, const ModemSettings& modem = {});
TConnectionDescription TcpDescription(std::string_view ipAddress, std::uint16_t port, const ChannelSettings& channel);

std::uint8_t KindOf(const TConnectionDescription& d);
std::string PortNameOf(const TConnectionDescription& d);
std::uint32_t BaudRateOf(const TConnectionDescription& d);
std::uint8_t ModeOf(const TConnectionDescription& d);
std::string ModemInitOf(const TConnectionDescription& d);
bool DialOutOf(const TConnectionDescription& d);
std::string PhoneNumberOf(const TConnectionDescription& d);
std::string CallNumberOf(const TConnectionDescription& d);
bool FirstDialKindOf(const TConnectionDescription& d);
std::string IpAddressOf(const TConnectionDescription& d);
std::uint16_t TcpPortOf(const TConnectionDescription& d);
std::uint16_t AttemptsOf(const TConnectionDescription& d);
std::uint8_t PriorityOf(const TConnectionDescription& d);
std::uint8_t LogMaskOf(const TConnectionDescription& d);

}  // namespace da
