#pragma once

#include <filesystem>
#include <string>

namespace talvo_test {

// A fresh folder under the system's temporary folder, removed with its
// content when the object goes (also when a test made it read-only).
class TempFolder {
public:
    explicit TempFolder(const std::string& prefix = "talvo-test");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Points XDG_CONFIG_HOME at a fresh folder for the life of the object, so
// that the settings and the port folder of the code under test lie inside it.
class TempSettings {
public:
    TempSettings();
    TempSettings(const TempSettings&) = delete;
    TempSettings& operator=(const TempSettings&) = delete;

    const std::filesystem::path& Root() const { return folder_.Path(); }
    std::filesystem::path PortFolder() const;

private:
    TempFolder folder_;
};

}  // namespace talvo_test
