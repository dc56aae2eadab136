// The schedule window with long lists: a list loaded over a full one,
// "Сбросить все", "Выделить все" and one row's state reported by a run, each
// until the window has repainted; the first load of a list whose signal
// files are extracted beside it; and the longest stall of the window thread
// while a run of many short rows goes on against the calibrator simulator.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <algorithm>
#include <filesystem>
#include <string>

#include "CalibratorSimulator.h"
#include "StallMeter.h"
#include "TempFolder.h"
#include "link/LibraryBinding.h"
#include "schedule/ListFile.h"
#include "ui/schedule/ScheduleEvents.h"
#include "ui/schedule/ScheduleWindow.h"

namespace {

namespace fs = std::filesystem;

constexpr sched::TDateTime kFirstStart = 46000;  // 9 December 2025, midnight
constexpr double kSecond = 1.0 / 86400;
constexpr const char* kExample = TALVO_SOURCE_DIR "/examples/balanced-nominal.usa";

// A list file of `count` command rows of `type`, one a second from `start`,
// the first `selected` of them selected, each held `seconds`.
std::string WriteCommandList(const fs::path& folder, int count, sched::TCommandType type, sched::TDateTime start,
                             int selected, int seconds) {
    fs::create_directories(folder);
    sched::TSignalList list;
    for (int i = 0; i < count; ++i) {
        sched::TSignalDataForGrid row = sched::NewCommandRow(start + i * kSecond);
        row.Type = type;
        row.Index = i;
        row.Duration = seconds;
        row.State = i < selected ? sched::TRowState::Selected : sched::TRowState::NotSelected;
        list.Rows.push_back(row);
    }
    const std::string path = (folder / "list.sfl").string();
    sched::WriteSignalList(path, list);
    return path;
}

// A list file of `count` test signals, each with a signal file of its own.
std::string WriteSignalRows(const fs::path& folder, int count) {
    fs::create_directories(folder);
    sched::TSignalList list;
    for (int i = 0; i < count; ++i) {
        const std::string path = (folder / ("signal" + std::to_string(i) + ".usa")).string();
        fs::copy_file(kExample, path);
        list.Rows.push_back(sched::NewSignalRow(path, kFirstStart));
    }
    const std::string path = (folder / "signals.sfl").string();
    sched::WriteSignalList(path, list);
    return path;
}

// The window, shown, holding a list of `rows` reset commands held a second
// each; `Other` differs from it in every cell but the position and the name.
struct TFullWindow {
    explicit TFullWindow(int rows)
        : List(WriteCommandList(Folder.Path() / "one", rows, sched::TCommandType::StopSin, kFirstStart, rows, 1)),
          Other(WriteCommandList(Folder.Path() / "other", rows, sched::TCommandType::StopColOver, kFirstStart + 1.5,
                                 rows / 2, 2)) {
        Form.show();
        Form.LoadListFile(List);
        QApplication::processEvents();
        if (Form.Rows().size() != static_cast<std::size_t>(rows)) throw std::runtime_error("the list was not loaded");
    }
    void Click(const char* name) {
        Form.findChild<QPushButton*>(QString::fromLatin1(name))->click();
        QApplication::processEvents();
    }
    talvo_test::TempSettings Settings;
    talvo_test::TempFolder Folder;
    std::string List;
    std::string Other;
    ui::TTestSignalsForm Form;
};

// Each load replaces nearly every text and state the grid shows.
void BM_LoadOverFullList(benchmark::State& state) {
    TFullWindow window(static_cast<int>(state.range(0)));
    bool other = false;
    for (auto _ : state) {
        other = !other;
        window.Form.LoadListFile(other ? window.Other : window.List);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_LoadOverFullList)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// Every row changes its state: the opposite button puts them back first, untimed.
void ClickOverAll(benchmark::State& state, const char* button, const char* opposite) {
    TFullWindow window(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        window.Click(opposite);
        state.ResumeTiming();
        window.Click(button);
    }
}

void BM_ResetAll(benchmark::State& state) { ClickOverAll(state, "btnResetAll", "btnSelectAll"); }
BENCHMARK(BM_ResetAll)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_SelectAll(benchmark::State& state) { ClickOverAll(state, "btnSelectAll", "btnResetAll"); }
BENCHMARK(BM_SelectAll)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// One report of a run, queued to the window as the worker sends it, for a
// row in sight.
void BM_RowStateReport(benchmark::State& state) {
    TFullWindow window(static_cast<int>(state.range(0)));
    auto* events = window.Form.findChild<ui::TScheduleEventRelay*>(QStringLiteral("ScheduleEvents"));
    bool sent = false;
    for (auto _ : state) {
        sent = !sent;
        events->RowStateChanged(2, sent ? sched::TRowState::Sent : sched::TRowState::Sending);
        QApplication::processEvents();
    }
}
BENCHMARK(BM_RowStateReport)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

// A list of signal rows loaded into the empty window, each signal file
// extracted into the list's folder; the folder is emptied between loads.
void BM_FirstLoadOfSignalList(benchmark::State& state) {
    talvo_test::TempSettings settings;
    talvo_test::TempFolder folder;
    const std::string list = WriteSignalRows(folder.Path(), static_cast<int>(state.range(0)));
    ui::TTestSignalsForm form;
    form.show();
    QApplication::processEvents();
    for (auto _ : state) {
        state.PauseTiming();
        form.findChild<QPushButton*>(QStringLiteral("btnClearList"))->click();
        fs::remove_all(sched::SignalFolderOfList(list));
        QApplication::processEvents();
        state.ResumeTiming();
        form.LoadListFile(list);
        QApplication::processEvents();
    }
    if (form.Rows().size() != static_cast<std::size_t>(state.range(0))) state.SkipWithError("the list was not loaded");
}
BENCHMARK(BM_FirstLoadOfSignalList)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

// A run of the first `run` rows of a list of `rows` reset commands, each
// held `seconds`, against the unpaced simulator; the counters are the run's
// length and the longest stall of the window thread during it, as a gap
// between ticks and as the window thread's own processor time in a gap.
void BM_WindowThreadDuringRun(benchmark::State& state) {
    const auto rows = static_cast<int>(state.range(0));
    const auto run = static_cast<int>(state.range(1));
    const auto seconds = static_cast<int>(state.range(2));
    talvo_test::TempSettings settings;
    talvo_test::TempFolder folder;
    talvo_test::CalibratorSimulator sim("COM1");
    lnk::TSignalLibrary library = lnk::LoadSignalLibrary(TALVO_BIN_DIR "/", lnk::RecordedLibraryDigest());
    sched::TLinkSettings link;
    link.PortName = "COM1";
    link.Library = &library;
    const std::string list =
        WriteCommandList(folder.Path(), rows, sched::TCommandType::StopSin, kFirstStart, run, seconds);
    double longest = 0, busy = 0;
    for (auto _ : state) {
        ui::TTestSignalsForm form;
        form.SetLinkSettings(link);
        form.show();
        form.LoadListFile(list);
        form.findChild<QSpinBox*>(QStringLiteral("seSetTime"))->setValue(0);
        QApplication::processEvents();
        QSignalSpy finished(&form, &ui::TTestSignalsForm::RunFinished);
        bench::TStallMeter meter;
        meter.Start();
        form.findChild<QPushButton*>(QStringLiteral("btnStart"))->click();
        finished.wait(3600 * 1000);
        state.counters["run_ms"] = static_cast<double>(meter.Elapsed());
        longest = std::max(longest, static_cast<double>(meter.Longest()));
        busy = std::max(busy, meter.LongestBusy());
        if (form.Rows()[static_cast<std::size_t>(run - 1)].State != sched::TRowState::Sent)
            state.SkipWithError("the run did not send every row");
    }
    state.counters["longest_gap_ms"] = longest;
    state.counters["longest_busy_ms"] = busy;
}
BENCHMARK(BM_WindowThreadDuringRun)
    ->Args({100, 100, 0})
    ->Args({1000, 1000, 0})
    ->Args({1000, 60, 1})
    ->Args({1000, 1000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1);

}  // namespace
