// A port the caller may not open: the library returns its busy code, and
// tells on the standard error that the port is not accessible and which
// group owns the device.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "SignalTalvoLibrary.h"
#include "TempFolder.h"
#include "Unprivileged.h"

namespace {

namespace fs = std::filesystem;

constexpr std::int16_t kPortBusy = 101;

std::string Read(const std::string& path) {
    std::ifstream in(path);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(PortAccess, RefusedPortIsBusyAndExplainedOnStandardError) {
    const talvo_test::TSignalTalvoLibrary& lib = talvo_test::Library();
    talvo_test::TempSettings settings;
    talvo_test::TempFolder folder;
    const fs::perms passable = fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec;
    fs::permissions(folder.Path(), passable | fs::perms::others_write);  // the child writes its error file here
    fs::permissions(settings.Root(), passable);
    const std::string device = folder / "ttyS8";
    std::ofstream(device) << "";
    fs::permissions(device, fs::perms::none);
    fs::create_directories(settings.PortFolder());
    fs::create_symlink(device, settings.PortFolder() / "COM8");
    struct stat st {};
    ASSERT_EQ(::stat(device.c_str(), &st), 0);
    const std::string group = ::getgrgid(st.st_gid) != nullptr ? ::getgrgid(st.st_gid)->gr_name : "";
    const std::string errors = folder / "stderr.txt";

    std::string why;
    const std::optional<bool> verdict = talvo_test::RunUnprivileged(
        [&] {
            const int saved = ::dup(2);
            const int file = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
            ::dup2(file, 2);
            const std::int16_t code = lib.CheckPort(8);
            ::dup2(saved, 2);
            ::close(saved);
            ::close(file);
            const std::string text = Read(errors);
            return code == kPortBusy && text.find("недоступен") != std::string::npos &&
                   text.find("группу " + group + ",") != std::string::npos;
        },
        why);
    if (!verdict) GTEST_SKIP() << why;
    EXPECT_TRUE(*verdict) << "code " << kPortBusy << " expected, standard error: " << Read(errors);
}

}  // namespace
