#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clock/ClockRules.h"
#include "core/DateTime.h"
#include "core/PaySchedule.h"
#include "core/OpenRecords.h"
#include "storage/DatabaseBackup.h"

namespace orvan {
class CEmployee;
class CJetDB;
class CSystemOptions;
class CTimeRecord;
class CTimeRecordFactory;
} // namespace orvan

namespace orvan::timeclock {

// The employee a typed number names.
struct EmployeeLookUp {
    enum class Outcome {
        Found,
        // Nothing was typed.
        NoNumber,
        // The text is no 32-bit number, or it names nobody the station
        // serves: no employee, the administrator record or a released
        // employee.
        NotFound,
        // The employee could not be read: the file stayed held for the whole
        // busy timeout (Busy) or the database failed (Failure).
        Busy,
        Failure,
    };
    Outcome outcome = Outcome::NotFound;
    // Found: the employee as the database holds it now.
    std::shared_ptr<CEmployee> employee;
};

// What a clock-in, a clock-out or Enter's choice between them came to.
struct ClockResult {
    enum class Outcome {
        // The clock-in is stored.
        Stored,
        // The clock-out closed an open record.
        Closed,
        // Nothing stored: another program held the database file for the
        // whole busy timeout.
        Busy,
        // A clock-in refused: the employee's shift begun at `openSince`, less
        // than 16 hours ago, is still open.
        AlreadyClockedIn,
        // A clock-out refused: the record it would close starts at
        // `openSince`, after the station's clock (which went back). The
        // record stays open.
        BeforeClockIn,
        // Nothing stored for another reason. For a clock-out this is also
        // the employee having no record open today or yesterday: the time
        // card does not tell the two apart.
        Failure,
    };
    // The clock-in or clock-out that was tried; for Enter the one it chose,
    // a clock-in when the employee's open records could not be read.
    NaturalAction action = NaturalAction::ClockIn;
    Outcome outcome = Outcome::Failure;
    // A clock-in: the minute it stores (also when it was not stored).
    DateTime clockedIn;
    // A stored clock-in: the employee's forgotten clock-outs, oldest first;
    // empty also when their look-up failed.
    std::vector<OpenRecord> forgotten;
    // AlreadyClockedIn and BeforeClockIn: the open record's start.
    DateTime openSince;
};

// The checks made before an action for a found employee.
struct PinGate {
    enum class Outcome {
        // The station asks for no PIN: the action goes ahead.
        NotRequired,
        // The PIN is to be asked for and given to CheckPin.
        PinNeeded,
        // The employee may not use the station before lockedUntil.
        LockedOut,
        // The employee has no PIN, so nothing can be recorded.
        NoPinSet,
        // The checks could not be read: the file stayed held (Busy) or the
        // database failed (Failure).
        Busy,
        Failure,
    };
    Outcome outcome = Outcome::Failure;
    // True when the station's PIN option was read and is on.
    bool required = false;
    // LockedOut: the end of the lock-out.
    DateTime lockedUntil;
    // PinNeeded: the employee's stored hash and the wrong PINs in a row so
    // far.
    std::string hash;
    int32_t wrongPins = 0;
};

// A PIN checked against the one a PinGate asked for.
struct PinCheck {
    enum class Outcome {
        // The right PIN: any run of wrong ones is ended; the action goes
        // ahead.
        Right,
        // Nothing is stored; the wrong PIN is counted (unless the count
        // itself could not be stored).
        Wrong,
        // A wrong PIN that locked the employee out until lockedUntil.
        LockedOut,
    };
    Outcome outcome = Outcome::Wrong;
    DateTime lockedUntil;
};

// The three actions that clock in or out.
enum class ClockAction { ClockIn, ClockOut, InOrOut };

// Why a time card report came out as it did.
enum class TimeCardOutcome { Shown, NoTimeRecords, Busy, Failure };

// The clock station's actions without its window: finding the employee a
// typed number names, clock-in, clock-out, Enter's choice between the two,
// the PIN checks with their wrong-PIN count and lock-out, and what the
// print dialog reads. Each action's reads and writes run as one database
// unit (CJetDB::RunAsOneTransaction); none asks the user anything, and each
// returns what happened for the window to tell.
//
// The station shares the controller's long-lived objects and owns none of
// them; any of them may be null, which makes look-ups find nobody and
// actions fail the way a missing object always has. Employees are read from
// the database at each action, never from a list kept since the start, so
// a new hire is found and a released employee refused at once. "Now" is
// DateTime::Now.
class ClockStation {
public:
    ClockStation() = default;
    ClockStation(std::shared_ptr<CJetDB> database, std::shared_ptr<CTimeRecordFactory> factory,
                 std::shared_ptr<CSystemOptions> options);
    ~ClockStation();

    const std::shared_ptr<CJetDB>& Database() const { return m_database; }

    // The active employee whose number `typed` is (see ReadEmployeeNumber),
    // read from the database in a unit of its own.
    EmployeeLookUp LookUpEmployee(std::string_view typed);

