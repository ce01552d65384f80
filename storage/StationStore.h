#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>

#include "core/DateTime.h"
#include "core/PaySchedule.h"

namespace orvan {

class CJetDB;

// An employee's run of wrong PINs at the clock station.
struct StationLockout {
    // Wrong PINs in a row since the last right one or the last lock-out.
    int32_t wrongPins = 0;
    // Until when the station refuses the employee; zero when not locked.
    DateTime lockedUntil;

    bool IsLocked(DateTime now) const { return !lockedUntil.IsZero() && now < lockedUntil; }
};

// The administrator's password in the Employee row of every new
// installation, until it is changed.
inline constexpr std::string_view kFirstTimeAdminPassword = "renby742";

// The clock station's own data, kept in tables of its own beside the
// employee and option tables: whether the station asks for a PIN, each
// employee's PIN hash, and each employee's run of wrong PINs. Every call
// opens the database for its own length and closes it again; the failing
// ones return nullopt or False and leave the number in ErrorNumber (the
// database object's number; its GaveUpBusy tells a busy file apart).
class StationStore {
public:
    // Wrong PINs in a row that lock an employee out, and for how long.
    static constexpr int32_t MaxWrongPins = 5;
    static constexpr int64_t LockoutMinutes = 5;

    explicit StationStore(std::shared_ptr<CJetDB> database);

    int32_t ErrorNumber() const { return m_errorNumber; }

    // The "Require a PIN at the clock station" option; False when never set.
    std::optional<bool> RequirePin();
    bool SetRequirePin(bool value);
    // The "Clock station in full screen" option; False when never set.
    std::optional<bool> FullScreen();
    bool SetFullScreen(bool value);

    // The pay schedule both programs cut their periods by, kept as the
    // station options PaySchedule (the kind's stored name) and
    // PayScheduleAnchor (the anchor as mm/dd/yyyy). "Starting on the chosen
    // day" when never set; a missing or unreadable anchor leaves the
    // schedule's own.
    std::optional<orvan::PaySchedule> StoredPaySchedule();
    // Stores the kind and, for the kinds that use one, the anchor, in one
    // unit with the audit entry "Pay schedule: <caption>" (with " from
    // <m/d/yyyy>" for those kinds).
    bool SetPaySchedule(const orvan::PaySchedule& schedule);

    // The employee's stored PIN hash; empty when the employee has no PIN.
    std::optional<std::string> PinHash(int32_t employeeID);
    // The employees that have a PIN, by EmployeeID.
    std::optional<std::set<int32_t>> EmployeesWithPin();
    // Stores the hash (empty removes the PIN) and ends any wrong-PIN run or
    // lock-out of the employee: a new PIN from the manager unlocks.
    bool SetPinHash(int32_t employeeID, const std::string& hash);

    // The employee's current run; a default one when there is none.
    std::optional<StationLockout> Lockout(int32_t employeeID);
    // Counts one more wrong PIN at `now` and returns the run as stored. The
    // MaxWrongPins-th in a row locks the employee out until now plus
    // LockoutMinutes and starts the count again; a wrong PIN after an
    // expired lock-out starts a new run. While the employee is locked out
    // nothing is counted (the lock-out is not extended) and the run is
    // returned as it is.
    std::optional<StationLockout> RecordWrongPin(int32_t employeeID, DateTime now);
    // A right PIN: the run ends.
    bool ClearWrongPins(int32_t employeeID);

    // The administrator's password hash (the manager's program keeps it
    // beside the station's PIN hashes); empty while the first-time password
    // in the administrator's Employee row still applies.
    std::optional<std::string> AdminPasswordHash();
    // In one unit with its audit entry: stores the administrator's new
    // password hash and blanks the clear password of the Employee row, so
    // that only the hash lets the administrator in.
    bool SetAdminPasswordHash(const std::string& hash);
    // In one unit with its audit entry: removes the hash and puts the
    // first-time password back into the administrator's Employee row.
    bool ResetAdminPassword();
    // The clear password in the administrator's Employee row (the
    // first-time one until a hash replaces it; empty after that).
    std::optional<std::string> AdminClearPassword();

private:
    // A Yes/No station option by name, and its change with the audit entry
    // "<label>: Yes" or "<label>: No".
    std::optional<bool> BoolOption(std::string_view name);
    bool SetBoolOption(std::string_view name, std::string_view label, bool value);
    // Stores `hash` (empty: none) and `clearPassword`, with an entry saying
    // `what`.
    bool StoreAdminPassword(const std::string& hash, std::string_view clearPassword,
                            std::string_view what);
    // Runs one query on a file opened for it alone and gives its snapshot to
    // `read`. nullopt when the file did not open, the query failed or a value
    // did not read.
    template <class T, class Read> std::optional<T> Select(const std::string& sql, Read read);
    // Runs one action statement, which opens and closes the file itself.
    bool Act(const std::string& sql);

    std::shared_ptr<CJetDB> m_database;
    int32_t m_errorNumber = 0;
};

} // namespace orvan
