// Clocking in while an earlier clock-in has had no clock-out for more than
// 16 hours: the new clock-in is stored, and the confirmation says which one
// was left open and to see the manager.

#include <gtest/gtest.h>

#include "ClockTestSupport.h"
#include "clock/ClockRules.h"
#include "storage/MessageBox.h"
#include "support/ScopedTimeZone.h"

namespace orvan::test {
namespace {

DateTime At(int month, int day, int hour, int minute) {
    return DateTime::FromParts(2026, month, day, hour, minute);
}

class ForgottenClockOut : public ::testing::Test {
protected:
    void SetUp() override {
        m_annId = m_station.AddEmployee(1007, "Ann", "Lee");
        const int32_t bob = m_station.AddEmployee(1008, "Bob", "Ray");
        // Bob's open record is his own business.
        m_station.Database().AddTimeRecord(bob, At(12, 1, 8, 0));
        m_station.Start();
    }

    ClockStation m_station{At(12, 7, 9, 30)};
    int32_t m_annId = 0;
};

TEST_F(ForgottenClockOut, ClockInButtonNamesTheLatestOpenClockIn) {
    m_station.Database().AddTimeRecord(m_annId, At(12, 6, 8, 0));
    // Closed records do not count (one open for less than 16 hours would
    // refuse the clock-in: the shift is still running).
    m_station.Database().AddTimeRecord(m_annId, At(12, 5, 8, 0), At(12, 5, 16, 0));
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockIn();
    EXPECT_EQ(m_station.LastMessage(),
              "Login Complete|Employee: Ann Lee\r\nClocked In At: 12/07/2026   09:30 AM\r\n\r\n"
              "No clock-out was recorded for your clock-in of 12/06/2026 08:00 AM. Please see "
              "your manager.");
    EXPECT_EQ(m_station.LastStyle(), MsgIconInformation);
    // Stored as now; the forgotten records stay as they were.
    EXPECT_EQ(m_station.Count("EmployeeID = " + std::to_string(m_annId) + " AND EndTime = 0"), 2);
    EXPECT_DOUBLE_EQ(m_station.Database().QueryDouble("SELECT max(StartTime) FROM TimeRecord"),
                     At(12, 7, 9, 30).Days());
}

TEST_F(ForgottenClockOut, SeveralAreCounted) {
    m_station.Database().AddTimeRecord(m_annId, At(12, 2, 7, 0));
    m_station.Database().AddTimeRecord(m_annId, At(12, 4, 7, 15));
    m_station.Database().AddTimeRecord(m_annId, At(12, 3, 7, 0));
    m_station.TypeKeys(QStringLiteral("1007"));
    m_station.Press(Qt::Key_F1);
    EXPECT_EQ(m_station.LastMessage(),
              "Login Complete|Employee: Ann Lee\r\nClocked In At: 12/07/2026   09:30 AM\r\n\r\n"
              "No clock-out was recorded for your clock-in of 12/04/2026 07:15 AM, nor for 2 "
              "earlier clock-ins. Please see your manager.");
    m_station.Clock().Set(At(12, 7, 9, 45));
    // The oldest goes, and so does the clock-in just made, which would
    // otherwise be a shift still running.
    m_station.Database().Exec("DELETE FROM TimeRecord WHERE StartTime < " +
                              std::to_string(At(12, 3, 0, 0).Days()) +
                              " OR StartTime >= " + std::to_string(At(12, 7, 0, 0).Days()));
    m_station.TypeKeys(QStringLiteral("1007"));
    m_station.Press(Qt::Key_F1);
    EXPECT_NE(m_station.LastMessage().find("of 12/04/2026 07:15 AM, nor for 1 earlier clock-in. "),
              std::string::npos)
        << m_station.LastMessage();
}

TEST(ForgottenClockOutText, SixteenHoursIsTheLine) {
    const DateTime now = At(12, 7, 9, 30);
    const std::vector<OpenRecord> open = {{1, 5, At(12, 6, 17, 29)}, {2, 5, At(12, 6, 17, 30)}};
    const auto forgotten = timeclock::ForgottenClockOuts(open, now);
    ASSERT_EQ(forgotten.size(), 1u);
    EXPECT_EQ(forgotten.front().timeRecordID, 1);
    EXPECT_EQ(timeclock::ForgottenClockOutText({}), "");
    // The clock-out button would close the 17:29 record (the earliest of
    // yesterday), which is forgotten: Enter clocks in.
    EXPECT_EQ(timeclock::ChooseNaturalAction(open, now), timeclock::NaturalAction::ClockIn);
    EXPECT_EQ(timeclock::ChooseNaturalAction({open[1]}, now), timeclock::NaturalAction::ClockOut);
    // One open today comes first, however old yesterday's is.
    const std::vector<OpenRecord> withToday = {open[0], {3, 5, At(12, 7, 6, 0)}};
    EXPECT_EQ(timeclock::ChooseNaturalAction(withToday, now), timeclock::NaturalAction::ClockOut);
    EXPECT_EQ(timeclock::ChooseNaturalAction({}, now), timeclock::NaturalAction::ClockIn);
}

// Sixteen hours of real time: on the night the clocks go back, 4:30 PM to
// 7:30 AM by the face is 16 hours passed; on the night they go forward, 5:30
// PM to 10:30 AM by the face is also 16 (17 on the face).
TEST(ForgottenClockOutText, SixteenHoursAreRealTimeAcrossDaylightSaving) {
    const ScopedTimeZone chicago("America/Chicago");
    const auto day = [](int month, int dayOfMonth, int hour, int minute) {
        return DateTime::FromParts(2026, month, dayOfMonth, hour, minute);
    };
    // Fall back on Nov 1: 16 h 1 min passed from 4:29 PM, 16 h from 4:30 PM.
    const DateTime fallNow = day(11, 1, 7, 30);
    const std::vector<OpenRecord> fall = {{1, 5, day(10, 31, 16, 29)}, {2, 5, day(10, 31, 16, 30)}};
    const auto forgotten = timeclock::ForgottenClockOuts(fall, fallNow);
    ASSERT_EQ(forgotten.size(), 1u);
    EXPECT_EQ(forgotten.front().timeRecordID, 1);
    EXPECT_EQ(timeclock::RunningShift(fall, fallNow)->timeRecordID, 2);
    // Spring forward on Mar 8: 5:30 PM to 10:30 AM is 16 h passed; by the
    // face (17 h) it would already be forgotten.
    const DateTime springNow = day(3, 8, 10, 30);
    const std::vector<OpenRecord> spring = {{3, 5, day(3, 7, 17, 30)}};
    EXPECT_TRUE(timeclock::ForgottenClockOuts(spring, springNow).empty());
    EXPECT_EQ(timeclock::ChooseNaturalAction(spring, springNow),
              timeclock::NaturalAction::ClockOut);
    EXPECT_EQ(timeclock::ForgottenClockOuts(spring, springNow.AddMinutes(1)).size(), 1u);
}

} // namespace
} // namespace orvan::test
