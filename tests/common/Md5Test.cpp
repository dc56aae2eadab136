#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "CommonUtils/Md5.h"
#include "TempFolder.h"

namespace {

TEST(Md5, TestSuiteOfTheRfc) {
    EXPECT_EQ(cmn::Md5Hex(""), "D41D8CD98F00B204E9800998ECF8427E");
    EXPECT_EQ(cmn::Md5Hex("a"), "0CC175B9C0F1B6A831C399E269772661");
    EXPECT_EQ(cmn::Md5Hex("abc"), "900150983CD24FB0D6963F7D28E17F72");
    EXPECT_EQ(cmn::Md5Hex("message digest"), "F96B697D7CB7938D525A2F31AAF161D0");
    EXPECT_EQ(cmn::Md5Hex("abcdefghijklmnopqrstuvwxyz"), "C3FCD3D76192E4007DFB496CCA67E13B");
    EXPECT_EQ(cmn::Md5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
              "D174AB98D277D9F5A5611C2C9F419D9F");
    EXPECT_EQ(cmn::Md5Hex("12345678901234567890123456789012345678901234567890123456789012345678901234567890"),
              "57EDF4A22BE3C955AC49DA2E2107B67A");
}

TEST(Md5, PiecesGiveTheSameDigestAsTheWhole) {
    // 55, 56 and 64 bytes sit on the padding boundaries.
    for (const std::size_t n : {55u, 56u, 63u, 64u, 65u, 1000u}) {
        const std::string data(n, 'x');
        cmn::Md5 md5;
        for (std::size_t i = 0; i < n; i += 7) md5.Update(data.substr(i, 7));
        const auto digest = md5.Final();
        EXPECT_EQ(cmn::HexUpper(digest.data(), digest.size()), cmn::Md5Hex(data)) << n;
    }
}

TEST(Md5, FileDigest) {
    const talvo_test::TempFolder dir{"talvo-md5"};
    const auto path = dir.Path() / "abc";
    std::ofstream(path, std::ios::binary) << "abc";
    EXPECT_EQ(cmn::Md5FileHex(path.string()), "900150983CD24FB0D6963F7D28E17F72");
    std::filesystem::remove(path);
    EXPECT_EQ(cmn::Md5FileHex(path.string()), "");
}

}  // namespace
