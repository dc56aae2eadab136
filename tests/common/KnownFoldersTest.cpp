#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "CommonUtils/KnownFolders.h"
#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;

// Points HOME and XDG_CONFIG_HOME at a fresh temporary tree for one test.
class KnownFolders : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(root / "home");
        setenv("HOME", (root / "home").c_str(), 1);
        unsetenv("XDG_CONFIG_HOME");
    }
    talvo_test::TempFolder temp{"talvo-folders"};
    fs::path root = temp.Path();
};

TEST_F(KnownFolders, DefaultsUnderHome) {
    const std::string home = (root / "home").string() + "/";
    EXPECT_EQ(cmn::UserConfigFolder(), home + ".config/");
    EXPECT_EQ(cmn::SettingsFolder(), home + ".config/Ostra/Калибратор Talvo/");
    EXPECT_EQ(cmn::PortFolder(), home + ".config/Ostra/Калибратор Talvo/ports/");
    EXPECT_EQ(cmn::DataFolder(), home + "Documents/Ostra/Калибратор Talvo/");
}

TEST_F(KnownFolders, XdgConfigHomeAndUserDirs) {
    const fs::path config = root / "cfg";
    fs::create_directories(config);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    std::ofstream(config / "user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                             << "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                             << "XDG_DOCUMENTS_DIR=\"$HOME/Документы\"\n";
    EXPECT_EQ(cmn::SettingsFolder(), config.string() + "/Ostra/Калибратор Talvo/");
    EXPECT_EQ(cmn::UserDocumentsFolder(), (root / "home").string() + "/Документы/");
}

TEST_F(KnownFolders, RelativeXdgConfigHomeIsIgnored) {
    setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
    EXPECT_EQ(cmn::UserConfigFolder(), (root / "home").string() + "/.config/");
}

TEST(ProgramFolder, IsTheFolderOfThisExecutable) {
    EXPECT_EQ(cmn::ProgramFolder(), fs::canonical("/proc/self/exe").parent_path().string() + "/");
}

}  // namespace
