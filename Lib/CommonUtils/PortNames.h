#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Serial port names of the user and the device paths behind them. "COMn"
// is the name the user and the signal library know; on this system it is a
// link (or device) in the per-user port folder, else the n-th /dev/ttyS.
namespace cmn {

// n of a name "COMn" (any letter case) with n a decimal integer above 0;
// nothing for every other name ("COM0", "COMX", "/dev/ttyUSB0").
std::optional<std::uint32_t> ComPortNumber(std::string_view name);

// The device path to open for a port name: a name containing "/" is a path
// used as it is; "COMn" is the port folder's entry COMn when there is one,
// else /dev/ttyS(n-1); any other name can only be a port folder entry.
std::string PortDevicePath(std::string_view name);

// The same rule for the signal library's port number ("COM" + number).
std::string PortNumberDevicePath(std::uint16_t portNumber);

}  // namespace cmn
