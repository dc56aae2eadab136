#include <gtest/gtest.h>

#include "schedule/DateTime.h"

// Dates of list files. Each number of a date-time text has its width: the day and the
// month one or two digits, the year four, hours one or two, minutes and
// seconds two; a digit more is no date-time.
namespace {

TEST(DateTextWidths, ADigitTooManyInAnyFieldDoesNotRead) {
    for (const char* text : {"007.03.2026", "07.003.2026", "07.03.02026", "07.03.2026 012:30", "07.03.2026 12:030",
                             "07.03.2026 12:30:015", "02026-03-07", "2026-003-07", "2026-03-007", "2026-03-07T012:30",
                             "2026-03-07T12:030", "2026-03-07T12:30:015"})
        EXPECT_FALSE(sched::TextToDateTime(text)) << text;
    for (const char* text : {"7.3.2026", "07.03.2026 7:05", "07.03.2026 07:05:09", "2026-03-07T07:05:09"})
        EXPECT_TRUE(sched::TextToDateTime(text)) << text;
}

// Gregorian leap years: every fourth, except centuries not divisible by 400.
TEST(DateTextWidths, TheTwentyNinthOfFebruaryInCenturies) {
    for (const char* text : {"29.02.2000", "29.02.2024", "29.02.1600"})
        EXPECT_TRUE(sched::TextToDateTime(text)) << text;
    for (const char* text : {"29.02.1900", "29.02.2100", "29.02.2023"})
        EXPECT_FALSE(sched::TextToDateTime(text)) << text;
    // Day 61 is 1 March 1900, after a 28-day February.
    EXPECT_EQ(sched::TextToDateTime("01.03.1900"), 61);
    EXPECT_EQ(*sched::TextToDateTime("01.03.2100") - *sched::TextToDateTime("28.02.2100"), 1);
}

}  // namespace
