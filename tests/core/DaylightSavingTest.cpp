// Worked time across daylight-saving changes, in the Chicago zone (2026:
// clocks jump from 2:00 to 3:00 AM on 8 March and go back from 2:00 to
// 1:00 AM on 1 November): the zone's rules, the one count of worked
// minutes, time records with and without their punches' offsets, the clock's
// offset, and time cards loaded from and saved to real databases on both
// engines.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/CTimeCard.h"
#include "core/CTimeRecSQLConverter.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "core/CTimeRecordList.h"
#include "core/ErrorNumbers.h"
#include "core/ObjectState.h"
#include "core/Program.h"
#include "core/ZoneTime.h"
#include "personnel/CEmployee.h"
#include "storage/CJetDB.h"
#include "support/ScopedClock.h"
#include "support/ScopedTimeZone.h"
#include "support/server/EngineDatabase.h"

namespace orvan {
namespace {

constexpr int32_t kCdt = -300;
constexpr int32_t kCst = -360;

DateTime At(int month, int day, int hour = 0, int minute = 0) {
    return DateTime::FromParts(2026, month, day, hour, minute);
}

// The three nights that cross a change, and an ordinary day.
struct Shift {
    DateTime start;
    DateTime end;
};
const Shift kSpringNight{At(3, 7, 22), At(3, 8, 6)};
const Shift kFallNight{At(10, 31, 22), At(11, 1, 6)};
// 1:30 AM daylight time to 1:15 AM standard time, the clocks set back in
// between: 45 minutes.
const Shift kRepeatedHour{At(11, 1, 1, 30), At(11, 1, 1, 15)};
const Shift kOrdinaryDay{At(1, 15, 8), At(1, 15, 16, 30)};

std::shared_ptr<CTimeRecord> Record(const Shift& shift) {
    auto record = std::make_shared<CTimeRecord>();
    record->SetStartTime(shift.start);
    record->SetEndTime(shift.end);
    return record;
}

class Chicago : public ::testing::Test {
protected:
    test::ScopedTimeZone m_zone{"America/Chicago"};
};

TEST_F(Chicago, ZoneRulesGiveEveryWallClockTimeOneOffset) {
    EXPECT_EQ(ZoneUtcOffsetMinutes(At(1, 15, 12)), kCst);
    EXPECT_EQ(ZoneUtcOffsetMinutes(At(7, 4, 12)), kCdt);
    // Spring: up to 1:59 AM standard time, from 3:00 AM daylight time; the
    // skipped hour reads as the clocks showed it before the jump.
    EXPECT_EQ(ZoneUtcOffsetMinutes(At(3, 8, 1, 59)), kCst);
    EXPECT_EQ(ZoneUtcOffsetMinutes(At(3, 8, 2, 0)), kCst);
    EXPECT_EQ(ZoneUtcOffsetMinutes(At(3, 8, 2, 30)), kCst);
    EXPECT_EQ(ZoneUtcOffsetMinutes(At(3, 8, 3, 0)), kCdt);
    // Fall: the repeated hour is its first occurrence, daylight time.
    EXPECT_EQ(ZoneUtcOffsetMinutes(At(11, 1, 0, 59)), kCdt);
    EXPECT_EQ(ZoneUtcOffsetMinutes(At(11, 1, 1, 0)), kCdt);
    EXPECT_EQ(ZoneUtcOffsetMinutes(At(11, 1, 1, 59)), kCdt);
    EXPECT_EQ(ZoneUtcOffsetMinutes(At(11, 1, 2, 0)), kCst);
    // By the moment: the change back is at 7:00 UTC.
    const int64_t change = (static_cast<int64_t>(At(11, 1).Days()) - 25569) * 86400 + 7 * 3600;
    EXPECT_EQ(ZoneUtcOffsetMinutesAt(change - 1), kCdt);
    EXPECT_EQ(ZoneUtcOffsetMinutesAt(change), kCst);
}

TEST_F(Chicago, WorkedMinutesAreTheRealTimeBetweenTheTwoEnds) {
    const auto none = std::nullopt;
    EXPECT_EQ(WorkedMinutes(kSpringNight.start, none, kSpringNight.end, none), 7 * 60);
    EXPECT_EQ(WorkedMinutes(kFallNight.start, none, kFallNight.end, none), 9 * 60);
    EXPECT_EQ(WorkedMinutes(kOrdinaryDay.start, none, kOrdinaryDay.end, none), 510);
    // Punched offsets tell the two 1:15s apart; without them both ends are
    // the first occurrence, a quarter of an hour backwards.
    EXPECT_EQ(WorkedMinutes(kRepeatedHour.start, kCdt, kRepeatedHour.end, kCst), 45);
    EXPECT_EQ(WorkedMinutes(kRepeatedHour.start, none, kRepeatedHour.end, none), -15);
    EXPECT_EQ(WorkedMinutes(kRepeatedHour.start, none, kRepeatedHour.end, kCst), 45);
    // A stored offset wins over the zone's rules.
    EXPECT_EQ(WorkedMinutes(kFallNight.start, kCdt, kFallNight.end, kCdt), 8 * 60);
    // A time in the skipped hour is read as standard time: 2:30 AM is the
    // moment the clocks show as 3:30 AM.
    EXPECT_EQ(WorkedMinutes(At(3, 7, 22), none, At(3, 8, 2, 30), none), 4 * 60 + 30);
    EXPECT_EQ(WorkedMinutes(At(3, 8, 2, 30), none, At(3, 8, 3, 30), none), 0);
    // Seconds never count, as before.
    EXPECT_EQ(WorkedMinutes(DateTime::FromParts(2026, 3, 7, 22, 0, 59), none,
                            DateTime::FromParts(2026, 3, 8, 6, 1, 0), none),
              7 * 60 + 1);
    // An unset end has no zone: the plain difference, as it always was.
    EXPECT_EQ(WorkedMinutes(kFallNight.start, kCdt, DateTime(), none),
              DateTime::DiffMinutes(kFallNight.start, DateTime()));
}

TEST(ZoneTime, FollowsTheZoneInUse) {
    {
        test::ScopedTimeZone utc("UTC");
        EXPECT_EQ(ZoneUtcOffsetMinutes(At(11, 1, 1, 30)), 0);
        EXPECT_EQ(WorkedMinutes(kFallNight.start, std::nullopt, kFallNight.end, std::nullopt),
                  8 * 60);
    }
    {
        test::ScopedTimeZone chicago("America/Chicago");
        EXPECT_EQ(WorkedMinutes(kFallNight.start, std::nullopt, kFallNight.end, std::nullopt),
                  9 * 60);
    }
    test::ScopedTimeZone berlin("Europe/Berlin");
    EXPECT_EQ(ZoneUtcOffsetMinutes(At(7, 1, 12)), 120);
    // Berlin goes back on 25 October 2026, not in November.
    EXPECT_EQ(WorkedMinutes(kFallNight.start, std::nullopt, kFallNight.end, std::nullopt), 8 * 60);
}

TEST_F(Chicago, RecordsCountTheRealHoursAndKeepTheirOffsetsBesideTheRow) {
    EXPECT_FLOAT_EQ(Record(kSpringNight)->HoursWorked(), 7.0f);
    EXPECT_FLOAT_EQ(Record(kFallNight)->HoursWorked(), 9.0f);
    EXPECT_FLOAT_EQ(Record(kOrdinaryDay)->HoursWorked(), 8.5f);
    EXPECT_EQ(Record(kSpringNight)->ToString(), "03/07/2026 10:00 PM\t03/08/2026 06:00 AM\t7.00");
    EXPECT_EQ(Record(kFallNight)->ToString(), "10/31/2026 10:00 PM\t11/01/2026 06:00 AM\t9.00");

    // Typed without offsets, the repeated hour runs backwards; the punched
    // offsets make it 0.75 hours. Offsets leave the row's state alone.
    auto punched = Record(kRepeatedHour);
    EXPECT_EQ(punched->ToString(), "11/01/2026 01:30 AM\t11/01/2026 01:15 AM\t-0.25");
    punched->SetObjectState(StateUnchanged);
    punched->SetUtcOffsets(kCdt, kCst);
    EXPECT_EQ(punched->ObjectState(), StateUnchanged);
    EXPECT_TRUE(punched->UtcOffsetsChanged());
    EXPECT_EQ(punched->MinutesWorked(), 45);
    EXPECT_EQ(punched->ToString(), "11/01/2026 01:30 AM\t11/01/2026 01:15 AM\t0.75");

    // The same time again keeps its offset; a new time drops only its own.
    punched->SetUtcOffsetsChanged(false);
    punched->SetEndTime(kRepeatedHour.end);
    EXPECT_EQ(punched->EndUtcOffset(), kCst);
    EXPECT_FALSE(punched->UtcOffsetsChanged());
    punched->SetEndTime(At(11, 1, 2, 30));
    EXPECT_EQ(punched->StartUtcOffset(), kCdt);
    EXPECT_EQ(punched->EndUtcOffset(), std::nullopt);
    EXPECT_TRUE(punched->UtcOffsetsChanged());
    EXPECT_FLOAT_EQ(punched->HoursWorked(), 2.0f);
    punched->SetStartTime(At(11, 1, 1, 45));
    EXPECT_EQ(punched->StartUtcOffset(), std::nullopt);
    EXPECT_FLOAT_EQ(punched->HoursWorked(), 1.75f);
}

TEST_F(Chicago, OffsetStatementsFollowTheRecordsState) {
    CTimeRecSQLConverter converter;
    // No offsets, nothing beside the record's own statement.
    auto plain = Record(kOrdinaryDay);
    EXPECT_TRUE(converter.BuildUtcOffsetSQL(plain).empty());
    plain->SetObjectState(StateChanged);
    EXPECT_TRUE(converter.BuildUtcOffsetSQL(plain).empty());
    plain->SetObjectState(StateDeleted);
    EXPECT_TRUE(converter.BuildUtcOffsetSQL(plain).empty());
    EXPECT_TRUE(converter.BuildUtcOffsetSQL(nullptr).empty());

    auto clockIn = std::make_shared<CTimeRecord>();
    clockIn->SetEmployeeID(40);
    clockIn->SetStartTime(kRepeatedHour.start);
    clockIn->SetStartUtcOffset(kCdt);
    EXPECT_EQ(converter.BuildUtcOffsetSQL(clockIn),
              std::vector<std::string>{"INSERT INTO PunchOffset ( TimeRecordID, StartOffset, "
                                       "EndOffset ) VALUES (@@IDENTITY, -300, Null);"});
    // The statement of the record itself is untouched.
    EXPECT_EQ(converter.sqlstring(), "");

    clockIn->SetTimeRecordID(12);
    clockIn->SetEndUtcOffset(kCst);
    EXPECT_EQ(converter.BuildUtcOffsetSQL(clockIn),
              std::vector<std::string>{
                  "INSERT INTO PunchOffset ( TimeRecordID, StartOffset, EndOffset ) VALUES (12, "
                  "-300, -360) ON CONFLICT (TimeRecordID) DO UPDATE SET StartOffset = "
                  "excluded.StartOffset, EndOffset = excluded.EndOffset;"});
    clockIn->SetUtcOffsetsChanged(false);
    EXPECT_TRUE(converter.BuildUtcOffsetSQL(clockIn).empty());
    // Only a changed offset is written: a clock-out read without the
    // clock-in's offset leaves the stored one alone.
    clockIn->SetUtcOffsets(std::nullopt, kCdt);
    clockIn->SetUtcOffsetsChanged(false);
    clockIn->SetEndUtcOffset(kCst);
    EXPECT_FALSE(clockIn->StartUtcOffsetChanged());
    EXPECT_EQ(converter.BuildUtcOffsetSQL(clockIn),
              std::vector<std::string>{
                  "INSERT INTO PunchOffset ( TimeRecordID, StartOffset, EndOffset ) VALUES (12, "
                  "Null, -360) ON CONFLICT (TimeRecordID) DO UPDATE SET EndOffset = "
                  "excluded.EndOffset;"});
    // No offset left: the row goes.
    clockIn->SetEndUtcOffset(std::nullopt);
    EXPECT_EQ(
        converter.BuildUtcOffsetSQL(clockIn),
        std::vector<std::string>{"DELETE FROM PunchOffset WHERE (PunchOffset.TimeRecordID = 12);"});
    clockIn->SetUtcOffsets(kCdt, kCst);
    clockIn->SetUtcOffsetsChanged(false);
    clockIn->SetObjectState(StateDeleted);
    EXPECT_EQ(
        converter.BuildUtcOffsetSQL(clockIn),
        std::vector<std::string>{"DELETE FROM PunchOffset WHERE (PunchOffset.TimeRecordID = 12);"});
}

TEST_F(Chicago, AFixedClockGivesItsOffsetOrTheZones) {
    FixedClock clock(kRepeatedHour.start);
    EXPECT_EQ(clock.UtcOffsetMinutes(), kCdt);
    clock.Set(kRepeatedHour.end, kCst);
    EXPECT_EQ(clock.Read().now, kRepeatedHour.end);
    EXPECT_EQ(clock.Read().utcOffsetMinutes, kCst);
    clock.AdvanceSeconds(60);
    EXPECT_EQ(clock.UtcOffsetMinutes(), kCst);
    clock.Set(kRepeatedHour.end);
    EXPECT_EQ(clock.UtcOffsetMinutes(), kCdt);
    {
        test::ScopedClock fixed(At(7, 4, 12), 120);
        EXPECT_EQ(CurrentClock().Read().utcOffsetMinutes, 120);
        EXPECT_EQ(DateTime::Now(), At(7, 4, 12));
    }
    // The system clock's offset is the zone's for the moment it reads.
    const ClockReading system = CurrentClock().Read();
    EXPECT_EQ(system.utcOffsetMinutes, ZoneUtcOffsetMinutes(system.now.TruncateToMinute()));
}

// Time cards on real databases: the hours every report and the grid show.
class DaylightSavingCard : public test::EngineTest {
protected:
    void SetUp() override {
        test::EngineTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        m_db = NewDatabase();
        m_jet = m_db->NewJetDB();
        m_factory = std::make_shared<CTimeRecordFactory>();
        m_factory->SetOrvanDatabase(m_jet);
        Program::SetTimeRecordFactory(m_factory);
    }
    void TearDown() override { Program::SetTimeRecordFactory(nullptr); }

