#include "KnownFolders.h"

#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string_view>

namespace cmn {
namespace {

constexpr const char* kCompany = "Ostra/";
constexpr const char* kProduct = "Калибратор Talvo/";

std::string WithSlash(std::string path) {
    if (!path.empty() && path.back() != '/') path += '/';
    return path;
}

std::string EnvVar(const char* name) {
    const char* v = std::getenv(name);
    return v ? std::string(v) : std::string();
}

std::string HomeFolder() { return WithSlash(EnvVar("HOME")); }

// One line of user-dirs.dirs: XDG_DOCUMENTS_DIR="$HOME/Documents".
std::string DocumentsFromUserDirs(const std::string& file) {
    std::ifstream in(file);
    std::string line;
    constexpr std::string_view key = "XDG_DOCUMENTS_DIR=";
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0) continue;
        std::string value = line.substr(key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"') value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0)
            value = HomeFolder() + value.substr(value.size() > 5 && value[5] == '/' ? 6 : 5);
        return value.empty() || value.front() != '/' ? std::string() : WithSlash(value);
    }
    return {};
}

}  // namespace

std::string UserConfigFolder() {
    const std::string xdg = EnvVar("XDG_CONFIG_HOME");
    if (!xdg.empty() && xdg.front() == '/') return WithSlash(xdg);
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + ".config/";
}

std::string UserDocumentsFolder() {
    const std::string config = UserConfigFolder();
    if (!config.empty()) {
        const std::string fromFile = DocumentsFromUserDirs(config + "user-dirs.dirs");
        if (!fromFile.empty()) return fromFile;
    }
    const std::string home = HomeFolder();
    return home.empty() ? std::string() : home + "Documents/";
}

std::string ProgramFolder() {
    char buf[4096];
    const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf - 1);
    if (n <= 0) return {};
    const std::string path(buf, static_cast<std::size_t>(n));
    return path.substr(0, path.rfind('/') + 1);
}

std::string SettingsFolder() { return UserConfigFolder() + kCompany + kProduct; }

std::string PortFolder() { return SettingsFolder() + "ports/"; }

std::string DataFolder() { return UserDocumentsFolder() + kCompany + kProduct; }

}  // namespace cmn
