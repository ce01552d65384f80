#include "clock/ClockStation.h"

#include "clock/EmployeeNumber.h"
#include "core/CTimeCard.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "core/ErrorNumbers.h"
#include "core/ObjectState.h"
#include "personnel/CEmployee.h"
#include "security/AdminPassword.h"
#include "security/PinHash.h"
#include "storage/AuditTrail.h"
#include "storage/CJetDB.h"
#include "storage/CSystemOptions.h"
#include "storage/PersonnelStore.h"
#include "storage/StationStore.h"

namespace orvan::timeclock {

namespace {

// A punch: now with the seconds dropped, the way the stored times are
// written (the moment as "mm/dd/yyyy hh:mm AM/PM" read back as a
// date-time), and the clock's offset from UTC of that same reading, which
// tells the two 1:30 AMs of a fall-back night apart.
struct Punch {
    DateTime minute;
    int32_t utcOffset = 0;
};

Punch CurrentPunch() {
    const ClockReading now = CurrentClock().Read();
    return {DateTime::Parse(now.now.Format("mm/dd/yyyy hh:mm AM/PM"))
                .value_or(now.now.TruncateToMinute()),
            now.utcOffsetMinutes};
}

std::shared_ptr<CTimeRecord> NewClockIn(const CEmployee& employee) {
    const Punch in = CurrentPunch();
    auto record = std::make_shared<CTimeRecord>();
    record->SetObjectState(StateNew);
    record->SetEmployeeID(employee.EmployeeID());
    record->SetStartTime(in.minute);
    record->SetEndTime(DateTime());
    record->SetStartUtcOffset(in.utcOffset);
    return record;
}

} // namespace

ClockStation::ClockStation(std::shared_ptr<CJetDB> database,
                           std::shared_ptr<CTimeRecordFactory> factory,
                           std::shared_ptr<CSystemOptions> options)
    : m_database(std::move(database)), m_factory(std::move(factory)),
      m_options(std::move(options)) {}

ClockStation::~ClockStation() = default;

EmployeeLookUp ClockStation::FindEmployee(std::string_view typed) {
    EmployeeLookUp found;
    if (typed.empty()) {
        found.outcome = EmployeeLookUp::Outcome::NoNumber;
        return found;
    }
    // The administrator record and released employees work no shifts: their
    // clock-ins would appear on no time card or report.
    const std::optional<int32_t> number = ReadEmployeeNumber(typed);
    if (!number || !m_database) {
        return found;
    }
    const std::optional<std::shared_ptr<CEmployee>> employee =
        PersonnelStore(*m_database).FindActiveEmployee(*number);
    if (!employee) {
        found.outcome =
            GaveUpBusy() ? EmployeeLookUp::Outcome::Busy : EmployeeLookUp::Outcome::Failure;
    } else if (*employee) {
        found.outcome = EmployeeLookUp::Outcome::Found;
        found.employee = *employee;
    }
    return found;
}

EmployeeLookUp ClockStation::LookUpEmployee(std::string_view typed) {
    EmployeeLookUp found;
    PinGate unused;
    RunForNumber(typed, std::nullopt, found, unused, false);
    return found;
}

template <class Work> bool ClockStation::RunAsOneUnit(Work work) {
    // A unit that did not succeed keeps nothing: a clock-in whose audit
    // entry failed is not stored either.
    return m_database ? m_database->RunAsOneTransaction(work, CJetDB::UnitEnd::Discard) : work();
}

const std::string& ClockStation::Who() const {
    if (m_who.empty()) {
        m_who = audit::StationWho();
    }
    return m_who;
}

bool ClockStation::GaveUpBusy() const {
    return m_database && m_database->GaveUpBusy();
}

std::optional<std::vector<OpenRecord>> ClockStation::EveryOpenRecord(const CEmployee& employee,
                                                                     DateTime now) const {
    // Records started up to ten years ahead, should the clock have been
    // set back since they were punched.
    return FindOpenRecords(m_database, employee.EmployeeID(), now.AddDays(3650));
}

ClockResult::Outcome ClockStation::ClockOutcome(NaturalAction action, bool done,
                                                const ClockResult& result) const {
    const bool clockIn = action == NaturalAction::ClockIn;
    if (done) {
        return clockIn ? ClockResult::Outcome::Stored : ClockResult::Outcome::Closed;
    }
    if (!result.openSince.IsZero()) {
        return clockIn ? ClockResult::Outcome::AlreadyClockedIn
                       : ClockResult::Outcome::BeforeClockIn;
    }
    return GaveUpBusy() ? ClockResult::Outcome::Busy : ClockResult::Outcome::Failure;
}

bool ClockStation::StoreClockIn(const std::shared_ptr<CTimeRecord>& record,
                                const std::vector<OpenRecord>& forgotten, ClockResult& result) {
    result.forgotten.clear();
    if (!m_factory || !m_factory->Save(record, {std::string(audit::kClockIn), "", Who()})) {
        return false;
    }
    // An open record from long ago does not stop the clock-in; it is only
    // pointed out.
    result.forgotten = forgotten;
    return true;
}

bool ClockStation::StoreClockOut(const std::shared_ptr<CEmployee>& employee, ClockResult& result) {
    result.openSince = DateTime();
    auto card = std::make_shared<CTimeCard>();
    card->SetOrvanDatabase(m_database);
    const auto refused = [&] {
        if (card->ErrorNumber() != err::ClockOutBeforeClockIn) {
            return false;
        }
        result.openSince = card->ClockInAfterEnd();
        return true;
    };
    const AuditNote note{std::string(audit::kClockOut), "", Who()};
    const Punch out = CurrentPunch();
    bool done = card->CloseTimeRecord(employee, DateTime::Today(), out.minute, out.utcOffset, note);
    // A shift begun before midnight is still open under yesterday; after a
    // wait that ended busy, a second wait would only double the delay.
    if (!done && !refused() && !GaveUpBusy()) {
        const Punch again = CurrentPunch();
        done = card->CloseTimeRecord(employee, DateTime::Today().AddDays(-1), again.minute,
                                     again.utcOffset, note);
        if (!done) {
            refused();
        }
    }
    return done;
}

// Each action's reads and writes are one unit, run again whole when the
// server breaks it off for a conflicting station: a clock-in with its look-up
// of forgotten clock-outs, a clock-out's look-ups of today and yesterday, and
// Enter's choice with the clock-in or clock-out it chose.
ClockResult ClockStation::ClockIn(const std::shared_ptr<CEmployee>& employee) {
    ClockResult result;
    result.action = NaturalAction::ClockIn;
    if (!employee) {
        return result;
    }
    const std::shared_ptr<CTimeRecord> record = NewClockIn(*employee);
    result.clockedIn = record->StartTime();
    const bool stored = RunAsOneUnit([&] {
        result.openSince = DateTime();
        const DateTime now = DateTime::Now();
        const std::optional<std::vector<OpenRecord>> open = EveryOpenRecord(*employee, now);
        if (!open) {
            return false;
        }
        if (const std::optional<OpenRecord> running = RunningShift(*open, now)) {
            result.openSince = running->startTime;
            return false;
        }
        const std::vector<OpenRecord> forgotten = ForgottenClockOuts(*open, now);
        return StoreClockIn(record, forgotten, result);
    });
    result.outcome = ClockOutcome(NaturalAction::ClockIn, stored, result);
    if (!stored) {
        result.forgotten.clear();
    }
    return result;
}

ClockResult ClockStation::ClockOut(const std::shared_ptr<CEmployee>& employee) {
    ClockResult result;
    result.action = NaturalAction::ClockOut;
    if (!employee) {
        return result;
    }
    const bool closed = RunAsOneUnit([&] { return StoreClockOut(employee, result); });
    result.outcome = ClockOutcome(NaturalAction::ClockOut, closed, result);
    return result;
}

ClockResult ClockStation::ClockInOrOut(const std::shared_ptr<CEmployee>& employee) {
    ClockResult result;
    if (!employee) {
        return result;
    }
    const std::shared_ptr<CTimeRecord> record = NewClockIn(*employee);
    result.clockedIn = record->StartTime();
    bool lookedUp = false;
    NaturalAction chosen = NaturalAction::ClockIn;
    const bool done = RunAsOneUnit([&] {
        // Every open record of the employee, to see what clock-out would
        // close.
        const DateTime now = DateTime::Now();
        const std::optional<std::vector<OpenRecord>> open = EveryOpenRecord(*employee, now);
        lookedUp = open.has_value();
        if (!open) {
            return false;
        }
        chosen = ChooseNaturalAction(*open, now);
        if (chosen == NaturalAction::ClockOut) {
            return StoreClockOut(employee, result);
        }
        const std::vector<OpenRecord> forgotten = ForgottenClockOuts(*open, now);
        return StoreClockIn(record, forgotten, result);
    });
    // Open records that could not be read fail as a clock-in would.
    result.action = lookedUp ? chosen : NaturalAction::ClockIn;
    result.outcome = ClockOutcome(result.action, done, result);
    if (!done || result.action == NaturalAction::ClockOut) {
        result.forgotten.clear();
    }
    return result;
}

ClockResult ClockStation::Run(ClockAction action, const std::shared_ptr<CEmployee>& employee) {
    switch (action) {
    case ClockAction::ClockIn:
        return ClockIn(employee);
    case ClockAction::ClockOut:
        return ClockOut(employee);
    case ClockAction::InOrOut:
        break;
    }
    return ClockInOrOut(employee);
}

ClockResult ClockStation::RunForNumber(std::string_view typed, std::optional<ClockAction> action,
                                       EmployeeLookUp& found, PinGate& gate) {
    return RunForNumber(typed, action, found, gate, true);
}

ClockResult ClockStation::RunForNumber(std::string_view typed, std::optional<ClockAction> action,
                                       EmployeeLookUp& found, PinGate& gate, bool checkPin) {
    ClockResult result;
    found = EmployeeLookUp{};
    gate = PinGate{};
    bool ran = false;
    // The action's own unit joins this one; its outcome holds only if this
    // unit is kept.
    const bool kept = RunAsOneUnit([&] {
        ran = true;
        found = FindEmployee(typed);
        if (found.outcome != EmployeeLookUp::Outcome::Found || !checkPin) {
            return true;
        }
        gate = CheckPinGate(*found.employee);
        if (action && gate.outcome == PinGate::Outcome::NotRequired) {
            result = Run(*action, found.employee);
        }
        return true;
    });
    if (!ran && !typed.empty()) {
        // The unit never began: the file stayed held or did not open.
        found.outcome =
            GaveUpBusy() ? EmployeeLookUp::Outcome::Busy : EmployeeLookUp::Outcome::Failure;
    }
    if (!kept && found.outcome == EmployeeLookUp::Outcome::Found &&
        gate.outcome == PinGate::Outcome::NotRequired &&
        (result.outcome == ClockResult::Outcome::Stored ||
         result.outcome == ClockResult::Outcome::Closed)) {
        result.outcome = GaveUpBusy() ? ClockResult::Outcome::Busy : ClockResult::Outcome::Failure;
        result.forgotten.clear();
    }
    return result;
}

std::optional<bool> ClockStation::FullScreen() {
    return StationStore(m_database).FullScreen();
}

std::optional<bool> ClockStation::IsAdminPassword(const std::string& typed) {
    StationStore store(m_database);
    return pin::IsAdministratorsPassword(store, typed);
}

PinGate ClockStation::CheckPinGate(const CEmployee& employee) {
    PinGate gate;
    const auto failed = [&] {
        gate.outcome = GaveUpBusy() ? PinGate::Outcome::Busy : PinGate::Outcome::Failure;
        return gate;
    };
    StationStore store(m_database);
    const std::optional<bool> required = store.RequirePin();
    if (!required) {
        return failed();
    }
    if (!*required) {
        gate.outcome = PinGate::Outcome::NotRequired;
        return gate;
    }
    gate.required = true;
    const std::optional<StationLockout> lockout = store.Lockout(employee.EmployeeID());
    const std::optional<std::string> hash =
        lockout ? store.PinHash(employee.EmployeeID()) : std::nullopt;
    if (!lockout || !hash) {
        return failed();
    }
    if (lockout->IsLocked(DateTime::Now())) {
        gate.outcome = PinGate::Outcome::LockedOut;
        gate.lockedUntil = lockout->lockedUntil;
        return gate;
    }
    if (hash->empty()) {
        gate.outcome = PinGate::Outcome::NoPinSet;
        return gate;
    }
    gate.outcome = PinGate::Outcome::PinNeeded;
    gate.hash = *hash;
    gate.wrongPins = lockout->wrongPins;
    return gate;
}

PinCheck ClockStation::CheckPin(const CEmployee& employee, const PinGate& gate,
                                std::string_view pin) {
    PinCheck check;
    StationStore store(m_database);
    if (pin::VerifyPin(gate.hash, pin)) {
        // Only a run of wrong PINs needs a write before the action.
        if (gate.wrongPins > 0) {
            store.ClearWrongPins(employee.EmployeeID());
        }
        check.outcome = PinCheck::Outcome::Right;
        return check;
    }
    const DateTime now = DateTime::Now();
    const std::optional<StationLockout> run = store.RecordWrongPin(employee.EmployeeID(), now);
    if (run && run->IsLocked(now)) {
        check.outcome = PinCheck::Outcome::LockedOut;
        check.lockedUntil = run->lockedUntil;
    }
    return check;
}

backup::Result ClockStation::BackUpIfDue(const std::function<void()>& busyWait) {
    if (!m_database) {
        return {backup::Result::Outcome::NotDue, "", ""};
    }
    return m_dailyBackup.RunIfDue(m_database->DatabaseName(), m_database->BusyTimeout(), busyWait);
}

PaySchedule ClockStation::StoredPaySchedule() const {
    if (m_database == nullptr) {
        return PaySchedule();
    }
    return StationStore(m_database).StoredPaySchedule().value_or(PaySchedule());
}

int32_t ClockStation::PeriodLength() const {
    return m_options ? m_options->PeriodLength() : 0;
}

TimeCardOutcome ClockStation::TimeCardOutcomeOf(bool generated, int32_t reportErrorNumber) const {
    if (generated) {
        return TimeCardOutcome::Shown;
    }
    if (reportErrorNumber == err::NoTimeRecords) {
        return TimeCardOutcome::NoTimeRecords;
    }
    return GaveUpBusy() ? TimeCardOutcome::Busy : TimeCardOutcome::Failure;
}

} // namespace orvan::timeclock
