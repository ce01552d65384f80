#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/DateTime.h"

namespace orvan {
class CJetDB;
} // namespace orvan

namespace orvan::audit {

// What an entry records: the kinds of change, as stored in Kind.
inline constexpr std::string_view kClockIn = "Clock in";
inline constexpr std::string_view kClockOut = "Clock out";
inline constexpr std::string_view kAdd = "Add";
inline constexpr std::string_view kEdit = "Edit";
inline constexpr std::string_view kDelete = "Delete";
inline constexpr std::string_view kAutoFill = "Auto fill";
inline constexpr std::string_view kCopy = "Copy";
inline constexpr std::string_view kPayRates = "Pay rates";
inline constexpr std::string_view kOptions = "Options";
inline constexpr std::string_view kAdminPassword = "Administrator password";

// One entry of the trail (a row of AuditEntry). Zero keys stand for none.
struct Entry {
    int64_t entryID = 0;
    std::string when;
    std::string who;
    std::string kind;
    int64_t timeRecordID = 0;
    int64_t employeeID = 0;
    std::string before;
    std::string after;
    std::string reason;
    std::string hash;
};

// The hash the first entry chains to.
inline constexpr std::string_view kFirstPreviousHash =
    "0000000000000000000000000000000000000000000000000000000000000000";

// SHA-256 (lower-case hexadecimal) over the entry's number and content,
// every field length-prefixed so no two entries read alike, and the hash of
// the entry before it. The entry's own hash is not part of it.
std::string HashOf(const Entry& entry, std::string_view previousHash);

// This moment on the computer's real clock in its time zone, with the offset
// from UTC: 2026-12-09T15:04:05-06:00.
std::string WhenNow();

// Who the program's changes are recorded as: the manager's login name once
// logged in, empty before. The clock station names itself (StationWho).
void SetWho(std::string who);
const std::string& Who();
// "clock station" and the computer's name.
std::string StationWho();

// A time record's values as an entry keeps them: start, end and hours,
// "12/09/2026 08:00 AM to 12/09/2026 05:00 PM, 9.00 hours"; an open record
// "12/09/2026 08:00 AM to open".
std::string RecordValues(DateTime start, DateTime end);

// The statement that stores `entry` as it is (number, date and hash
// included), for a writer that has no database object.
std::string InsertSql(const Entry& entry);

// Writes `entry` after the last one, numbering it, dating it (when empty)
// and chaining its hash, on the database's open operation or unit: called
// inside the unit that makes the change, the entry is stored with it or not
// at all. An empty who takes Who(). False when a statement failed.
bool Append(CJetDB& database, Entry entry);

// Runs `write` and records what it changed, in one unit (part of the
// caller's when there is one): `values` reads the stored values as text, once
// before and once after the write (its argument tells which), and the entry,
// `entry` with those values, is appended only when they differ. A failed read,
// write or entry keeps nothing of the unit. `values` may fill in the entry's
// keys (an added row's, after the write).
bool RecordChange(CJetDB& database, Entry& entry,
                  const std::function<std::optional<std::string>(bool after)>& values,
                  const std::function<bool()>& write);

// The first row's columns of a query as text, "name value" joined by ", "
// in the order given, for RecordChange's values: empty when there is no
// row, nullopt when the query failed. Numbers keep two decimals.
std::optional<std::string> StoredText(CJetDB& database, const std::string& sql,
                                      const std::vector<std::string>& columns);

// Every entry in the order written (the database object opens and closes
// the database itself); nullopt when they could not be read.
std::optional<std::vector<Entry>> ReadAll(CJetDB& database);
// The entries of one time record, oldest first.
std::optional<std::vector<Entry>> ReadForTimeRecord(CJetDB& database, int64_t timeRecordID);

// What a check of the chain found.
struct Verification {
    bool intact = true;
    // Entries checked.
    int64_t entries = 0;
    // The number of the first broken entry (0 while intact) and what is
    // wrong with it.
    int64_t firstBroken = 0;
    std::string problem;
};

// Checks that the entries, in the order written, are numbered 1, 2, 3...
// without a gap and that each hash matches its entry and the one before.
Verification Verify(const std::vector<Entry>& entries);
// "The audit trail is intact (12 entries)." or "The audit trail is broken
// at entry 5: ..."
std::string Describe(const Verification& verification);

} // namespace orvan::audit
