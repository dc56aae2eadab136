#include "link/CommandSequences.h"

#include <array>
#include <cmath>
#include <memory>

#include "CommonUtils/TalvoError.h"
#include "link/BusyFlag.h"
#include "link/Exchange.h"
#include "link/PortAccess.h"
#include "link/SampleTables.h"
#include "link/TableGrid.h"
#include "signal/Collapses.h"
#include "signal/Nominals.h"
#include "signal/SampleClock.h"

namespace lnk {
namespace {

using cmn::Buttons;
using cmn::CalCommand;
using cmn::LogType;
using cmn::MessageKind;

const std::string kSendSignal = "Передача испытательного сигнала";
const std::string kSendKoleb = "Передача колебаний";
const std::string kResetCollapses = "Сброс провалов и перенапряжений";
const std::string kResetAll = "Сброс всего сигнала";
const std::string kMeterVerification = "Поверка счетчика";
const std::string kStopped = "Передача сигнала остановлена";
const std::string kZeroCurrentReady =
    "На выходе калибратора установлено заданное напряжение и нулевой ток.\r\nСбросьте счетчики и нажмите на кнопку "
    "\"Да\"";
const std::string kVerificationCancelled =
    "Процесс прерван. На выходе калибратора установлено заданное напряжение и нулевой ток.";
const std::string kVerificationDone =
    "Процесс успешно закончен. На выходе калибратора установлено заданное напряжение и нулевой ток.";
// The calibrator keeps the 50 Hz clock across actions; any other divisor
// is sent again with every signal.
constexpr std::uint16_t kKeptDivisor = 194;
constexpr std::uint16_t kKolebCount = 32767;

// One running action: where it reports, its port once open, and whether
// the user stopped the transfer.
struct TRun {
    const TActionTarget& Target;
    std::unique_ptr<TMyComPort> Port;
    bool Stopped = false;

