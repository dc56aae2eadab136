#include <gtest/gtest.h>

#include "DeviceAccess/CustomModBus.h"
#include "DeviceAccess/ModbusFrames.h"

namespace {

using namespace da;
using Bytes = std::vector<std::uint8_t>;

Bytes WithCrc(Bytes b) {
    const std::uint16_t crc = ModbusCrc(b.data(), b.size());
    b.push_back(static_cast<std::uint8_t>(crc));
    b.push_back(static_cast<std::uint8_t>(crc >> 8));
    return b;
}

// Feeds `wire` to a reader one read at a time, each read as large as the reader asks.
Bytes Assemble(const Bytes& wire, std::uint8_t function, std::size_t maxNoise = 512) {
    TResponseReader reader(
        4, [&](const Bytes& b) { return JudgeResponse(b, kRtuLayout, 1, function); }, maxNoise);
    std::size_t at = 0;
    while (!reader.Complete() && !reader.GaveUp() && at < wire.size()) {
        const std::size_t n = std::min(reader.Wanted(), wire.size() - at);
        reader.Take(wire.data() + at, n);
        at += n;
    }
    return reader.Complete() ? reader.Frame() : Bytes{};
}

TEST(ModbusFrames, CrcOfTheKnownRequests) {
    EXPECT_EQ(WithCrc({0x01, 0x03, 0x00, 0x00, 0x00, 0x02}), (Bytes{0x01, 0x03, 0x00, 0x00, 0x00, 0x02, 0xC4, 0x0B}));
    EXPECT_EQ(WithCrc({0x01, 0x08, 0x00, 0x00, 0x12, 0x34}), (Bytes{0x01, 0x08, 0x00, 0x00, 0x12, 0x34, 0xED, 0x7C}));
}

TEST(ModbusFrames, ResponseLengthsByFunction) {
    const ModbusLayout l = kRtuLayout;
    EXPECT_EQ(JudgeResponse({1, 3, 92, 0}, l, 1, 3).length, 97u);
    EXPECT_EQ(JudgeResponse({1, 6, 0x80, 0}, l, 1, 6).length, 8u);
    EXPECT_EQ(JudgeResponse({1, 7, 0x55, 0}, l, 1, 7).length, 5u);
    EXPECT_EQ(JudgeResponse({1, 0x83, 2, 0}, l, 1, 3).length, 5u);
    EXPECT_EQ(JudgeResponse({2, 3, 4, 0}, l, 1, 3).kind, Judgement::Unknown);
    EXPECT_EQ(JudgeResponse({1, 4, 4, 0}, l, 1, 3).kind, Judgement::Unknown);
    EXPECT_EQ(JudgeResponse({1, 9, 4, 0}, l, 1, 9).kind, Judgement::Unknown);
}

TEST(ModbusFrames, ReaderSlidesOverNoiseAndGrowsToTheByteCount) {
    const Bytes response = WithCrc({1, 3, 4, 0x12, 0x34, 0xFF, 0xFE});
    Bytes wire{0xFF, 0x00, 0x03, 0x01};
    wire.insert(wire.end(), response.begin(), response.end());
    EXPECT_EQ(Assemble(wire, 3), response);
    const ModbusData data = ParseResponse(response, kRtuLayout);
    EXPECT_EQ(data.registers, (std::vector<std::uint16_t>{0x1234, 0xFFFE}));
}

TEST(ModbusFrames, ReaderGivesUpOnEndlessNoise) { EXPECT_TRUE(Assemble(Bytes(100, 0xFF), 3, 50).empty()); }

TEST(ModbusFrames, DataOfEachResponseKind) {
    const ModbusLayout l = kRtuLayout;
    EXPECT_EQ(ParseResponse(WithCrc({1, 0x83, 2}), l).exceptionCode, 2);
    // An exception with code 0 is still a failure, of the unknown kind.
    const ModbusData zero = ParseResponse(WithCrc({1, 0x83, 0}), l);
    EXPECT_TRUE(zero.exception);
    EXPECT_EQ(ExceptionError(zero.exceptionCode), 1);
    EXPECT_EQ(ExceptionError(8), 209);
    EXPECT_FALSE(ParseResponse(WithCrc({1, 3, 2, 0, 1}), l).exception);
    EXPECT_EQ(ParseResponse(WithCrc({1, 1, 2, 0xA5, 0x01}), l).bytes, (Bytes{2, 0xA5, 0x01}));
    EXPECT_EQ(ParseResponse(WithCrc({1, 8, 0, 0, 0x12, 0x34}), l).value, 0x1234);
    EXPECT_EQ(ParseResponse(WithCrc({1, 7, 0x6D}), l).status, 0x6D);
    EXPECT_EQ(ParseResponse(WithCrc({1, 20, 5, 4, 6, 0xAB, 0xCD, 0xEF}), l).bytes, (Bytes{0xAB, 0xCD, 0xEF}));
}

}  // namespace
