#include "storage/StationStore.h"

#include <charconv>
#include <limits>
#include <set>
#include <utility>

#include "core/ErrorNumbers.h"
#include "personnel/CEmployee.h"
#include "storage/AuditTrail.h"
#include "storage/CJetDB.h"
#include "storage/EngineError.h"
#include "storage/JetDialect.h"
#include "storage/Recordset.h"

namespace orvan {

namespace {

// A moment as the REAL day count the columns hold, in the shortest text that
// reads back as the same number.
std::string DayCount(DateTime value) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value.Days());
    std::string text(buffer, result.ptr);
    if (text.find_first_of(".eE") == std::string::npos) {
        text += ".0";
    }
    return text;
}

std::string Where(int32_t employeeID) {
    return " WHERE EmployeeID = " + std::to_string(employeeID);
}

// The first row of a snapshot, or nullptr when it has none.
const Recordset* FirstRow(const std::shared_ptr<Recordset>& rows) {
    if (rows == nullptr || rows->RecordCount() == 0) {
        return nullptr;
    }
    rows->MoveFirst();
    return rows.get();
}

StationLockout ReadLockout(const Recordset* row) {
    StationLockout run;
    if (row != nullptr) {
        const int64_t wrong = row->AsInteger("WrongPins");
        if (wrong < 0 || wrong > std::numeric_limits<int32_t>::max()) {
            throw EngineError(err::StatementFailed, "A wrong-PIN count out of range.");
        }
        run.wrongPins = static_cast<int32_t>(wrong);
        run.lockedUntil = DateTime::FromDays(row->AsDouble("LockedUntil"));
    }
    return run;
}

constexpr std::string_view PayScheduleName = "PaySchedule";
constexpr std::string_view PayScheduleAnchorName = "PayScheduleAnchor";

// The schedule the two rows (Name, Value) of a snapshot hold.
orvan::PaySchedule ReadPaySchedule(const std::shared_ptr<Recordset>& rows) {
    PayScheduleKind kind = PayScheduleKind::ChosenDay;
    std::optional<DateTime> anchor;
    for (const Recordset* row = FirstRow(rows); row != nullptr && !row->IsEOF(); rows->MoveNext()) {
        const std::string name = row->AsText("Name");
        const std::string value = row->AsText("Value");
        if (name == PayScheduleName) {
            kind = orvan::PaySchedule::FromStoredName(value).value_or(PayScheduleKind::ChosenDay);
        } else if (name == PayScheduleAnchorName) {
            anchor = DateTime::Parse(value);
        }
    }
    return anchor ? orvan::PaySchedule(kind, *anchor) : orvan::PaySchedule(kind, DateTime());
}

std::string PayScheduleText(const orvan::PaySchedule& schedule) {
    std::string text = "Pay schedule: " + std::string(orvan::PaySchedule::Caption(schedule.Kind()));
    if (orvan::PaySchedule::UsesAnchor(schedule.Kind())) {
        text += " from " + schedule.Anchor().Format("m/d/yyyy");
    }
    return text;
}

std::string PayScheduleQuery() {
    return "SELECT Name, Value FROM StationOption WHERE Name IN (" + SqlQuoted(PayScheduleName) +
           ", " + SqlQuoted(PayScheduleAnchorName) + ")";
}

std::string StoreOption(std::string_view name, const std::string& value) {
    return "INSERT INTO StationOption (Name, Value) VALUES (" + SqlQuoted(name) + ", " +
           SqlQuoted(value) + ") ON CONFLICT (Name) DO UPDATE SET Value = excluded.Value";
}

constexpr const char* LockoutColumns = "SELECT WrongPins, LockedUntil FROM StationLockout";

} // namespace

StationStore::StationStore(std::shared_ptr<CJetDB> database) : m_database(std::move(database)) {}

template <class T, class Read>
std::optional<T> StationStore::Select(const std::string& sql, Read read) {
    if (m_database == nullptr) {
        m_errorNumber = err::NoDatabase;
        return std::nullopt;
    }
    CJetDB& db = *m_database;
    std::optional<T> result;
    try {
        if (db.OpenDB()) {
            if (const auto rows = db.ExecuteSelect(sql)) {
                result = read(rows);
            }
        }
    } catch (...) {
        result.reset(); // a value that does not read
    }
    if (!result) {
        m_errorNumber = db.ErrorNumber() != 0 ? db.ErrorNumber() : err::StatementFailed;
    }
    if (db.DatabaseOpen()) {
        db.CloseDB();
    }
    return result;
}

bool StationStore::Act(const std::string& sql) {
    if (m_database == nullptr) {
        m_errorNumber = err::NoDatabase;
        return false;
    }
    // Opens the file, runs the statement and closes the file, also on failure.
    if (!m_database->ExecuteAction(sql)) {
        m_errorNumber = m_database->ErrorNumber();
        return false;
    }
    return true;
}

// Every call below takes the file for its own length: the database object
// opens it (upgrading an older file), the statements run, and the file is
// closed again on every way out, also after a failure.

