#include "link/PortList.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <map>

#include "CommonUtils/KnownFolders.h"
#include "CommonUtils/PortNames.h"
#include "CommonUtils/TalvoError.h"

namespace lnk {
namespace {

namespace fs = std::filesystem;

using ComPorts = std::map<std::uint32_t, std::string>;

std::vector<std::string> EntryNames(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        names.push_back(it->path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A link whose device is gone (a simulator that was killed) is no port.
void AddPortFolder(ComPorts& ports) {
    const fs::path folder = cmn::PortFolder();
    for (const std::string& name : EntryNames(folder)) {
        const auto number = cmn::ComPortNumber(name);
        std::error_code ec;
        if (number && fs::exists(folder / name, ec)) ports.emplace(*number, "COM" + std::to_string(*number));
    }
}

// The kernel lists every possible ttyS; only those with a UART behind them
// have a type other than 0 ("unknown").
bool UartPresent(const std::string& ttyName) {
    std::ifstream in("/sys/class/tty/" + ttyName + "/type");
    int type = 0;
    return static_cast<bool>(in >> type) && type != 0;
}

void AddSerialDevices(ComPorts& ports) {
    constexpr std::string_view prefix = "ttyS";
    for (const std::string& name : EntryNames("/sys/class/tty")) {
        if (name.rfind(prefix, 0) != 0 || !UartPresent(name)) continue;
        std::uint32_t index = 0;
        const char* tail = name.data() + prefix.size();
        const auto [end, ec] = std::from_chars(tail, name.data() + name.size(), index);
        if (ec == std::errc() && end == name.data() + name.size()) {
            ports.emplace(index + 1, "COM" + std::to_string(index + 1));
        }
    }
}

void AddUsbSerialDevices(std::vector<std::string>& list) {
    for (const std::string& name : EntryNames("/dev")) {
        if (name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0) list.push_back("/dev/" + name);
    }
}

}  // namespace

void FillCOMPortList(std::vector<std::string>* COMPortList) {
    if (COMPortList == nullptr) throw cmn::TalvoError("FillCOMPortList: параметр COMPortList не может быть nil");
    ComPorts ports;
    AddPortFolder(ports);
    AddSerialDevices(ports);
    std::vector<std::string> list;
    for (const auto& [number, name] : ports) list.push_back(name);
    AddUsbSerialDevices(list);
    *COMPortList = std::move(list);
}

}  // namespace lnk
