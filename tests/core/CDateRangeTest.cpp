#include <gtest/gtest.h>

#include <string>

#include "core/CDateRange.h"

using orvan::CDateRange;
using orvan::DateTime;

namespace {

DateTime Day(int year, int month, int day, int hour = 0, int minute = 0, int second = 0) {
    return DateTime::FromParts(year, month, day, hour, minute, second);
}

} // namespace

TEST(CDateRange, NewRangeIsInvalid) {
    CDateRange range;
    EXPECT_FALSE(range.ValidRange());
    EXPECT_EQ(range.DayCount(), -1);
    EXPECT_EQ(range.MinDate(), Day(1900, 1, 1));
    EXPECT_EQ(range.MaxDate(), Day(2100, 12, 31));
    EXPECT_TRUE(range.StartDate().IsZero());
    EXPECT_TRUE(range.EndDate().IsZero());
    EXPECT_TRUE(range.EnforceFormat());
    EXPECT_EQ(range.FormatString(), "mm/dd/yyyy");
    EXPECT_EQ(range.ErrorNumber(), 0);
}

TEST(CDateRange, SettersRevalidate) {
    CDateRange range;
    range.SetStartDate(Day(2003, 1, 1));
    EXPECT_FALSE(range.ValidRange());
    EXPECT_EQ(range.ErrorNumber(), 802);
    EXPECT_EQ(range.DayCount(), -1);
    range.SetEndDate(Day(2003, 1, 14));
    EXPECT_TRUE(range.ValidRange());
    EXPECT_EQ(range.ErrorNumber(), 0);
    EXPECT_EQ(range.DayCount(), 13);
    EXPECT_EQ(range.StartDate(), Day(2003, 1, 1));
    EXPECT_EQ(range.EndDate(), Day(2003, 1, 14));
    range.SetStartDate(Day(2003, 1, 15));
    EXPECT_FALSE(range.ValidRange());
    EXPECT_EQ(range.ErrorNumber(), 802);
}

TEST(CDateRange, DayCountCountsMidnights) {
    CDateRange range;
    EXPECT_TRUE(range.ValidateRange(Day(2003, 1, 1, 23, 59), Day(2003, 1, 2, 0, 1)));
    EXPECT_EQ(range.DayCount(), 1);
    EXPECT_TRUE(range.ValidateRange(Day(2003, 1, 1), Day(2003, 1, 1)));
    EXPECT_EQ(range.DayCount(), 0);
    EXPECT_TRUE(range.ValidateRange(Day(2003, 12, 25), Day(2004, 1, 7)));
    EXPECT_EQ(range.DayCount(), 13);
}

TEST(CDateRange, OuterLimits) {
    CDateRange range;
    EXPECT_FALSE(range.ValidateRange(Day(1899, 12, 31), Day(2003, 1, 1)));
    EXPECT_EQ(range.ErrorNumber(), 803);
    EXPECT_FALSE(range.ValidRange());
    EXPECT_FALSE(range.ValidateRange(Day(2003, 1, 1), Day(2100, 12, 31, 0, 0, 1)));
    EXPECT_EQ(range.ErrorNumber(), 803);
    // The limits themselves are allowed.
    EXPECT_TRUE(range.ValidateRange(Day(1900, 1, 1), Day(2100, 12, 31)));
    EXPECT_EQ(range.ErrorNumber(), 0);
    // A later failing check overwrites the code of an earlier one.
    EXPECT_FALSE(range.ValidateRange(Day(2003, 1, 1), Day(1899, 12, 31)));
    EXPECT_EQ(range.ErrorNumber(), 802);
    // Changing the limits does not revalidate.
    range.ValidateRange(Day(2003, 1, 1), Day(2003, 1, 14));
    range.SetMinDate(Day(2003, 1, 5));
    EXPECT_TRUE(range.ValidRange());
    EXPECT_FALSE(range.ValidateRange(Day(2003, 1, 1), Day(2003, 1, 14)));
    EXPECT_EQ(range.ErrorNumber(), 803);
}

TEST(CDateRange, ValidateTexts) {
    CDateRange range;
    EXPECT_TRUE(range.ValidateRange(std::string("1/1/2003"), std::string("01/14/2003")));
    EXPECT_EQ(range.StartDate(), Day(2003, 1, 1));
    EXPECT_EQ(range.EndDate(), Day(2003, 1, 14));
    EXPECT_EQ(range.DayCount(), 13);
    EXPECT_TRUE(range.ValidateRange("1/1/2003 8:30 AM", Day(2003, 1, 1, 9)));
    EXPECT_EQ(range.StartDate(), Day(2003, 1, 1, 8, 30));
    EXPECT_TRUE(range.ValidateRange(Day(2003, 2, 1), "2/3/2003"));
    EXPECT_EQ(range.EndDate(), Day(2003, 2, 3));
}

TEST(CDateRange, UnreadableTextKeepsWhatWasStored) {
    CDateRange range;
    range.ValidateRange(Day(2003, 1, 1), Day(2003, 1, 14));
    EXPECT_FALSE(range.ValidateRange("2/5/2003", "2/30/2003"));
    EXPECT_EQ(range.ErrorNumber(), 899);
    EXPECT_FALSE(range.ValidRange());
    EXPECT_EQ(range.DayCount(), -1);
    EXPECT_EQ(range.StartDate(), Day(2003, 2, 5));
    EXPECT_EQ(range.EndDate(), Day(2003, 1, 14));
    EXPECT_FALSE(range.ValidateRange("", "1/1/2003"));
    EXPECT_EQ(range.ErrorNumber(), 899);
    EXPECT_EQ(range.StartDate(), Day(2003, 2, 5));
    EXPECT_FALSE(range.ValidateRange(std::string(10000, '1'), "1/1/2003"));
    EXPECT_EQ(range.ErrorNumber(), 899);
}

