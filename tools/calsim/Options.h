#pragma once

#include <optional>
#include <string>

namespace calsim {

// Which confirmations the fault options spoil.
enum class FaultTarget { Receipt, Execution, Both };

struct Options {
    std::string portDir;  // where the link is made; none without it
    std::string name = "COM1";
    std::string journal;      // one JSON object per line; none without it
    unsigned silentFrom = 0;  // no answer from this frame on (1-based); 0 never
    unsigned faultFrame = 0;  // the only frame the faults spoil; 0 every frame
    FaultTarget faultOn = FaultTarget::Both;
    std::optional<unsigned> shortReply;  // send only this many bytes of a confirmation
    bool badSync = false;
    bool badCode = false;
    bool noExecution = false;
    unsigned delayMs = 0;                   // before each spoilt confirmation
    std::optional<unsigned> vanishInBlock;  // exit after this many bytes of a data block
    bool pace = false;                      // bytes take their line time at 115200 baud
    std::string measure;                    // what is played, measured, as JSON; none without it
    int modification = 1;                   // the calibrator modification the measurement assumes
};

// Nothing, with the reason in `error`, for a command line that is not valid.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);

extern const char* const kUsage;

}  // namespace calsim
