#pragma once

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "ScheduleRows.h"
#include "schedule/DateTime.h"
#include "schedule/ScheduleRunner.h"

// Clocks for a schedule run that take no real time.
namespace sched_test {

// A wait clock that moves only when the runner waits: each wait jumps it to
// the wait's deadline at once, so that a run of many seconds takes none.
// Held, it stands still and a wait ends only when the runner is woken, as
// "Стоп" does (or after a second of real time, so that a lost wake-up shows
// as a late end rather than a hang).
class TManualWaitClock : public sched::IWaitClock {
public:
    TTimePoint Now() const override {
        std::lock_guard lock(mutex_);
        return now_;
    }
    void WaitUntil(std::condition_variable& wake, std::unique_lock<std::mutex>& lock, TTimePoint deadline) override {
        bool held = false;
        {
            std::lock_guard own(mutex_);
            held = held_;
            if (held) wake_ = &wake;
            else now_ = std::max(now_, deadline);
            ++waits_;
        }
        waited_.notify_all();
        if (held) wake.wait_for(lock, std::chrono::seconds(1));
    }

    void Hold() {
        std::lock_guard lock(mutex_);
        held_ = true;
    }
    // Lets the clock move again; a wait in progress goes on at once (or
    // within its second, if the wake-up comes just before it sleeps).
    void Release() {
        std::condition_variable* wake = nullptr;
        {
            std::lock_guard lock(mutex_);
            held_ = false;
            wake = wake_;
        }
        if (wake) wake->notify_all();
    }
    // Waits, in real time, until the runner is inside a wait.
    bool WaitForAWait() {
        std::unique_lock lock(mutex_);
        return waited_.wait_for(lock, std::chrono::seconds(10), [this] { return waits_ > 0; });
    }

private:
    mutable std::mutex mutex_;
    std::condition_variable waited_;
    TTimePoint now_{};
    bool held_ = false;
    std::condition_variable* wake_ = nullptr;  // the runner's, while a held wait goes on
    int waits_ = 0;
};

// The wall clock of a run: 12:00:00 of the test day when it is made,
// moving with the wait clock.
class TTestClock : public sched::IClock {
public:
    explicit TTestClock(const sched::IWaitClock& waits) : waits_(waits), origin_(waits.Now()) {}
    sched::TDateTime Now() const override {
        return At(12, 0, 0) + sched::SecondsToDays(std::chrono::duration<double>(waits_.Now() - origin_).count());
    }

private:
    const sched::IWaitClock& waits_;
    sched::IWaitClock::TTimePoint origin_;
};

}  // namespace sched_test
