#include <gtest/gtest.h>

#include "TempixTestSupport.h"
#include "support_qt/ScopedNow.h"
#include "tempix/CTempix.h"

namespace tempix {
namespace {

using orvan::test::ScopedNow;
using test::RuleEvents;

const std::string kFormat = "FormatError:The Tempix entry is in an invalid format.";
const std::string kRange = "RangeError:The Tempix entry has an invalid range.";
const std::string kUnidentified = "FormatError:Unidentified Error";

class TempixRules : public ::testing::Test {
protected:
    ScopedNow m_clock{DateValue::FromParts(2003, 3, 3, 10, 15, 20)};
    CTempix m_rules;
    RuleEvents m_events{m_rules};
};

TEST_F(TempixRules, StartsWithItsInitialValues) {
    EXPECT_EQ(m_rules.Text(), "");
    EXPECT_EQ(m_rules.DataType(), "Date");
    EXPECT_EQ(m_rules.DateFormat(), "mm/dd/yyyy");
    EXPECT_EQ(m_rules.DateSeparator(), "/");
    EXPECT_EQ(m_rules.TimeFormat(), "hh:mm:ss AM/PM");
    EXPECT_EQ(m_rules.TimeSeparator(), ":");
}

TEST_F(TempixRules, ExpandsShortDateEntriesFromToday) {
    EXPECT_EQ(m_rules.GenerateDateValue("5"), "03/05/2003");
    EXPECT_EQ(m_rules.GenerateDateValue("25"), "03/25/2003");
    EXPECT_EQ(m_rules.GenerateDateValue("125"), "12/05/2003");
    EXPECT_EQ(m_rules.GenerateDateValue("1225"), "12/25/2003");
    EXPECT_EQ(m_rules.GenerateDateValue("12254"), "12/25/2004");
    EXPECT_EQ(m_rules.GenerateDateValue("122503"), "12/25/2003");
    EXPECT_EQ(m_rules.GenerateDateValue("1225199"), "12/25/0199");
    EXPECT_EQ(m_rules.GenerateDateValue("12251999"), "12/25/1999");
    EXPECT_EQ(m_rules.GenerateDateValue("1/5/03"), "01/05/2003");
    EXPECT_EQ(m_rules.GenerateDateValue("1332"), "range");
    EXPECT_EQ(m_rules.GenerateDateValue("0"), "range");
    EXPECT_EQ(m_rules.GenerateDateValue("123456789"), "range");
    EXPECT_EQ(m_rules.GenerateDateValue("12/"), "range");
    EXPECT_EQ(m_rules.GenerateDateValue("abc"), "range");
    // The zero date comes back empty.
    EXPECT_EQ(m_rules.GenerateDateValue("12/30/1899"), "");
    m_rules.SetDateFormat("dddd, mmmm d, yyyy");
    // Three digits are a two-digit month and a one-digit day: 704 is month 70.
    EXPECT_EQ(m_rules.GenerateDateValue("704"), "range");
    EXPECT_EQ(m_rules.GenerateDateValue("0704"), "Friday, July 4, 2003");
}

TEST_F(TempixRules, ExpandsDateEntriesWithTheDetectedSeparator) {
    EXPECT_EQ(m_rules.ExpandDateEntry("5", "/"), "3/05/2003");
    EXPECT_EQ(m_rules.ExpandDateEntry("1225", "-"), "12-25-2003");
    EXPECT_EQ(m_rules.ExpandDateEntry("12254", "/"), "12/25/04");
    EXPECT_EQ(m_rules.ExpandDateEntry("1225199", "/"), "12/25/199");
    EXPECT_EQ(m_rules.ExpandDateEntry("123456789", "/"), "123456789");
    EXPECT_EQ(m_rules.ExpandDateEntry("1/5", "/"), "1/5");
    EXPECT_EQ(m_rules.ExpandDateEntry("", "/"), "");

    EXPECT_EQ(m_rules.DetectDateSeparator("12/"), "/");
    EXPECT_EQ(m_rules.DetectDateSeparator("1.5.03"), ".");
    EXPECT_EQ(m_rules.DateSeparator(), ".");
    EXPECT_EQ(m_rules.DetectDateSeparator("1225"), "/");
    EXPECT_EQ(m_rules.DetectDateSeparator("1é5"), "é");
    EXPECT_EQ(m_rules.DetectDateSeparator("15é"), "/");
    EXPECT_EQ(m_rules.DetectDateSeparator(""), "/");
}

TEST_F(TempixRules, TracksTheDateSeparatorOfTheLastEntry) {
    m_rules.SetText("1.5.03");
    EXPECT_EQ(m_rules.DateSeparator(), ".");
    EXPECT_EQ(m_events.Events(), std::vector<std::string>{"UpdateText:01/05/2003"});
    m_rules.SetDataType("Time");
    m_rules.SetText("9");
    EXPECT_EQ(m_rules.DateSeparator(), ".");
    m_rules.SetDataType("Date");
    m_rules.SetText("1-5-03");
    EXPECT_EQ(m_rules.DateSeparator(), "-");
}

TEST_F(TempixRules, ExpandsShortTimeEntries) {
    m_rules.SetTimeFormat("hh:mm AM/PM");
    EXPECT_EQ(m_rules.GenerateTimeValue("9"), "09:00 AM");
    EXPECT_EQ(m_rules.GenerateTimeValue("930 pm"), "09:30 PM");
    EXPECT_EQ(m_rules.GenerateTimeValue("930pm"), "09:30 PM");
    EXPECT_EQ(m_rules.GenerateTimeValue("930 P"), "09:30 PM");
    EXPECT_EQ(m_rules.GenerateTimeValue("1745"), "05:45 PM");
    EXPECT_EQ(m_rules.GenerateTimeValue("9:5 pm"), "09:05 PM");
    EXPECT_EQ(m_rules.GenerateTimeValue("12a"), "12:00 AM");
    EXPECT_EQ(m_rules.GenerateTimeValue("2561"), "range");
    EXPECT_EQ(m_rules.GenerateTimeValue("abc"), "format");
    EXPECT_EQ(m_rules.GenerateTimeValue("1234567"), "format");
    EXPECT_EQ(m_rules.GenerateTimeValue("10x"), "10:00 AM");
    // A marker with nothing before it is neither readable nor "format".
    EXPECT_EQ(m_rules.GenerateTimeValue("pm"), "range");
    m_rules.SetTimeFormat("hh:mm:ss AM/PM");
    EXPECT_EQ(m_rules.GenerateTimeValue("12:34:56"), "12:34:56 PM");
    EXPECT_EQ(m_rules.GenerateTimeValue("99:99:99"), "range");
    // Five digits are HHMMS: 93015 is hour 93.
    EXPECT_EQ(m_rules.GenerateTimeValue("93015"), "range");
    EXPECT_EQ(m_rules.GenerateTimeValue("17451"), "05:45:01 PM");
    EXPECT_EQ(m_rules.GenerateTimeValue("093015"), "09:30:15 AM");
    EXPECT_EQ(m_rules.GenerateTimeValue("9.30"), "09:30:00 AM");
    EXPECT_EQ(m_rules.TimeSeparator(), ".");
    EXPECT_EQ(m_rules.GenerateTimeValue("9.5 pm"), "09:05:00 PM");
    EXPECT_EQ(m_rules.GenerateTimeValue("9-5 pm"), "range");
    EXPECT_EQ(m_rules.TimeSeparator(), "-");
    EXPECT_EQ(m_rules.GenerateTimeValue("25.61"), "range");
    m_rules.SetTimeFormat("hh:mm:ss");
    EXPECT_EQ(m_rules.GenerateTimeValue("930 pm"), "21:30:00");
}

TEST_F(TempixRules, ExpandsTimeEntriesByShape) {
    const std::string t = ":";
    EXPECT_EQ(m_rules.ExpandTimeEntry("9", t), "09:00:00");
    EXPECT_EQ(m_rules.ExpandTimeEntry("10", t), "10:00:00");
    EXPECT_EQ(m_rules.ExpandTimeEntry("930", t), "09:30:00");
    EXPECT_EQ(m_rules.ExpandTimeEntry("1745", t), "17:45:00");
    EXPECT_EQ(m_rules.ExpandTimeEntry("17451", t), "17:45:01");
    EXPECT_EQ(m_rules.ExpandTimeEntry("174512", t), "17:45:12");
    EXPECT_EQ(m_rules.ExpandTimeEntry("9:5", t), "09:05:00");
    EXPECT_EQ(m_rules.ExpandTimeEntry("9:05", t), "09:05:00");
    EXPECT_EQ(m_rules.ExpandTimeEntry("19:5", t), "19:05:00");
    EXPECT_EQ(m_rules.ExpandTimeEntry("19:05", t), "19:05:00");
    EXPECT_EQ(m_rules.ExpandTimeEntry("19:05:7", t), "19:05:07");
    EXPECT_EQ(m_rules.ExpandTimeEntry("9:05:07", t), "09:05:07");
    EXPECT_EQ(m_rules.ExpandTimeEntry("99:99:99", t), "");
    EXPECT_EQ(m_rules.ExpandTimeEntry("9:5:7", t), "format");
    EXPECT_EQ(m_rules.ExpandTimeEntry("1234567", t), "format");
    EXPECT_EQ(m_rules.ExpandTimeEntry("", t), "format");
    EXPECT_EQ(m_rules.ExpandTimeEntry("9.30", "."), "09.30.00");
    EXPECT_EQ(m_rules.ExpandTimeEntry("9é30", "é"), "09é30é00");
    EXPECT_EQ(m_rules.ExpandTimeEntry("9:30", ""), "format");
}

TEST_F(TempixRules, CountsTrailingLetters) {
    EXPECT_EQ(m_rules.CountTrailingLetters("930 pm"), 3);
    EXPECT_EQ(m_rules.CountTrailingLetters("10x"), 1);
    EXPECT_EQ(m_rules.CountTrailingLetters("1745"), 0);
    EXPECT_EQ(m_rules.CountTrailingLetters("abc"), 3);
    EXPECT_EQ(m_rules.CountTrailingLetters(""), 0);
    EXPECT_EQ(m_rules.CountTrailingLetters("9 Uhr é"), 6);
    EXPECT_EQ(m_rules.DetectTimeSeparator("9:5"), ":");
    EXPECT_EQ(m_rules.DetectTimeSeparator("9."), ":");
    EXPECT_EQ(m_rules.DetectTimeSeparator("9h30"), "h");
    EXPECT_EQ(m_rules.TimeSeparator(), "h");
}

TEST_F(TempixRules, SettingTextRaisesExactlyOneEvent) {
    m_rules.SetText("5");
    EXPECT_EQ(m_rules.Text(), "03/05/2003");
    m_rules.SetText("1332");
    EXPECT_EQ(m_rules.Text(), "1332");
    m_rules.SetText("0");
    m_rules.SetText("12/30/1899");
    EXPECT_EQ(m_rules.Text(), "12/30/1899");
    EXPECT_EQ(m_events.Events(),
              (std::vector<std::string>{"UpdateText:03/05/2003", kRange, kRange, kUnidentified}));

    m_events.Clear();
    m_rules.SetDataType("Time");
    m_rules.SetText("12:34:56");
    m_rules.SetText("abc");
    m_rules.SetText("2561");
    m_rules.SetText("99:99:99");
    EXPECT_EQ(m_rules.Text(), "99:99:99");
    EXPECT_EQ(m_events.Events(),
              (std::vector<std::string>{"UpdateText:12:34:56 PM", kFormat, kRange, kRange}));
}

TEST_F(TempixRules, EmptyTextRaisesNothing) {
    m_rules.SetText("5");
    m_events.Clear();
    m_rules.SetText("");
    EXPECT_EQ(m_rules.Text(), "");
    EXPECT_TRUE(m_events.Events().empty());
}

TEST_F(TempixRules, OnlyTheExactWordDateSelectsTheDateRules) {
    m_rules.SetDataType("date");
    m_rules.SetTimeFormat("hh:mm AM/PM");
    m_rules.SetText("5");
    EXPECT_EQ(m_events.Events(), std::vector<std::string>{"UpdateText:05:00 AM"});
}

TEST_F(TempixRules, UnreadableFormattedTextIsUnidentified) {
    m_rules.SetDataType("Time");
    m_rules.SetTimeFormat("hh");
    m_rules.SetText("930");
    EXPECT_EQ(m_rules.Text(), "930");
    EXPECT_EQ(m_events.Events(), std::vector<std::string>{kUnidentified});
}

TEST_F(TempixRules, KeepsBoxesToTheirKindOfValue) {
    // A bare time in a date box and a bare date in a time box are errors,
    // not 12/30/1899 and midnight.
    EXPECT_EQ(m_rules.GenerateDateValue("9:30"), "range");
    // Not a time and no time shape: it cannot be read as a time at all.
    EXPECT_EQ(m_rules.GenerateTimeValue("1/5/03"), "format");
    EXPECT_EQ(m_rules.GenerateDateValue("0:00"), "range");
    EXPECT_EQ(m_rules.GenerateDateValue("1/5/03 9:30 PM"), "01/05/2003");
    m_rules.SetTimeFormat("hh:mm AM/PM");
    EXPECT_EQ(m_rules.GenerateTimeValue("1/5/03 9:30 PM"), "09:30 PM");
}

TEST_F(TempixRules, AcceptsItsOwnOutputWithOtherTimeSeparators) {
    // A box printing times with dots reads them back as times, so leaving
    // it after Enter does not turn its own text into an error.
    m_rules.SetDataType("Time");
    m_rules.SetTimeFormat("hh.mm.ss");
    m_rules.SetText("2130");
    m_rules.SetText(m_rules.Text());
    EXPECT_EQ(m_events.Events(),
              (std::vector<std::string>{"UpdateText:21.30.00", "UpdateText:21.30.00"}));
    // Other marks, letters and blanks are no stand-ins for the colon.
    EXPECT_EQ(m_rules.GenerateTimeValue("9/30"), "range");
    EXPECT_EQ(m_rules.GenerateTimeValue("9h30"), "range");
    EXPECT_EQ(m_rules.GenerateTimeValue("9 30"), "range");
}

TEST_F(TempixRules, DerivesTheSystemFormats) {
    m_rules.SetSystemTempixFormats();
    EXPECT_EQ(m_rules.DateFormat(), "m/d/yyyy");
    EXPECT_EQ(m_rules.DateSeparator(), "/");
    EXPECT_EQ(m_rules.TimeFormat(), "h:mm:ss AM/PM");
    EXPECT_EQ(m_rules.TimeSeparator(), ":");
    EXPECT_TRUE(m_events.Events().empty());
}

TEST_F(TempixRules, DerivesTheSystemFormatsAtAnyMoment) {
    // Years with zeros and ones, month ends, midnight and noon.
    for (const DateValue now :
         {DateValue::FromParts(2010, 12, 31, 0, 0, 0), DateValue::FromParts(2001, 1, 1, 12, 0, 0),
          DateValue::FromParts(2026, 3, 31, 23, 59, 59), DateValue::FromParts(2000, 2, 29, 1, 1)}) {
        m_clock.Set(now);
        CTempix rules;
        rules.SetSystemTempixFormats();
        EXPECT_EQ(rules.DateFormat(), "m/d/yyyy") << now.ToString();
        EXPECT_EQ(rules.TimeFormat(), "h:mm:ss AM/PM") << now.ToString();
    }
}

} // namespace
} // namespace tempix
