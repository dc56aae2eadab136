#include "link/ProtocolTargets.h"

#include <chrono>
#include <thread>

namespace lnk {

void TScheduleLog::Log(cmn::LogType type, const std::string& text) {
    if (type != cmn::LogType::Info && post_) post_(type, text);
}

bool TScheduleLog::Ask(const std::string& text, cmn::MessageKind, cmn::Buttons) {
    Log(cmn::LogType::Notice, text);
    return true;
}

bool TTimedCountdown::Run(int seconds) {
    std::this_thread::sleep_for(std::chrono::seconds(seconds > 0 ? seconds : 0));
    return true;
}

}  // namespace lnk
