#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "link/ActionContext.h"
#include "link/ActionTables.h"
#include "schedule/SendStep.h"
#include "signal/Correction.h"
#include "signal/Flicker.h"
#include "signal/Nominals.h"

namespace sched {

// The program-wide link settings the console and the schedule runner send with.
struct TLinkSettings {
    std::string PortName = "COM1";
    std::uint32_t BaudRate = 115200;
    int Modification = sig::kDefaultModification;
    const lnk::TSignalLibrary* Library = nullptr;  // none when binding failed
    sig::TCorrectionRecord Correction{};           // all zero in console mode
    lnk::IStatusSink* Status = nullptr;            // the window told of the link; none in console mode
};

// The send step's actions on the real calibrator: the full signal file is
// read without questions and recomputed, the command runs the action of its
// type. Keeps the divisor last sent between the rows of a run.
class TCalibratorActions final : public ISignalActions {
public:
    TCalibratorActions(const TLinkSettings& link, const sig::TKolebParamsHelpTable& flicker, bool console);
    bool ReadSignalFile(const std::string& path, TSignalDataForSet& bundle, cmn::IProtocolLog& log) override;
    bool RunCommand(TSignalDataForSet& bundle, cmn::IProtocolLog& log) override;

private:
    TLinkSettings link_;
    const sig::TKolebParamsHelpTable& flicker_;
    bool console_;
    lnk::TProgramTables tables_;
    std::optional<std::uint16_t> lastDivisor_;
};

}  // namespace sched