    // Stores a clock-in at the current minute unless a shift of the employee
    // begun less than 16 hours ago is still open (AlreadyClockedIn); the
    // employee's open records are read in the same unit, so two stations
    // pressing at once store at most one. Older open records are only named
    // as forgotten clock-outs.
    ClockResult ClockIn(const std::shared_ptr<CEmployee>& employee);
    // Closes at the current minute the earliest record open today, failing
    // that the earliest open since yesterday; refused (BeforeClockIn) when
    // that record starts after the current minute.
    ClockResult ClockOut(const std::shared_ptr<CEmployee>& employee);
    // Enter's choice (ChooseNaturalAction) made on the employee's open
    // records and carried out in the same unit, so two stations acting for
    // one employee can neither both miss nor both close a record.
    ClockResult ClockInOrOut(const std::shared_ptr<CEmployee>& employee);

    // ClockIn, ClockOut or ClockInOrOut.
    ClockResult Run(ClockAction action, const std::shared_ptr<CEmployee>& employee);
    // A whole press of a key or button in one database unit: the employee
    // `typed` names, read as the database holds it now, the PIN checks and,
    // when they ask for no PIN, `action` itself (nothing more for printing,
    // which has no action here). `found` and `gate` tell how far it got;
    // the result means something only when `found` is Found and `gate`
    // NotRequired.
    ClockResult RunForNumber(std::string_view typed, std::optional<ClockAction> action,
                             EmployeeLookUp& found, PinGate& gate);

    // Whether the station requires a PIN and, when it does, whether the
    // employee may use it now. Each read is a statement of its own.
    PinGate CheckPinGate(const CEmployee& employee);
    // Checks `pin` against the hash `gate` (PinNeeded) holds: a right one
    // ends a run of wrong ones, a wrong one is counted, and the
    // StationStore::MaxWrongPins-th in a row locks the employee out.
    PinCheck CheckPin(const CEmployee& employee, const PinGate& gate, std::string_view pin);

    // The "Clock station in full screen" option; nullopt when it could not
    // be read.
    std::optional<bool> FullScreen();
    // Whether `typed` is the administrator's password: against its hash when
    // there is one, else the clear password of the administrator's row (an
    // empty one lets nobody through). nullopt when it could not be read.
    std::optional<bool> IsAdminPassword(const std::string& typed);

    // After a clock action: the day's copy of the database file when the day
    // has none yet (backup::DailyBackup), waiting for the other program as
    // an open does (`busyWait` between tries). Never asks the user; the
    // caller logs a failure.
    backup::Result BackUpIfDue(const std::function<void()>& busyWait = {});

    // The pay period length of the system options: a printed period runs
    // from its first day through PeriodLength days later. 0 without options.
    int32_t PeriodLength() const;
    // The pay schedule of the station options; "Starting on the chosen day"
    // without a database or when it could not be read.
    PaySchedule StoredPaySchedule() const;
    // What a time card report's result and error number mean, read right
    // after the report was generated.
    TimeCardOutcome TimeCardOutcomeOf(bool generated, int32_t reportErrorNumber) const;

private:
    // Runs `work` as one database unit; without a database object, as is.
    template <class Work> bool RunAsOneUnit(Work work);
    // LookUpEmployee's read, in the caller's unit.
    EmployeeLookUp FindEmployee(std::string_view typed);
    // RunForNumber; without `checkPin` it stops after the look-up.
    ClockResult RunForNumber(std::string_view typed, std::optional<ClockAction> action,
                             EmployeeLookUp& found, PinGate& gate, bool checkPin);
    // The parts of a clock-in and a clock-out run inside a unit, safe to run
    // again. `forgotten`: the employee's forgotten clock-outs, read in the
    // same unit.
    bool StoreClockIn(const std::shared_ptr<CTimeRecord>& record,
                      const std::vector<OpenRecord>& forgotten, ClockResult& result);
    bool StoreClockOut(const std::shared_ptr<CEmployee>& employee, ClockResult& result);
    // Every record of the employee still open, read in the caller's unit;
    // nothing when they could not be read.
    std::optional<std::vector<OpenRecord>> EveryOpenRecord(const CEmployee& employee,
                                                           DateTime now) const;
    // The outcome of a clock-in or clock-out that ended as `done`.
    ClockResult::Outcome ClockOutcome(NaturalAction action, bool done,
                                      const ClockResult& result) const;
    bool GaveUpBusy() const;
    // Who the station's audit entries name: "clock station" and the
    // computer's name, looked up once.
    const std::string& Who() const;

    std::shared_ptr<CJetDB> m_database;
    std::shared_ptr<CTimeRecordFactory> m_factory;
    std::shared_ptr<CSystemOptions> m_options;
    mutable std::string m_who;
    backup::DailyBackup m_dailyBackup;
};

} // namespace orvan::timeclock
