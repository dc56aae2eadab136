// A schedule run on the calibrator simulator through the developer driver,
// as a test bench starts it: list file, signal files, runner and actions.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>

#include "CalibratorSimulator.h"
#include "ChildProcess.h"
#include "CommonUtils/CodePage.h"
#include "FileBytes.h"
#include "RecordingLog.h"
#include "RunClocks.h"
#include "RunRecorders.h"
#include "ScheduleRows.h"
#include "TempFolder.h"
#include "link/LibraryBinding.h"
#include "schedule/CalibratorActions.h"
#include "schedule/ListFile.h"
#include "schedule/ScheduleRunner.h"
#include "signal/Nominals.h"

#ifndef TALVO_EXAMPLES_DIR
#error "TALVO_EXAMPLES_DIR must name the examples folder"
#endif

namespace {

namespace fs = std::filesystem;
using namespace sched;
using sched_test::Row;
using talvo_test::FrameCodes;

struct TRun {
    int ExitCode = -1;
    std::string Output;
};

TRun RunSchedule(const std::string& list, const std::string& options = {}) {
    const talvo_test::TShellRun shell =
        talvo_test::RunShell(talvo_test::ShellQuoted(std::string(TALVO_BIN_DIR) + "/talvo-schedule") + " " +
                             talvo_test::ShellQuoted(list) + " " + options + " 2>&1");
    return {shell.ExitCode.value_or(-1), shell.Output};
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

    talvo_test::TempSettings settings;
};

TEST_F(ScheduleOnCalibrator, RowsAreSetOneAfterAnother) {
    talvo_test::CalibratorSimulator sim("COM2");
    const TRun run = RunSchedule(SaveList(), "--port COM2");
    EXPECT_EQ(run.ExitCode, 0) << run.Output;
    EXPECT_EQ(FrameCodes(sim.WaitFrames(10)), (std::vector<int>{14, 15, 12, 10, 1, 2, 7, 14, 14, 15}));
    EXPECT_NE(run.Output.find("Передача сигнала: balanced.usa"), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("Сброс всего сигнала"), std::string::npos) << run.Output;
}

TEST_F(ScheduleOnCalibrator, AFailedRowFailsTheRun) {
    const TRun run = RunSchedule(SaveList(), "--port COM7");
    EXPECT_EQ(run.ExitCode, 1) << run.Output;
}

// A file whose phase nominal is 0 cannot be recalculated: its row fails with
// the message, and the next row is still sent.
TEST_F(ScheduleOnCalibrator, ARowWhoseFileDoesNotLoadFailsAlone) {
    talvo_test::CalibratorSimulator sim("COM2");
    const fs::path broken = settings.Root() / "broken.usa";
    const fs::path good = settings.Root() / "good.usa";
    const std::string example = talvo_test::ReadBytes(std::string(TALVO_EXAMPLES_DIR) + "/balanced-nominal.usa");
    std::string zero = example;
    const std::string key = cmn::Utf8ToCp1251("Фазный номинал=57.735");
    zero.replace(zero.find(key), key.size(), cmn::Utf8ToCp1251("Фазный номинал=0"));
    talvo_test::WriteBytes(broken.string(), zero);
    talvo_test::WriteBytes(good.string(), example);
    TSignalList list;
    list.Rows = {Row(broken.string(), 0, 0), Row(good.string(), 1, 0)};
    const std::string file = (settings.Root() / "mixed.sfl").string();
    WriteSignalList(file, list);
    const TRun run = RunSchedule(file, "--port COM2");
    EXPECT_NE(run.Output.find("Значение номинала должно быть отличным от нуля"), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("Передано успешно 1 сигналов из 2"), std::string::npos) << run.Output;
    EXPECT_EQ(FrameCodes(sim.WaitFrames(8)), (std::vector<int>{14, 15, 12, 10, 1, 2, 7, 14}));
}

// Dips rows whose count the calibrator cannot take fail with the refusal
// before their port is opened; a test signal row after them is still sent.
TEST_F(ScheduleOnCalibrator, ADipsCountOutsideTheCalibratorsRangeSendsNothing) {
    talvo_test::CalibratorSimulator sim("COM2");
    const std::string example = talvo_test::ReadBytes(std::string(TALVO_EXAMPLES_DIR) + "/harmonics-dips-flicker.usa");
    const std::string key = cmn::Utf8ToCp1251("Количество=5");
    TSignalList list;
    int index = 0;
    for (const char* count : {"-3", "2147483647"}) {
        std::string text = example;
        text.replace(text.find(key), key.size(), cmn::Utf8ToCp1251("Количество=") + count);
        const fs::path file = settings.Root() / ("count" + std::to_string(index) + ".usa");
        talvo_test::WriteBytes(file.string(), text);
        list.Rows.push_back(Row(file.string(), index++, 0, TRowState::Selected, TCommandType::ColOver));
    }
    const fs::path good = settings.Root() / "good.usa";
    fs::copy_file(std::string(TALVO_EXAMPLES_DIR) + "/balanced-nominal.usa", good);
    list.Rows.push_back(Row(good.string(), index, 0));
    const std::string file = (settings.Root() / "counts.sfl").string();
    WriteSignalList(file, list);
    const TRun run = RunSchedule(file, "--port COM2");
    EXPECT_EQ(run.ExitCode, 1) << run.Output;
    const std::string refusal =
        "Генерация провалов и перенапряжений невозможна, так как их количество вне диапазона от 1 до 32767.";
    const std::size_t first = run.Output.find(refusal);
    EXPECT_NE(first, std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find(refusal, first + refusal.size()), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("Передано успешно 1 сигналов из 3"), std::string::npos) << run.Output;
    // Only the test signal row reached the calibrator.
    EXPECT_EQ(FrameCodes(sim.WaitFrames(9, std::chrono::milliseconds(1000))),
              (std::vector<int>{14, 15, 12, 10, 1, 2, 7, 14}));
}

TEST_F(ScheduleOnCalibrator, BadOptionsShowTheUsage) {
    const TRun run = RunSchedule("x.sfl", "--mode sometimes");
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_EQ(run.Output.rfind("usage: talvo-schedule", 0), 0u);
}

// Without settings of its own a run talks to COM1 at 115200 baud and builds
// its tables for the second modification.
TEST(LinkSettings, Defaults) {
    const TLinkSettings link;
    EXPECT_EQ(link.PortName, "COM1");
    EXPECT_EQ(link.BaudRate, 115200u);
    EXPECT_EQ(link.Modification, 1);
}

// ---------------------------------------------------------------- the runner in this process

using sched_test::Steady;
using sched_test::TRecordingEvents;
using talvo_test::RecordingLog;

class RunnerOnCalibrator : public ::testing::Test {
protected:
    RunnerOnCalibrator() { flicker.LoadDefaults(sig::fsGost99); }
    TLinkSettings Link() const {
        TLinkSettings link;
        link.Library = &library;
        return link;
    }
    std::string Example() const { return std::string(TALVO_EXAMPLES_DIR) + "/balanced-nominal.usa"; }
    void Finish() {
        ASSERT_TRUE(events.WaitFinished());
        runner.Join();
    }