std::optional<bool> StationStore::BoolOption(std::string_view name) {
    const auto value = Select<std::string>(
        "SELECT Value FROM StationOption WHERE Name = " + SqlQuoted(name), [](const auto& rows) {
            const Recordset* row = FirstRow(rows);
            return row != nullptr ? row->AsText("Value") : std::string();
        });
    if (!value) {
        return std::nullopt;
    }
    return *value == "1";
}

// A change is recorded on the audit trail, in the same unit as the option.
bool StationStore::SetBoolOption(std::string_view name, std::string_view label, bool value) {
    if (m_database == nullptr) {
        m_errorNumber = err::NoDatabase;
        return false;
    }
    CJetDB& db = *m_database;
    const std::string quoted = SqlQuoted(name);
    const auto stored = [&](bool) -> std::optional<std::string> {
        const auto rows =
            db.ExecuteSelect("SELECT Value FROM StationOption WHERE Name = " + quoted);
        if (!rows) {
            return std::nullopt;
        }
        bool on = false;
        if (rows->RecordCount() > 0) {
            rows->MoveFirst();
            on = rows->AsText("Value") == "1";
        }
        return std::string(label) + ": " + (on ? "Yes" : "No");
    };
    audit::Entry entry;
    entry.kind = audit::kOptions;
    const bool done = audit::RecordChange(db, entry, stored, [&] {
        return Act("INSERT INTO StationOption (Name, Value) VALUES (" + quoted + ", " +
                   (value ? "'1'" : "'0'") +
                   ") ON CONFLICT (Name) DO UPDATE SET Value = excluded.Value");
    });
    if (!done && m_errorNumber == 0) {
        m_errorNumber = db.ErrorNumber() != 0 ? db.ErrorNumber() : err::StatementFailed;
    }
    return done;
}

std::optional<bool> StationStore::RequirePin() {
    return BoolOption("RequirePin");
}

bool StationStore::SetRequirePin(bool value) {
    return SetBoolOption("RequirePin", "Require a PIN at the clock station", value);
}

std::optional<bool> StationStore::FullScreen() {
    return BoolOption("FullScreen");
}

bool StationStore::SetFullScreen(bool value) {
    return SetBoolOption("FullScreen", "Clock station in full screen", value);
}

std::optional<PaySchedule> StationStore::StoredPaySchedule() {
    return Select<orvan::PaySchedule>(PayScheduleQuery(), ReadPaySchedule);
}

bool StationStore::SetPaySchedule(const orvan::PaySchedule& schedule) {
    if (m_database == nullptr) {
        m_errorNumber = err::NoDatabase;
        return false;
    }
    CJetDB& db = *m_database;
    const auto stored = [&](bool) -> std::optional<std::string> {
        const auto rows = db.ExecuteSelect(PayScheduleQuery());
        if (!rows) {
            return std::nullopt;
        }
        return PayScheduleText(ReadPaySchedule(rows));
    };
    audit::Entry entry;
    entry.kind = audit::kOptions;
    const bool done = audit::RecordChange(db, entry, stored, [&] {
        if (!Act(StoreOption(PayScheduleName,
                             std::string(orvan::PaySchedule::StoredName(schedule.Kind()))))) {
            return false;
        }
        return !orvan::PaySchedule::UsesAnchor(schedule.Kind()) ||
               Act(StoreOption(PayScheduleAnchorName, schedule.Anchor().Format("mm/dd/yyyy")));
    });
    if (!done && m_errorNumber == 0) {
        m_errorNumber = db.ErrorNumber() != 0 ? db.ErrorNumber() : err::StatementFailed;
    }
    return done;
}

std::optional<std::string> StationStore::AdminClearPassword() {
    return Select<std::string>("SELECT Password FROM Employee" + Where(CEmployee::AdministratorID),
                               [](const auto& rows) {
                                   const Recordset* row = FirstRow(rows);
                                   return row != nullptr ? row->AsText("Password") : std::string();
                               });
}

std::optional<std::string> StationStore::PinHash(int32_t employeeID) {
    return Select<std::string>("SELECT PinHash FROM EmployeePin" + Where(employeeID),
                               [](const auto& rows) {
                                   const Recordset* row = FirstRow(rows);
                                   return row != nullptr ? row->AsText("PinHash") : std::string();
                               });
}

std::optional<std::set<int32_t>> StationStore::EmployeesWithPin() {
    return Select<std::set<int32_t>>("SELECT EmployeeID FROM EmployeePin", [](const auto& rows) {
        std::set<int32_t> ids;
        for (const Recordset* row = FirstRow(rows); row != nullptr && !row->IsEOF();
             rows->MoveNext()) {
            ids.insert(static_cast<int32_t>(row->AsInteger("EmployeeID")));
        }
        return ids;
    });
}

