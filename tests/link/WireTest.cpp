#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "CommonUtils/CalibratorWire.h"
#include "CommonUtils/Md5.h"

namespace {

using cmn::HexUpper;

TEST(Wire, FramesAreLittleEndianWithFourSyncBytesAndFourZeros) {
    const cmn::Frame range = cmn::BuildFrame(cmn::CalCommand::Range, 3, 0);
    EXPECT_EQ(HexUpper(range.data(), range.size()), "555555550A000300000000000000");
    const cmn::Frame table = cmn::BuildFrame(cmn::CalCommand::VoltageTable, 3419 * 4, cmn::kSecondParameter);
    EXPECT_EQ(HexUpper(table.data(), table.size()), "5555555501006C35C03B00000000");
    const cmn::Frame high = cmn::BuildFrame(0xFFFE, 0x8001, 0xFFFF);
    EXPECT_EQ(HexUpper(high.data(), high.size()), "55555555FEFF0180FFFF00000000");
}

TEST(Wire, ConfirmationsAreJudgedOnlyByLengthSyncAndWord) {
    const auto bytes = cmn::BuildConfirmation(0x8E);
    EXPECT_EQ(HexUpper(bytes.data(), bytes.size()), "555555558E000000");
    const std::vector<std::uint8_t> other = {0x55, 0x55, 0x55, 0x55, 0x0E, 0x00, 0x12, 0x34};
    const cmn::Confirmation c = cmn::ParseConfirmation(other);
    EXPECT_TRUE(c.syncOk);
    EXPECT_EQ(c.word, 14);
    const std::vector<std::uint8_t> badSync = {0x55, 0x55, 0x54, 0x55, 0x0E, 0x00, 0, 0};
    EXPECT_FALSE(cmn::ParseConfirmation(badSync).syncOk);
    const cmn::Confirmation shortOne = cmn::ParseConfirmation(std::span(other).first(3));
    EXPECT_EQ(shortOne.length, 3u);
    EXPECT_FALSE(shortOne.syncOk);
}

TEST(Wire, TimingBlockHalvesTruncateTowardZero) {
    const cmn::TimingBlock block = cmn::EncodeTimingBlock(0, 70000, -2);
    EXPECT_EQ(HexUpper(block.data(), block.size()), "0000000070110100FEFF0000");
    const cmn::TimingFields fields = cmn::DecodeTimingBlock(block);
    EXPECT_EQ(fields.length, 70000u);
    EXPECT_EQ(fields.pause, 65534u);
    // Below -65535 the high half is the truncated quotient: -70000 / 65536 = -1.
    const cmn::TimingBlock negative = cmn::EncodeTimingBlock(-70000, 0x7FFFFFFF, 65536);
    EXPECT_EQ(HexUpper(negative.data(), negative.size()), "90EEFFFFFFFFFF7F00000100");
}

TEST(Wire, SamplesInterleaveTheThreeChannelsBitByBit) {
    std::uint8_t sample[8];
    cmn::PackSample(32767, 32767, 32767, sample);
    EXPECT_EQ(HexUpper(sample, 8), "FF8FFFFFFFFFFFFF");
    cmn::PackSample(0x8000, 0, 0, sample);  // A's top bit only: nibble 1001, then markers
    EXPECT_EQ(HexUpper(sample, 8), "8898888888888888");
    cmn::PackSample(0, 0, 1, sample);  // C's lowest bit is the last nibble's bit 2
    EXPECT_EQ(HexUpper(sample, 8), "8888888888888C88");
}

TEST(Wire, UnpackingRestoresEveryCodeAndNoticesMissingMarkers) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> code(0, 65535);
    for (int i = 0; i < 2000; ++i) {
        const auto a = static_cast<std::uint16_t>(code(random));
        const auto b = static_cast<std::uint16_t>(code(random));
        const auto c = static_cast<std::uint16_t>(code(random));
        std::uint8_t sample[8];
        cmn::PackSample(a, b, c, sample);
        const cmn::SampleCodes back = cmn::UnpackSample(sample);
        ASSERT_TRUE(back.markersOk);
        ASSERT_EQ(back.a, a);
        ASSERT_EQ(back.b, b);
        ASSERT_EQ(back.c, c);
        sample[i % 8] &= static_cast<std::uint8_t>(i % 2 ? 0x7F : 0xF7);
        ASSERT_FALSE(cmn::UnpackSample(sample).markersOk);
    }
}

}  // namespace
