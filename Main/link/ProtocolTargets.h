#pragma once

#include <functional>
#include <string>

#include "CommonUtils/ProtocolLog.h"
#include "link/ActionContext.h"

// The schedule's protocol-log target and the meter verification countdown
// of the runs without a window. Nothing here asks: a question is written as a notice
// and the run goes on.
namespace lnk {

// The schedule runner's target: every line but plain information goes to
// the schedule window; with no window nothing goes anywhere.
class TScheduleLog : public cmn::IProtocolLog {
public:
    using TPost = std::function<void(cmn::LogType, const std::string&)>;
    explicit TScheduleLog(TPost post) : post_(std::move(post)) {}
    void Log(cmn::LogType type, const std::string& text) override;
    bool Interactive() const override { return false; }
    bool Ask(const std::string& text, cmn::MessageKind kind, cmn::Buttons buttons) override;

private:
    TPost post_;
};

// Waits the given seconds and reports that the time ran out.
class TTimedCountdown : public IEnergyCountdown {
public:
    bool Run(int seconds) override;
};

}  // namespace lnk
