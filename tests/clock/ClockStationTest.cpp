// The clock station's actions driven without a window, on a real
// installation loaded the way the clock program starts: look-up, clock-in,
// clock-out, Enter's choice, the PIN checks with their lock-out, what the
// print dialog reads, and a database file another program holds.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "clock/ClockStation.h"
#include "core/ErrorNumbers.h"
#include "personnel/CEmployee.h"
#include "security/PinHash.h"
#include "storage/AuditTrail.h"
#include "storage/CJetDB.h"
#include "storage/CSystemOptions.h"
#include "storage/StationStore.h"
#include "support/LockingProcess.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

namespace orvan::test {
namespace {

using timeclock::ClockAction;
using timeclock::ClockResult;
using timeclock::EmployeeLookUp;
using timeclock::NaturalAction;
using timeclock::PinCheck;
using timeclock::PinGate;
using timeclock::TimeCardOutcome;

DateTime At(int day, int hour, int minute, int second = 0) {
    return DateTime::FromParts(2003, 1, day, hour, minute, second);
}

class Station : public ::testing::Test {
protected:
    Station() : m_clock(At(15, 8, 5, 42)) {}

    void SetUp() override {
        m_ann = m_db.AddEmployee(1007, "Ann", "Lee");
        m_bob = m_db.AddEmployee(1008, "Bob", "Ray");
        const int32_t cid = m_db.AddEmployee(1009, "Cid", "Moe");
        m_db.Exec("UPDATE Employee SET Active = 0 WHERE EmployeeID = " + std::to_string(cid));
        // As at start-up: options read on one open, then the file is let go.
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

    std::shared_ptr<CEmployee> Employee(const std::string& typed) {
        return m_station->LookUpEmployee(typed).employee;
    }
    std::shared_ptr<CEmployee> Ann() { return Employee("1007"); }
    int64_t Count(const std::string& where) const {
        return m_db.QueryInt("SELECT count(*) FROM TimeRecord WHERE " + where);
    }
    double EndTime(int64_t timeRecordID) const {
        return m_db.QueryDouble("SELECT EndTime FROM TimeRecord WHERE TimeRecordID = " +
                                std::to_string(timeRecordID));
    }
    void RequirePin() {
        StationStore store(m_db.NewJetDB());
        ASSERT_TRUE(store.SetRequirePin(true));
        ASSERT_TRUE(store.SetPinHash(m_ann, pin::HashPin("4321")));
    }
    int32_t WrongPinsStored() {
        return StationStore(m_db.NewJetDB()).Lockout(m_ann).value_or(StationLockout{}).wrongPins;
    }

    TestDatabase m_db;
    ScopedClock m_clock;
    std::shared_ptr<CJetDB> m_database;
    std::unique_ptr<ScopedTimeRecordFactory> m_factory;
    std::unique_ptr<timeclock::ClockStation> m_station;
    int32_t m_ann = 0;
    int32_t m_bob = 0;
};

// Look-up -------------------------------------------------------------------

TEST_F(Station, TheTypedNumberFindsTheActiveEmployee) {
    for (const char* typed : {"1007", " 1007 ", "+1007", "1006.6", "1007.4"}) {
        const EmployeeLookUp found = m_station->LookUpEmployee(typed);
        EXPECT_EQ(found.outcome, EmployeeLookUp::Outcome::Found) << typed;
        ASSERT_NE(found.employee, nullptr) << typed;
        EXPECT_EQ(found.employee->EmployeeID(), m_ann) << typed;
    }
    EXPECT_EQ(Employee("1008")->EmployeeID(), m_bob);
    EXPECT_EQ(m_station->LookUpEmployee("").outcome, EmployeeLookUp::Outcome::NoNumber);
}

// The administrator record (number 0) is active in every installation, and
// a released employee is still in the list: neither is served.
TEST_F(Station, TheAdministratorReleasedAndUnknownNumbersAreNotFound) {
    for (const char* typed : {"0", "-0", "0.4", "1009", "4242", "abc", " ", "99999999999"}) {
        const EmployeeLookUp found = m_station->LookUpEmployee(typed);
        EXPECT_EQ(found.outcome, EmployeeLookUp::Outcome::NotFound) << typed;
        EXPECT_EQ(found.employee, nullptr) << typed;
    }
}

// The station reads employees as they are now, not as they were at its start:
// a new hire, a release and a number given to someone else count at once.
TEST_F(Station, EveryLookUpReadsTheEmployeeAsStoredNow) {
    const int32_t dee = m_db.AddEmployee(2001, "Dee", "New");
    EXPECT_EQ(Employee("2001")->EmployeeID(), dee);

    m_db.Exec("UPDATE Employee SET Active = 0 WHERE EmployeeID = " + std::to_string(m_ann));
    EXPECT_EQ(m_station->LookUpEmployee("1007").outcome, EmployeeLookUp::Outcome::NotFound);

    // Cid's old number went to Eve; a rename is seen on the next look-up.
    const int32_t eve = m_db.AddEmployee(1009, "Eve", "Fox");
    EXPECT_EQ(Employee("1009")->EmployeeID(), eve);
    m_db.Exec("UPDATE Employee SET LastName = 'Moss' WHERE EmployeeID = " + std::to_string(eve));
    EXPECT_EQ(Employee("1009")->LastName(), "Moss");
}

// One press is one unit: the employee, the PIN checks and the clock-in.
TEST_F(Station, APressFindsTheEmployeeAndActsInOneGo) {
    EmployeeLookUp found;
    PinGate gate;
    ClockResult result = m_station->RunForNumber("1008", ClockAction::InOrOut, found, gate);
    EXPECT_EQ(found.outcome, EmployeeLookUp::Outcome::Found);
    EXPECT_EQ(gate.outcome, PinGate::Outcome::NotRequired);
    EXPECT_EQ(result.outcome, ClockResult::Outcome::Stored);
    EXPECT_EQ(Count("EmployeeID = " + std::to_string(m_bob)), 1);

    // A released employee's press stores nothing and asks no PIN question.
    result = m_station->RunForNumber("1009", ClockAction::ClockIn, found, gate);
    EXPECT_EQ(found.outcome, EmployeeLookUp::Outcome::NotFound);
    EXPECT_EQ(gate.outcome, PinGate::Outcome::Failure);
    EXPECT_EQ(Count("1"), 1);

    // With the PIN option on, the action waits for the PIN.
    RequirePin();
    result = m_station->RunForNumber("1007", ClockAction::ClockIn, found, gate);
    EXPECT_EQ(found.outcome, EmployeeLookUp::Outcome::Found);
    EXPECT_NE(gate.outcome, PinGate::Outcome::NotRequired);
    EXPECT_EQ(Count("1"), 1);
}

// Clock-in and clock-out ------------------------------------------------------

TEST_F(Station, ClockInStoresTheCurrentMinute) {
    const ClockResult result = m_station->ClockIn(Ann());
    EXPECT_EQ(result.outcome, ClockResult::Outcome::Stored);
    EXPECT_EQ(result.action, NaturalAction::ClockIn);
    EXPECT_DOUBLE_EQ(result.clockedIn.Days(), At(15, 8, 5).Days());
    EXPECT_TRUE(result.forgotten.empty());
    EXPECT_EQ(Count("1"), 1);
    EXPECT_EQ(Count("EmployeeID = " + std::to_string(m_ann) + " AND EndTime = 0"), 1);
    EXPECT_DOUBLE_EQ(m_db.QueryDouble("SELECT StartTime FROM TimeRecord"), At(15, 8, 5).Days());
}

TEST_F(Station, ClockInNamesTheClockOutsForgottenForSixteenHours) {
    m_db.AddTimeRecord(m_ann, At(12, 9, 0));
    const int64_t latest = m_db.AddTimeRecord(m_ann, At(14, 16, 5)); // 16 h 0 min 42 s ago
    m_db.AddTimeRecord(m_ann, At(13, 8, 0), At(13, 16, 0));          // closed
    m_db.AddTimeRecord(m_bob, At(15, 7, 0));                         // somebody else's
    const ClockResult result = m_station->ClockIn(Ann());
    EXPECT_EQ(result.outcome, ClockResult::Outcome::Stored);
    ASSERT_EQ(result.forgotten.size(), 2u);
    EXPECT_EQ(result.forgotten.back().timeRecordID, latest);
    // Stored beside the forgotten ones, which stay open for the manager.
    EXPECT_EQ(Count("EmployeeID = " + std::to_string(m_ann) + " AND EndTime = 0"), 3);
}

// A second clock-in of a shift still running (F1 twice, or again later the
// same shift) stores nothing and names the running shift's clock-in.
TEST_F(Station, ClockInWhileAShiftRunsStoresNothing) {
    const int64_t running = m_db.AddTimeRecord(m_ann, At(14, 16, 6)); // 15 h 59 min ago
    m_db.AddTimeRecord(m_ann, At(12, 9, 0));                          // forgotten
    ClockResult result = m_station->ClockIn(Ann());
    EXPECT_EQ(result.outcome, ClockResult::Outcome::AlreadyClockedIn);
    EXPECT_DOUBLE_EQ(result.openSince.Days(), At(14, 16, 6).Days());
    EXPECT_TRUE(result.forgotten.empty());
    EXPECT_EQ(Count("1"), 2);
    EXPECT_EQ(timeclock::AlreadyClockedInText(result.openSince),
              "You are already clocked in since 01/14/2003 04:06 PM.");

    // Closed, the shift no longer stops a clock-in; the next one does.
    m_db.Exec("UPDATE TimeRecord SET EndTime = StartTime + 0.25 WHERE TimeRecordID = " +
              std::to_string(running));
    EXPECT_EQ(m_station->ClockIn(Ann()).outcome, ClockResult::Outcome::Stored);
    m_clock.Set(At(15, 8, 6, 3));
    result = m_station->ClockIn(Ann());
    EXPECT_EQ(result.outcome, ClockResult::Outcome::AlreadyClockedIn);
    EXPECT_DOUBLE_EQ(result.openSince.Days(), At(15, 8, 5).Days());
    EXPECT_EQ(Count("StartTime >= " + std::to_string(At(15, 0, 0).Days())), 1);
    // Somebody else clocks in as ever.
    EXPECT_EQ(m_station->ClockIn(Employee("1008")).outcome, ClockResult::Outcome::Stored);
}

// The computer's clock went back between clock-in and clock-out: nothing is
// stored, and the record stays open for the manager.
TEST_F(Station, AClockOutBeforeItsClockInIsRefused) {
    m_clock.Set(At(15, 18, 33));
    ASSERT_EQ(m_station->ClockIn(Ann()).outcome, ClockResult::Outcome::Stored);
    m_clock.Set(At(15, 16, 33));
    for (const bool enter : {false, true}) {
        const ClockResult result =
            enter ? m_station->ClockInOrOut(Ann()) : m_station->ClockOut(Ann());
        EXPECT_EQ(result.action, NaturalAction::ClockOut) << enter;
        EXPECT_EQ(result.outcome, ClockResult::Outcome::BeforeClockIn) << enter;
        EXPECT_DOUBLE_EQ(result.openSince.Days(), At(15, 18, 33).Days()) << enter;
    }
    EXPECT_EQ(Count("EndTime = 0"), 1);
    EXPECT_EQ(Count("1"), 1);
    EXPECT_EQ(timeclock::ClockOutBeforeClockInText(At(15, 18, 33)),
              "The clock shows a time before your clock-in of 01/15/2003 06:33 PM. Please see "
              "your manager.");
    // Once the clock is right again the clock-out closes it.
    m_clock.Set(At(15, 19, 0));
    EXPECT_EQ(m_station->ClockOut(Ann()).outcome, ClockResult::Outcome::Closed);
    EXPECT_EQ(Count("EndTime = 0"), 0);
}

TEST_F(Station, ClockInAndClockOutLeaveTheStationsAuditEntries) {
    ASSERT_EQ(m_station->ClockIn(Ann()).outcome, ClockResult::Outcome::Stored);
    const int64_t id = m_db.QueryInt("SELECT TimeRecordID FROM TimeRecord");
    // Refused clock-ins and clock-outs store nothing and record nothing.
    m_clock.Set(At(15, 9, 0));
    ASSERT_EQ(m_station->ClockIn(Ann()).outcome, ClockResult::Outcome::AlreadyClockedIn);
    m_clock.Set(At(15, 8, 0));
    ASSERT_EQ(m_station->ClockOut(Ann()).outcome, ClockResult::Outcome::BeforeClockIn);
    m_clock.Set(At(15, 16, 35, 10));
    ASSERT_EQ(m_station->ClockOut(Ann()).outcome, ClockResult::Outcome::Closed);

    const auto entries = audit::ReadAll(*m_db.NewJetDB());
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 2u);
    const audit::Entry& in = entries->at(0);
    const audit::Entry& out = entries->at(1);
    EXPECT_EQ(in.kind, "Clock in");
    EXPECT_EQ(in.who, audit::StationWho());
    EXPECT_EQ(in.who.rfind("clock station ", 0), 0u) << in.who;
    EXPECT_EQ(in.timeRecordID, id);
    EXPECT_EQ(in.employeeID, m_ann);
    EXPECT_EQ(in.before, "");
    EXPECT_EQ(in.after, "01/15/2003 08:05 AM to open");
    EXPECT_EQ(out.kind, "Clock out");
    EXPECT_EQ(out.who, in.who);
    EXPECT_EQ(out.timeRecordID, id);
    EXPECT_EQ(out.before, "01/15/2003 08:05 AM to open");
    EXPECT_EQ(out.after, "01/15/2003 08:05 AM to 01/15/2003 04:35 PM, 8.50 hours");
    EXPECT_TRUE(audit::Verify(*entries).intact);
}

TEST_F(Station, AClockInWhoseEntryFailsIsNotStored) {
    m_db.Exec("CREATE TRIGGER NoEntries BEFORE INSERT ON AuditEntry "
              "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    EXPECT_EQ(m_station->ClockIn(Ann()).outcome, ClockResult::Outcome::Failure);
    EXPECT_EQ(Count("1"), 0);
    m_db.Exec("DROP TRIGGER NoEntries");
    EXPECT_EQ(m_station->ClockIn(Ann()).outcome, ClockResult::Outcome::Stored);
    EXPECT_EQ(Count("1"), 1);
}

TEST_F(Station, ClockOutClosesTheEarliestRecordOpenToday) {
    m_clock.Set(At(15, 12, 0, 31));
    const int64_t earliest = m_db.AddTimeRecord(m_ann, At(15, 7, 0));
    const int64_t later = m_db.AddTimeRecord(m_ann, At(15, 7, 30));
    const int64_t bobs = m_db.AddTimeRecord(m_bob, At(15, 6, 0));
    const ClockResult result = m_station->ClockOut(Ann());
    EXPECT_EQ(result.outcome, ClockResult::Outcome::Closed);
    EXPECT_EQ(result.action, NaturalAction::ClockOut);
    EXPECT_DOUBLE_EQ(EndTime(earliest), At(15, 12, 0).Days());
    EXPECT_EQ(EndTime(later), 0.0);
    EXPECT_EQ(EndTime(bobs), 0.0);
}

TEST_F(Station, ClockOutAfterMidnightClosesYesterdaysShift) {
    m_clock.Set(At(16, 2, 10));
    const int64_t night = m_db.AddTimeRecord(m_ann, At(15, 22, 0));
    EXPECT_EQ(m_station->ClockOut(Ann()).outcome, ClockResult::Outcome::Closed);
    EXPECT_DOUBLE_EQ(EndTime(night), At(16, 2, 10).Days());
}

TEST_F(Station, ClockOutWithNothingOpenStoresNothing) {
    m_db.AddTimeRecord(m_ann, At(15, 7, 0), At(15, 8, 0));
    m_db.AddTimeRecord(m_ann, At(13, 7, 0)); // older than yesterday
    const ClockResult result = m_station->ClockOut(Ann());
    EXPECT_EQ(result.outcome, ClockResult::Outcome::Failure);
    EXPECT_EQ(result.action, NaturalAction::ClockOut);
    EXPECT_EQ(Count("EndTime = 0"), 1);
    EXPECT_EQ(Count("1"), 2);
}

// Enter's choice ----------------------------------------------------------------

TEST_F(Station, EnterClocksOutAFreshOpenRecord) {
    m_clock.Set(At(15, 16, 0));
    const int64_t shift = m_db.AddTimeRecord(m_ann, At(15, 8, 5));
    const ClockResult result = m_station->ClockInOrOut(Ann());
    EXPECT_EQ(result.action, NaturalAction::ClockOut);
    EXPECT_EQ(result.outcome, ClockResult::Outcome::Closed);
    EXPECT_TRUE(result.forgotten.empty());
    EXPECT_DOUBLE_EQ(EndTime(shift), At(15, 16, 0).Days());
    EXPECT_EQ(Count("1"), 1);
}

// Yesterday's record is the one clock-out would close, but it is older than
// 16 hours: Enter clocks in and names it.
TEST_F(Station, EnterClocksInOverARecordOlderThanSixteenHours) {
    const int64_t old = m_db.AddTimeRecord(m_ann, At(14, 16, 5));
    const ClockResult result = m_station->ClockInOrOut(Ann());
    EXPECT_EQ(result.action, NaturalAction::ClockIn);
    EXPECT_EQ(result.outcome, ClockResult::Outcome::Stored);
    EXPECT_DOUBLE_EQ(result.clockedIn.Days(), At(15, 8, 5).Days());
    ASSERT_EQ(result.forgotten.size(), 1u);
    EXPECT_EQ(result.forgotten.front().timeRecordID, old);
    EXPECT_EQ(EndTime(old), 0.0);
    EXPECT_EQ(Count("EndTime = 0"), 2);

    // Nothing open at all is a plain clock-in.
    m_db.Exec("DELETE FROM TimeRecord");
    const ClockResult plain = m_station->ClockInOrOut(Ann());
    EXPECT_EQ(plain.action, NaturalAction::ClockIn);
    EXPECT_EQ(plain.outcome, ClockResult::Outcome::Stored);
    EXPECT_TRUE(plain.forgotten.empty());
    EXPECT_EQ(Count("1"), 1);
}

// PIN -----------------------------------------------------------------------------

TEST_F(Station, WithTheOptionOffASetPinIsNotAskedFor) {
    ASSERT_TRUE(StationStore(m_db.NewJetDB()).SetPinHash(m_ann, pin::HashPin("4321")));
    const PinGate gate = m_station->CheckPinGate(*Ann());
    EXPECT_EQ(gate.outcome, PinGate::Outcome::NotRequired);
    EXPECT_FALSE(gate.required);
}

TEST_F(Station, TheRightPinLetsTheActionGoAheadAndAMissingOneRefuses) {
    RequirePin();
    const PinGate gate = m_station->CheckPinGate(*Ann());
    ASSERT_EQ(gate.outcome, PinGate::Outcome::PinNeeded);
    EXPECT_TRUE(gate.required);
    EXPECT_EQ(gate.wrongPins, 0);
    EXPECT_EQ(m_station->CheckPin(*Ann(), gate, "4321").outcome, PinCheck::Outcome::Right);

    const PinGate bobs = m_station->CheckPinGate(*Employee("1008"));
    EXPECT_EQ(bobs.outcome, PinGate::Outcome::NoPinSet);
    EXPECT_TRUE(bobs.required);
    EXPECT_EQ(Count("1"), 0);
}

TEST_F(Station, AWrongPinStoresNothingAndIsCountedUntilARightOne) {
    RequirePin();
    for (int32_t i = 1; i <= 3; ++i) {
        const PinGate gate = m_station->CheckPinGate(*Ann());
        ASSERT_EQ(gate.outcome, PinGate::Outcome::PinNeeded);
        EXPECT_EQ(gate.wrongPins, i - 1);
        EXPECT_EQ(m_station->CheckPin(*Ann(), gate, "1111").outcome, PinCheck::Outcome::Wrong);
        EXPECT_EQ(WrongPinsStored(), i);
    }
    EXPECT_EQ(Count("1"), 0);
    const PinGate gate = m_station->CheckPinGate(*Ann());
    EXPECT_EQ(m_station->CheckPin(*Ann(), gate, "4321").outcome, PinCheck::Outcome::Right);
    EXPECT_EQ(WrongPinsStored(), 0);
}

TEST_F(Station, TheFifthWrongPinLocksOutUntilFiveMinutesLater) {
    RequirePin();
    for (int i = 1; i < StationStore::MaxWrongPins; ++i) {
        const PinGate gate = m_station->CheckPinGate(*Ann());
        EXPECT_EQ(m_station->CheckPin(*Ann(), gate, "1111").outcome, PinCheck::Outcome::Wrong) << i;
    }
    const PinCheck fifth = m_station->CheckPin(*Ann(), m_station->CheckPinGate(*Ann()), "1111");
    EXPECT_EQ(fifth.outcome, PinCheck::Outcome::LockedOut);
    EXPECT_DOUBLE_EQ(fifth.lockedUntil.Days(), At(15, 8, 10, 42).Days());

    m_clock.Set(At(15, 8, 10, 41));
    const PinGate locked = m_station->CheckPinGate(*Ann());
    EXPECT_EQ(locked.outcome, PinGate::Outcome::LockedOut);
    EXPECT_DOUBLE_EQ(locked.lockedUntil.Days(), At(15, 8, 10, 42).Days());
    EXPECT_TRUE(locked.hash.empty());

    // Once the lock-out has ended the right PIN works again.
    m_clock.Set(At(15, 8, 10, 42));
    const PinGate again = m_station->CheckPinGate(*Ann());
    ASSERT_EQ(again.outcome, PinGate::Outcome::PinNeeded);
    EXPECT_EQ(m_station->CheckPin(*Ann(), again, "4321").outcome, PinCheck::Outcome::Right);
    EXPECT_EQ(m_station->ClockIn(Ann()).outcome, ClockResult::Outcome::Stored);
    EXPECT_EQ(Count("1"), 1);
}

// The print dialog --------------------------------------------------------------

TEST_F(Station, ThePrintDialogReadsThePeriodAndTheCardsOutcome) {
    EXPECT_EQ(m_station->PeriodLength(), 13);
    EXPECT_EQ(m_station->TimeCardOutcomeOf(true, 0), TimeCardOutcome::Shown);
    EXPECT_EQ(m_station->TimeCardOutcomeOf(false, err::NoTimeRecords),
              TimeCardOutcome::NoTimeRecords);
    EXPECT_EQ(m_station->TimeCardOutcomeOf(false, err::ReportUnexpected), TimeCardOutcome::Failure);
}

// Without the controller's objects nobody is found and every action fails.
TEST(StationWithoutObjects, FindsNobodyAndFails) {
    ScopedClock clock(At(15, 8, 5));
    ScopedTimeRecordFactory noFactory(nullptr);
    timeclock::ClockStation station;
    EXPECT_EQ(station.LookUpEmployee("1007").outcome, EmployeeLookUp::Outcome::NotFound);
    auto ann = std::make_shared<CEmployee>();
    ann->SetEmployeeNumber(1007);
    EXPECT_EQ(station.ClockIn(ann).outcome, ClockResult::Outcome::Failure);
    EXPECT_EQ(station.ClockOut(ann).outcome, ClockResult::Outcome::Failure);
    EXPECT_EQ(station.ClockInOrOut(ann).outcome, ClockResult::Outcome::Failure);
    EXPECT_EQ(station.CheckPinGate(*ann).outcome, PinGate::Outcome::Failure);
    EXPECT_EQ(station.PeriodLength(), 0);
}

// A busy file ---------------------------------------------------------------------

// Another program holds the file far beyond the station's busy timeout:
// every action says so and nothing is stored; once the file is free the
// same actions work.
TEST_F(Station, AHeldFileIsBusyAndNothingIsStored) {
    const int64_t open = m_db.AddTimeRecord(m_ann, At(15, 7, 0));
    RequirePin();
    m_database->SetBusyTimeout(250);
    const std::shared_ptr<CEmployee> ann = Ann();
    {
        LockingProcess administrator(m_db.DatabasePath(), 3000);
        EXPECT_EQ(m_station->LookUpEmployee("1007").outcome, EmployeeLookUp::Outcome::Busy);
        EXPECT_EQ(m_station->ClockIn(ann).outcome, ClockResult::Outcome::Busy);
        const ClockResult out = m_station->ClockOut(ann);
        EXPECT_EQ(out.outcome, ClockResult::Outcome::Busy);
        EXPECT_EQ(out.action, NaturalAction::ClockOut);
        const ClockResult natural = m_station->ClockInOrOut(ann);
        EXPECT_EQ(natural.outcome, ClockResult::Outcome::Busy);
        EXPECT_EQ(natural.action, NaturalAction::ClockIn);
        EXPECT_EQ(m_station->CheckPinGate(*ann).outcome, PinGate::Outcome::Busy);
        EXPECT_EQ(m_station->TimeCardOutcomeOf(false, err::ReportUnexpected),
                  TimeCardOutcome::Busy);
    }
    EXPECT_EQ(Count("1"), 1);
    EXPECT_EQ(EndTime(open), 0.0);

    EXPECT_EQ(m_station->CheckPinGate(*Ann()).outcome, PinGate::Outcome::PinNeeded);
    EXPECT_EQ(m_station->ClockOut(Ann()).outcome, ClockResult::Outcome::Closed);
    EXPECT_EQ(m_station->ClockIn(Ann()).outcome, ClockResult::Outcome::Stored);
    EXPECT_EQ(Count("1"), 2);
}

} // namespace
} // namespace orvan::test
