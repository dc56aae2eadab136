#include "link/SampleTables.h"

namespace lnk {
namespace {

TSampleTable Build(const sig::TSignalSet& s, const TTableSettings& t, TTableRole role) {
    switch (role) {
        case TTableRole::Voltage: return BuildVoltageTable(s, t);
        case TTableRole::Current: return BuildCurrentTable(s, t);
        case TTableRole::Dips: return BuildDipsTable(s, t);
        case TTableRole::FluctuationNormal: return BuildFluctuationTable(s, t, TFluctuationLevel::Raised);
        case TTableRole::FluctuationAlternative: break;
    }
    return BuildFluctuationTable(s, t, TFluctuationLevel::Lowered);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> TableToSend(const sig::TSignalSet& s, const TTableSettings& t, TTableRole role,
                                                     cmn::IProtocolLog& log) {
    TSampleTable table = Build(s, t, role);
    const TTableKind kind = role == TTableRole::Current ? TTableKind::Current : TTableKind::Voltage;
    const bool main = role == TTableRole::Voltage || role == TTableRole::Current;
    if (!ConfirmAmplitudes(table, kind, main ? TTableUse::Main : TTableUse::Second, log)) return std::nullopt;
    return std::move(table.Bytes);
}

}  // namespace lnk
