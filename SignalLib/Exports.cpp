// The library's C boundary: the eight exports, each one guarded.
#include <cstring>
#include <string>

#include "CommonUtils/CodePage.h"
#include "SignalLib/ErrorText.h"
#include "SignalLib/Guard.h"
#include "SignalLib/KalibratorManager.h"
#include "SignalLib/SignalTalvo.h"

using stlib::Guarded;
using stlib::TKalibratorManager;
namespace code = stlib::code;

namespace {

constexpr std::uint16_t kVersionMajor = 2;
constexpr std::uint16_t kVersionMinor = 4;

}  // namespace

int16_t STALVO_CALL CheckPort(uint16_t port) {
    return Guarded(code::Internal, [&] { return TKalibratorManager(nullptr, nullptr, port).CheckPort(); });
}

int16_t STALVO_CALL CheckSignalData(TOutSignalParams params) {
    return Guarded(code::Internal, [&] { return TKalibratorManager(&params, nullptr).Validate(); });
}

int16_t STALVO_CALL SetSignal(uint16_t port, TOutSignalParams params, TFullSignalParams* full) {
    return Guarded(code::Internal, [&] { return TKalibratorManager(&params, full, port).SetSignal(); });
}

int16_t STALVO_CALL GetOutSignalData(TOutSignalParams params, TFullSignalParams* full) {
    return Guarded(code::Internal, [&] { return TKalibratorManager(&params, full).FullParameters(); });
}

int16_t STALVO_CALL StopSignal(uint16_t port) {
    return Guarded(code::Internal, [&] { return TKalibratorManager(nullptr, nullptr, port).StopSignal(); });
}

int16_t STALVO_CALL StopCollapsesOvervoltages(uint16_t port) {
    return Guarded(code::Internal,
                   [&] { return TKalibratorManager(nullptr, nullptr, port).StopCollapsesOvervoltages(); });
}

uint8_t STALVO_CALL GetErrorText(int16_t errorCode, char* buffer) {
    return Guarded<uint8_t>(0, [&]() -> uint8_t {
        if (buffer == nullptr) return 0;
        const std::string text = cmn::Utf8ToCp1251(stlib::ErrorText(errorCode));
        std::memcpy(buffer, text.c_str(), text.size() + 1);
        return 1;
    });
}

// A null address is skipped rather than written through.
void STALVO_CALL GetDllVersion(uint16_t* major, uint16_t* minor) {
    Guarded(0, [&] {
        if (major != nullptr) *major = kVersionMajor;
        if (minor != nullptr) *minor = kVersionMinor;
        return 0;
    });
}
