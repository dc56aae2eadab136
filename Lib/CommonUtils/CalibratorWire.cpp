#include "CalibratorWire.h"

#include <cmath>
#include <limits>

namespace cmn {
namespace {

void PutWord(std::uint8_t* at, std::uint16_t value) {
    at[0] = static_cast<std::uint8_t>(value & 0xFF);
    at[1] = static_cast<std::uint8_t>(value >> 8);
}

void PutSync(std::uint8_t* at) {
    for (int i = 0; i < 4; ++i) at[i] = kSyncByte;
}

std::uint32_t ReadLong(const std::uint8_t* at) {
    return static_cast<std::uint32_t>(ReadWord(at)) | static_cast<std::uint32_t>(ReadWord(at + 2)) << 16;
}

}  // namespace

std::uint16_t ReadWord(const std::uint8_t* bytes) { return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8); }

Frame BuildFrame(std::uint16_t code, std::uint16_t first, std::uint16_t second) {
    Frame frame{};
    PutSync(frame.data());
    PutWord(frame.data() + 4, code);
    PutWord(frame.data() + 6, first);
    PutWord(frame.data() + 8, second);
    return frame;
}

Confirmation ParseConfirmation(std::span<const std::uint8_t> received) {
    Confirmation c;
    c.length = received.size();
    if (received.size() < kConfirmationSize) return c;
    c.syncOk = true;
    for (std::size_t i = 0; i < 4; ++i) c.syncOk = c.syncOk && received[i] == kSyncByte;
    c.word = ReadWord(received.data() + 4);
    return c;
}

std::array<std::uint8_t, kConfirmationSize> BuildConfirmation(std::uint16_t word) {
    std::array<std::uint8_t, kConfirmationSize> bytes{};
    PutSync(bytes.data());
    PutWord(bytes.data() + 4, word);
    return bytes;
}

TimingBlock EncodeTimingBlock(std::int32_t start, std::int32_t length, std::int32_t pause) {
    TimingBlock block{};
    const std::int32_t fields[] = {start, length, pause};
    for (std::size_t i = 0; i < 3; ++i) {
        PutWord(block.data() + 4 * i, static_cast<std::uint16_t>(fields[i] & 0xFFFF));
        PutWord(block.data() + 4 * i + 2, static_cast<std::uint16_t>(fields[i] / 65536));
    }
    return block;
}

std::optional<std::int32_t> TimingField(long double samples) {
    if (!(std::fabs(samples) <= std::numeric_limits<std::int32_t>::max())) return std::nullopt;
    return static_cast<std::int32_t>(samples);
}

TimingFields DecodeTimingBlock(std::span<const std::uint8_t, kTimingBlockSize> block) {
    return {ReadLong(block.data()), ReadLong(block.data() + 4), ReadLong(block.data() + 8)};
}

void PackSample(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint8_t* out) {
    for (int word = 0; word < 4; ++word) {
        std::uint16_t value = 0;
        for (int nibble = 0; nibble < 4; ++nibble) {
            const int bit = 15 - (word * 4 + nibble);
            const unsigned n = 0x8u | ((c >> bit) & 1u) << 2 | ((b >> bit) & 1u) << 1 | ((a >> bit) & 1u);
            value = static_cast<std::uint16_t>(value << 4 | n);
        }
        PutWord(out + 2 * word, value);
    }
}

SampleCodes UnpackSample(const std::uint8_t* sample) {
    SampleCodes codes;
    codes.markersOk = true;
    for (int word = 0; word < 4; ++word) {
        const std::uint16_t value = ReadWord(sample + 2 * word);
        for (int nibble = 0; nibble < 4; ++nibble) {
            const unsigned n = value >> (12 - 4 * nibble) & 0xFu;
            codes.markersOk = codes.markersOk && (n & 0x8u);
            codes.a = static_cast<std::uint16_t>(codes.a << 1 | (n & 1u));
            codes.b = static_cast<std::uint16_t>(codes.b << 1 | (n >> 1 & 1u));
            codes.c = static_cast<std::uint16_t>(codes.c << 1 | (n >> 2 & 1u));
        }
    }
    return codes;
}

}  // namespace cmn
