#pragma once

#include <optional>
#include <string>

namespace convsim {

struct Options {
    std::string portDir;  // where the link is made; none without it
    std::string name = "COM1";
    std::string journal;        // one JSON object per line; none without it
    unsigned module = 1234;     // register 0
    unsigned gain = 0;          // register 1, a gain code
    unsigned silentFrom = 0;    // no answer from this request on (1-based); 0 never
    unsigned faultRequest = 0;  // the only request the faults below spoil; 0 every request
    bool badCrc = false;
    unsigned exception = 0;  // answer with this exception code; 0 none
    unsigned noise = 0;      // bytes sent before a response
    unsigned delayMs = 0;    // before a spoilt response
};

// Nothing, with the reason in `error`, for a command line that is not valid.
std::optional<Options> ParseOptions(int argc, char** argv, std::string& error);

extern const char* const kUsage;

}  // namespace convsim
