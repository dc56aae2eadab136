#include "link/SampleTables.h"

namespace lnk {
namespace {

constexpr const char* kVoltageOverflow = "Амплитуда выходного напряжения превышает допустимое значение по: \r";
constexpr const char* kCurrentOverflow = "Амплитуда выходного тока превышает допустимое значение по: \r";
// The calibrator's messages have always named phase A with the Cyrillic
// letter and phases B and C with Latin ones.
constexpr const char* kPhases[3]{" - фазе \xD0\x90", " - фазе B", " - фазе C"};
constexpr const char* kGoOnQuestion = "Продолжить передачу сигнала?";

}  // namespace

std::string AmplitudeMessage(TTableKind kind, const std::array<bool, 3>& outOfRange) {
    std::string text = kind == TTableKind::Voltage ? kVoltageOverflow : kCurrentOverflow;
    for (int p = 0; p < 3; ++p)
        if (outOfRange[p]) text.append(kPhases[p]).append("\r");
    return text;
}

bool ConfirmAmplitudes(const TSampleTable& table, TTableKind kind, TTableUse use, cmn::IProtocolLog& log) {
    if (!table.Clipped()) return true;
    const std::string message = AmplitudeMessage(kind, table.OutOfRange);
    if (!log.Interactive()) {
        log.Log(cmn::LogType::Notice, message);
        return true;
    }
    if (use == TTableUse::Main)
        return log.Ask(message + kGoOnQuestion, cmn::MessageKind::Confirmation, cmn::Buttons::YesNo);
    log.Ask(message, cmn::MessageKind::Warning, cmn::Buttons::Ok);
    return true;
}

}  // namespace lnk
