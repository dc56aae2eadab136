#include "ui/shell/ActionRunner.h"

#include "CommonUtils/TalvoError.h"
#include "editor/ConverterSession.h"
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

// The test signal in converter mode: the converter is tested, reset and read,
// the converter calculation fills the currents in and checks them, the signal
// goes out and the selected gain is written. A converter that does not
// answer lets the signal go unchanged.
bool RunWithConverter(TActionRequest& r, lnk::TActionTarget& target, TActionOutcome& outcome) {
    edit::TConverterSendResult result;
    result.State = r.Converter->State;
    edit::TConverterSession session(result.State, r.Converter->Port);
    session.SetMessageSink(r.Converter->ShowMessage);
    const edit::TSendPreparation prep = edit::PrepareConverterSend(session);
    bool ok = false;
    result.Calculated = prep.ConverterAnswered && prep.MaySend();
    if (result.Calculated) result.Error = edit::CalcConverter(result.State, r.Signal, result.State.Automatic);
    if (prep.MaySend() && result.Error == 0) {
        ok = RunSequence(r, target);
        edit::FinishConverterSend(session, prep, ok);
    }
    result.Current = r.Signal.Current;
    result.Converter = r.Signal.Converter;
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
