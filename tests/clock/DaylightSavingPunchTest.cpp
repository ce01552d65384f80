// The clock station across daylight-saving changes in the Chicago zone: each
// punch keeps the clock's offset from UTC beside its record, so a shift
// punched in the hour a fall-back night repeats counts the time that passed.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "clock/ClockStation.h"
#include "core/CTimeCard.h"
#include "core/CTimeRecordFactory.h"
#include "personnel/CEmployee.h"
#include "storage/CJetDB.h"
#include "storage/CSystemOptions.h"
#include "support/FileRelease.h"
#include "support/ScopedTimeZone.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

namespace orvan::test {
namespace {

using timeclock::ClockResult;

DateTime At(int month, int day, int hour, int minute = 0) {
    return DateTime::FromParts(2026, month, day, hour, minute);
}

class DaylightSavingStation : public ::testing::Test {
protected:
    void SetUp() override {
        m_ann = m_db.AddEmployee(1007, "Ann", "Lee");
        m_database = m_db.NewJetDB(CJetDB::Variant::Clock);
        ASSERT_TRUE(m_database->OpenDB());
        auto options = std::make_shared<CSystemOptions>();
        options->SetOrvanDatabase(m_database);
        ASSERT_TRUE(options->Load());
        m_database->CloseDB();
        m_factory = std::make_unique<ScopedTimeRecordFactory>(m_database);
        m_station =
            std::make_unique<timeclock::ClockStation>(m_database, m_factory->Factory(), options);
    }

    std::shared_ptr<CEmployee> Ann() { return m_station->LookUpEmployee("1007").employee; }
    // The one record's offsets as "start end" ("null" where none).
    std::string Offsets() const {
        return m_db.QueryText("SELECT COALESCE(CAST(StartOffset AS TEXT), 'null') || ' ' || "
                              "COALESCE(CAST(EndOffset AS TEXT), 'null') FROM PunchOffset "
                              "JOIN TimeRecord USING (TimeRecordID)");
    }
    // The hours of the employee's card for the year, as the grid and the
    // reports count them.
    float CardHours() {
        CTimeCard card;
        card.SetOrvanDatabase(m_database);
        EXPECT_TRUE(card.GenerateTimecard(Ann(), At(1, 1, 0), At(12, 31, 0)));
        return card.RegularHoursWorked() + card.OvertimeHoursWorked();
    }

    ScopedTimeZone m_zone{"America/Chicago"};
    TestDatabase m_db;
    ScopedClock m_clock{At(11, 1, 1, 30), -300};
    std::shared_ptr<CJetDB> m_database;
    std::unique_ptr<ScopedTimeRecordFactory> m_factory;
    std::unique_ptr<timeclock::ClockStation> m_station;
    int32_t m_ann = 0;
};

// In at 1:30 AM daylight time, out at 1:15 AM standard time after the
// clocks went back: 45 minutes.
TEST_F(DaylightSavingStation, PunchesInTheRepeatedHourCountTheTimeThatPassed) {
    const ClockResult in = m_station->ClockIn(Ann());
    ASSERT_EQ(in.outcome, ClockResult::Outcome::Stored);
    EXPECT_EQ(in.clockedIn, At(11, 1, 1, 30));
    EXPECT_EQ(Offsets(), "-300 null");

    m_clock.Set(At(11, 1, 1, 15), -360);
    ASSERT_EQ(m_station->ClockOut(Ann()).outcome, ClockResult::Outcome::Closed);
    EXPECT_DOUBLE_EQ(m_db.QueryDouble("SELECT EndTime FROM TimeRecord"), At(11, 1, 1, 15).Days());
    EXPECT_EQ(Offsets(), "-300 -360");
    EXPECT_FLOAT_EQ(CardHours(), 0.75f);
    EXPECT_EQ(m_db.QueryInt("SELECT count(*) FROM PunchOffset"), 1);
}

// Before and after are real time: the same 1:15 AM is a clock going back
// while daylight time lasts, and stays open for the manager.
TEST_F(DaylightSavingStation, AClockOutBeforeTheClockInInRealTimeIsRefused) {
    ASSERT_EQ(m_station->ClockIn(Ann()).outcome, ClockResult::Outcome::Stored);
    m_clock.Set(At(11, 1, 1, 15), -300);
    const ClockResult out = m_station->ClockOut(Ann());
    EXPECT_EQ(out.outcome, ClockResult::Outcome::BeforeClockIn);
    EXPECT_EQ(out.openSince, At(11, 1, 1, 30));
    EXPECT_EQ(m_db.QueryDouble("SELECT EndTime FROM TimeRecord"), 0.0);
    EXPECT_EQ(Offsets(), "-300 null");
    // A minute after the clocks went back, the same face closes it.
    m_clock.Set(At(11, 1, 1, 16), -360);
    EXPECT_EQ(m_station->ClockOut(Ann()).outcome, ClockResult::Outcome::Closed);
    EXPECT_EQ(Offsets(), "-300 -360");
    EXPECT_FLOAT_EQ(CardHours(), 46.0f / 60.0f);
}

// Enter chooses clock-in, then clock-out, keeping each punch's offset; the
// clock without an offset of its own gives the zone's.
TEST_F(DaylightSavingStation, EnterKeepsTheZonesOffsetOfEachPunch) {
    m_clock.Set(At(3, 7, 22));
    ASSERT_EQ(m_station->ClockInOrOut(Ann()).outcome, ClockResult::Outcome::Stored);
    EXPECT_EQ(Offsets(), "-360 null");
    m_clock.Set(At(3, 8, 6));
    ASSERT_EQ(m_station->ClockInOrOut(Ann()).outcome, ClockResult::Outcome::Closed);
    EXPECT_EQ(Offsets(), "-360 -300");
    EXPECT_FLOAT_EQ(CardHours(), 7.0f);
}

// A clock-in and its offset are stored together or not at all.
TEST_F(DaylightSavingStation, AClockInWhoseOffsetCannotBeKeptIsNotStored) {
    m_db.Exec("DROP TABLE PunchOffset");
    EXPECT_EQ(m_station->ClockIn(Ann()).outcome, ClockResult::Outcome::Failure);
    EXPECT_EQ(m_db.QueryInt("SELECT count(*) FROM TimeRecord"), 0);
    EXPECT_TRUE(FileIsReleased(m_db.DatabasePath()));
}

} // namespace
} // namespace orvan::test
