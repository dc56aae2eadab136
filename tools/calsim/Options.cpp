#include "Options.h"

#include <charconv>
#include <cstring>
#include <string_view>

namespace calsim {

const char* const kUsage =
    "usage: talvo-calsim [--port-dir DIR] [--name COMn] [--journal FILE]\n"
    "                    [--silent-from K] [--short-reply N] [--bad-sync] [--bad-code]\n"
    "                    [--no-execution] [--delay MS] [--fault-frame K]\n"
    "                    [--fault-on receipt|execution|both] [--vanish-in-block N] [--pace]\n"
    "                    [--measure FILE.json [--modification dmTalvo|dmTalvoM]]\n"
    "A calibrator on a pseudo-terminal. Prints the terminal's path, links DIR/COMn to it,\n"
    "and answers the calibrator's command protocol until SIGTERM or SIGINT.\n"
    "  --silent-from K   no confirmation at all from the K-th frame on\n"
    "  --short-reply N   send only the first N bytes of a confirmation, then nothing\n                    more for "
    "that frame\n"
    "  --bad-sync        confirmations with wrong sync bytes\n"
    "  --bad-code        confirmations with a wrong command code\n"
    "  --no-execution    no confirmation of execution (nor of a table)\n"
    "  --delay MS        wait MS milliseconds before a confirmation\n"
    "  --fault-frame K   the four options above spoil only the K-th frame\n"
    "  --fault-on WHICH  ... and only these confirmations (default both)\n"
    "  --vanish-in-block N  exit, as a calibrator switched off, after N bytes of the\n"
    "                    first data block\n"
    "  --pace            received and sent bytes take their time on a 115200-baud line;\n"
    "                    the host's write of a block returns at once all the same, so its\n"
    "                    confirmation time-out runs while the block is still on its way\n"
    "  --measure FILE    after each start, dips or fluctuation command, write into FILE\n"
    "                    what the calibrator would play, measured as a class A instrument\n"
    "                    measures it (frequency, RMS, harmonics, unbalance, dips, flicker)\n"
    "  --modification M  the calibrator modification of the measurement (default dmTalvoM)\n";

namespace {

bool ReadUnsigned(std::string_view text, unsigned& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && end == text.data() + text.size();
}

bool ReadTarget(std::string_view text, FaultTarget& target) {
    if (text == "receipt") target = FaultTarget::Receipt;
    else if (text == "execution") target = FaultTarget::Execution;
    else if (text == "both") target = FaultTarget::Both;
    else return false;
    return true;
}

bool SetFlag(Options& o, std::string_view option) {
    if (option == "--bad-sync") o.badSync = true;
    else if (option == "--bad-code") o.badCode = true;
    else if (option == "--no-execution") o.noExecution = true;
    else if (option == "--pace") o.pace = true;
    else return false;
    return true;
}

bool SetValue(Options& o, std::string_view option, std::string_view value) {
    unsigned n = 0;
    if (option == "--port-dir") o.portDir = value;
    else if (option == "--name") o.name = value;
    else if (option == "--journal") o.journal = value;
    else if (option == "--fault-on") return ReadTarget(value, o.faultOn);
    else if (option == "--measure") o.measure = value;
    else if (option == "--modification" && (value == "dmTalvo" || value == "dmTalvoM"))
        o.modification = value == "dmTalvo" ? 0 : 1;
    else if (!ReadUnsigned(value, n)) return false;
    else if (option == "--silent-from") o.silentFrom = n;
    else if (option == "--fault-frame") o.faultFrame = n;
    else if (option == "--delay") o.delayMs = n;
    else if (option == "--vanish-in-block") o.vanishInBlock = n;
    else if (option == "--short-reply" && n < 8) o.shortReply = n;
    else return false;
    return !value.empty();
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (SetFlag(o, option)) continue;
        if (i + 1 >= argc || !SetValue(o, option, argv[i + 1])) {
            error = "invalid option or value: " + std::string(option);
            return std::nullopt;
        }
        ++i;
    }
    if (o.name.empty() || o.name.find('/') != std::string::npos) {
        error = "invalid port name: " + o.name;
        return std::nullopt;
    }
    return o;
}

}  // namespace calsim
