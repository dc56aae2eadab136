#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "editor/ConverterSession.h"
#include "link/ActionContext.h"
#include "signal/Correction.h"
#include "signal/SignalSet.h"

class QThread;

namespace ui {

enum class TActionKind { TestSignal, Collapses, Koleb, ResetCollapses, ResetAll, MeterVerification };

// What an action needs, taken on the window thread when it starts. The
// signal is a copy: edits made meanwhile cannot race the transfer.
struct TActionRequest {
    TActionKind Kind = TActionKind::ResetAll;
    sig::TSignalSet Signal;
    std::string PortName;
    std::uint32_t BaudRate = 115200;
    int Modification = 0;
    sig::TCorrectionRecord Correction{};
    std::optional<std::uint16_t> LastDivisor;
    const lnk::TSignalLibrary* Library = nullptr;
    cmn::IProtocolLog* Log = nullptr;  // lives on the window thread, answers there
    lnk::IStatusSink* Status = nullptr;
    lnk::IEnergyCountdown* Countdown = nullptr;  // meter verification only
    // In converter mode, for a test signal: the converter page's state and port.
    struct TConverter {
        edit::TConverterState State;
        std::string Port;
        // Shows one message of the converter steps and returns once it was
        // answered; called on the worker.
        std::function<void(const edit::TConverterMessage&)> ShowMessage;
    };
    std::optional<TConverter> Converter;
};

// What comes back to the window thread when the action ended.
struct TActionOutcome {
    bool Ok = false;
    std::optional<std::uint16_t> LastDivisor;
    QString Error;  // the message of a refusal raised inside, empty otherwise
    // In converter mode: what the converter steps did.
    std::optional<edit::TConverterSendResult> Converter;
};

// Runs one calibrator action at a time on a worker thread, so that the
// windows stay responsive and repaint during a transfer.
class TActionRunner : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;
    ~TActionRunner() override;
    // False, starting nothing, while another action of this runner runs.
    bool Start(TActionRequest request);
    bool Running() const { return thread_ != nullptr; }
    // Waits for the running action (used when the program ends).
    void Wait();
Q_SIGNALS:
    void Finished(const ui::TActionOutcome& outcome);

private:
    void Done(const TActionOutcome& outcome);
    QThread* thread_ = nullptr;
};

// The action itself, on the caller's thread: what the worker runs.
TActionOutcome RunAction(TActionRequest& request);

}  // namespace ui
