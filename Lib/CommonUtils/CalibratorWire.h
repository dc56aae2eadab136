#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The calibrator's binary command protocol: 14-byte command frames, 8-byte
// confirmations, the 12-byte timing block and the 8-byte packed samples of
// the tables. Every multi-byte field is little-endian. These pieces are pure
// and shared by both senders and the simulator; what each sender does with
// a confirmation is its own.
namespace cmn {

enum class CalCommand : std::uint16_t {
    VoltageTable = 1,
    CurrentTable = 2,
    StartVoltage = 5,
    StartCurrent = 6,
    StartBoth = 7,
    Range = 10,
    TimerDivisor = 12,
    Dips = 13,
    ResetDips = 14,
    ResetOutputs = 15,
};

inline constexpr std::size_t kFrameSize = 14;
inline constexpr std::size_t kConfirmationSize = 8;
inline constexpr std::size_t kTimingBlockSize = 12;
inline constexpr std::size_t kSampleSize = 8;
inline constexpr std::size_t kMaxSamples = 5000;
inline constexpr std::uint8_t kSyncByte = 0x55;
// The second parameter of every command that carries one.
inline constexpr std::uint16_t kSecondParameter = 15296;

using Frame = std::array<std::uint8_t, kFrameSize>;
using TimingBlock = std::array<std::uint8_t, kTimingBlockSize>;

Frame BuildFrame(std::uint16_t code, std::uint16_t first, std::uint16_t second);
inline Frame BuildFrame(CalCommand code, std::uint16_t first, std::uint16_t second) {
    return BuildFrame(static_cast<std::uint16_t>(code), first, second);
}

std::uint16_t ReadWord(const std::uint8_t* bytes);

// A confirmation as received: how many bytes came, whether the four sync
// bytes are right and the word at offset 4. Nothing is judged here.
struct Confirmation {
    std::size_t length = 0;
    bool syncOk = false;
    std::uint16_t word = 0;
};
Confirmation ParseConfirmation(std::span<const std::uint8_t> received);

// Confirmation bytes as the calibrator sends them; the last two carry nothing.
std::array<std::uint8_t, kConfirmationSize> BuildConfirmation(std::uint16_t word);

// Each field as two 16-bit halves: the low 16 bits, then the value divided
// by 65536 truncated toward zero. A negative field thus keeps a zero high
// half (-2 is FE FF 00 00), the form the calibrator has always received.
TimingBlock EncodeTimingBlock(std::int32_t start, std::int32_t length, std::int32_t pause);
// A count of samples as a field of the block, truncated toward zero; nothing
// when it is no number or beyond ±(2^31 − 1), where it would wrap into
// another timing altogether.
std::optional<std::int32_t> TimingField(long double samples);

struct TimingFields {
    std::uint32_t start = 0;
    std::uint32_t length = 0;
    std::uint32_t pause = 0;
};
// The fields as the calibrator reads them: plain 32-bit little-endian words.
TimingFields DecodeTimingBlock(std::span<const std::uint8_t, kTimingBlockSize> block);

// Three 16-bit channel codes interleaved bit by bit, most significant bit
// first, one nibble [1, C, B, A] per bit position; the 1 is a marker.
void PackSample(std::uint16_t a, std::uint16_t b, std::uint16_t c, std::uint8_t* out);

struct SampleCodes {
    std::uint16_t a = 0;
    std::uint16_t b = 0;
    std::uint16_t c = 0;
    bool markersOk = false;
};
SampleCodes UnpackSample(const std::uint8_t* sample);

}  // namespace cmn
