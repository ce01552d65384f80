#include <gtest/gtest.h>

#include <string>

#include "core/DateTime.h"
#include "support/TestSupport.h"

using orvan::DateTime;

TEST(DateTime, EpochAndParts) {
    EXPECT_TRUE(DateTime().IsZero());
    EXPECT_EQ(DateTime::FromParts(1899, 12, 30).Days(), 0.0);
    EXPECT_EQ(DateTime::FromParts(1900, 1, 1).Days(), 2.0);
    EXPECT_EQ(DateTime::FromParts(2003, 1, 15).Days(), 37636.0);
    const DateTime t = DateTime::FromParts(2003, 1, 15, 13, 5, 42);
    EXPECT_EQ(t.Year(), 2003);
    EXPECT_EQ(t.Month(), 1);
    EXPECT_EQ(t.Day(), 15);
    EXPECT_EQ(t.Hour(), 13);
    EXPECT_EQ(t.Minute(), 5);
    EXPECT_EQ(t.Second(), 42);
    EXPECT_EQ(t.Weekday(), 4); // Wednesday
    // Before the epoch the fraction counts forward from the day.
    EXPECT_DOUBLE_EQ(DateTime::FromParts(1899, 12, 29, 6).Days(), -1.25);
    EXPECT_EQ(DateTime::FromDays(-1.25).Hour(), 6);
    EXPECT_EQ(DateTime::FromDays(-1.25).Day(), 29);
    // Parts roll over.
    EXPECT_EQ(DateTime::FromParts(2003, 13, 1), DateTime::FromParts(2004, 1, 1));
    EXPECT_EQ(DateTime::FromParts(2004, 3, 0), DateTime::FromParts(2004, 2, 29));
    EXPECT_EQ(DateTime::FromParts(2003, 1, 15, 25), DateTime::FromParts(2003, 1, 16, 1));
}

TEST(DateTime, GeneralText) {
    EXPECT_EQ(DateTime::FromParts(2003, 1, 15, 8, 5).ToString(), "1/15/2003 8:05:00 AM");
    EXPECT_EQ(DateTime::FromParts(2003, 1, 15, 16, 30).ToString(), "1/15/2003 4:30:00 PM");
    EXPECT_EQ(DateTime::FromParts(2003, 1, 15).ToString(), "1/15/2003");
    EXPECT_EQ(DateTime::FromTime(8, 5).ToString(), "8:05:00 AM");
    EXPECT_EQ(DateTime().ToString(), "12:00:00 AM");
    EXPECT_EQ(DateTime::FromParts(2003, 12, 31, 0, 0, 1).ToString(), "12/31/2003 12:00:01 AM");
    EXPECT_EQ(DateTime::FromParts(2000, 1, 1, 8).ToString(), "1/1/2000 8:00:00 AM");
}

TEST(DateTime, Patterns) {
    const DateTime t = DateTime::FromParts(2003, 1, 15, 13, 5, 9);
    EXPECT_EQ(t.Format("mm/dd/yyyy hh:mm AM/PM"), "01/15/2003 01:05 PM");
    EXPECT_EQ(t.Format("mm/dd/yyyy"), "01/15/2003");
    EXPECT_EQ(t.Format("hh:mm:ss AMPM"), "01:05:09 PM");
    EXPECT_EQ(t.Format("mm/dd/yyyy   hh:mm AMPM"), "01/15/2003   01:05 PM");
    EXPECT_EQ(t.Format("hh:mm:ss"), "13:05:09");
    EXPECT_EQ(t.Format("hh:mm:ss am/pm"), "01:05:09 pm");
    EXPECT_EQ(t.Format("mmmm d, yyyy"), "January 15, 2003");
    EXPECT_EQ(t.Format("ddd mmm yy"), "Wed Jan 03");
    EXPECT_EQ(t.Format("mmdd"), "0115");
    EXPECT_EQ(t.Format("\"at\" h:nn"), "at 13:05");
    const DateTime midnight = DateTime::FromParts(2003, 1, 15);
    EXPECT_EQ(midnight.Format("mm/dd/yyyy hh:mm AM/PM"), "01/15/2003 12:00 AM");
    EXPECT_EQ(DateTime::FromParts(2003, 1, 15, 12).Format("hh:mm AM/PM"), "12:00 PM");
}

TEST(DateTime, ParsesUnitedStatesText) {
    struct Case {
        const char* text;
        DateTime expected;
    };
    const Case cases[] = {
        {"1/15/2003", DateTime::FromParts(2003, 1, 15)},
        {"01/15/2003 08:00 AM", DateTime::FromParts(2003, 1, 15, 8)},
        {"12/31/2006 8:30 AM", DateTime::FromParts(2006, 12, 31, 8, 30)},
        {"1/15/2003 4:30:00 PM", DateTime::FromParts(2003, 1, 15, 16, 30)},
        {"1/15/03", DateTime::FromParts(2003, 1, 15)},
        {"1/15/99", DateTime::FromParts(1999, 1, 15)},
        {"2/29/2004", DateTime::FromParts(2004, 2, 29)},
        {"8:30 AM", DateTime::FromTime(8, 30)},
        {"12:15 am", DateTime::FromTime(0, 15)},
        {"12:15 PM", DateTime::FromTime(12, 15)},
        {"14:05", DateTime::FromTime(14, 5)},
        {"8 PM", DateTime::FromTime(20, 0)},
        {"  1-15-2003  ", DateTime::FromParts(2003, 1, 15)},
    };
    for (const Case& c : cases) {
        const auto parsed = DateTime::Parse(c.text);
        ASSERT_TRUE(parsed.has_value()) << c.text;
        EXPECT_EQ(*parsed, c.expected) << c.text;
    }
    // Round trip of the general text, as SQL literals and options use it.
    const DateTime t = DateTime::FromParts(2010, 7, 4, 23, 59, 59);
    EXPECT_EQ(*DateTime::Parse(t.ToString()), t);
}

