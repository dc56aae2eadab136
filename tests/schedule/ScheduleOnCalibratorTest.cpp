// A schedule run on the calibrator simulator through the developer driver,
// as a test bench starts it: list file, signal files, runner and actions.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include "CalsimHarness.h"
#include "ScheduleRows.h"
#include "schedule/ListFile.h"

#ifndef TALVO_EXAMPLES_DIR
#error "TALVO_EXAMPLES_DIR must name the examples folder"
#endif

namespace {

namespace fs = std::filesystem;
using namespace sched;
using sched_test::Row;

struct TRun {
    int ExitCode = -1;
    std::string Output;
};

TRun RunSchedule(const std::string& list, const std::string& options = {}) {
    const std::string command = "'" + std::string(TALVO_BIN_DIR) + "/talvo-schedule' '" + list + "' " + options + " 2>&1";
    TRun run;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    for (int c; (c = std::fgetc(pipe)) != EOF;) run.Output += static_cast<char>(c);
    const int status = ::pclose(pipe);
    if (WIFEXITED(status)) run.ExitCode = WEXITSTATUS(status);
    return run;
}

std::vector<int> Codes(const std::vector<nlohmann::json>& frames) {
    std::vector<int> codes;
    for (const auto& f : frames) codes.push_back(f["code"]);
    return codes;
}

class ScheduleOnCalibrator : public ::testing::Test {
protected:
    // A list of the balanced example signal for one second, then a reset of
    // everything, saved with its signal file inside.
    std::string SaveList() {
        const fs::path signal = settings.Root() / "balanced.usa";
        fs::copy_file(std::string(TALVO_EXAMPLES_DIR) + "/balanced-nominal.usa", signal);
        TSignalList list;
        list.Rows = {Row(signal.string(), 0, 1), Row(kCommandText, 1, 1, TRowState::Selected, TCommandType::StopSin)};
        const std::string file = (settings.Root() / "bench.sfl").string();
        WriteSignalList(file, list);
        fs::remove(signal);  // the run takes the copy inside the list
        return file;
    }

    calsim_test::TempSettings settings;
};

TEST_F(ScheduleOnCalibrator, RowsAreSetOneAfterAnother) {
    calsim_test::Simulator sim("COM2");
    const TRun run = RunSchedule(SaveList(), "--port COM2");
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_EQ(Codes(sim.WaitFrames(10)), (std::vector<int>{14, 15, 12, 10, 1, 2, 7, 14, 14, 15}));
    EXPECT_NE(run.Output.find("Передача сигнала: balanced.usa"), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("Сброс всего сигнала"), std::string::npos) << run.Output;
}

TEST_F(ScheduleOnCalibrator, AFailedRowFailsTheRun) {
    const TRun run = RunSchedule(SaveList(), "--port COM7");
    EXPECT_EQ(run.ExitCode, 1) << run.Output;
}

TEST_F(ScheduleOnCalibrator, BadOptionsShowTheUsage) {
    const TRun run = RunSchedule("x.sfl", "--mode sometimes");
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Output.rfind("usage: talvo-schedule", 0), 0u);
}

}  // namespace
