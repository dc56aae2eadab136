// Bytes off the line, read in pieces of the sizes the reader asks for,
// then the response data of the function in the first byte.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "DeviceAccess/ModbusFrames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::uint8_t function = data[0];
    const da::ModbusLayout layout = da::kRtuLayout;
    da::TResponseReader reader(
        4, [&](const std::vector<std::uint8_t>& b) { return da::JudgeResponse(b, layout, 1, function); }, 512);
    std::size_t at = 1;
    while (!reader.Complete() && !reader.GaveUp() && at < size) {
        const std::size_t n = std::min(reader.Wanted(), size - at);
        reader.Take(data + at, n);
        at += n;
    }
    if (!reader.Complete()) return 0;
    const auto& frame = reader.Frame();
    const da::ModbusData parsed = da::ParseResponse(frame, layout);
    if (parsed.registers.size() * 2 > frame.size() || parsed.bytes.size() > frame.size()) __builtin_trap();
    return 0;
}
