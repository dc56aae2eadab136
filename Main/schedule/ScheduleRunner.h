#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "CommonUtils/ProtocolLog.h"
#include "schedule/DateTime.h"
#include "schedule/ScheduleRules.h"
#include "schedule/SendStep.h"

namespace sched {

// What a run reports to the schedule window besides its protocol lines.
// Called on the worker thread: the window queues them onto its own thread.
class IScheduleEvents {
public:
    virtual ~IScheduleEvents() = default;
    // A row took state 2 (being sent), 3 (sent and its time over) or 4 (failed).
    virtual void RowStateChanged(std::size_t position, TRowState state) = 0;
    // The worker has ended; it makes no further calls.
    virtual void RunFinished() = 0;
};

// The clock the worker's waits run on: a row's duration and the steps of a
// wait for a clock time. The program waits on the steady clock; a test may
// pass a clock it advances itself, so that a wait of seconds takes none.
class IWaitClock {
public:
    using TTimePoint = std::chrono::steady_clock::time_point;
    virtual ~IWaitClock() = default;
    virtual TTimePoint Now() const = 0;
    // Called with `lock` held on the mutex that `wake` is notified under;
    // returns at `deadline` of this clock at the latest, earlier when `wake`
    // is notified (or spuriously).
    virtual void WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock, TTimePoint deadline) = 0;
};

// The steady clock, the one the program waits on.
IWaitClock& SteadyWaitClock();

struct TStartResult {
    enum class TOutcome { Started, AlreadyRunning, EmptyList, NothingSelected, TimesRefused };
    TOutcome Outcome = TOutcome::EmptyList;
    std::string Message;     // the warning or error to show when the run did not start
    std::string StatusText;  // the expected end, for the status bar, when it started
};

// Runs a schedule on one worker thread: the selected rows are set on the
// calibrator one after another by duration, by clock time, or from a start
// time by durations. The protocol lines go to `log` from the worker thread
// and from Stop(), so `log` must take lines from both threads.
class TScheduleRunner {
public:
    TScheduleRunner(ISignalActions& actions, cmn::IProtocolLog& log, IScheduleEvents& events, const IClock& clock,
                    IWaitClock& waits = SteadyWaitClock());
    // Ends a run still going on (without a protocol line) and waits for it.
    ~TScheduleRunner();
    TScheduleRunner(const TScheduleRunner&) = delete;
    TScheduleRunner& operator=(const TScheduleRunner&) = delete;

    // "Старт": checks the rows, marks them for the run (5 and 6) and starts
    // the worker on copies of them adjusted by the set time `setTime`.
    TStartResult Start(TRows& rows, TScheduleMode mode, int setTime);
    // "Стоп": a command sequence already running finishes; the worker stops
    // before its next step or at once inside a wait.
    void Stop();
    bool Running() const { return running_; }
    // Waits until the worker has ended.
    void Join();

private:
    class TRunLog;
    using TBundles = std::vector<TSignalDataForSet>;

    void Work(TScheduleMode mode, const TRows& copies);
    void RunByDuration(TBundles& bundles, std::size_t from, int& count);
    void RunByTime(TBundles& bundles, int& count);
    void RunByTimeAndDuration(TBundles& bundles, int& count);
    template <class Hold>
    void SendAndHold(TBundles& bundles, std::size_t i, int& count, Hold hold);
    bool Send(TSignalDataForSet& bundle, std::size_t position);
    void WaitSeconds(int seconds);
    void WaitUntil(TDateTime target);
    void WaitUntilStopOr(std::unique_lock<std::mutex>& lock, IWaitClock::TTimePoint deadline);
    long long SecondsLate(TDateTime start) const;
    void RequestStop();
    bool Stopped() const { return stop_; }

    ISignalActions& actions_;
    cmn::IProtocolLog& log_;
    IScheduleEvents& events_;
    const IClock& clock_;
    IWaitClock& waits_;

    std::atomic<bool> running_{false};
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::condition_variable wake_;
    std::thread worker_;
};

}  // namespace sched