    std::shared_ptr<CEmployee> Employee(int32_t number) {
        auto employee = std::make_shared<CEmployee>();
        employee->SetEmployeeID(m_db->AddEmployee(number, "Ann", "Lee"));
        employee->SetFirstName("Ann");
        employee->SetLastName("Lee");
        employee->SetPayRate(10.0f);
        employee->SetOvertimePayRate(15.0f);
        return employee;
    }
    int64_t Add(const CEmployee& employee, const Shift& shift) {
        return m_db->AddTimeRecord(employee.EmployeeID(), shift.start, shift.end);
    }
    void AddOffsets(int64_t id, const std::string& start, const std::string& end) {
        m_db->Exec("INSERT INTO PunchOffset (TimeRecordID, StartOffset, EndOffset) VALUES (" +
                   std::to_string(id) + ", " + start + ", " + end + ")");
    }
    std::string OffsetsOf(int64_t id) const {
        const std::string where = " FROM PunchOffset WHERE TimeRecordID = " + std::to_string(id);
        if (m_db->QueryInt("SELECT count(*)" + where) == 0) {
            return "none";
        }
        return m_db->QueryText("SELECT COALESCE(CAST(StartOffset AS TEXT), 'null') || ' ' || "
                               "COALESCE(CAST(EndOffset AS TEXT), 'null')" +
                               where);
    }
    std::unique_ptr<CTimeCard> Card(const std::shared_ptr<CEmployee>& employee) {
        auto card = std::make_unique<CTimeCard>();
        card->SetOrvanDatabase(m_jet);
        EXPECT_TRUE(card->GenerateTimecard(employee, At(1, 1), At(12, 31)));
        return card;
    }

