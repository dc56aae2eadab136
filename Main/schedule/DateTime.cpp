#include "schedule/DateTime.h"

#include <chrono>
#include <cmath>
#include <ctime>

#include "CommonUtils/Format.h"

namespace sched {
namespace {

constexpr long long kMsPerDay = 86400000;
// Day 0 (30 December 1899) counted from 1 January 1970.
constexpr long long kDay0FromUnix = -25569;

// Days from 1 January 1970 of a proleptic Gregorian date.
long long DaysFromCivil(long long y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const long long yoe = y - era * 400;
    const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void CivilFromDays(long long z, TCivilTime& t) {
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const long long doe = z - era * 146097;
    const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const long long mp = (5 * doy + 2) / 153;
    t.Day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    t.Month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    t.Year = static_cast<int>(yoe + era * 400 + (t.Month <= 2));
}

bool LeapYear(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

int DaysInMonth(int y, int m) {
    static constexpr int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && LeapYear(y) ? 29 : days[m - 1];
}

// Whole day and milliseconds of the day, the day's fraction read as on Windows.
void Split(TDateTime value, long long& day, long long& msOfDay) {
    const double whole = std::trunc(value);
    day = static_cast<long long>(whole);
    msOfDay = std::llround(std::fabs(value - whole) * kMsPerDay);
    if (msOfDay == kMsPerDay) {
        msOfDay = 0;
        day += value < 0 ? -1 : 1;
    }
}

TDateTime Compose(long long day, long long msOfDay) {
    const double time = static_cast<double>(msOfDay) / kMsPerDay;
    return day < 0 ? static_cast<double>(day) - time : static_cast<double>(day) + time;
}

// A cursor over the text being parsed.
struct Reader {
    std::string_view text;
    std::size_t pos = 0;

    bool Done() const { return pos == text.size(); }
    bool Take(char c) {
        if (Done() || text[pos] != c) return false;
        ++pos;
        return true;
    }
    // minDigits … maxDigits decimal digits.
    std::optional<int> Number(std::size_t minDigits, std::size_t maxDigits) {
        std::size_t n = 0;
        int value = 0;
        while (n < maxDigits && pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
            value = value * 10 + (text[pos++] - '0');
            ++n;
        }
        if (n < minDigits) return std::nullopt;
        return value;
    }
};

// "H:mm" or "H:mm:ss"; with `fraction`, ".fff" may follow the seconds.
bool ReadTime(Reader& r, TCivilTime& t, bool fraction) {
    const auto h = r.Number(1, 2);
    if (!h || !r.Take(':')) return false;
    const auto m = r.Number(2, 2);
    if (!m) return false;
    t.Hour = *h;
    t.Minute = *m;
    if (!r.Take(':')) return true;
    const auto s = r.Number(2, 2);
    if (!s) return false;
    t.Second = *s;
    if (!fraction || !r.Take('.')) return true;
    const std::size_t begin = r.pos;
    const auto f = r.Number(1, 3);
    if (!f) return false;
    t.Millisecond = *f * (r.pos - begin == 1 ? 100 : r.pos - begin == 2 ? 10 : 1);
    while (!r.Done() && r.text[r.pos] >= '0' && r.text[r.pos] <= '9') ++r.pos;  // beyond milliseconds
    return true;
}

// "d.M.yyyy" with an optional " H:mm[:ss]".
bool ReadRussian(Reader& r, TCivilTime& t) {
    const auto d = r.Number(1, 2);
    if (!d || !r.Take('.')) return false;
    const auto m = r.Number(1, 2);
    if (!m || !r.Take('.')) return false;
    const auto y = r.Number(4, 4);
    if (!y) return false;
    t = {*y, *m, *d};
    if (r.Done()) return true;
    if (!r.Take(' ')) return false;
    while (r.Take(' ')) {
    }
    return ReadTime(r, t, false);
}

// "yyyy-MM-dd" with an optional "T" or " " and "HH:mm[:ss[.fff]]".
bool ReadIso(Reader& r, TCivilTime& t) {
    const auto y = r.Number(4, 4);
    if (!y || !r.Take('-')) return false;
    const auto m = r.Number(2, 2);
    if (!m || !r.Take('-')) return false;
    const auto d = r.Number(2, 2);
    if (!d) return false;
    t = {*y, *m, *d};
    if (r.Done()) return true;
    if (!r.Take('T') && !r.Take(' ')) return false;
    return ReadTime(r, t, true);
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

}  // namespace

bool SameDateTime(TDateTime a, TDateTime b) { return std::fabs(a - b) < kOneMillisecond; }

bool LaterThan(TDateTime a, TDateTime b) { return a > b && !SameDateTime(a, b); }

TCivilTime DecodeDateTime(TDateTime value) {
    long long day = 0, ms = 0;
    Split(value, day, ms);
    TCivilTime t;
    CivilFromDays(day + kDay0FromUnix, t);
    t.Hour = static_cast<int>(ms / 3600000);
    t.Minute = static_cast<int>(ms / 60000 % 60);
    t.Second = static_cast<int>(ms / 1000 % 60);
    t.Millisecond = static_cast<int>(ms % 1000);
    return t;
}

std::optional<TDateTime> EncodeDateTime(const TCivilTime& t) {
    if (t.Year < 1 || t.Year > 9999 || t.Month < 1 || t.Month > 12 || t.Day < 1 || t.Day > DaysInMonth(t.Year, t.Month))
        return std::nullopt;
    if (t.Hour < 0 || t.Hour > 23 || t.Minute < 0 || t.Minute > 59 || t.Second < 0 || t.Second > 59 ||
        t.Millisecond < 0 || t.Millisecond > 999)
        return std::nullopt;
    const long long day = DaysFromCivil(t.Year, t.Month, t.Day) - kDay0FromUnix;
    const long long ms = ((t.Hour * 60LL + t.Minute) * 60 + t.Second) * 1000 + t.Millisecond;
    return Compose(day, ms);
}

TDateTime WithoutMilliseconds(TDateTime value) {
    long long day = 0, ms = 0;
    Split(value, day, ms);
    return Compose(day, ms - ms % 1000);
}

std::string DateTimeToText(TDateTime value) {
    const TCivilTime t = DecodeDateTime(value);
    std::string text = cmn::Format("%02d.%02d.%04d", t.Day, t.Month, t.Year);
    if (t.Hour || t.Minute || t.Second || t.Millisecond)
        text += cmn::Format(" %02d:%02d:%02d", t.Hour, t.Minute, t.Second);
    return text;
}

std::optional<TDateTime> TextToDateTime(std::string_view text) {
    const std::string_view trimmed = Trim(text);
    const bool iso = trimmed.size() > 4 && trimmed[4] == '-';
    Reader r{trimmed};
    TCivilTime t;
    if (!(iso ? ReadIso(r, t) : ReadRussian(r, t)) || !r.Done()) return std::nullopt;
    return EncodeDateTime(t);
}

TDateTime TSystemClock::Now() const {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    std::tm local{};
    ::localtime_r(&seconds, &local);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    const TCivilTime t{local.tm_year + 1900,
                       local.tm_mon + 1,
                       local.tm_mday,
                       local.tm_hour,
                       local.tm_min,
                       std::min(local.tm_sec, 59),
                       static_cast<int>(ms < 0 ? ms + 1000 : ms)};
    return EncodeDateTime(t).value_or(0);
}

}  // namespace sched
