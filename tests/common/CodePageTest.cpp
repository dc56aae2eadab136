#include <gtest/gtest.h>

#include <string>

#include "CommonUtils/CodePage.h"

namespace {

std::string AllUpperBytes() {
    std::string s;
    for (int b = 0x80; b <= 0xFF; ++b) s += static_cast<char>(b);
    return s;
}

TEST(CodePage, Cp1251CyrillicBothWays) {
    const std::string utf8 = "Калибратор Talvo: Ёё №";
    const std::string bytes = cmn::Utf8ToCp1251(utf8);
    EXPECT_EQ(bytes, "\xCA\xE0\xEB\xE8\xE1\xF0\xE0\xF2\xEE\xF0 Talvo: \xA8\xB8 \xB9");
    EXPECT_EQ(cmn::Cp1251ToUtf8(bytes), utf8);
}

TEST(CodePage, EveryCp1251ByteSurvivesARoundTrip) {
    const std::string bytes = AllUpperBytes();
    EXPECT_EQ(cmn::Utf8ToCp1251(cmn::Cp1251ToUtf8(bytes)), bytes);
    EXPECT_EQ(cmn::Utf8ToCp866(cmn::Cp866ToUtf8(bytes)), bytes);
}

TEST(CodePage, Cp1251PunctuationAndUkrainianLetters) {
    EXPECT_EQ(cmn::Utf8ToCp1251("€‚„…–—«»°±µ"), "\x88\x82\x84\x85\x96\x97\xAB\xBB\xB0\xB1\xB5");
    EXPECT_EQ(cmn::Utf8ToCp1251("ЄєІіЇїҐґЎў"), "\xAA\xBA\xB2\xB3\xAF\xBF\xA5\xB4\xA1\xA2");
}

TEST(CodePage, CharactersOutsideThePageBecomeQuestionMarks) {
    EXPECT_EQ(cmn::Utf8ToCp1251("a→b 漢 😀 ü"), "a?b ? ? ?");
    EXPECT_EQ(cmn::Utf8ToCp866("€"), "?");
}

TEST(CodePage, MalformedUtf8BecomesQuestionMarks) {
    EXPECT_EQ(cmn::Utf8ToCp1251("a\xFF"
                                "b"),
              "a?b");
    EXPECT_EQ(cmn::Utf8ToCp1251("\xD0"), "?");            // truncated two-byte sequence
    EXPECT_EQ(cmn::Utf8ToCp1251("\xC0\xAF"), "?");        // overlong "/"
    EXPECT_EQ(cmn::Utf8ToCp1251("\xED\xA0\x80x"), "?x");  // surrogate half
    EXPECT_EQ(cmn::Utf8ToCp1251("\xD0\x9A"), "\xCA");     // a valid "К" after all that
}

TEST(CodePage, Cp866ConsoleText) {
    EXPECT_EQ(cmn::Utf8ToCp866("Порт открыт"), "\x8F\xAE\xE0\xE2 \xAE\xE2\xAA\xE0\xEB\xE2");
    EXPECT_EQ(cmn::Cp866ToUtf8("\xF0\xF1\xFC"), "Ёё№");
}

TEST(CodePage, UpperCaseOfCp1251) {
    EXPECT_EQ(cmn::Cp1251Upper('k'), 'K');
    EXPECT_EQ(cmn::Cp1251Upper('\xEA'), '\xCA');  // к -> К
    EXPECT_EQ(cmn::Cp1251Upper('\xB8'), '\xA8');  // ё -> Ё
    EXPECT_EQ(cmn::Cp1251Upper('\xCA'), '\xCA');
    EXPECT_EQ(cmn::Cp1251Upper('1'), '1');
}

}  // namespace
