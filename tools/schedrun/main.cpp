// talvo-schedule: runs a signal list on the calibrator without the window,
// for developers and test benches. The protocol goes to standard output;
// the exit code is 0 when every selected row was sent.
#include <condition_variable>
#include <cstdio>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "CommonUtils/KnownFolders.h"
#include "console/ConsoleLog.h"
#include "link/LibraryBinding.h"
#include "schedule/CalibratorActions.h"
#include "schedule/ListFile.h"
#include "schedule/ScheduleRules.h"
#include "schedule/ScheduleRunner.h"
#include "signal/Flicker.h"
#include "signal/Nominals.h"

namespace {

const char* const kUsage =
    "usage: talvo-schedule LIST.sfl [--mode duration|time|both] [--set-time S] [--port COMn] [--modification "
    "dmTalvo|dmTalvoM]\n";

struct TOptions {
    std::string List;
    sched::TScheduleMode Mode = sched::TScheduleMode::ByDuration;
    int SetTime = 0;
    std::string Port = "COM1";
    int Modification = sig::dmTalvoM;
};

std::optional<TOptions> Parse(const std::vector<std::string>& args) {
    TOptions o;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& a = args[i];
        const bool hasValue = i + 1 < args.size();
        if (a == "--mode" && hasValue) {
            const std::string& m = args[++i];
            if (m == "duration") o.Mode = sched::TScheduleMode::ByDuration;
            else if (m == "time") o.Mode = sched::TScheduleMode::ByTime;
            else if (m == "both") o.Mode = sched::TScheduleMode::ByTimeAndDuration;
            else return std::nullopt;
        } else if (a == "--set-time" && hasValue) {
            try {
                o.SetTime = std::stoi(args[++i]);
            } catch (const std::exception&) {
                return std::nullopt;
            }
        } else if (a == "--port" && hasValue) {
            o.Port = args[++i];
        } else if (a == "--modification" && hasValue) {
            o.Modification = args[++i] == "dmTalvo" ? sig::dmTalvo : sig::dmTalvoM;
        } else if (o.List.empty() && !a.empty() && a[0] != '-') {
            o.List = a;
        } else {
            return std::nullopt;
        }
    }
    if (o.List.empty()) return std::nullopt;
    return o;
}

// Keeps the final row states and tells when the worker has ended.
class TEvents final : public sched::IScheduleEvents {
public:
    explicit TEvents(std::size_t rows) : states_(rows) {}
    void RowStateChanged(std::size_t position, sched::TRowState state) override {
        std::lock_guard lock(mutex_);
        if (position < states_.size()) states_[position] = state;
    }
    void RunFinished() override {
        std::lock_guard lock(mutex_);
        finished_ = true;
        done_.notify_all();
    }
    void Wait() {
        std::unique_lock lock(mutex_);
        done_.wait(lock, [this] { return finished_; });
    }
    bool AllSent(const sched::TRows& rows) {
        std::lock_guard lock(mutex_);
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].State == sched::TRowState::SelectedRunning && states_[i] != sched::TRowState::Sent)
                return false;
        return true;
    }

private:
    std::mutex mutex_;
    std::condition_variable done_;
    std::vector<std::optional<sched::TRowState>> states_;
    bool finished_ = false;
};

int Run(const TOptions& o, cmn::IProtocolLog& log) {
    sched::TSignalList list;
    sched::ReadSignalList(o.List, list);

    const std::optional<lnk::TSignalLibrary> library = lnk::BindSignalLibrary(cmn::ProgramFolder(), log);
    sched::TLinkSettings link;
    link.PortName = o.Port;
    link.Modification = o.Modification;
    link.Library = library ? &*library : nullptr;
    sig::TKolebParamsHelpTable flicker;
    sig::LoadFlickerTable(flicker, std::nullopt, true, sig::fsGost99, log);

    sched::TCalibratorActions actions(link, flicker, false);
    TEvents events(list.Rows.size());
    sched::TSystemClock clock;
    sched::TScheduleRunner runner(actions, log, events, clock);
    const sched::TStartResult start = runner.Start(list.Rows, o.Mode, o.SetTime);
    if (start.Outcome != sched::TStartResult::TOutcome::Started) {
        log.Log(cmn::LogType::Error, start.Message);
        return 2;
    }
    log.Log(cmn::LogType::Info, start.StatusText);
    events.Wait();
    runner.Join();
    return events.AllSent(list.Rows) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::optional<TOptions> options = Parse(std::vector<std::string>(argv, argv + argc));
    if (!options) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    console::TConsoleLog log(stdout, console::LocaleOutputEncoding());
    try {
        return Run(*options, log);
    } catch (const std::exception& e) {
        log.Log(cmn::LogType::Error, e.what());
        return 2;
    }
}