TEST(DateTime, MonthAndDayTakeThisYear) {
    orvan::test::ScopedClock clock(DateTime::FromParts(2003, 3, 5, 10));
    EXPECT_EQ(*DateTime::Parse("1/15"), DateTime::FromParts(2003, 1, 15));
    EXPECT_EQ(DateTime::Today(), DateTime::FromParts(2003, 3, 5));
}

TEST(DateTime, DateTestRejectsBadText) {
    const std::string bad[] = {
        "",         "13/45/2003", "2/30/2004",  "2/29/2003", "99:99", "25:00",           "12:60",
        "13:00 PM", "abc",        "1/15/2003x", "1//2003",   "/",     "1/15/2003 25:00", "0/1/2003",
        "1/0/2003", "12:00:60",   "1/15/20031", "8",         ":30",   "1/15/2003 8"};
    for (const std::string& text : bad) {
        EXPECT_FALSE(DateTime::IsDate(text)) << text;
    }
    EXPECT_FALSE(DateTime::IsDate(std::string(10000, '1')));
    EXPECT_FALSE(DateTime::IsDate(std::string(10000, '/')));
    EXPECT_FALSE(DateTime::IsDate(std::string("1/15/\0"
                                              "2003",
                                              10)));
}

TEST(DateTime, BoundaryDifferences) {
    const DateTime a = DateTime::FromParts(2003, 1, 15, 8, 0, 59);
    const DateTime b = DateTime::FromParts(2003, 1, 15, 8, 1, 0);
    EXPECT_EQ(DateTime::DiffMinutes(a, b), 1);
    EXPECT_EQ(DateTime::DiffMinutes(DateTime::FromParts(2003, 1, 15, 8, 0, 0),
                                    DateTime::FromParts(2003, 1, 15, 8, 0, 59)),
              0);
    EXPECT_EQ(DateTime::DiffMinutes(DateTime::FromParts(2003, 1, 15, 22),
                                    DateTime::FromParts(2003, 1, 16, 6)),
              480);
    EXPECT_EQ(DateTime::DiffMinutes(b, a), -1);
    EXPECT_EQ(DateTime::DiffDays(DateTime::FromParts(2003, 1, 15, 23, 59),
                                 DateTime::FromParts(2003, 1, 16, 0, 1)),
              1);
    EXPECT_EQ(DateTime::DiffDays(DateTime::FromParts(2003, 1, 1), DateTime::FromParts(2004, 1, 1)),
              365);
    EXPECT_EQ(DateTime::FromParts(2003, 1, 31).AddDays(1), DateTime::FromParts(2003, 2, 1));
    EXPECT_EQ(DateTime::FromParts(2003, 1, 15, 8, 5, 42).TruncateToMinute(),
              DateTime::FromParts(2003, 1, 15, 8, 5));
}

TEST(NumberFormat, RoundsHalfAwayOnShortestText) {
    EXPECT_EQ(orvan::FormatNumber(7.5f, "#0.00"), "7.50");
    EXPECT_EQ(orvan::FormatNumber(0.25f, "#0.00"), "0.25");
    EXPECT_EQ(orvan::FormatNumber(430.0f / 60.0f, "#0.00"), "7.17");
    EXPECT_EQ(orvan::FormatNumber(2.675f, "#0.00"), "2.68");
    EXPECT_EQ(orvan::FormatNumber(0.0f, "#0.00"), "0.00");
    EXPECT_EQ(orvan::FormatNumber(-0.25f, "#0.00"), "-0.25");
    EXPECT_EQ(orvan::FormatNumber(9.995f, "#0.00"), "10.00");
    EXPECT_EQ(orvan::FormatNumber(1234.5f, "##0.00"), "1234.50");
    EXPECT_EQ(orvan::FormatNumber(12.5f, "##0.00"), "12.50");
    EXPECT_EQ(orvan::FormatNumber(0.004, "#0.00"), "0.00");
    EXPECT_EQ(orvan::FormatNumber(1234567.0, "#,##0.00"), "1,234,567.00");
    EXPECT_FLOAT_EQ(430.0f / 60.0f, 7.1666665f);
}

TEST(NumberFormat, ShortestText) {
    EXPECT_EQ(orvan::ShortestText(7.5f), "7.5");
    EXPECT_EQ(orvan::ShortestText(10.0f), "10");
    EXPECT_EQ(orvan::ShortestText(12.25f), "12.25");
    EXPECT_EQ(orvan::ShortestText(0.1f), "0.1");
}
