#include "ui/shell/ActionRunner.h"

#include "CommonUtils/TalvoError.h"
#include "editor/ConverterSend.h"
#include "link/ActionTables.h"
#include "link/CommandSequences.h"
#include "signal/Recalculate.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

bool RunSequence(TActionRequest& r, lnk::TActionTarget& target) {
    lnk::TProgramTables tables({r.Modification, r.Correction});
    lnk::TSignalAction action{target, r.Signal, tables, r.Modification, r.LastDivisor, r.Library.get()};
    switch (r.Kind) {
        case TActionKind::TestSignal: return lnk::SendTestSignal(action);
        case TActionKind::Collapses: return lnk::SendCollapses(action);
        case TActionKind::Koleb: return lnk::SendKoleb(action);
        case TActionKind::ResetCollapses: return lnk::ResetCollapses(target);
        case TActionKind::ResetAll: return lnk::ResetAll(target);
        case TActionKind::MeterVerification: break;
    }
    const sig::real kf = sig::FrequencyCorrection(r.Correction);
    const sig::TKolebParamsHelpTable flicker = sig::FlickerTable().Snapshot();
    const lnk::TSignalRecompute recompute = [&](sig::TSignalSet& s) { sig::Recalculate(s, flicker, {kf}); };
    return lnk::MeterVerification(action, recompute, *r.Countdown);
}

bool RunWithConverter(TActionRequest& r, lnk::TActionTarget& target, TActionOutcome& outcome) {
    edit::TConverterSendResult result;
    const bool ok = edit::SendWithConverter(
        r.Converter->State, r.Converter->Port, r.Signal, r.Converter->ShowMessage,
        [&] { return RunSequence(r, target); }, result);
    outcome.Converter = std::move(result);
    return ok;
}

}  // namespace

TActionOutcome RunAction(TActionRequest& r) {
    TActionOutcome outcome;
    lnk::TActionTarget target{r.PortName, r.BaudRate, *r.Log, r.Status.get()};
    try {
        if (r.Converter) outcome.Ok = RunWithConverter(r, target, outcome);
        else outcome.Ok = RunSequence(r, target);
    } catch (const cmn::TalvoError& e) {
        outcome.Error = Q(e.what());
    }
    outcome.LastDivisor = r.LastDivisor;
    return outcome;
}

}  // namespace ui
