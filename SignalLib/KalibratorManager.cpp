#include "KalibratorManager.h"

#include <chrono>
#include <thread>

#include "SignalLib/FullParams.h"
#include "SignalLib/Loader.h"
#include "SignalLib/device/DeviceCodes.h"

namespace stlib {
namespace {

// The calibrator needs this long after the start before it takes dips.
constexpr std::chrono::milliseconds kPauseBeforeDips(1500);

}  // namespace

code::TCode TKalibratorManager::Validate() {
    if (params == nullptr) return code::NoOutParams;
    return LoadOutSignalParams(signal, *params);
}

// Computed aside and handed over in one piece.
code::TCode TKalibratorManager::FillFullParameters() {
    TFullSignalParams result;
    const code::TCode c = CalcFullSignalParams(signal, *params, result);
    *fullParams = result;
    return c;
}

code::TCode TKalibratorManager::FullParameters() {
    if (fullParams == nullptr) return code::NoFullParams;
    if (code::TCode c = Validate()) return c;
    return FillFullParameters();
}

// An exception passing through leaves the port to the device's destructor,
// which closes it.
template <class Steps>
code::TCode TKalibratorManager::OnPort(Steps&& steps) {
    code::TCode c = OpenAndConfigure(device);
    if (c == code::NoError) c = steps();
    return CloseKeepingCode(device, c);
}

code::TCode TKalibratorManager::CheckPort() {
    return OnPort([] { return code::NoError; });
}

code::TCode TKalibratorManager::SetSignal() {
    return OnPort([this] {
        const code::TCode loaded = Validate();
        // The computation's own code does not count here.
        if (fullParams != nullptr && params != nullptr) FillFullParameters();
        if (loaded != code::NoError) return loaded;
        device.SetSignal(signal);
        return SendLoadedSignal();
    });
}

code::TCode TKalibratorManager::SendLoadedSignal() {
    const bool voltage = params->VoltageOn != 0;
    const bool current = params->CurrentOn != 0;
    if (!voltage && !current) return code::NoError;
    const TSignalKind kind = !current ? TSignalKind::Voltage : !voltage ? TSignalKind::Current : TSignalKind::Both;
    if (const code::TCode c = DeviceCode(device.SendSignal(kind) && device.ResetDips())) return c;
    if (params->Collapses == nullptr) return code::NoError;
    std::this_thread::sleep_for(kPauseBeforeDips);
    return DeviceCode(device.SendDips());
}

code::TCode TKalibratorManager::StopCollapsesOvervoltages() {
    return OnPort([this] { return DeviceCode(device.ResetDips()); });
}

code::TCode TKalibratorManager::StopSignal() {
    return OnPort([this] { return DeviceCode(device.ResetDips() && device.ResetOutputs()); });
}

}  // namespace stlib