TEST(CDateRange, Inclusion) {
    CDateRange range;
    EXPECT_FALSE(range.CheckDateInclusion(Day(2003, 1, 5)));
    EXPECT_EQ(range.ErrorNumber(), 804);
    range.ValidateRange(Day(2003, 1, 1), Day(2003, 1, 14));
    EXPECT_TRUE(range.CheckDateInclusion(Day(2003, 1, 1)));
    EXPECT_TRUE(range.CheckDateInclusion(Day(2003, 1, 14)));
    EXPECT_FALSE(range.CheckDateInclusion(Day(2003, 1, 14, 0, 0, 1)));
    EXPECT_EQ(range.ErrorNumber(), 0);
    EXPECT_FALSE(range.CheckDateInclusion(Day(2002, 12, 31, 23, 59, 59)));
    EXPECT_EQ(range.ErrorNumber(), 0);
    EXPECT_FALSE(range.CheckDateInclusion(Day(1899, 12, 31)));
    EXPECT_EQ(range.ErrorNumber(), 803);
    EXPECT_TRUE(range.CheckDateInclusion("1/7/2003 5:00 PM"));
    EXPECT_EQ(range.ErrorNumber(), 0);
    EXPECT_FALSE(range.CheckDateInclusion("13/45/2003"));
    EXPECT_EQ(range.ErrorNumber(), 801);
    EXPECT_FALSE(range.CheckDateInclusion(std::string("not a date")));
    EXPECT_EQ(range.ErrorNumber(), 801);
}

TEST(CDateRange, SetRangeDoesNotValidate) {
    CDateRange range;
    range.ValidateRange(Day(2003, 1, 1), Day(2003, 1, 14));
    EXPECT_TRUE(range.SetRange(Day(2003, 2, 1), Day(2003, 1, 1)));
    EXPECT_TRUE(range.ValidRange());
    EXPECT_EQ(range.StartDate(), Day(2003, 2, 1));
    EXPECT_EQ(range.EndDate(), Day(2003, 1, 1));
    CDateRange fresh;
    EXPECT_TRUE(fresh.SetRange(Day(2003, 1, 1), Day(2003, 1, 2)));
    EXPECT_FALSE(fresh.ValidRange());
}

TEST(CDateRange, RangeString) {
    CDateRange range;
    EXPECT_TRUE(range.SetRangeString("01/01/2003+01/14/2003"));
    EXPECT_TRUE(range.ValidRange());
    EXPECT_EQ(range.StartDate(), Day(2003, 1, 1));
    EXPECT_EQ(range.EndDate(), Day(2003, 1, 14));
    EXPECT_EQ(range.ToString(), "01/01/2003+01/14/2003");

    EXPECT_TRUE(range.SetRangeString("01/01/2003"));
    EXPECT_FALSE(range.ValidRange());
    EXPECT_EQ(range.ErrorNumber(), 801);
    EXPECT_TRUE(range.StartDate().IsZero());
    EXPECT_TRUE(range.EndDate().IsZero());

    range.SetRangeString("01/01/2003+01/14/2003");
    EXPECT_TRUE(range.SetRangeString("01/01/2003+garbage"));
    EXPECT_FALSE(range.ValidRange());
    EXPECT_EQ(range.ErrorNumber(), 801);
    EXPECT_TRUE(range.StartDate().IsZero());

    EXPECT_TRUE(range.SetRangeString("+"));
    EXPECT_EQ(range.ErrorNumber(), 801);
    EXPECT_TRUE(range.SetRangeString(""));
    EXPECT_EQ(range.ErrorNumber(), 801);

    // Readable but inverted: stored, invalid, with the validation's code.
    EXPECT_TRUE(range.SetRangeString("01/14/2003+01/01/2003"));
    EXPECT_FALSE(range.ValidRange());
    EXPECT_EQ(range.ErrorNumber(), 802);
    EXPECT_EQ(range.StartDate(), Day(2003, 1, 14));
}

TEST(CDateRange, TextForms) {
    CDateRange range;
    EXPECT_EQ(range.ToString(), "12/30/1899+12/30/1899");
    range.ValidateRange(Day(2003, 1, 15, 8, 5), Day(2003, 1, 28));
    EXPECT_EQ(range.ToString(), "01/15/2003+01/28/2003");
    range.SetEnforceFormat(false);
    EXPECT_EQ(range.ToString(), "1/15/2003 8:05:00 AM+1/28/2003");
    // The general text reads back whole.
    CDateRange copy;
    copy.SetRangeString(range.ToString());
    EXPECT_TRUE(copy.ValidRange());
    EXPECT_EQ(copy.StartDate(), Day(2003, 1, 15, 8, 5));
    EXPECT_EQ(copy.EndDate(), Day(2003, 1, 28));
    range.SetEnforceFormat(true);
    range.SetFormatString("yyyy");
    EXPECT_EQ(range.ToString(), "2003+2003");
    EXPECT_EQ(range.ErrorNumber(), 0);
}
