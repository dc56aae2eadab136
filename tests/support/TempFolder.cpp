#include "TempFolder.h"

#include <cstdlib>
#include <stdexcept>

#include "CommonUtils/KnownFolders.h"

namespace talvo_test {

namespace fs = std::filesystem;

TempFolder::TempFolder(const std::string& prefix) {
    std::string pattern = (fs::temp_directory_path() / (prefix + "-XXXXXX")).string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp " + pattern);
    path_ = pattern;
}

TempFolder::~TempFolder() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, ec);
    fs::remove_all(path_, ec);
}

TempSettings::TempSettings() : folder_("talvo-settings") {
    ::setenv("XDG_CONFIG_HOME", folder_.Path().c_str(), 1);
    fs::create_directories(PortFolder());
}

fs::path TempSettings::PortFolder() const { return cmn::PortFolder(); }

}  // namespace talvo_test