    test::ScopedTimeZone m_zone{"America/Chicago"};
    std::unique_ptr<test::EngineDatabase> m_db;
    std::shared_ptr<CJetDB> m_jet;
    std::shared_ptr<CTimeRecordFactory> m_factory;
};

TEST_P(DaylightSavingCard, NightsAcrossAChangeArePaidTheHoursWorked) {
    const auto ann = Employee(1007);
    Add(*ann, kOrdinaryDay);
    Add(*ann, kSpringNight);
    Add(*ann, kFallNight);
    const auto card = Card(ann);
    const auto list = card->TimeRecordList();
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Item(1)->ToString(), "01/15/2026 08:00 AM\t01/15/2026 04:30 PM\t8.50");
    EXPECT_EQ(list->Item(2)->ToString(), "03/07/2026 10:00 PM\t03/08/2026 06:00 AM\t7.00");
    EXPECT_EQ(list->Item(3)->ToString(), "10/31/2026 10:00 PM\t11/01/2026 06:00 AM\t9.00");
    // 8 + 7 + 8 regular, 0.5 + 1 overtime.
    EXPECT_FLOAT_EQ(card->RegularHoursWorked(), 23.0f);
    EXPECT_FLOAT_EQ(card->OvertimeHoursWorked(), 1.5f);
    EXPECT_FLOAT_EQ(card->TotalPay(), 252.5f);
    EXPECT_TRUE(m_db->IsReleased());
}

TEST_P(DaylightSavingCard, PunchedOffsetsAreLoadedWithTheRecords) {
    const auto bob = Employee(1008);
    const int64_t punched = Add(*bob, kRepeatedHour);
    AddOffsets(punched, "-300", "-360");
    // Only the clock-out punched: the clock-in takes the zone's first
    // 1:30, the day's 8:00 to 4:30 has none.
    const int64_t halfPunched = Add(*bob, {At(11, 1, 1, 30), At(11, 1, 1, 40)});
    AddOffsets(halfPunched, "NULL", "-360");
    Add(*bob, {At(11, 2, 8), At(11, 2, 16, 30)});
    const auto card = Card(bob);
    const auto list = card->TimeRecordList();
    ASSERT_EQ(list->Count(), 3);
    EXPECT_EQ(list->Item(1)->ToString(), "11/01/2026 01:30 AM\t11/01/2026 01:15 AM\t0.75");
    EXPECT_EQ(list->Item(1)->StartUtcOffset(), kCdt);
    EXPECT_EQ(list->Item(2)->ToString(), "11/01/2026 01:30 AM\t11/01/2026 01:40 AM\t1.17");
    EXPECT_EQ(list->Item(2)->StartUtcOffset(), std::nullopt);
    EXPECT_EQ(list->Item(3)->EndUtcOffset(), std::nullopt);
    for (int32_t i = 1; i <= 3; ++i) {
        EXPECT_EQ(list->Item(i)->ObjectState(), StateUnchanged);
        EXPECT_FALSE(list->Item(i)->UtcOffsetsChanged());
    }
    EXPECT_FLOAT_EQ(card->RegularHoursWorked(), 0.75f + 70.0f / 60.0f + 8.0f);
    EXPECT_FLOAT_EQ(card->OvertimeHoursWorked(), 0.5f);
}

TEST_P(DaylightSavingCard, SavingARecordKeepsItsOffsetsInStep) {
    const auto ann = Employee(1007);
    // A punched record saved new: its offsets get a row of their own.
    auto clockIn = std::make_shared<CTimeRecord>();
    clockIn->SetEmployeeID(ann->EmployeeID());
    clockIn->SetStartTime(kRepeatedHour.start);
    clockIn->SetStartUtcOffset(kCdt);
    ASSERT_TRUE(m_factory->Save(clockIn));
    const int64_t id = m_db->QueryInt("SELECT max(TimeRecordID) FROM TimeRecord");
    EXPECT_EQ(OffsetsOf(id), "-300 null");
    EXPECT_TRUE(m_db->IsReleased());

    // Closed at the station: the end's offset joins it.
    CTimeCard closer;
    closer.SetOrvanDatabase(m_jet);
    ASSERT_TRUE(closer.CloseTimeRecord(ann, At(11, 1), kRepeatedHour.end, kCst));
    EXPECT_EQ(OffsetsOf(id), "-300 -360");
    auto card = Card(ann);
    EXPECT_FLOAT_EQ(card->RegularHoursWorked(), 0.75f);

    // The manager moves the end: its offset goes, the start's stays.
    const auto record = card->GetTimeRecordByKey(kRepeatedHour.start, kRepeatedHour.end);
    ASSERT_NE(record, nullptr);
    record->SetEndTime(At(11, 1, 2, 15));
    ASSERT_TRUE(card->SaveTimeRecord(record));
    EXPECT_EQ(OffsetsOf(id), "-300 null");
    card = Card(ann);
    EXPECT_FLOAT_EQ(card->RegularHoursWorked(), 1.75f);

    // A record typed by the manager has no row; deleting one removes its row.
    auto typed = Record(kOrdinaryDay);
    typed->SetEmployeeID(ann->EmployeeID());
    ASSERT_TRUE(card->SaveTimeRecord(typed));
    EXPECT_EQ(m_db->QueryInt("SELECT count(*) FROM PunchOffset"), 1);
    card = Card(ann);
    const auto loaded = card->GetTimeRecordByKey(kRepeatedHour.start, At(11, 1, 2, 15));
    ASSERT_NE(loaded, nullptr);
    loaded->SetObjectState(StateDeleted);
    ASSERT_TRUE(card->SaveTimeRecord(loaded));
    EXPECT_EQ(OffsetsOf(id), "none");
    EXPECT_EQ(m_db->QueryInt("SELECT count(*) FROM TimeRecord"), 1);
    EXPECT_TRUE(m_db->IsReleased());
}

// A clock-in punched at the second 1:30 AM (standard time) is a later
// moment than its wall-clock time alone says: a clock-out at 1:15 AM
// standard time lies before it and is refused, one at 1:45 AM is not.
TEST_P(DaylightSavingCard, AClockOutIsComparedWithTheClockInsOwnOffset) {
    const auto bob = Employee(1008);
    auto clockIn = std::make_shared<CTimeRecord>();
    clockIn->SetEmployeeID(bob->EmployeeID());
    clockIn->SetStartTime(kRepeatedHour.start);
    clockIn->SetStartUtcOffset(kCst);
    ASSERT_TRUE(m_factory->Save(clockIn));
    const int64_t id = m_db->QueryInt("SELECT max(TimeRecordID) FROM TimeRecord");

    CTimeCard closer;
    closer.SetOrvanDatabase(m_jet);
    EXPECT_FALSE(closer.CloseTimeRecord(bob, At(11, 1), kRepeatedHour.end, kCst));
    EXPECT_EQ(closer.ErrorNumber(), err::ClockOutBeforeClockIn);
    EXPECT_EQ(closer.ClockInAfterEnd(), kRepeatedHour.start);
    EXPECT_EQ(OffsetsOf(id), "-360 null");
    EXPECT_EQ(m_db->QueryInt("SELECT count(*) FROM TimeRecord WHERE EndTime = 0"), 1);

    ASSERT_TRUE(closer.CloseTimeRecord(bob, At(11, 1), At(11, 1, 1, 45), kCst));
    EXPECT_EQ(OffsetsOf(id), "-360 -360");
    EXPECT_FLOAT_EQ(Card(bob)->RegularHoursWorked(), 0.25f);
    EXPECT_TRUE(m_db->IsReleased());
}

ORVAN_ON_BOTH_ENGINES(DaylightSavingCard);

} // namespace
} // namespace orvan
