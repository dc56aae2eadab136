#include "Options.h"

#include <charconv>
#include <map>
#include <string_view>

namespace convsim {

const char* const kUsage =
    "usage: talvo-convsim [--port-dir DIR] [--name COMn] [--journal FILE]\n"
    "                     [--module N] [--gain CODE] [--silent-from K] [--fault-request K]\n"
    "                     [--bad-crc] [--exception CODE] [--noise N] [--delay MS]\n"
    "A current-to-voltage converter answering Modbus RTU as device 1 on a pseudo-terminal.\n"
    "Prints the terminal's path, links DIR/COMn to it, and serves until SIGTERM or SIGINT.\n"
    "Holding registers: 0 module number, 1 gain code, 2 ... 139 the calibration blocks of\n"
    "channels A, B, C (46 registers each; in block c = 0, 1, 2 starting at s, register s + k\n"
    "holds (c + 1) * k * (-1)^c for k = 1 ... 44, s and s + 45 hold 0x7FFF). Writing 0 to\n"
    "0x8000 resets the gain code to 0; writing a gain code to 0x8001 selects it.\n"
    "  --silent-from K    no answer from the K-th request on\n"
    "  --bad-crc          responses with a wrong CRC\n"
    "  --exception CODE   exception responses with this code\n"
    "  --noise N          N bytes 0xFF before a response\n"
    "  --delay MS         wait MS milliseconds before a response\n"
    "  --fault-request K  the four options above spoil only the K-th request\n";

namespace {

// Decimal, or hexadecimal after "0x".
bool ReadNumber(std::string_view text, unsigned& value) {
    int base = 10;
    if (text.rfind("0x", 0) == 0) {
        text.remove_prefix(2);
        base = 16;
    }
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

std::optional<Options> ParseOptions(int argc, char** argv, std::string& error) {
    Options o;
    const std::map<std::string_view, std::string*> texts = {
        {"--port-dir", &o.portDir}, {"--name", &o.name}, {"--journal", &o.journal}};
    const std::map<std::string_view, unsigned*> numbers = {
        {"--module", &o.module},          {"--gain", &o.gain},
        {"--silent-from", &o.silentFrom}, {"--fault-request", &o.faultRequest},
        {"--exception", &o.exception},    {"--noise", &o.noise},
        {"--delay", &o.delayMs}};
    for (int i = 1; i < argc; ++i) {
        const std::string_view option = argv[i];
        if (option == "--bad-crc") {
            o.badCrc = true;
            continue;
        }
        const auto text = texts.find(option);
        const auto number = numbers.find(option);
        if (text == texts.end() && number == numbers.end()) {
            error = "unknown option " + std::string(option);
            return std::nullopt;
        }
        if (++i >= argc) {
            error = std::string(option) + " needs a value";
            return std::nullopt;
        }
        if (text != texts.end()) *text->second = argv[i];
        else if (!ReadNumber(argv[i], *number->second)) {
            error = "not a number for " + std::string(option) + ": " + argv[i];
            return std::nullopt;
        }
    }
    return o;
}

}  // namespace convsim
