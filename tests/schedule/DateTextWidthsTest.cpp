#include <gtest/gtest.h>

#include "schedule/DateTime.h"

// Each number of a list file's date-time text has its width: the day and the
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

}  // namespace
