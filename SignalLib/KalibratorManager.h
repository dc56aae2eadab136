#pragma once

#include <cstdint>

#include "SignalLib/ResultCodes.h"
#include "SignalLib/SignalModel.h"
#include "SignalLib/SignalTalvo.h"
#include "SignalLib/device/Kalibrator.h"

namespace stlib {

// The context of one export call: it receives the caller's parameters into
// its own signal model, drives the calibrator on "COM" + the port number,
// and keeps nothing once the call returns. Every operation that uses the
// port opens it first and closes it on every way out.
class TKalibratorManager {
public:
    TKalibratorManager(const TOutSignalParams* params, TFullSignalParams* fullParams, std::uint16_t portNumber = 0)
        : device(portNumber), params(params), fullParams(fullParams) {}

    // Loads the parameters; the code of the first step that refused a value.
    code::TCode Validate();
    // Loads the parameters and, when they are valid, fills the caller's full
    // parameters. The caller's record is not touched when the load fails.
    code::TCode FullParameters();

    code::TCode CheckPort();
    // Once the port is open the full parameters are filled whatever the
    // load gives; then the signal is sent and started, and its dips and
    // swells follow 1500 ms later.
    code::TCode SetSignal();
    code::TCode StopCollapsesOvervoltages();
    code::TCode StopSignal();

private:
    // Opens and configures the port, runs `steps` when that succeeded and
    // closes the port; a failed close counts only when nothing failed before.
    template <class Steps>
    code::TCode OnPort(Steps&& steps);
    code::TCode SendLoadedSignal();
    // The device's code when `ok` is false.
    code::TCode DeviceCode(bool ok) const { return ok ? code::NoError : device.LastError(); }
    code::TCode FillFullParameters();

    TSignalClass signal;
    TKalibrator device;
    const TOutSignalParams* params;
    TFullSignalParams* fullParams;
};

}  // namespace stlib
