#include "schedule/CalibratorActions.h"

#include "files/SignalFile.h"
#include "link/CommandSequences.h"
#include "signal/Recalculate.h"

namespace sched {

TCalibratorActions::TCalibratorActions(const TLinkSettings& link, const sig::TKolebParamsHelpTable& flicker,
                                       bool console)
    : link_(link), flicker_(flicker), console_(console), tables_({link.Modification, link.Correction}) {}

bool TCalibratorActions::ReadSignalFile(const std::string& path, TSignalDataForSet& bundle, cmn::IProtocolLog& log) {
    const sig::real kf = sig::FrequencyCorrection(link_.Correction);
    files::TSignalFileExtras extras;
    const files::TSignalLoadTarget target{bundle.Signal, extras, log, flicker_, kf, console_};
    if (!files::LoadSignalFile(files::sfAll, files::IniFile(path), false, target)) return false;
    bundle.Row.Description = extras.Description;
    sig::Recalculate(bundle.Signal, flicker_, {kf});
    return true;
}

bool TCalibratorActions::RunCommand(TSignalDataForSet& bundle, cmn::IProtocolLog& log) {
    const lnk::TActionTarget target{link_.PortName, link_.BaudRate, log, link_.Status};
    lnk::TSignalAction action{target, bundle.Signal, tables_, link_.Modification, lastDivisor_, link_.Library};
    switch (bundle.Row.Type) {
        case TCommandType::Sinus: return lnk::SendTestSignal(action);
        case TCommandType::ColOver: return lnk::SendCollapses(action);
        case TCommandType::Koleb: return lnk::SendKoleb(action);
        case TCommandType::StopSin: return lnk::ResetAll(target);
        case TCommandType::StopColOver: return lnk::ResetCollapses(target);
    }
    return false;
}

}  // namespace sched