bool StationStore::SetPinHash(int32_t employeeID, const std::string& hash) {
    const bool stored =
        hash.empty() ? Act("DELETE FROM EmployeePin" + Where(employeeID))
                     : Act("INSERT INTO EmployeePin (EmployeeID, PinHash) VALUES (" +
                           std::to_string(employeeID) + ", " + SqlQuoted(hash) +
                           ") ON CONFLICT (EmployeeID) DO UPDATE SET PinHash = excluded.PinHash");
    // The PIN first: a failure after it leaves the old run, never an
    // employee unlocked without the new PIN.
    return stored && ClearWrongPins(employeeID);
}

std::optional<StationLockout> StationStore::Lockout(int32_t employeeID) {
    return Select<StationLockout>(LockoutColumns + Where(employeeID),
                                  [](const auto& rows) { return ReadLockout(FirstRow(rows)); });
}

std::optional<StationLockout> StationStore::RecordWrongPin(int32_t employeeID, DateTime now) {
    if (m_database == nullptr) {
        m_errorNumber = err::NoDatabase;
        return std::nullopt;
    }
    CJetDB& db = *m_database;
    // Read and write as one unit, so another station or program cannot
    // count a wrong PIN of the same employee in between.
    std::optional<StationLockout> result;
    const auto countWrongPin = [&] {
        result.reset();
        try {
            if (!db.OpenDB()) {
                return false;
            }
            const auto rows = db.ExecuteSelect(LockoutColumns + Where(employeeID));
            if (!rows) {
                return false;
            }
            StationLockout run = ReadLockout(FirstRow(rows));
            if (run.IsLocked(now)) {
                result = run; // refused already: nothing more to count
                return true;
            }
            if (!run.lockedUntil.IsZero()) {
                run = StationLockout(); // the lock-out is over: a new run
            }
            ++run.wrongPins;
            if (run.wrongPins >= MaxWrongPins) {
                run.wrongPins = 0;
                run.lockedUntil = now.AddMinutes(LockoutMinutes);
            }
            if (db.ExecuteAction("INSERT INTO StationLockout (EmployeeID, WrongPins, "
                                 "LockedUntil) VALUES (" +
                                 std::to_string(employeeID) + ", " + std::to_string(run.wrongPins) +
                                 ", " + DayCount(run.lockedUntil) +
                                 ") ON CONFLICT (EmployeeID) DO UPDATE SET WrongPins = "
                                 "excluded.WrongPins, LockedUntil = excluded.LockedUntil")) {
                result = run;
            }
        } catch (...) {
            result.reset();
        }
        return result.has_value();
    };
    if (!db.RunAsOneTransaction(countWrongPin)) {
        result.reset();
    }
    if (!result) {
        m_errorNumber = db.ErrorNumber() != 0 ? db.ErrorNumber() : err::StatementFailed;
    }
    if (db.DatabaseOpen()) {
        db.CloseDB();
    }
    return result;
}

bool StationStore::ClearWrongPins(int32_t employeeID) {
    return Act("DELETE FROM StationLockout" + Where(employeeID));
}

std::optional<std::string> StationStore::AdminPasswordHash() {
    return Select<std::string>(
        "SELECT PasswordHash FROM AdminPassword" + Where(CEmployee::AdministratorID),
        [](const auto& rows) {
            const Recordset* row = FirstRow(rows);
            return row != nullptr ? row->AsText("PasswordHash") : std::string();
        });
}

bool StationStore::SetAdminPasswordHash(const std::string& hash) {
    if (hash.empty()) {
        m_errorNumber = err::StatementFailed;
        return false;
    }
    return StoreAdminPassword(hash, "", "Changed");
}

bool StationStore::ResetAdminPassword() {
    return StoreAdminPassword("", kFirstTimeAdminPassword, "Reset to the first-time password");
}

bool StationStore::StoreAdminPassword(const std::string& hash, std::string_view clearPassword,
                                      std::string_view what) {
    if (m_database == nullptr) {
        m_errorNumber = err::NoDatabase;
        return false;
    }
    CJetDB& db = *m_database;
    const std::string where = Where(CEmployee::AdministratorID);
    const std::string storeHash =
        hash.empty() ? "DELETE FROM AdminPassword" + where
                     : "INSERT INTO AdminPassword (EmployeeID, PasswordHash) VALUES (" +
                           std::to_string(CEmployee::AdministratorID) + ", " + SqlQuoted(hash) +
                           ") ON CONFLICT (EmployeeID) DO UPDATE SET PasswordHash = "
                           "excluded.PasswordHash";
    const std::string storeClear =
        "UPDATE Employee SET Password = " + SqlQuoted(clearPassword) + where;
    audit::Entry entry;
    entry.kind = audit::kAdminPassword;
    entry.employeeID = CEmployee::AdministratorID;
    entry.after = what;
    const bool stored = db.RunAsOneTransaction(
        [&] {
            return db.OpenDB() && db.ExecuteAction(storeHash) && db.ExecuteAction(storeClear) &&
                   audit::Append(db, entry);
        },
        CJetDB::UnitEnd::Discard);
    if (!stored) {
        m_errorNumber = db.ErrorNumber() != 0 ? db.ErrorNumber() : err::StatementFailed;
    }
    return stored;
}

} // namespace orvan
