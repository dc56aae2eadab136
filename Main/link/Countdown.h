#pragma once

#include "link/ActionContext.h"

namespace lnk {

// The meter verification countdown of runs without a window: waits the
// given seconds and reports that the time ran out.
class TTimedCountdown : public IEnergyCountdown {
public:
    bool Run(int seconds) override;
};

}  // namespace lnk
