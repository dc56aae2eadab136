#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "editor/ConverterSession.h"
#include "link/ActionContext.h"
#include "signal/Correction.h"
#include "signal/SignalSet.h"

namespace ui {

enum class TActionKind { TestSignal, Collapses, Koleb, ResetCollapses, ResetAll, MeterVerification };

// What an action needs, taken on the window thread when it starts. The
// signal is a copy: edits made meanwhile cannot race the transfer. What the
// action reports to goes through shared handles that outlive any window.
struct TActionRequest {
    TActionKind Kind = TActionKind::ResetAll;
    sig::TSignalSet Signal;
    std::string PortName;
    std::uint32_t BaudRate = 115200;
    int Modification = 0;
    sig::TCorrectionRecord Correction{};
    std::optional<std::uint16_t> LastDivisor;
    std::shared_ptr<const lnk::TSignalLibrary> Library;  // none when binding failed
    std::shared_ptr<cmn::IProtocolLog> Log;
    std::shared_ptr<lnk::IStatusSink> Status;
    std::shared_ptr<lnk::IEnergyCountdown> Countdown;  // meter verification only
    // In converter mode, for a test signal: the converter page's state and port.
    struct TConverter {
        edit::TConverterState State;
        std::string Port;
        // Shows one message of the converter steps and returns once it was
        // answered (or the answer was cancelled); called on the worker.
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

// The action itself, on the caller's thread: what the device runner's job runs.
TActionOutcome RunAction(TActionRequest& request);

}  // namespace ui
