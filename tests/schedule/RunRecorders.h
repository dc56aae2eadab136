#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "CommonUtils/ProtocolLog.h"
#include "schedule/ScheduleRunner.h"

// What a schedule run reports, kept for the tests from the worker thread.
namespace sched_test {

using Steady = std::chrono::steady_clock;

// The protocol of a run, taken from the worker thread and the test's own.
class TRecordingLog : public cmn::IProtocolLog {
public:
    void Log(cmn::LogType type, const std::string& text) override {
        std::lock_guard lock(mutex_);
        lines_.push_back({type, text});
    }
    bool Interactive() const override { return false; }
    bool Ask(const std::string&, cmn::MessageKind, cmn::Buttons) override { return false; }

    // Texts, a separator shown as "--".
    std::vector<std::string> Texts() const {
        std::lock_guard lock(mutex_);
        std::vector<std::string> texts;
        for (const auto& [type, text] : lines_) texts.push_back(type == cmn::LogType::Separator ? "--" : text);
        return texts;
    }
    cmn::LogType TypeOf(const std::string& text) const {
        std::lock_guard lock(mutex_);
        for (const auto& [type, t] : lines_)
            if (t == text) return type;
        return cmn::LogType::Separator;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::pair<cmn::LogType, std::string>> lines_;
};

class TRecordingEvents : public sched::IScheduleEvents {
public:
    void RowStateChanged(std::size_t position, sched::TRowState state) override {
        std::lock_guard lock(mutex_);
        states.emplace_back(position, state);
        stamps.push_back(Steady::now());
    }
    void RunFinished() override {
        {
            std::lock_guard lock(mutex_);
            finishedAt = Steady::now();
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
    std::mutex mutex_;
    std::condition_variable done_;
};

}  // namespace sched_test
