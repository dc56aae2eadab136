#include <gtest/gtest.h>

#include <set>
#include <string>

#include "CommonUtils/TalvoError.h"
#include "editor/DialogRules.h"

namespace {

sig::TCorrectionRecord Opening() {
    sig::TCorrectionRecord r{};
    for (std::size_t i = 0; i < r.size(); ++i) r[i] = static_cast<sig::real>(i) / 10;
    r[4] = 0.123456789L;  // more decimals than a field shows
    return r;
}

TEST(DialogRules, CorrectionEntryAcceptsTheWholeRangeAndRefusesBeyondIt) {
    edit::TCorrectionForm form(Opening());
    EXPECT_EQ(form.Enter(0, "100.0"), "");
    EXPECT_EQ(form.Record()[0], 100);
    EXPECT_EQ(form.Enter(1, "-100"), "");
    EXPECT_EQ(form.Record()[1], -100);
    EXPECT_EQ(form.Enter(2, " 1e1 "), "");
    EXPECT_EQ(form.Record()[2], 10);

    EXPECT_EQ(form.Enter(3, "100.001"), "Выход за границы диапазона (-100..+100 %)! Повторите ввод!");
    EXPECT_EQ(form.Enter(3, "-100.001"), edit::kCorrectionRangeError);
    for (const char* text : {"", "abc", "1,5", "12x", "nan", "inf"})
        EXPECT_EQ(form.Enter(3, text), "Ошибка при вводе значения! Повторите ввод!") << text;
    EXPECT_EQ(form.Record()[3], Opening()[3]) << "a refused entry keeps the value";
}

TEST(DialogRules, CorrectionFieldLeftAsShownKeepsItsExactValueAndRestoreGoesBack) {
    edit::TCorrectionForm form(Opening());
    EXPECT_EQ(form.Text(4), "0.123");
    EXPECT_EQ(form.Enter(4, form.Text(4)), "");
    EXPECT_EQ(form.Record()[4], 0.123456789L);
    EXPECT_EQ(form.Enter(4, "0.1230"), "") << "a different text is a new entry";
    EXPECT_EQ(form.Record()[4], 0.123L);

    EXPECT_EQ(form.Enter(12, "-7.5"), "");
    EXPECT_EQ(form.Text(12), "-7.500");
    form.Restore();
    EXPECT_EQ(form.Record(), Opening());
}

TEST(DialogRules, EnterGoesDownEachRangeThenToTheFrequencyThenOut) {
    std::size_t field = 0;
    std::set<std::size_t> seen{field};
    while (auto next = edit::NextCorrectionField(field)) seen.insert(field = *next);
    EXPECT_EQ(field, edit::kFrequencyCorrection);
    EXPECT_EQ(seen.size(), sig::kCorrectionCount);
    EXPECT_EQ(edit::NextCorrectionField(2), 3u) << "220 V phase C is followed by 57.7 V phase A";
}

TEST(DialogRules, SplashAndPreferencesPutEveryRangeAtTheSameRecordIndices) {
    for (const auto& splash : edit::kSplashRanges) {
        int matches = 0;
        for (const auto& preferences : edit::kPreferencesRanges)
            if (preferences.Label == splash.Label) {
                EXPECT_EQ(preferences.FirstIndex, splash.FirstIndex) << splash.Label;
                ++matches;
            }
        EXPECT_EQ(matches, 1) << splash.Label;
    }
    EXPECT_EQ(edit::kPreferencesRanges[0].Label, "2U");
    EXPECT_EQ(edit::kPreferencesRanges[0].FirstIndex, 0u) << "the 220 V range leads the record";
}

TEST(DialogRules, NominalEntries) {
    sig::real phase = 57.735L;
    EXPECT_EQ(edit::EnterNominal(phase, "57.735"), "");
    EXPECT_EQ(phase, 57.735L);
    EXPECT_EQ(edit::EnterNominal(phase, "220"), "");
    EXPECT_EQ(phase, 220);
    EXPECT_EQ(edit::EnterNominal(phase, "220,0"), "Ошибка при вводе значения. Повторите ввод!");
    EXPECT_EQ(edit::EnterNominal(phase, "0.000001"), "Значение номинала должно быть отличным от нуля");
    EXPECT_EQ(phase, 220);

    sig::real line = 381.05117766515297L;  // sqrt(3) * 220, as a file without the key reads
    EXPECT_EQ(edit::EnterNominal(line, "381.051"), "");
    EXPECT_EQ(line, 381.05117766515297L);
}

TEST(DialogRules, NominalFrequencyMustBeInTheList) {
    EXPECT_EQ(edit::NominalFrequencyIndex(50), 0u);
    EXPECT_EQ(edit::NominalFrequencyIndex(60), 1u);
    try {
        edit::NominalFrequencyIndex(50.5L);
        FAIL();
    } catch (const cmn::TalvoError& e) {
        EXPECT_STREQ(e.what(), "Значение частоты не входит в список номиналов");
    }
    EXPECT_THROW(edit::NominalFrequencyIndex(0), cmn::TalvoError);
}

TEST(DialogRules, DigestInUpperCaseGroupsOfFour) {
    EXPECT_EQ(edit::GroupDigest("d41d8cd98f00b204e9800998ecf8427e"), "D41D 8CD9 8F00 B204 E980 0998 ECF8 427E");
    EXPECT_EQ(edit::GroupDigest("abcdef"), "ABCD EF");
    EXPECT_EQ(edit::GroupDigest("abcd"), "ABCD");
    EXPECT_EQ(edit::GroupDigest(""), "");
}

TEST(DialogRules, CountdownRunsOutAfterItsTicksAndNeverBelowZero) {
    edit::TCountdown countdown;
    countdown.Set(3);
    EXPECT_FALSE(countdown.RanOut());
    EXPECT_FALSE(countdown.Tick());
    EXPECT_FALSE(countdown.Tick());
    EXPECT_TRUE(countdown.Tick());
    EXPECT_EQ(countdown.Left(), 0);
    EXPECT_TRUE(countdown.Tick());
    EXPECT_EQ(countdown.Left(), 0);
    EXPECT_EQ(countdown.Given(), 3);

    countdown.Set(-5);
    EXPECT_TRUE(countdown.RanOut()) << "nothing to wait for";
    countdown.Set(1);
    EXPECT_EQ(countdown.Left(), 1) << "a new count starts afresh";
}

}  // namespace
