// The example program of the library, run against the simulator as a third
// party would run it.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include "CalibratorSimulator.h"
#include "TempFolder.h"

namespace {

int RunExample(const char* port) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::execl(TALVO_BIN_DIR "/signaltalvo_example", "signaltalvo_example", TALVO_BIN_DIR "/libSignalTalvo.so", port,
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::vector<int> Codes(const talvo_test::CalibratorSimulator& sim) { return talvo_test::FrameCodes(sim.Frames()); }

TEST(Example, SetsAndStopsTheSignal) {
    talvo_test::TempSettings settings;
    talvo_test::CalibratorSimulator sim("COM2");
    EXPECT_EQ(RunExample("2"), 0);
    EXPECT_EQ(Codes(sim), (std::vector<int>{10, 1, 2, 7, 14, 14, 15}));
    EXPECT_EQ(RunExample("3"), 1);  // no such port
}

}  // namespace
