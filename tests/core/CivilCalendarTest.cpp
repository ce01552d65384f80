#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "calendar/CivilCalendar.h"
#include "calendar/DatePattern.h"
#include "calendar/DateText.h"

namespace calendar = orvan::calendar;

namespace {

constexpr int NoYear() {
    return 1111;
}

// Reads with a current year of 1111, so a date that took it shows.
std::optional<calendar::DateTextReading> Read(std::string_view text,
                                              const calendar::DateTextRules& rules) {
    return calendar::ReadDateText(text, rules, NoYear);
}

std::string ReadAs(std::string_view text, const calendar::DateTextRules& rules) {
    const auto r = Read(text, rules);
    if (!r) {
        return "-";
    }
    return std::to_string(r->year) + "-" + std::to_string(r->month) + "-" + std::to_string(r->day) +
           " " + std::to_string(r->hour) + ":" + std::to_string(r->minute) + ":" +
           std::to_string(r->second) + (r->hasDate ? " D" : "") + (r->hasTime ? " T" : "");
}

// The calendar's answers are constant expressions.
static_assert(calendar::DayNumber(1899, 12, 30) == 0);
static_assert(calendar::CivilFromDayNumber(36585).day == 29);
static_assert(calendar::Weekday(0) == 7);
static_assert(calendar::ReadDateText("2/29/2000 9 pm", calendar::kDomainDateText, NoYear)->hour ==
              21);

TEST(CivilCalendar, KnownDays) {
    struct Case {
        int year, month, day;
        int64_t number;
        int weekday;
    };
    const Case cases[] = {
        {1899, 12, 30, 0, 7},       {1900, 1, 1, 2, 2},       {1900, 2, 28, 60, 4},
        {1900, 3, 1, 61, 5},        {2000, 2, 29, 36585, 3},  {2100, 2, 28, 73109, 1},
        {2100, 3, 1, 73110, 2},     {1600, 3, 1, -109511, 4}, {1, 1, 1, -693593, 2},
        {9999, 12, 31, 2958465, 6}, {1899, 12, 29, -1, 6},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(calendar::DayNumber(c.year, c.month, c.day), c.number) << c.year;
        const calendar::CivilDate civil = calendar::CivilFromDayNumber(c.number);
        EXPECT_EQ(civil.year, c.year);
        EXPECT_EQ(civil.month, c.month);
        EXPECT_EQ(civil.day, c.day);
        EXPECT_EQ(calendar::Weekday(c.number), c.weekday) << c.year;
    }
}

TEST(CivilCalendar, EveryDayFollowsTheDayBefore) {
    // From the year -200 to 10200, day by day: each day is the next calendar
    // day of the one before and reads back to its own number.
    const int64_t first = calendar::DayNumber(-200, 1, 1);
    const int64_t last = calendar::DayNumber(10200, 12, 31);
    calendar::CivilDate before = calendar::CivilFromDayNumber(first - 1);
    for (int64_t n = first; n <= last; ++n) {
        const calendar::CivilDate civil = calendar::CivilFromDayNumber(n);
        ASSERT_EQ(calendar::DayNumber(civil.year, civil.month, civil.day), n);
        if (before.day < calendar::DaysInMonth(before.year, before.month)) {
            ASSERT_EQ(civil.year, before.year);
            ASSERT_EQ(civil.month, before.month);
            ASSERT_EQ(civil.day, before.day + 1);
        } else {
            ASSERT_EQ(civil.day, 1) << n;
            ASSERT_EQ(civil.month, before.month % 12 + 1) << n;
            ASSERT_EQ(civil.year, before.year + (before.month == 12 ? 1 : 0)) << n;
        }
        ASSERT_EQ(calendar::Weekday(n), calendar::Weekday(n - 1) % 7 + 1);
        before = civil;
    }
}

TEST(CivilCalendar, LeapYearsAndMonthLengths) {
    EXPECT_FALSE(calendar::IsLeapYear(1900));
    EXPECT_TRUE(calendar::IsLeapYear(2000));
    EXPECT_TRUE(calendar::IsLeapYear(2004));
    EXPECT_FALSE(calendar::IsLeapYear(2003));
    EXPECT_FALSE(calendar::IsLeapYear(2100));
    EXPECT_TRUE(calendar::IsLeapYear(-4));
    EXPECT_EQ(calendar::DaysInMonth(1900, 2), 28);
    EXPECT_EQ(calendar::DaysInMonth(2000, 2), 29);
    EXPECT_EQ(calendar::DaysInMonth(2003, 4), 30);
    EXPECT_EQ(calendar::DaysInMonth(2003, 12), 31);
    EXPECT_TRUE(calendar::IsValidDate(2000, 2, 29));
    EXPECT_FALSE(calendar::IsValidDate(1900, 2, 29));
    EXPECT_TRUE(calendar::IsValidDate(100, 1, 1));
    EXPECT_FALSE(calendar::IsValidDate(99, 12, 31));
    EXPECT_TRUE(calendar::IsValidDate(9999, 12, 31));
    EXPECT_FALSE(calendar::IsValidDate(10000, 1, 1));
    EXPECT_FALSE(calendar::IsValidDate(2003, 13, 1));
    EXPECT_FALSE(calendar::IsValidDate(2003, 1, 0));
}

TEST(CivilCalendar, TwoDigitYearsPivotAt30) {
    EXPECT_EQ(calendar::FullYear(29, 2), 2029);
    EXPECT_EQ(calendar::FullYear(30, 2), 1930);
    EXPECT_EQ(calendar::FullYear(0, 2), 2000);
    EXPECT_EQ(calendar::FullYear(99, 2), 1999);
    EXPECT_EQ(calendar::FullYear(5, 1), 2005);
    // Three and four digits stay as typed.
    EXPECT_EQ(calendar::FullYear(29, 3), 29);
    EXPECT_EQ(calendar::FullYear(30, 4), 30);
    for (const auto* rules : {&calendar::kDomainDateText, &calendar::kTempixDateText}) {
        EXPECT_EQ(ReadAs("1/5/29", *rules), "2029-1-5 0:0:0 D");
        EXPECT_EQ(ReadAs("1/5/30", *rules), "1930-1-5 0:0:0 D");
        EXPECT_EQ(ReadAs("1/5/0", *rules), "2000-1-5 0:0:0 D");
        EXPECT_EQ(ReadAs("1/5/099", *rules), "-");
        EXPECT_EQ(ReadAs("1/5/0100", *rules), "100-1-5 0:0:0 D");
        EXPECT_EQ(ReadAs("1/5", *rules), "1111-1-5 0:0:0 D");
    }
}

TEST(CivilCalendar, SecondsAndDayCounts) {
    EXPECT_EQ(calendar::SecondsFromParts(1899, 12, 30, 0, 0, 0), 0);
    EXPECT_EQ(calendar::SecondsFromParts(2003, 13, 1, 0, 0, 0),
              calendar::SecondsFromParts(2004, 1, 1, 0, 0, 0));
    EXPECT_EQ(calendar::SecondsFromParts(2004, 3, 0, 0, 90, 0),
              calendar::SecondsFromParts(2004, 2, 29, 1, 30, 0));
    EXPECT_EQ(calendar::SecondsFromParts(2003, -1, 1, 0, 0, 0),
              calendar::SecondsFromParts(2002, 11, 1, 0, 0, 0));
    // Before day zero the fraction counts forward from the day.
    EXPECT_EQ(calendar::SecondsFromDayCount(-1.25), -86400 + 6 * 3600);
    EXPECT_EQ(calendar::DayCountFromSeconds(-86400 + 6 * 3600), -1.25);
    EXPECT_EQ(calendar::DayCountFromSeconds(int64_t{37683} * 86400 + 18 * 3600), 37683.75);
    // Rounded to the nearest second.
    EXPECT_EQ(calendar::SecondsFromDayCount(0.4 / 86400), 0);
    EXPECT_EQ(calendar::SecondsFromDayCount(0.6 / 86400), 1);
    EXPECT_EQ(calendar::SecondsFromDayCount(-2.0 - 0.6 / 86400), -2 * 86400 + 1);
    EXPECT_EQ(calendar::SecondsFromDayCount(-2.0 - 0.4 / 86400), -2 * 86400);
    EXPECT_EQ(calendar::SecondsFromDayCount(59.9999999), 60 * 86400);
    // Far-out and non-numbers.
    EXPECT_EQ(calendar::SecondsFromDayCount(1e300), int64_t{1000000000} * 86400);
    EXPECT_EQ(calendar::SecondsFromDayCount(-1e300), int64_t{-1000000000} * 86400);
    EXPECT_EQ(calendar::SecondsFromDayCount(std::nan("")), 0);
    EXPECT_EQ(calendar::SecondsFromDayCount(-std::numeric_limits<double>::infinity()), 0);
    const calendar::DaySeconds split = calendar::SplitSeconds(-1);
    EXPECT_EQ(split.day, -1);
    EXPECT_EQ(split.secondOfDay, 86399);
}

TEST(CivilCalendar, TimeOfDayEdges) {
    auto time = [](std::string_view text) {
        calendar::TextCursor cur{text};
        int h = -1, m = -1, s = -1;
        if (!calendar::ReadTimeOfDay(cur, h, m, s)) {
            return "- at " + std::to_string(cur.pos);
        }
        return std::to_string(h) + ":" + std::to_string(m) + ":" + std::to_string(s) + " at " +
               std::to_string(cur.pos);
    };
    EXPECT_EQ(time("0:00"), "0:0:0 at 4");
    EXPECT_EQ(time("23:59:59"), "23:59:59 at 8");
    EXPECT_EQ(time("12:00 AM"), "0:0:0 at 8");
    EXPECT_EQ(time("12:00 pm"), "12:0:0 at 8");
    EXPECT_EQ(time("11:59:59P"), "23:59:59 at 9");
    EXPECT_EQ(time("9 a"), "9:0:0 at 3");
    EXPECT_EQ(time("9:5"), "9:5:0 at 3");
    // A blank and no marker: the time ends before the blank.
    EXPECT_EQ(time("9:30 x"), "9:30:0 at 4");
    EXPECT_EQ(time("9:30 AMX"), "9:30:0 at 7");
    EXPECT_EQ(time("24:00"), "- at 0");
    EXPECT_EQ(time("12:60"), "- at 0");
    EXPECT_EQ(time("1:00:60"), "- at 0");
    EXPECT_EQ(time("13 PM"), "- at 0");
    EXPECT_EQ(time("0 AM"), "0:0:0 at 4");
    EXPECT_EQ(time("9"), "- at 0");
    EXPECT_EQ(time("123:00"), "- at 0");
    EXPECT_EQ(time("9:"), "- at 0");
    EXPECT_EQ(time(""), "- at 0");
}

TEST(CivilCalendar, TheTwoDateTextRules) {
    const auto& domain = calendar::kDomainDateText;
    const auto& tempix = calendar::kTempixDateText;
    EXPECT_EQ(ReadAs(" 1/15/2003 8:30 PM ", domain), "2003-1-15 20:30:0 D T");
    EXPECT_EQ(ReadAs(" 1/15/2003 8:30 PM ", tempix), "2003-1-15 20:30:0 D T");
    EXPECT_EQ(ReadAs("14:05", domain), "1899-12-30 14:5:0 T");
    EXPECT_EQ(ReadAs("1-15-2003", domain), "2003-1-15 0:0:0 D");
    // Only Tempix takes dots and a leading four-digit year.
    EXPECT_EQ(ReadAs("1.15.2003", domain), "-");
    EXPECT_EQ(ReadAs("1.15.2003", tempix), "2003-1-15 0:0:0 D");
    EXPECT_EQ(ReadAs("2003-01-15", domain), "-");
    EXPECT_EQ(ReadAs("2003-01-15", tempix), "2003-1-15 0:0:0 D");
    EXPECT_EQ(ReadAs("2003-02-29", tempix), "-");
    EXPECT_EQ(ReadAs("1/15-2003", tempix), "-");
    // The domain library reads at most 64 characters.
    const std::string padded = std::string(60, ' ') + "1/15";
    EXPECT_EQ(ReadAs(padded, domain), "1111-1-15 0:0:0 D");
    EXPECT_EQ(ReadAs(" " + padded, domain), "-");
    EXPECT_EQ(ReadAs(" " + padded, tempix), "1111-1-15 0:0:0 D");
    // A time after a date needs a blank; nothing may follow.
    EXPECT_EQ(ReadAs("1/15/2003 8", domain), "-");
    EXPECT_EQ(ReadAs("1/15/20038:30", tempix), "-");
    EXPECT_EQ(ReadAs("1/15/2003x", tempix), "-");
    EXPECT_EQ(ReadAs("  ", tempix), "-");
    // The current year is asked for only when a date has none.
    int asked = 0;
    auto year = [&asked] {
        ++asked;
        return 2006;
    };
    EXPECT_TRUE(calendar::ReadDateText("1/15/2003 8:00", domain, year).has_value());
    EXPECT_TRUE(calendar::ReadDateText("8:00", domain, year).has_value());
    EXPECT_EQ(asked, 0);
    EXPECT_FALSE(calendar::ReadDateText("2/29", domain, year).has_value());
    EXPECT_EQ(asked, 1);
}

TEST(CivilCalendar, TheTwoPatternRules) {
    const auto parts = calendar::PatternParts(calendar::SecondsFromParts(2003, 1, 15, 13, 5, 9));
    auto both = [&](std::string_view pattern) {
        return calendar::FormatDatePattern(parts, pattern, calendar::kDomainPatterns) + " | " +
               calendar::FormatDatePattern(parts, pattern, calendar::kTempixPatterns);
    };
    EXPECT_EQ(both("mm/dd/yyyy hh:mm AM/PM"), "01/15/2003 01:05 PM | 01/15/2003 01:05 PM");
    EXPECT_EQ(both("y ddd"), "15 Wed | 15 Wed");
    EXPECT_EQ(both("ddddd"), "1/15/2003 | Wednesday");
    EXPECT_EQ(both("dddddd"), "Wednesday, January 15, 2003 | Wednesday");
    EXPECT_EQ(both("w q"), "4 1 | w q");
    EXPECT_EQ(both("c"), "1/15/2003 1:05:09 PM | c");
    // After a marker the domain library still reads "m" as minutes.
    EXPECT_EQ(both("h AM/PM m"), "1 PM 5 | 1 PM 1");
    const auto early = calendar::PatternParts(calendar::SecondsFromParts(199, 12, 25, 0, 0, 0));
    EXPECT_EQ(calendar::FormatDatePattern(early, "yyyy", calendar::kDomainPatterns), "199");
    EXPECT_EQ(calendar::FormatDatePattern(early, "yyyy", calendar::kTempixPatterns), "0199");
    EXPECT_EQ(calendar::GeneralPattern(calendar::PatternParts(8 * 3600)), "h:nn:ss AM/PM");
    EXPECT_EQ(calendar::GeneralPattern(early), "m/d/yyyy");
    EXPECT_EQ(calendar::GeneralPattern(parts), "m/d/yyyy h:nn:ss AM/PM");
}

} // namespace