    talvo_test::TempSettings settings;
    talvo_test::CalibratorSimulator sim{"COM1"};
    const lnk::TSignalLibrary library =
        lnk::LoadSignalLibrary(std::string(TALVO_BIN_DIR) + "/", lnk::RecordedLibraryDigest());
    sig::TKolebParamsHelpTable flicker;
    TCalibratorActions actions{Link(), flicker, false};
    RecordingLog log;
    // The run's waits take no real time; the calibrator's exchanges do.
    sched_test::TManualWaitClock waits;
    sched_test::TTestClock clock{waits};
    TRecordingEvents events{waits};
    TScheduleRunner runner{actions, log, events, clock, waits};
};

using S = TRowState;

// Three rows of two seconds with a set time of one: each of the first two
// is held one second after its send, the last its whole duration; the
// unselected and the missing rows send nothing and only the missing one counts.
TEST_F(RunnerOnCalibrator, ByDurationWithSetTime) {
    TRows rows = {Row(Example(), 0, 2), Row(Example(), 1, 2, S::NotSelected), Row("missing.usa", 2, 2),
                  Row(Example(), 3, 2), Row(kCommandText, 4, 2, S::Selected, TCommandType::StopSin)};
    ASSERT_EQ(runner.Start(rows, TScheduleMode::ByDuration, 1).Outcome, TStartResult::TOutcome::Started);
    Finish();
    EXPECT_EQ(events.states, (std::vector<std::pair<std::size_t, TRowState>>{{0, S::Sending},
                                                                             {0, S::Sent},
                                                                             {2, S::Sending},
                                                                             {2, S::Failed},
                                                                             {3, S::Sending},
                                                                             {3, S::Sent},
                                                                             {4, S::Sending},
                                                                             {4, S::Sent}}));
    const auto held = [&](std::size_t from, std::size_t to) {
        return std::chrono::duration<double>(events.stamps[to] - events.stamps[from]).count();
    };
    EXPECT_EQ(held(0, 1), 1);  // row 0: its send, then one second held
    EXPECT_EQ(held(6, 7), 2);  // the last row keeps its whole duration
    const std::vector<std::string> lines = log.Texts();
    EXPECT_EQ(lines.back(), "Передано успешно 3 сигналов из 4");
    // The actions' port and command lines are plain information, not shown in the schedule.
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Передача выполнена"), 3);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Порт COM1 открыт"), 0);
    const std::vector<int> codes = FrameCodes(sim.WaitFrames(8 + 6 + 2));
    EXPECT_EQ(codes, (std::vector<int>{14, 15, 12, 10, 1, 2, 7, 14, 14, 10, 1, 2, 7, 14, 14, 15}));
}

