#include <gtest/gtest.h>

#include "support_qt/ScopedNow.h"
#include "tempix/DateReader.h"
#include "tempix/DateValue.h"

namespace tempix {
namespace {

TEST(TempixDateValue, CountsDaysFromTheEndOf1899) {
    EXPECT_EQ(DateValue::FromParts(1899, 12, 30).Days(), 0.0);
    EXPECT_TRUE(DateValue::FromParts(1899, 12, 30).IsZero());
    EXPECT_EQ(DateValue::FromParts(1900, 1, 1).Days(), 2.0);
    EXPECT_EQ(DateValue::FromParts(2003, 3, 3).Days(), 37683.0);
    EXPECT_EQ(DateValue::FromParts(2003, 3, 3, 18, 0).Days(), 37683.75);
    // Before the zero day the fraction counts forward from the day.
    EXPECT_EQ(DateValue::FromParts(1899, 12, 29, 6, 0).Days(), -1.25);
    EXPECT_EQ(DateValue::FromDays(-1.25), DateValue::FromParts(1899, 12, 29, 6, 0));

    const DateValue v = DateValue::FromParts(2024, 2, 29, 13, 4, 5);
    EXPECT_EQ(v.Year(), 2024);
    EXPECT_EQ(v.Month(), 2);
    EXPECT_EQ(v.Day(), 29);
    EXPECT_EQ(v.Hour(), 13);
    EXPECT_EQ(v.Minute(), 4);
    EXPECT_EQ(v.Second(), 5);
    EXPECT_EQ(v.Weekday(), 5); // Thursday
    EXPECT_EQ(DateValue::FromParts(2003, 13, 1), DateValue::FromParts(2004, 1, 1));
    EXPECT_EQ(DateValue::FromParts(2003, 3, 0), DateValue::FromParts(2003, 2, 28));
}

TEST(TempixDateValue, AddsByInterval) {
    const DateValue v = DateValue::FromParts(2003, 1, 31, 10, 20, 30);
    EXPECT_EQ(v.Add("d", 1), DateValue::FromParts(2003, 2, 1, 10, 20, 30));
    EXPECT_EQ(v.Add("m", 1), DateValue::FromParts(2003, 2, 28, 10, 20, 30));
    EXPECT_EQ(v.Add("m", -2), DateValue::FromParts(2002, 11, 30, 10, 20, 30));
    EXPECT_EQ(v.Add("yyyy", 1), DateValue::FromParts(2004, 1, 31, 10, 20, 30));
    EXPECT_EQ(v.Add("q", 1), DateValue::FromParts(2003, 4, 30, 10, 20, 30));
    EXPECT_EQ(v.Add("ww", 1), DateValue::FromParts(2003, 2, 7, 10, 20, 30));
    EXPECT_EQ(v.Add("h", -11), DateValue::FromParts(2003, 1, 30, 23, 20, 30));
    EXPECT_EQ(v.Add("n", 40), DateValue::FromParts(2003, 1, 31, 11, 0, 30));
    EXPECT_EQ(v.Add("s", -31), DateValue::FromParts(2003, 1, 31, 10, 19, 59));
    EXPECT_EQ(v.Add("x", 5), v);
}

TEST(TempixDateValue, ConvertsToDefaultText) {
    EXPECT_EQ(DateValue::FromParts(2003, 1, 15, 8, 5).ToString(), "1/15/2003 8:05:00 AM");
    EXPECT_EQ(DateValue::FromParts(2003, 1, 15).ToString(), "1/15/2003");
    EXPECT_EQ(DateValue::FromParts(2026, 1, 2, 13, 2, 3).ToString(), "1/2/2026 1:02:03 PM");
    EXPECT_EQ(DateValue().ToString(), "12:00:00 AM");
    EXPECT_EQ(DateValue::FromParts(1899, 12, 30, 21, 30).ToString(), "9:30:00 PM");
}

TEST(TempixDateValue, FormatsByPattern) {
    const DateValue v = DateValue::FromParts(2003, 3, 5, 21, 7, 9);
    EXPECT_EQ(v.Format("mm/dd/yyyy"), "03/05/2003");
    EXPECT_EQ(v.Format("m/d/yy"), "3/5/03");
    EXPECT_EQ(v.Format("dd.mm.yyyy"), "05.03.2003");
    EXPECT_EQ(v.Format("hh:mm:ss AM/PM"), "09:07:09 PM");
    EXPECT_EQ(v.Format("h:mm am/pm"), "9:07 pm");
    EXPECT_EQ(v.Format("hh:mm"), "21:07");
    EXPECT_EQ(v.Format("hh:mm:ss "), "21:07:09 ");
    EXPECT_EQ(v.Format("h:nn A/P"), "9:07 P");
    EXPECT_EQ(v.Format("HH:MM AMPM"), "09:07 PM");
    EXPECT_EQ(v.Format("ddd, mmm d yyyy"), "Wed, Mar 5 2003");
    EXPECT_EQ(v.Format("dddd mmmm"), "Wednesday March");
    // Without an AM/PM token the hours run to 23.
    EXPECT_EQ(v.Format("\"at\" h \\h"), "at 21 h");
    EXPECT_EQ(DateValue::FromParts(199, 12, 25).Format("mm/dd/yyyy"), "12/25/0199");
    EXPECT_EQ(v.Format("y"), "64");
    EXPECT_EQ(DateValue::FromParts(2003, 3, 5, 0, 30).Format("hh:mm AM/PM"), "12:30 AM");
    EXPECT_EQ(DateValue::FromParts(2003, 3, 5, 12, 0).Format("h AM/PM"), "12 PM");
}

TEST(TempixDateReader, ReadsUnitedStatesDates) {
    orvan::test::ScopedNow clock(DateValue::FromParts(2003, 3, 3, 10, 0));
    auto read = [](const char* text) { return DateReader::Read(text); };
    EXPECT_EQ(read("1/5/03")->value, DateValue::FromParts(2003, 1, 5));
    EXPECT_EQ(read("12/25/2003")->value, DateValue::FromParts(2003, 12, 25));
    EXPECT_EQ(read("1.5.03")->value, DateValue::FromParts(2003, 1, 5));
    EXPECT_EQ(read("1-5-1999")->value, DateValue::FromParts(1999, 1, 5));
    EXPECT_EQ(read("2003-01-05")->value, DateValue::FromParts(2003, 1, 5));
    EXPECT_EQ(read("12/25")->value, DateValue::FromParts(2003, 12, 25));
    EXPECT_EQ(read("1/5/30")->value, DateValue::FromParts(1930, 1, 5));
    EXPECT_EQ(read("1/5/29")->value, DateValue::FromParts(2029, 1, 5));
    EXPECT_EQ(read("12/25/003"), std::nullopt);
    EXPECT_EQ(read("12/25/0099"), std::nullopt);
    EXPECT_EQ(read("2/29/2004")->value, DateValue::FromParts(2004, 2, 29));
    EXPECT_EQ(read("2/29/2003"), std::nullopt);
    EXPECT_EQ(read("13/32/2003"), std::nullopt);
    EXPECT_EQ(read("3/00/2003"), std::nullopt);
    EXPECT_EQ(read("1/5-03"), std::nullopt);
    EXPECT_EQ(read("12/"), std::nullopt);
    EXPECT_EQ(read("5"), std::nullopt);
    EXPECT_EQ(read(""), std::nullopt);
    EXPECT_EQ(read("  "), std::nullopt);
    const auto both = read(" 1/5/03 9:30 pm ");
    ASSERT_TRUE(both);
    EXPECT_TRUE(both->hasDate);
    EXPECT_TRUE(both->hasTime);
    EXPECT_EQ(both->value, DateValue::FromParts(2003, 1, 5, 21, 30));
    EXPECT_EQ(read("1/5/03x"), std::nullopt);
    EXPECT_EQ(read("1/5/039:30"), std::nullopt);
}

TEST(TempixDateReader, ReadsTimesOfDay) {
    auto time = [](const char* text) {
        const auto reading = DateReader::Read(text);
        return reading && reading->hasTime && !reading->hasDate ? reading->value.ToString()
                                                                : std::string("-");
    };
    EXPECT_EQ(time("12:34:56"), "12:34:56 PM");
    EXPECT_EQ(time("09:30:00 PM"), "9:30:00 PM");
    EXPECT_EQ(time("09:30:00PM"), "9:30:00 PM");
    EXPECT_EQ(time("09:00:00 A"), "9:00:00 AM");
    EXPECT_EQ(time("12:00:00 AM"), "12:00:00 AM");
    EXPECT_EQ(time("12:00 pm"), "12:00:00 PM");
    EXPECT_EQ(time("9:5"), "9:05:00 AM");
    EXPECT_EQ(time("17:45"), "5:45:00 PM");
    EXPECT_EQ(time("9 pm"), "9:00:00 PM");
    EXPECT_EQ(time("9"), "-");
    EXPECT_EQ(time("25:61:00"), "-");
    EXPECT_EQ(time("23:59:60"), "-");
    EXPECT_EQ(time("13:00 PM"), "-");
    EXPECT_EQ(time("9:30 AMX"), "-");
    EXPECT_EQ(time("9.30.00"), "-");
    EXPECT_EQ(time("123:00"), "-");
    EXPECT_EQ(time(std::string(10000, '1').c_str()), "-");
}

} // namespace
} // namespace tempix
