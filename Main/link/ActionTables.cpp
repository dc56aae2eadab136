#include "link/ActionTables.h"

namespace lnk {
namespace {

// A second table is sent clipped in any case: its check only tells.
TTableBytes SecondTable(const sig::TSignalSet& s, const TTableSettings& t, TTableRole role, cmn::IProtocolLog& log) {
    return TableToSend(s, t, role, log).value();
}

}  // namespace

std::optional<TTableBytes> TProgramTables::VoltageTable(const sig::TSignalSet& s, cmn::IProtocolLog& log) {
    return TableToSend(s, settings_, TTableRole::Voltage, log);
}

std::optional<TTableBytes> TProgramTables::CurrentTable(const sig::TSignalSet& s, cmn::IProtocolLog& log) {
    return TableToSend(s, settings_, TTableRole::Current, log);
}

TTableBytes TProgramTables::CollapsesTable(const sig::TSignalSet& s, cmn::IProtocolLog& log) {
    return SecondTable(s, settings_, TTableRole::Dips, log);
}

cmn::TimingBlock TProgramTables::CollapsesTiming(const sig::TSignalSet& s) {
    return DipsTimingBlock(s, FrequencyCorrection(settings_));
}

TTableBytes TProgramTables::KolebTable(const sig::TSignalSet& s, int level, cmn::IProtocolLog& log) {
    const TTableRole role = level == 0 ? TTableRole::FluctuationNormal : TTableRole::FluctuationAlternative;
    return SecondTable(s, settings_, role, log);
}

cmn::TimingBlock TProgramTables::KolebTiming(const sig::TSignalSet& s) {
    return FluctuationTimingBlock(s, FrequencyCorrection(settings_));
}

}  // namespace lnk
