#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/NumberFormat.h"

namespace orvan {

// A point in time as a day count: zero is 30 December 1899 00:00 and the time
// of day is the fraction. Zero also means "not set". Negative values follow
// the usual convention of such day counts: the integer part is the day and the
// fraction, taken without its sign, is the time of day (-1.25 is 29 December
// 1899 06:00).
class DateTime {
public:
    constexpr DateTime() = default;

    // Builds a value from calendar parts. Parts outside their usual ranges
    // roll over (month 13 is January of the next year, day 0 the last day of
    // the month before, minute 90 is 1:30 later).
    static DateTime FromParts(int year, int month, int day, int hour = 0, int minute = 0,
                              int second = 0);
    static DateTime FromDays(double days) { return DateTime(days); }
    // Time of day alone (date part zero).
    static DateTime FromTime(int hour, int minute, int second = 0);

    double Days() const { return m_days; }
    bool IsZero() const { return m_days == 0.0; }

    int Year() const;
    int Month() const;
    int Day() const;
    int Hour() const;
    int Minute() const;
    int Second() const;
    // 1 = Sunday ... 7 = Saturday.
    int Weekday() const;

    // The date at midnight, and the time of day with a zero date part.
    DateTime DatePart() const;
    DateTime TimePart() const;

    DateTime AddDays(int64_t days) const;
    DateTime AddMinutes(int64_t minutes) const;
    DateTime AddSeconds(int64_t seconds) const;
    // The same moment with the seconds dropped.
    DateTime TruncateToMinute() const;

    // Differences counted by boundaries: the number of midnights (or whole
    // minute marks) crossed going from `from` to `to`; negative when `to` is
    // earlier. Seconds never count towards a minute difference.
    static int64_t DiffDays(const DateTime& from, const DateTime& to);
    static int64_t DiffMinutes(const DateTime& from, const DateTime& to);
    static int64_t DiffSeconds(const DateTime& from, const DateTime& to);

    // The general date text: "1/15/2003 8:05:00 AM"; the date alone at
    // midnight ("1/15/2003"); the time alone when the date part is zero
    // ("8:05:00 AM", so an unset value reads "12:00:00 AM").
    std::string ToString() const;

    // Formats by a date pattern: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn
    // s ss (m after h is minutes), AM/PM am/pm A/P a/p AMPM, / and : as the
    // separators, "quoted" text and \x escapes.
    std::string Format(std::string_view pattern) const;

    // Reads United States date and time text: "1/15/2003", "1/15/03",
    // "01/15/2003 08:00 AM", "8:30 AM", "14:05", "12/31/2006 8:30:15 PM".
    // A month and day without a year take the current year. Returns nothing
    // when the text is not a valid date or time (13/45/2003, 2/30/2004, 99:99).
    static std::optional<DateTime> Parse(std::string_view text);
    // The date test: whether Parse reads the text.
    static bool IsDate(std::string_view text) { return Parse(text).has_value(); }

    // The current moment and today's date at midnight, from the program clock.
    static DateTime Now();
    static DateTime Today();

    friend bool operator==(const DateTime& a, const DateTime& b) { return a.m_days == b.m_days; }
    friend auto operator<=>(const DateTime& a, const DateTime& b) { return a.m_days <=> b.m_days; }

private:
    explicit constexpr DateTime(double days) : m_days(days) {}
    // Seconds since the epoch on a straight line (no sign quirk), rounded to
    // the nearest second.
    int64_t LinearSeconds() const;
    static DateTime FromLinearSeconds(int64_t seconds);

    double m_days = 0.0;
};

// A reading of the clock: the local moment and its offset from UTC in
// minutes east of it (-300 for Central Daylight Time), which tells the two
// 1:30 AMs of a fall-back night apart.
struct ClockReading {
    DateTime now;
    int32_t utcOffsetMinutes = 0;
};

// Where "now" comes from. Programs use the system clock; tests install their
// own to fix the moment.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime Now() const = 0;
    // The offset from UTC of the moment Now reads. Unless a clock knows
    // better, the zone's rules for that local time (ZoneUtcOffsetMinutes).
    virtual int32_t UtcOffsetMinutes() const;
    // Now and its offset from one reading, so the two belong to one moment
    // even while the clocks change.
    virtual ClockReading Read() const { return {Now(), UtcOffsetMinutes()}; }
};

// The clock in use; never null. SetClock(nullptr) restores the system clock.
const Clock& CurrentClock();
void SetClock(std::shared_ptr<Clock> clock);

// A clock that stands still until it is set or advanced. Its offset from
// UTC is the one it was given with its moment, or else the zone's rules for
// that moment; advancing keeps a given offset.
class FixedClock : public Clock {
public:
    explicit FixedClock(DateTime now) : m_now(now) {}
    FixedClock(DateTime now, int32_t utcOffsetMinutes)
        : m_now(now), m_utcOffsetMinutes(utcOffsetMinutes) {}
    DateTime Now() const override { return m_now; }
    int32_t UtcOffsetMinutes() const override;
    void Set(DateTime now) {
        m_now = now;
        m_utcOffsetMinutes.reset();
    }
    void Set(DateTime now, int32_t utcOffsetMinutes) {
        m_now = now;
        m_utcOffsetMinutes = utcOffsetMinutes;
    }
    void AdvanceSeconds(int64_t seconds) { m_now = m_now.AddSeconds(seconds); }

private:
    DateTime m_now;
    std::optional<int32_t> m_utcOffsetMinutes;
};

} // namespace orvan
