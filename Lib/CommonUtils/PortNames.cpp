#include "PortNames.h"

#include <sys/stat.h>

#include <charconv>

#include "KnownFolders.h"

namespace cmn {
namespace {

bool IsComPrefix(std::string_view name) {
    if (name.size() < 3) return false;
    constexpr std::string_view com = "COM";
    for (std::size_t i = 0; i < com.size(); ++i) {
        const char c = name[i];
        if ((c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c) != com[i]) return false;
    }
    return true;
}

// An entry counts even when it is a link whose target is gone: opening it
// then reports the port as absent instead of silently picking another device.
bool EntryExists(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0;
}

}  // namespace

std::optional<std::uint32_t> ComPortNumber(std::string_view name) {
    if (!IsComPrefix(name) || name.size() == 3) return std::nullopt;
    const std::string_view tail = name.substr(3);
    std::uint32_t n = 0;
    const auto [end, ec] = std::from_chars(tail.data(), tail.data() + tail.size(), n);
    if (ec != std::errc() || end != tail.data() + tail.size() || n == 0) return std::nullopt;
    return n;
}

std::string PortDevicePath(std::string_view name) {
    if (name.find('/') != std::string_view::npos) return std::string(name);
    const std::string entry = PortFolder() + std::string(name);
    const auto number = ComPortNumber(name);
    if (!number || EntryExists(entry)) return entry;
    return "/dev/ttyS" + std::to_string(*number - 1);
}

std::string PortNumberDevicePath(std::uint16_t portNumber) {
    return PortDevicePath("COM" + std::to_string(portNumber));
}

}  // namespace cmn
