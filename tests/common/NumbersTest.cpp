#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <limits>

#include "CommonUtils/Numbers.h"

namespace {

TEST(FormatFixed, RoundsAndPads) {
    EXPECT_EQ(cmn::FormatFixed(220.0L, 3, 2), "220.000");
    EXPECT_EQ(cmn::FormatFixed(40.0L, 1, 5), " 40.0");
    EXPECT_EQ(cmn::FormatFixed(-1.23456L, 2), "-1.23");
    EXPECT_EQ(cmn::FormatFixed(0.125L, 2), "0.12");  // exact ties go to even
    EXPECT_EQ(cmn::FormatFixed(0.375L, 2), "0.38");
    EXPECT_EQ(cmn::FormatFixed(2.5L, 0), "2");
}

TEST(FormatFixed, NoMinusSignOnAZeroResult) {
    EXPECT_EQ(cmn::FormatFixed(-0.0001L, 3), "0.000");
    EXPECT_EQ(cmn::FormatFixed(-0.0L, 3), "0.000");
}

TEST(FormatReal, ShortestTextUpToFifteenDigits) {
    EXPECT_EQ(cmn::FormatReal(0.1), "0.1");
    EXPECT_EQ(cmn::FormatReal(220.0), "220");
    EXPECT_EQ(cmn::FormatReal(-57.735), "-57.735");
    EXPECT_EQ(cmn::FormatReal(381.051177665153), "381.051177665153");
    EXPECT_EQ(cmn::FormatReal(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(cmn::FormatReal(0.0), "0");
    EXPECT_EQ(cmn::FormatReal(static_cast<double>(0.1f)), "0.100000001490116");
}

TEST(FormatReal, ExponentFormForVerySmallAndLarge) {
    EXPECT_EQ(cmn::FormatReal(0.00001), "0.00001");
    EXPECT_EQ(cmn::FormatReal(0.000001), "1E-6");
    EXPECT_EQ(cmn::FormatReal(-2.5e-7), "-2.5E-7");
    EXPECT_EQ(cmn::FormatReal(123456789012345.0), "123456789012345");
    EXPECT_EQ(cmn::FormatReal(1.5e20), "1.5E20");
}

TEST(FormatReal, ReadsBackUnderADecimalCommaLocale) {
    std::setlocale(LC_ALL, "ru_RU.UTF-8");  // absent locales leave "C": the test still holds
    for (const double v : {0.1, 1e-9, 12345.678, -4.2e300, 5e-324}) {
        const auto back = cmn::ParseReal(cmn::FormatReal(v));
        ASSERT_TRUE(back.has_value()) << v;
        EXPECT_EQ(static_cast<double>(*back), v);
    }
    std::setlocale(LC_ALL, "C");
}

TEST(ParseReal, AcceptsNumbersOnly) {
    EXPECT_EQ(cmn::ParseReal(" 1.5 ").value(), 1.5L);
    EXPECT_EQ(cmn::ParseReal("+2").value(), 2.0L);
    EXPECT_EQ(cmn::ParseReal("-1E-5").value(), -1e-5L);
    EXPECT_EQ(cmn::ParseReal(".5").value(), 0.5L);
    for (const char* bad : {"", " ", "1,5", "1.5x", "inf", "-nan", "+-1", "--1", "0x10", "1e99999"})
        EXPECT_FALSE(cmn::ParseReal(bad).has_value()) << bad;
}

TEST(ParseInt, DecimalAndHexadecimal) {
    EXPECT_EQ(cmn::ParseInt("42").value(), 42);
    EXPECT_EQ(cmn::ParseInt("-7").value(), -7);
    EXPECT_EQ(cmn::ParseInt("0x1F").value(), 31);
    EXPECT_EQ(cmn::ParseInt("$ff").value(), 255);
    EXPECT_EQ(cmn::ParseInt("0xFFFFFFFF").value(), -1);
    EXPECT_EQ(cmn::ParseInt("2147483647").value(), 2147483647);
    for (const char* bad : {"", "0x", "12abc", "1.0", "2147483648", "0x100000000", "- 1", "-+1"})
        EXPECT_FALSE(cmn::ParseInt(bad).has_value()) << bad;
}

}  // namespace
