#pragma once

// The proleptic Gregorian calendar on the day count of the programs' dates:
// day zero is 30 December 1899, and a moment is a day count whose fraction is
// the time of day. Before day zero the integer part is the day and the
// fraction, taken without its sign, the time of day (-1.25 is 29 December 1899
// 06:00). Header only and standard library only, so that the domain library
// and the Tempix library, which links nothing of the project, both use it.

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace orvan::calendar {

inline constexpr int64_t kSecondsPerDay = 86400;

// The quotient rounded towards minus infinity.
constexpr int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

constexpr bool IsLeapYear(int64_t year) {
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

inline constexpr std::array<int, 12> kMonthLengths = {31, 28, 31, 30, 31, 30,
                                                      31, 31, 30, 31, 30, 31};

// Month 1..12.
constexpr int DaysInMonth(int64_t year, int month) {
    return month == 2 && IsLeapYear(year) ? 29 : kMonthLengths[static_cast<size_t>(month - 1)];
}

// The dates that date text may name: years 100 to 9999.
constexpr bool IsValidDate(int64_t year, int month, int day) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

// A year as typed: one or two digits fall into 1930..2029, three or four are
// taken as they are.
constexpr int FullYear(int year, size_t digits) {
    if (digits <= 2) {
        return year + (year < 30 ? 2000 : 1900);
    }
    return year;
}

// Shift between the civil day count from 1 March of year 0 and the day count
// from 30 December 1899.
inline constexpr int64_t kEpochShift = 693899;

// The day count of a date (month 1..12, day 1..31), after H. Hinnant's
// days-from-civil.
constexpr int64_t DayNumber(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    const int64_t era = FloorDiv(year, 400);
    const int64_t yoe = year - era * 400;
    const int64_t doy = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - kEpochShift;
}

struct CivilDate {
    int64_t year = 1899;
    int month = 12;
    int day = 30;
};

// The date of a day count.
constexpr CivilDate CivilFromDayNumber(int64_t dayNumber) {
    const int64_t z = dayNumber + kEpochShift;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

// 1 = Sunday ... 7 = Saturday. Day 0 (30 December 1899) was a Saturday.
constexpr int Weekday(int64_t dayNumber) {
    return static_cast<int>(((dayNumber + 6) % 7 + 7) % 7) + 1;
}

// Seconds since day zero on a straight line. Parts outside their ranges roll
// over: month 13 is January of the next year, day 0 the last day of the month
// before, minute 90 is 1:30 later.
constexpr int64_t SecondsFromParts(int year, int month, int day, int hour, int minute, int second) {
    // Roll the month into range first, then let days and time add up linearly.
    int64_t y = year;
    int64_t m0 = static_cast<int64_t>(month) - 1;
    y += FloorDiv(m0, 12);
    m0 -= FloorDiv(m0, 12) * 12;
    const int64_t days = DayNumber(y, m0 + 1, 1) + (static_cast<int64_t>(day) - 1);
    return days * kSecondsPerDay + static_cast<int64_t>(hour) * 3600 +
           static_cast<int64_t>(minute) * 60 + second;
}

// A moment in seconds split into its day and the second of that day.
struct DaySeconds {
    int64_t day = 0;
    int64_t secondOfDay = 0;
};

constexpr DaySeconds SplitSeconds(int64_t seconds) {
    const int64_t day = FloorDiv(seconds, kSecondsPerDay);
    return {day, seconds - day * kSecondsPerDay};
}

// The day count of a moment in seconds, with the sign convention above.
constexpr double DayCountFromSeconds(int64_t seconds) {
    const DaySeconds split = SplitSeconds(seconds);
    const double fraction = static_cast<double>(split.secondOfDay) / kSecondsPerDay;
    return split.day >= 0 ? static_cast<double>(split.day) + fraction
                          : static_cast<double>(split.day) - fraction;
}

// The largest day count taken as it is; larger ones are held at it, so the
// arithmetic on seconds stays far from overflow.
inline constexpr double kDayCountLimit = 1.0e9;

// A day count as seconds on a straight line, rounded to the nearest second.
// What is not a number at all is day zero.
inline int64_t SecondsFromDayCount(double days) {
    if (!std::isfinite(days)) {
        return 0;
    }
    const double clamped = std::fmax(std::fmin(days, kDayCountLimit), -kDayCountLimit);
    if (clamped >= 0.0) {
        return std::llround(clamped * kSecondsPerDay);
    }
    const double day = std::trunc(clamped);
    const double fraction = std::fabs(clamped - day);
    return static_cast<int64_t>(day) * kSecondsPerDay + std::llround(fraction * kSecondsPerDay);
}

} // namespace orvan::calendar
