#include "SignalTalvoLibrary.h"

#include <dlfcn.h>

#include <cstring>
#include <stdexcept>

#include "CommonUtils/CodePage.h"

namespace talvo_test {
namespace {

template <class F>
F Bind(void* handle, const char* name) {
    void* symbol = dlsym(handle, name);
    if (symbol == nullptr) throw std::runtime_error(std::string("missing export ") + name);
    return reinterpret_cast<F>(symbol);
}

TSignalTalvoLibrary Open() {
    void* handle = dlopen(TALVO_BIN_DIR "/libSignalTalvo.so", RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) throw std::runtime_error(dlerror());
    return {
        Bind<TCheckPortFunc>(handle, "CheckPort"),
        Bind<TCheckSignalDataFunc>(handle, "CheckSignalData"),
        Bind<TSetSignalFunc>(handle, "SetSignal"),
        Bind<TGetOutSignalDataFunc>(handle, "GetOutSignalData"),
        Bind<TStopSignalFunc>(handle, "StopSignal"),
        Bind<TStopCollapsesOvervoltagesFunc>(handle, "StopCollapsesOvervoltages"),
        Bind<TGetErrorTextFunc>(handle, "GetErrorText"),
        Bind<TGetDllVersionFunc>(handle, "GetDllVersion"),
    };
}

}  // namespace

const TSignalTalvoLibrary& Library() {
    static const TSignalTalvoLibrary library = Open();
    return library;
}

TOutSignalParams BalancedParams() {
    TOutSignalParams p;
    std::memset(&p, 0, sizeof p);
    p.VoltageOn = 1;
    p.VoltageRange = 2;
    p.CurrentOn = 1;
    p.CurrentRange = 4;
    const float angles[3] = {0, -120, 120};
    for (int i = 0; i < 3; ++i) {
        p.Voltage[i].MainOn = 1;
        p.Voltage[i].Amplitude = 220;
        p.Voltage[i].Angle = angles[i];
        p.Current[i].MainOn = 1;
        p.Current[i].Amplitude = 5;
    }
    p.Frequency = 50;
    return p;
}

TCollapsesOvervoltagesParams OneDip() {
    TCollapsesOvervoltagesParams d;
    std::memset(&d, 0, sizeof d);
    d.Count = 1;
    d.Duration = 0.1f;
    d.Period = 1;
    for (auto& f : d.Fazes) {
        f.IsCollapse = 1;
        f.Value = 50;
    }
    return d;
}

std::string Text(std::int16_t code) {
    char buffer[128] = {};
    Library().GetErrorText(code, buffer);
    return cmn::Cp1251ToUtf8(buffer);
}

TFullSignalParams FullParams(const TOutSignalParams& params, std::int16_t& code) {
    TFullSignalParams full;
    std::memset(&full, 0xAB, sizeof full);
    code = Library().GetOutSignalData(params, &full);
    return full;
}

}  // namespace talvo_test
