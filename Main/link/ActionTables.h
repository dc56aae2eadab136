#pragma once

#include "link/ActionContext.h"
#include "link/SampleTables.h"

namespace lnk {

// The program's tables for the actions: built from the signal with the
// modification and correction coefficients of the settings, each checked
// for clipped amplitudes as it is built.
class TProgramTables final : public IActionTables {
public:
    explicit TProgramTables(const TTableSettings& settings) : settings_(settings) {}
    std::optional<TTableBytes> VoltageTable(const sig::TSignalSet& s, cmn::IProtocolLog& log) override;
    std::optional<TTableBytes> CurrentTable(const sig::TSignalSet& s, cmn::IProtocolLog& log) override;
    TTableBytes CollapsesTable(const sig::TSignalSet& s, cmn::IProtocolLog& log) override;
    cmn::TimingBlock CollapsesTiming(const sig::TSignalSet& s) override;
    TTableBytes KolebTable(const sig::TSignalSet& s, int level, cmn::IProtocolLog& log) override;
    cmn::TimingBlock KolebTiming(const sig::TSignalSet& s) override;

private:
    TTableSettings settings_;
};

}  // namespace lnk
