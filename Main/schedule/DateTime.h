#pragma once

#include <optional>
#include <string>
#include <string_view>

// Date-times of the schedule: day counts with fractions, day 0 being
// 30 December 1899, as list files made on Windows hold them. For days before
// day 0 the fraction is the time of day counted forward from the day's start
// (-1.25 is 29 December 1899, 06:00), as on Windows.
namespace sched {

using TDateTime = double;

inline constexpr double kSecondsPerDay = 86400.0;
inline constexpr TDateTime kOneMillisecond = 1.0 / 86400000.0;

inline TDateTime SecondsToDays(double seconds) { return seconds / kSecondsPerDay; }

// Equal when they differ by less than a millisecond.
bool SameDateTime(TDateTime a, TDateTime b);
// a lies after b by a millisecond or more.
bool LaterThan(TDateTime a, TDateTime b);

struct TCivilTime {
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// The calendar date and time of day, rounded to the millisecond.
TCivilTime DecodeDateTime(TDateTime value);
// Nothing for a date or time that does not exist (31 April, 24:00, year 0).
std::optional<TDateTime> EncodeDateTime(const TCivilTime& t);

// The same moment with the milliseconds dropped.
TDateTime WithoutMilliseconds(TDateTime value);

// "dd.MM.yyyy HH:mm:ss", or "dd.MM.yyyy" alone when the time of day is zero:
// the Russian short date and long time, so that list files exchange with
// Windows installations. Milliseconds are not shown.
std::string DateTimeToText(TDateTime value);

// Reads the form DateTimeToText writes (one-digit day, month and hour too,
// seconds optional) and ISO 8601: "yyyy-MM-dd", optionally followed by "T"
// or a blank and "HH:mm", "HH:mm:ss" or "HH:mm:ss.fff". Blanks around the
// text are allowed; anything else gives nothing.
std::optional<TDateTime> TextToDateTime(std::string_view text);

// The local wall-clock time. Runs read it through this interface so that a
// test can put the clock at a chosen moment.
class IClock {
public:
    virtual ~IClock() = default;
    virtual TDateTime Now() const = 0;
};

class TSystemClock : public IClock {
public:
    TDateTime Now() const override;
};

}  // namespace sched
