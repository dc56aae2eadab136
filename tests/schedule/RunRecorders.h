#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

#include "schedule/ScheduleRunner.h"

// What a schedule run reports besides its protocol, kept for the tests from
// the worker thread.
namespace sched_test {

using Steady = std::chrono::steady_clock;

// The events of a run, each stamped with the time of the run's wait clock.
class TRecordingEvents : public sched::IScheduleEvents {
public:
    explicit TRecordingEvents(const sched::IWaitClock& clock) : clock_(clock) {}
    void RowStateChanged(std::size_t position, sched::TRowState state) override {
        std::lock_guard lock(mutex_);
        states.emplace_back(position, state);
        stamps.push_back(clock_.Now());
    }
    void RunFinished() override {
        {
            std::lock_guard lock(mutex_);
            finishedAt = clock_.Now();
            finished = true;
        }
        done_.notify_all();
    }
    bool WaitFinished() {
        std::unique_lock lock(mutex_);
        return done_.wait_for(lock, std::chrono::seconds(20), [this] { return finished; });
    }

    std::vector<std::pair<std::size_t, sched::TRowState>> states;
    std::vector<Steady::time_point> stamps;  // when each state came
    Steady::time_point finishedAt;
    bool finished = false;

private:
    const sched::IWaitClock& clock_;
    std::mutex mutex_;
    std::condition_variable done_;
};

}  // namespace sched_test
