#include "ui/shell/ActionRunner.h"

#include <QMetaObject>
#include <QThread>

#include "CommonUtils/TalvoError.h"
#include "link/ActionTables.h"
#include "link/CommandSequences.h"
#include "signal/Recalculate.h"
#include "ui/common/Texts.h"

namespace ui {
namespace {

bool RunSequence(TActionRequest& r, lnk::TActionTarget& target) {
    lnk::TProgramTables tables({r.Modification, r.Correction});
    lnk::TSignalAction action{target, r.Signal, tables, r.Modification, r.LastDivisor, r.Library};
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

}  // namespace

TActionOutcome RunAction(TActionRequest& r) {
    TActionOutcome outcome;
    lnk::TActionTarget target{r.PortName, r.BaudRate, *r.Log, r.Status};
    try {
        outcome.Ok = RunSequence(r, target);
    } catch (const cmn::TalvoError& e) {
        outcome.Error = Q(e.what());
    }
    outcome.LastDivisor = r.LastDivisor;
    return outcome;
}

TActionRunner::~TActionRunner() { Wait(); }

bool TActionRunner::Start(TActionRequest request) {
    if (thread_) return false;
    thread_ = QThread::create([this, request = std::move(request)]() mutable {
        const TActionOutcome outcome = RunAction(request);
        QMetaObject::invokeMethod(
            this, [this, outcome] { Done(outcome); }, Qt::QueuedConnection);
    });
    thread_->start();
    return true;
}

void TActionRunner::Done(const TActionOutcome& outcome) {
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
    Q_EMIT Finished(outcome);
}

void TActionRunner::Wait() {
    if (!thread_) return;
    thread_->wait();
    delete thread_;
    thread_ = nullptr;
}

}  // namespace ui
