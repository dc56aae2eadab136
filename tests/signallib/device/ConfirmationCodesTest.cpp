#include <gtest/gtest.h>

#include <vector>

#include "CommonUtils/CalibratorWire.h"
#include "SignalLib/device/DeviceCodes.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Reply(std::uint16_t word) {
    const auto c = cmn::BuildConfirmation(word);
    return Bytes(c.begin(), c.end());
}

Bytes Prefix(Bytes bytes, std::size_t n) {
    bytes.resize(n);
    return bytes;
}

TEST(LibraryConfirmation, ReceiptCodes) {
    EXPECT_EQ(stlib::ReceiptError({}, 14), 1);
    EXPECT_EQ(stlib::ReceiptError(Prefix(Reply(14), 3), 14), 11);
    EXPECT_EQ(stlib::ReceiptError(Prefix(Reply(14), 7), 14), 11);
    Bytes badSync = Reply(14);
    badSync[3] = 0x56;
    EXPECT_EQ(stlib::ReceiptError(badSync, 14), 12);
    EXPECT_EQ(stlib::ReceiptError(Reply(15), 14), 13);
    Bytes noise = Reply(14);
    noise[6] = 0xAB;  // the last two bytes are not examined
    noise[7] = 0xCD;
    EXPECT_EQ(stlib::ReceiptError(noise, 14), 0);
}

// The execution word minus 128 must be the code, also where that is not
// the code with bit 7 set.
TEST(LibraryConfirmation, ExecutionCodes) {
    EXPECT_EQ(stlib::ExecutionError({}, 14), 1);
    EXPECT_EQ(stlib::ExecutionError(Prefix(Reply(0x8E), 3), 14), 14);
    Bytes badSync = Reply(0x8E);
    badSync[0] = 0;
    EXPECT_EQ(stlib::ExecutionError(badSync, 14), 15);
    EXPECT_EQ(stlib::ExecutionError(Reply(14), 14), 16);
    EXPECT_EQ(stlib::ExecutionError(Reply(0x8E), 14), 0);
    EXPECT_EQ(stlib::ExecutionError(Reply(328), 200), 0);
    EXPECT_EQ(stlib::ExecutionError(Reply(200), 200), 16);
    EXPECT_EQ(stlib::ExecutionError(Reply(0x7F), 0xFFFF), 16);
}

}  // namespace
