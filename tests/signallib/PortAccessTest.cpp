// A port the caller may not open: the library returns its busy code, and
// tells on the standard error that the port is not accessible and which
// group owns the device.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include "SignalTalvoLibrary.h"
#include "TempFolder.h"
#include "Unprivileged.h"

namespace {

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
    const talvo_test::RefusedPort port(settings, "COM8");
    const std::string errors = port.Scratch("stderr.txt");

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
                   text.find("группу " + port.Group() + ",") != std::string::npos;
        },
        why);
    if (!verdict) GTEST_SKIP() << why;
    EXPECT_TRUE(*verdict) << "code " << kPortBusy << " expected, standard error: " << Read(errors);
}

}  // namespace
