#include "link/Countdown.h"

#include <chrono>
#include <thread>

namespace lnk {

bool TTimedCountdown::Run(int seconds) {
    std::this_thread::sleep_for(std::chrono::seconds(seconds > 0 ? seconds : 0));
    return true;
}

}  // namespace lnk
