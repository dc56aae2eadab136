#include <gtest/gtest.h>

#include "editor/DialogRules.h"

namespace {

TEST(DialogRules, CorrectionEntryTakesTheClosedRangeAndKeepsAValueLeftAsShown) {
    sig::TCorrectionRecord opening{};
    opening[4] = 0.123456789L;  // more decimals than a field shows
    edit::TCorrectionForm form(opening);
    for (const char* text : {"100.0", "-100", " 1e2 "}) EXPECT_EQ(form.Enter(0, text), "") << text;
    for (const char* text : {"100.001", "-100.001", "1e3"})
        EXPECT_EQ(form.Enter(1, text), "Выход за границы диапазона (-100..+100 %)! Повторите ввод!") << text;
    for (const char* text : {"", "abc", "1,5", "12x", "nan", "inf", "--1"})
        EXPECT_EQ(form.Enter(1, text), "Ошибка при вводе значения! Повторите ввод!") << text;
    EXPECT_EQ(form.Record()[1], 0) << "a refused entry keeps the value";

    EXPECT_EQ(form.Text(4), "0.123");
    EXPECT_EQ(form.Enter(4, "0.123"), "");
    EXPECT_EQ(form.Record()[4], 0.123456789L);
    EXPECT_EQ(form.Enter(4, "0.1230"), "");
    EXPECT_EQ(form.Record()[4], 0.123L);
}

TEST(DialogRules, DigestInUpperCaseGroupsOfFourWithoutATrailingBlank) {
    EXPECT_EQ(edit::GroupDigest("d41d8cd98f00b204e9800998ecf8427e"), "D41D 8CD9 8F00 B204 E980 0998 ECF8 427E");
    EXPECT_EQ(edit::GroupDigest("abcdef"), "ABCD EF");
    EXPECT_EQ(edit::GroupDigest("abcd"), "ABCD");
    EXPECT_EQ(edit::GroupDigest(""), "");
}

}  // namespace
