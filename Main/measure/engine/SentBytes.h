#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// What the host wrote to the calibrator, read back the way the calibrator
// reads it: 14-byte command frames, each followed by the data block its code
// announces (a sample table for codes 1 and 2, the 12-byte timing block for
// code 13). Every multi-byte field is little-endian.
namespace msr {

struct TSentCommand {
    std::uint16_t Code = 0;
    std::uint16_t First = 0;
    std::uint16_t Second = 0;
    std::vector<std::uint8_t> Block;
};

// Length of the data block that follows a frame: a table carries `first`
// 16-bit words, the timing block 12 bytes, every other command none.
std::size_t BlockLength(std::uint16_t code, std::uint16_t first);

// Splits the bytes into commands. Raises TalvoError on wrong sync bytes, a
// non-zero tail of a frame or bytes that end inside a frame or its block.
std::vector<TSentCommand> SplitSentBytes(std::span<const std::uint8_t> bytes);

// The three 16-bit channel codes of every sample of a table, phases A, B, C.
struct TTableCodes {
    std::array<std::vector<std::uint16_t>, 3> Phase;
    std::size_t Samples() const { return Phase[0].size(); }
};
// Raises TalvoError when the length is not whole samples or a marker bit is clear.
TTableCodes DecodeTable(std::span<const std::uint8_t> block);

// The timing block in sample-clock ticks: delay to the first event, the
// field of the event's length and the field of the pause after it.
struct TTimingFields {
    std::int64_t Start = 0;
    std::int64_t Length = 0;
    std::int64_t Pause = 0;
};
TTimingFields DecodeTiming(std::span<const std::uint8_t> block);

}  // namespace msr