    cmn::IProtocolLog& Log() const { return Target.Log; }
    void Post(std::uint32_t message, int code) const {
        if (Target.Status != nullptr && Target.Log.Interactive()) Target.Status->Post(message, code);
    }
    bool Send(CalCommand code, std::uint16_t first = 0, std::uint16_t second = 0,
              std::span<const std::uint8_t> block = {}) {
        return SendCommand(*Port, Target.Log, code, first, second, block);
    }
};

// A message the user acknowledges, or the notice that stands for it.
void Tell(cmn::IProtocolLog& log, const std::string& dialog, const std::string& notice, MessageKind kind) {
    if (log.Interactive()) log.Ask(dialog, kind, Buttons::Ok);
    else log.Log(LogType::Notice, notice);
}

// ---------------------------------------------------------------- checks

bool RequireAllVoltages(const TSignalAction& a, const std::string& name) {
    const sig::TSignalSwitches& sw = a.Signal.Switches;
    if (sw.UOnA && sw.UOnB && sw.UOnC) return true;
    const std::string text = "Выполнение действия \"" + name + "\" возможно только при " +
                             "включении напряжения основной частоты всех фаз в сигнал.";
    Tell(a.Target.Log, text + "\r\n\r\n" + "Включите напряжение основной частоты в сигнал и повторите попытку.", text,
         MessageKind::Warning);
    return false;
}

bool RefuseInterharmonics(const TSignalAction& a, const std::string& name) {
    if (!a.Signal.Switches.IncludeInterGarm) return true;
    const std::string text = "Выполнение действия \"" + name + "\" невозможно при наличии в сигнале интергармоник.";
    Tell(a.Target.Log, text + "\r\n\r\n" + "Отключите интергармоники и повторите попытку.", text, MessageKind::Warning);
    return false;
}

bool ConfirmModification(const TSignalAction& a) {
    const sig::TSignalSet& s = a.Signal;
    const std::string list = sig::UnsupportedParameters(a.Modification, s.Voltage, s.Current, s.Switches);
    if (list.empty()) return true;
    cmn::IProtocolLog& log = a.Target.Log;
    if (log.Interactive())
        return log.Ask(sig::UnsupportedQuestion(a.Modification, list), MessageKind::Warning, Buttons::YesNo);
    log.Log(LogType::Notice, sig::UnsupportedNotice(list));
    return true;
}

bool ConfirmEmptyInterharmonics(const TSignalAction& a) {
    const sig::TSignalSet& s = a.Signal;
    cmn::IProtocolLog& log = a.Target.Log;
    if (!s.Switches.IncludeInterGarm || !log.Interactive() || !sig::InterharmonicsEmpty(s.Voltage, s.Current))
        return true;
    return log.Ask(
        "Интергармоники включены в сигнал, но значения всех интергармонических составляющих = 0. "
        "\r\n\r\nПродолжить передачу сигнала?",
        MessageKind::Confirmation, Buttons::YesNo);
}

void ExerciseLibrary(const TSignalAction& a) {
    const TSignalLibrary none;
    TFullSignalParams buffer{};
    Exercise(a.Library != nullptr ? *a.Library : none, buffer);
}

// The checks of the actions that play the signal as it is.
bool SignalChecks(const TSignalAction& a) {
    if (!ConfirmModification(a) || !ConfirmEmptyInterharmonics(a)) return false;
    ExerciseLibrary(a);
    return true;
}

// The checks of the actions that change the voltage while it plays.
bool VariantChecks(const TSignalAction& a, const std::string& name, bool collapses) {
    if (!RequireAllVoltages(a, name) || !RefuseInterharmonics(a, name)) return false;
    if (collapses && !sig::ConfirmCollapses(a.Signal.Voltage, a.Signal.Collapses, a.Target.Log)) return false;
    ExerciseLibrary(a);
    return true;
}

// ---------------------------------------------------------------- start and end

bool Begin(TRun& run, const std::string& name) {
    cmn::IProtocolLog& log = run.Log();
    log.Log(LogType::Info, "");
    log.Log(LogType::Info, "ДЕЙСТВИЕ: " + name);
    log.Log(LogType::Info, "");
    run.Port = OpenActionPort(run.Target.PortName, run.Target.BaudRate, log);
    if (!run.Port) return false;
    run.Post(WMDRAWSTATUS, asPortOpened);
    return true;
}

// A stopped transfer keeps the stopped state on the main window.
void End(TRun& run, bool ok) {
    if (ok) {
        run.Post(WMDRAWSTATUS, asSignalSet);
        run.Post(WMDRAWWARNING, kVoltageSetWarning);
    } else if (!run.Stopped) {
        run.Post(WMDRAWSTATUS, asFailed);
    }
    ReleaseActionPort(run.Port, run.Log());
}

template <class Checks, class Steps>
bool RunAction(const TActionTarget& target, const std::string& name, Checks&& checks, Steps&& steps) {
    if (!TransferBusy().TryTake()) return false;
    const TBusyHold hold(TransferBusy());
    TRun run{target, nullptr};
    bool ok = false;
    try {
        ok = checks() && Begin(run, name) && steps(run);
    } catch (...) {
        End(run, false);
        throw;
    }
    End(run, ok);
    return ok;
}

// ---------------------------------------------------------------- sequences

// A grid the tables cannot be built on is refused before the calibrator is
// reset and reprogrammed for it.
std::uint16_t DivisorToSend(const sig::TSignalSet& s) {
    CheckedSamples(s.Grid);
    const int index = s.Grid.TimerIndex;
    if (index < 0 || index >= sig::kTimerIndexCount) throw cmn::TalvoError("Частота сигнала не задана");
    return static_cast<std::uint16_t>(sig::SentTimerDivisor(index, s.Switches.IncludeInterGarm));
}

// Words of a table: four per sample.
std::uint16_t TableWords(std::size_t samples) { return static_cast<std::uint16_t>(samples * 4); }

bool Prepare(TRun& run, TSignalAction& a) {
    const std::uint16_t divisor = DivisorToSend(a.Signal);
    if (a.LastDivisor == divisor && divisor == kKeptDivisor) {
        if (!run.Send(CalCommand::ResetDips)) return false;
    } else {
        if (!run.Send(CalCommand::ResetDips) || !run.Send(CalCommand::ResetOutputs) ||
            !run.Send(CalCommand::TimerDivisor, divisor))
            return false;
        a.LastDivisor = divisor;
    }
    return run.Send(CalCommand::Range, RangeCode(a.Signal.Voltage, a.Signal.Current));
}

bool Stop(TRun& run) {
    Tell(run.Log(), kStopped, kStopped, MessageKind::Warning);
    run.Post(WMDRAWSTATUS, asStopped);
    run.Stopped = true;
    return false;
}

bool SendTable(TRun& run, CalCommand code, const TTableBytes& table) {
    return run.Send(code, TableWords(table.size() / cmn::kSampleSize), cmn::kSecondParameter, table);
}

bool Start(TRun& run, const TSignalAction& a, CalCommand code) {
    return run.Send(code, TableWords(static_cast<std::size_t>(a.Signal.Grid.SamplesPerPeriod)), cmn::kSecondParameter);
}

bool SendCurrentAndStart(TRun& run, TSignalAction& a) {
    const std::optional<TTableBytes> current = a.Tables.CurrentTable(a.Signal, run.Log());
    if (!current) return Stop(run);
    return SendTable(run, CalCommand::CurrentTable, *current) && Start(run, a, CalCommand::StartBoth);
}

bool SendTablesAndStart(TRun& run, TSignalAction& a) {
    const std::optional<TTableBytes> voltage = a.Tables.VoltageTable(a.Signal, run.Log());
    if (!voltage) return Stop(run);
    return SendTable(run, CalCommand::VoltageTable, *voltage) && SendCurrentAndStart(run, a) &&
           run.Send(CalCommand::ResetDips);
}

bool SendDips(TRun& run, TSignalAction& a) {
    const TTableBytes table = a.Tables.CollapsesTable(a.Signal, run.Log());
    if (!SendTable(run, CalCommand::VoltageTable, table)) return false;
    const cmn::TimingBlock block = a.Tables.CollapsesTiming(a.Signal);
    return run.Send(CalCommand::Dips, static_cast<std::uint16_t>(a.Signal.Collapses.Count), cmn::kSecondParameter,
                    block);
}

bool SendFluctuations(TRun& run, TSignalAction& a) {
    if (!SendTable(run, CalCommand::VoltageTable, a.Tables.KolebTable(a.Signal, 0, run.Log())) ||
        !Start(run, a, CalCommand::StartVoltage) ||
        !SendTable(run, CalCommand::VoltageTable, a.Tables.KolebTable(a.Signal, 1, run.Log())))
        return false;
    const cmn::TimingBlock block = a.Tables.KolebTiming(a.Signal);
    return run.Send(CalCommand::Dips, kKolebCount, cmn::kSecondParameter, block);
}

// ---------------------------------------------------------------- meter verification

using TCurrents = std::array<sig::real, 3>;

TCurrents Currents(const sig::TSignalParamsI& c) {
    return {sig::I(c, sig::fzA), sig::I(c, sig::fzB), sig::I(c, sig::fzC)};
}

void SetCurrents(TSignalAction& a, const TCurrents& values, const TSignalRecompute& recompute) {
    for (int phase = sig::fzA; phase <= sig::fzC; ++phase) sig::I(a.Signal.Current, phase) = values[phase];
    recompute(a.Signal);
}

bool VerificationRun(TRun& run, TSignalAction& a, const TCurrents& set, const TSignalRecompute& recompute,
                     IEnergyCountdown& countdown) {
    const TCurrents zero{};
    SetCurrents(a, zero, recompute);
    if (!SendTablesAndStart(run, a)) return false;
    run.Post(WMDRAWSTATUS, asSignalSet);
    Tell(run.Log(), kZeroCurrentReady, kZeroCurrentReady, MessageKind::Ok);

    SetCurrents(a, set, recompute);
    if (!SendCurrentAndStart(run, a)) return false;
    run.Post(WMDRAWSTATUS, asSignalSet);
    const bool completed = countdown.Run(a.Signal.Energy.TestSeconds);

    SetCurrents(a, zero, recompute);
    if (!SendCurrentAndStart(run, a)) return false;
    run.Post(WMDRAWSTATUS, asSignalSet);
    const std::string& outcome = completed ? kVerificationDone : kVerificationCancelled;
    Tell(run.Log(), outcome, outcome, MessageKind::Ok);
    return true;
}

bool VerificationSteps(TRun& run, TSignalAction& a, const TSignalRecompute& recompute, IEnergyCountdown& countdown) {
    if (!Prepare(run, a)) return false;
    const TCurrents set = Currents(a.Signal.Current);
    bool ok = false;
    try {
        ok = VerificationRun(run, a, set, recompute, countdown);
    } catch (...) {
        SetCurrents(a, set, recompute);
        throw;
    }
    SetCurrents(a, set, recompute);
    return ok;
}

}  // namespace

bool SendTestSignal(TSignalAction& a) {
    return RunAction(
        a.Target, kSendSignal, [&] { return SignalChecks(a); },
        [&](TRun& run) { return Prepare(run, a) && SendTablesAndStart(run, a); });
}

bool SendCollapses(TSignalAction& a) {
    return RunAction(
        a.Target, kSendSignal, [&] { return VariantChecks(a, kSendSignal, true); },
        [&](TRun& run) { return Prepare(run, a) && SendTablesAndStart(run, a) && SendDips(run, a); });
}

bool SendKoleb(TSignalAction& a) {
    return RunAction(
        a.Target, kSendKoleb, [&] { return VariantChecks(a, kSendKoleb, false); },
        [&](TRun& run) { return Prepare(run, a) && SendTablesAndStart(run, a) && SendFluctuations(run, a); });
}

bool ResetCollapses(const TActionTarget& target) {
    return RunAction(
        target, kResetCollapses, [] { return true; }, [](TRun& run) { return run.Send(CalCommand::ResetDips); });
}

bool ResetAll(const TActionTarget& target) {
    return RunAction(
        target, kResetAll, [] { return true; },
        [](TRun& run) { return run.Send(CalCommand::ResetDips) && run.Send(CalCommand::ResetOutputs); });
}

bool MeterVerification(TSignalAction& a, const TSignalRecompute& recompute, IEnergyCountdown& countdown) {
    return RunAction(
        a.Target, kMeterVerification, [&] { return SignalChecks(a); },
        [&](TRun& run) { return VerificationSteps(run, a, recompute, countdown); });
}

}  // namespace lnk
