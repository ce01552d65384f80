#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tempix/TempixExport.h"

namespace tempix {

// The library's own date-time value: a day count whose zero is 30 December
// 1899 00:00, the time of day being the fraction. Negative values keep the
// usual convention of such counts: the integer part is the day and the
// fraction, without its sign, the time of day (-1.25 is 29 December 1899
// 06:00). Held internally as whole seconds on a straight line.
class TEMPIX_EXPORT DateValue {
public:
    DateValue() = default;

    // Parts outside their ranges roll over (month 13 is January of the next
    // year, day 0 the last day of the month before).
    static DateValue FromParts(int year, int month, int day, int hour = 0, int minute = 0,
                               int second = 0);
    static DateValue FromDays(double days);
    static DateValue FromSeconds(int64_t linearSeconds);

    double Days() const;
    int64_t Seconds() const { return m_seconds; }
    // The zero date, 30 December 1899 at midnight.
    bool IsZero() const { return m_seconds == 0; }

    int Year() const;
    int Month() const;
    int Day() const;
    int Hour() const;
    int Minute() const;
    int Second() const;
    // 1 = Sunday ... 7 = Saturday.
    int Weekday() const;

    DateValue DatePart() const;
    // The time of day alone, on the zero date.
    DateValue TimePart() const;

    // Date arithmetic by interval: "yyyy" years, "q" quarters, "m" months,
    // "y", "d" and "w" days, "ww" weeks, "h" hours, "n" minutes, "s" seconds.
    // Months and years keep the day, cut back to the month's last day when
    // needed. An unknown interval leaves the value as it is.
    DateValue Add(std::string_view interval, int64_t number) const;

    // The default date-to-text conversion: "1/15/2003 8:05:00 AM", the date
    // alone at midnight ("1/15/2003"), the time alone on the zero date
    // ("8:05:00 AM").
    std::string ToString() const;

    // Prints by a pattern. Tokens (letters in either case): d dd ddd dddd,
    // m mm mmm mmmm (minutes when they follow an hour token), y (day of the
    // year) yy yyyy, h hh, n nn, s ss, AM/PM am/pm A/P a/p AMPM (12-hour
    // clock). "Quoted text" and \x print as they are, so do all other
    // characters.
    std::string Format(std::string_view pattern) const;

    // The current moment and today's date, from the library's clock.
    static DateValue Now();
    static DateValue Today();

    friend bool operator==(const DateValue& a, const DateValue& b) {
        return a.m_seconds == b.m_seconds;
    }

private:
    explicit DateValue(int64_t seconds) : m_seconds(seconds) {}

    int64_t m_seconds = 0;
};

} // namespace tempix
