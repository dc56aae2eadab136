#include "ConnectionDescription.h"

#include <algorithm>

#include "CommonUtils/TalvoError.h"
#include "DeviceAccess/ErrorTexts.h"

namespace da {
namespace {

constexpr int kBadPortName = 15;

void PutByte(TConnectionDescription& d, std::size_t at, std::uint8_t v) { d[at] = v; }

void PutU16(TConnectionDescription& d, std::size_t at, std::uint16_t v) {
    d[at] = static_cast<std::uint8_t>(v);
    d[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void PutU32(TConnectionDescription& d, std::size_t at, std::uint32_t v) {
    for (std::size_t i = 0; i < 4; ++i) d[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A text field of `size` bytes holds a length byte and size - 1 characters.
void PutText(TConnectionDescription& d, std::size_t at, std::size_t size, std::string_view text, int error) {
    if (text.size() > size - 1) throw cmn::TalvoError(PcaErrorText(error));
    d[at] = static_cast<std::uint8_t>(text.size());
    std::copy(text.begin(), text.end(), d.begin() + static_cast<std::ptrdiff_t>(at + 1));
}

std::uint16_t GetU16(const TConnectionDescription& d, std::size_t at) {
    return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}

std::uint32_t GetU32(const TConnectionDescription& d, std::size_t at) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4; ++i) v |= static_cast<std::uint32_t>(d[at + i]) << (8 * i);
    return v;
}

// A length byte beyond the field is cut to the field.
std::string GetText(const TConnectionDescription& d, std::size_t at, std::size_t size) {
    const std::size_t n = std::min<std::size_t>(d[at], size - 1);
    return std::string(d.begin() + static_cast<std::ptrdiff_t>(at + 1),
                       d.begin() + static_cast<std::ptrdiff_t>(at + 1 + n));
}

void PutChannel(TConnectionDescription& d, const ChannelSettings& channel) {
    PutU16(d, desc::kAttempts, channel.attempts);
    PutByte(d, desc::kPriority, channel.priority);
    PutByte(d, desc::kLogMask, channel.logMask);
}

void PutModem(TConnectionDescription& d, SerialMode mode, const ModemSettings& modem) {
    // Texts too long for their fields are refused with the modem's own failures.
    constexpr int kBadInit = 17, kBadNumber = 16;
    PutText(d, desc::kModemInit, desc::kModemInitSize, modem.init, kBadInit);
    if (mode == SerialMode::RadioModem) {
        PutText(d, desc::kDialOut, desc::kCallNumberSize, modem.number, kBadNumber);
        return;
    }
    PutByte(d, desc::kDialOut, modem.dialOut ? 1 : 0);
    PutText(d, desc::kPhoneNumber, desc::kPhoneNumberSize, modem.number, kBadNumber);
    PutByte(d, desc::kDialKind, modem.firstDialKind ? 1 : 0);
}

}  // namespace

TConnectionDescription SerialDescription(std::string_view portName, std::uint32_t baudRate, SerialMode mode,
                                         const ChannelSettings& channel, const ModemSettings& modem) {
    TConnectionDescription d{};
    PutByte(d, desc::kKind, static_cast<std::uint8_t>(InterfaceKind::Serial));
    PutText(d, desc::kPortName, desc::kPortNameSize, portName, kBadPortName);
    PutU32(d, desc::kBaudRate, baudRate);
    PutByte(d, desc::kMode, static_cast<std::uint8_t>(mode));
    if (mode == SerialMode::Direct || mode == SerialMode::Optical) PutByte(d, desc::kModemInit, 1);
    else PutModem(d, mode, modem);
    PutChannel(d, channel);
    return d;
}

TConnectionDescription TcpDescription(std::string_view ipAddress, std::uint16_t port, const ChannelSettings& channel) {
    constexpr int kBadAddress = 21;
    TConnectionDescription d{};
    PutByte(d, desc::kKind, static_cast<std::uint8_t>(InterfaceKind::Tcp));
    PutText(d, desc::kIpAddress, desc::kIpAddressSize, ipAddress, kBadAddress);
    PutU16(d, desc::kTcpPort, port);
    PutChannel(d, channel);
    return d;
}

std::uint8_t KindOf(const TConnectionDescription& d) { return d[desc::kKind]; }
std::string PortNameOf(const TConnectionDescription& d) { return GetText(d, desc::kPortName, desc::kPortNameSize); }
std::uint32_t BaudRateOf(const TConnectionDescription& d) { return GetU32(d, desc::kBaudRate); }
std::uint8_t ModeOf(const TConnectionDescription& d) { return d[desc::kMode]; }
std::string ModemInitOf(const TConnectionDescription& d) { return GetText(d, desc::kModemInit, desc::kModemInitSize); }
bool DialOutOf(const TConnectionDescription& d) { return d[desc::kDialOut] == 1; }
std::string PhoneNumberOf(const TConnectionDescription& d) {
    return GetText(d, desc::kPhoneNumber, desc::kPhoneNumberSize);
}
std::string CallNumberOf(const TConnectionDescription& d) { return GetText(d, desc::kDialOut, desc::kCallNumberSize); }
bool FirstDialKindOf(const TConnectionDescription& d) { return d[desc::kDialKind] == 1; }
std::string IpAddressOf(const TConnectionDescription& d) { return GetText(d, desc::kIpAddress, desc::kIpAddressSize); }
std::uint16_t TcpPortOf(const TConnectionDescription& d) { return GetU16(d, desc::kTcpPort); }
std::uint16_t AttemptsOf(const TConnectionDescription& d) { return GetU16(d, desc::kAttempts); }
std::uint8_t PriorityOf(const TConnectionDescription& d) { return d[desc::kPriority]; }
std::uint8_t LogMaskOf(const TConnectionDescription& d) { return d[desc::kLogMask]; }

}  // namespace da
