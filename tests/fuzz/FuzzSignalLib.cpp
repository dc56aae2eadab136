// Arbitrary parameter records through the library's validation and its
// full parameters: every answer must be one of the library's codes, both
// exports must agree on validation, and a failed validation must leave the
// caller's record untouched.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "SignalLib/SignalTalvo.h"

namespace {

bool IsValidationCode(int c) {
    if (c == 0 || c == 64 || c == 200) return true;
    if ((c >= 61 && c <= 63) || (c >= 71 && c <= 76) || (c >= 81 && c <= 87) || (c >= 91 && c <= 93)) return true;
    for (int base : {201, 251, 301, 351, 401, 451})
        if (c >= base + 2 && c <= base + 40) return true;
    return false;
}

// The first byte steers the input toward the later steps: valid ranges,
// phase A's angle at 0, and whether the record carries dips and swells.
void Shape(std::uint8_t steer, TOutSignalParams& params, TCollapsesOvervoltagesParams& dips) {
    if (steer & 1) {
        params.VoltageRange = 1 + (steer >> 4 & 1);
        params.CurrentRange = 3 + (steer >> 5 & 1);
    }
    if (steer & 2) params.Voltage[0].Angle = 0;
    if (steer & 4) params.Frequency = 50;
    params.Collapses = (steer & 8) ? &dips : nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    TOutSignalParams params;
    TCollapsesOvervoltagesParams dips;
    std::memset(&params, 0, sizeof params);
    std::memset(&dips, 0, sizeof dips);
    const std::uint8_t steer = data[0];
    ++data;
    --size;
    const std::size_t recordBytes = size < 1984 ? size : 1984;
    std::memcpy(&params, data, recordBytes);
    const std::size_t dipBytes = size - recordBytes < sizeof dips ? size - recordBytes : sizeof dips;
    std::memcpy(&dips, data + recordBytes, dipBytes);
    Shape(steer, params, dips);

    const std::int16_t check = CheckSignalData(params);
    if (!IsValidationCode(check)) std::abort();

    TFullSignalParams full;
    std::memset(&full, 0xA5, sizeof full);
    const std::int16_t code = GetOutSignalData(params, &full);
    if (check != 0) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(&full);
        for (std::size_t i = 0; i < sizeof full; ++i)
            if (bytes[i] != 0xA5) std::abort();
        if (code != check) std::abort();
    } else if (code != 0 && (code < 151 || code > 156)) {
        std::abort();
    }

    char text[88];
    if (GetErrorText(code, text) != 1 || std::strlen(text) > 87) std::abort();
    return 0;
}
