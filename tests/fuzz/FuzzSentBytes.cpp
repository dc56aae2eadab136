// Arbitrary bytes as what a calibrator received, through the measurement
// engine: they are read, played back and measured, or refused with the
// engine's error; nothing else may happen.
#include <cstdint>
#include <span>

#include "CommonUtils/TalvoError.h"
#include "measure/engine/Playback.h"
#include "measure/engine/SentBytes.h"
#include "measure/engine/Summary.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    try {
        const auto commands = msr::SplitSentBytes(std::span<const std::uint8_t>(data + 1, size - 1));
        const msr::TPlayback playback(commands, {data[0] & 1, {}});
        // Short spans keep each input quick; the flickermeter needs one second.
        msr::Summarise(playback, data[0] & 2 ? 60 : 50, 0.2, 1.0);
    } catch (const cmn::TalvoError&) {
    }
    return 0;
}
