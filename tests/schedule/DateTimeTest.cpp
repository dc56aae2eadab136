#include <gtest/gtest.h>

#include "schedule/DateTime.h"

namespace {

using namespace sched;

TDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
    return EncodeDateTime({y, mo, d, h, mi, s, ms}).value();
}

TEST(DateTime, DayCountsFromTheEndOf1899) {
    EXPECT_EQ(At(1899, 12, 30), 0);
    EXPECT_EQ(At(1900, 1, 1), 2);
    EXPECT_EQ(At(2000, 1, 1), 36526);
    EXPECT_EQ(At(2000, 1, 1, 12), 36526.5);
    EXPECT_EQ(At(1899, 12, 29, 6), -1.25);  // the time counts forward from the day's start, as on Windows
    const TCivilTime t = DecodeDateTime(-1.25);
    EXPECT_EQ(t.Day, 29);
    EXPECT_EQ(t.Hour, 6);
    const TCivilTime leap = DecodeDateTime(At(2024, 2, 29, 23, 59, 59, 999));
    EXPECT_EQ(leap.Month, 2);
    EXPECT_EQ(leap.Day, 29);
    EXPECT_EQ(leap.Millisecond, 999);
}

TEST(DateTime, NonexistentDatesAndTimesAreRefused) {
    EXPECT_FALSE(EncodeDateTime({2023, 2, 29}));
    EXPECT_FALSE(EncodeDateTime({2024, 4, 31}));
    EXPECT_FALSE(EncodeDateTime({2024, 13, 1}));
    EXPECT_FALSE(EncodeDateTime({0, 1, 1}));
    EXPECT_FALSE(EncodeDateTime({2024, 1, 1, 24}));
    EXPECT_FALSE(EncodeDateTime({2024, 1, 1, 0, 60}));
    EXPECT_TRUE(EncodeDateTime({2000, 2, 29}));
}

TEST(DateTime, EqualWithinOneMillisecond) {
    const TDateTime t = At(2026, 12, 9, 12);
    EXPECT_TRUE(SameDateTime(t, t + 0.9 * kOneMillisecond));
    EXPECT_FALSE(SameDateTime(t, t + 1.1 * kOneMillisecond));
    EXPECT_FALSE(LaterThan(t + 0.9 * kOneMillisecond, t));
    EXPECT_TRUE(LaterThan(t + 1.1 * kOneMillisecond, t));
    EXPECT_FALSE(LaterThan(t, t + SecondsToDays(1)));
}

TEST(DateTime, TextIsTheRussianShortDateAndLongTime) {
    EXPECT_EQ(DateTimeToText(At(2026, 3, 7, 9, 5, 4)), "07.03.2026 09:05:04");
    EXPECT_EQ(DateTimeToText(At(2026, 3, 7)), "07.03.2026");
    EXPECT_EQ(DateTimeToText(0), "30.12.1899");
    EXPECT_EQ(DateTimeToText(At(2026, 3, 7, 0, 0, 0, 400)), "07.03.2026 00:00:00");
    EXPECT_EQ(DateTimeToText(At(2026, 3, 7, 12, 0, 5, 999)),
              "07.03.2026 12:00:05");  // milliseconds dropped, not rounded
    // A value a hair below a whole second, as day fractions often are, shows that second.
    EXPECT_EQ(DateTimeToText(At(2026, 3, 7, 12, 0, 5) - 1e-12), "07.03.2026 12:00:05");
    EXPECT_EQ(DateTimeToText(At(1899, 12, 29, 6)), "29.12.1899 06:00:00");
}

TEST(DateTime, WrittenTextReadsBackToTheSameSecond) {
    for (const TDateTime t : {At(2026, 12, 31, 23, 59, 59), At(1999, 1, 1), At(2026, 7, 1, 0, 0, 1), -700.75,
                              At(9999, 12, 31, 23, 59, 59)}) {
        const auto back = TextToDateTime(DateTimeToText(t));
        ASSERT_TRUE(back) << DateTimeToText(t);
        EXPECT_TRUE(SameDateTime(*back, t)) << DateTimeToText(t);
    }
    EXPECT_TRUE(SameDateTime(WithoutMilliseconds(At(2026, 1, 2, 3, 4, 5, 678)), At(2026, 1, 2, 3, 4, 5)));
}

TEST(DateTime, ReadsWindowsAndIsoForms) {
    const TDateTime noon = At(2026, 3, 7, 12, 30, 15);
    EXPECT_EQ(TextToDateTime("07.03.2026 12:30:15"), noon);
    EXPECT_EQ(TextToDateTime("  7.3.2026  12:30:15 "), noon);
    EXPECT_EQ(TextToDateTime("07.03.2026 12:30"), At(2026, 3, 7, 12, 30));
    EXPECT_EQ(TextToDateTime("07.03.2026"), At(2026, 3, 7));
    EXPECT_EQ(TextToDateTime("2026-03-07T12:30:15"), noon);
    EXPECT_EQ(TextToDateTime("2026-03-07 12:30:15"), noon);
    EXPECT_EQ(TextToDateTime("2026-03-07"), At(2026, 3, 7));
    EXPECT_EQ(TextToDateTime("2026-03-07T12:30"), At(2026, 3, 7, 12, 30));
    EXPECT_EQ(TextToDateTime("2026-03-07T12:30:15.25"), At(2026, 3, 7, 12, 30, 15, 250));
    EXPECT_EQ(TextToDateTime("2026-03-07T12:30:15.1234"), At(2026, 3, 7, 12, 30, 15, 123));
}

TEST(DateTime, OtherTextsDoNotRead) {
    for (const char* text : {"", " ", "07.03.26", "07/03/2026", "31.04.2026", "07.03.2026 24:00:00", "07.03.2026 12",
                             "07.03.2026 12:3", "07.03.2026x", "2026-3-7", "2026-03-07T", "2026-03-07T12:30:15Z",
                             "2026-03-07T12:30:15.", "12:00:00", "07.13.2026", "1e5", "07.03.2026 12:30:15.5"})
        EXPECT_FALSE(TextToDateTime(text)) << text;
}

TEST(DateTime, SystemClockReadsTheLocalTime) {
    const TDateTime now = TSystemClock().Now();
    EXPECT_GT(now, At(2020, 1, 1));
    EXPECT_LT(now, At(2200, 1, 1));
}

}  // namespace