// A row started three seconds late is skipped, one second late still sent.
TEST_F(RunnerOnCalibrator, ByTimeLateStarts) {
    const TDateTime now = clock.Now();
    const auto at = [&](double seconds) { return now + SecondsToDays(seconds); };
    TRows rows = {sched_test::Timed(Example(), 0, at(-3), at(-2)), sched_test::Timed(Example(), 1, at(-1), at(1))};
    const TStartResult start = runner.Start(rows, TScheduleMode::ByTime, 0);
    ASSERT_EQ(start.Outcome, TStartResult::TOutcome::Started) << start.Message;
    Finish();
    ASSERT_FALSE(events.states.empty());
    EXPECT_EQ(events.states.front(), std::make_pair(std::size_t{1}, S::Sending));
    EXPECT_EQ(FrameCodes(sim.WaitFrames(8)).size(), 8u);
    const std::vector<std::string> lines = log.Texts();
    EXPECT_EQ(lines.back(), "Передано успешно 1 сигналов из 2");
}

TEST_F(RunnerOnCalibrator, StopDuringAWaitEndsTheRunAtOnce) {
    TRows rows = {Row(Example(), 0, 30)};
    waits.Hold();
    ASSERT_EQ(runner.Start(rows, TScheduleMode::ByDuration, 0).Outcome, TStartResult::TOutcome::Started);
    ASSERT_TRUE(waits.WaitForAWait());
    ASSERT_EQ(sim.WaitFrames(8).size(), 8u);
    const auto stopAt = Steady::now();
    runner.Stop();
    ASSERT_TRUE(events.WaitFinished());
    EXPECT_LT(std::chrono::duration<double>(Steady::now() - stopAt).count(), 0.02);
    runner.Join();
    EXPECT_EQ(log.Texts().back(), "Передано успешно 0 сигналов из 1");
}

}  // namespace
