#include "storage/AuditTrail.h"

#include <sodium.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <ctime>
#include <memory>
#include <variant>

#include "core/NumberFormat.h"
#include "storage/CJetDB.h"
#include "storage/JetDialect.h"
#include "storage/Recordset.h"

namespace orvan::audit {

namespace {

std::string& WhoSetting() {
    static std::string who;
    return who;
}

std::string KeyOrNull(int64_t key) {
    return key != 0 ? std::to_string(key) : "Null";
}

void AddField(std::string& text, std::string_view field) {
    text += std::to_string(field.size());
    text += ':';
    text += field;
    text += ';';
}

constexpr const char* kColumns = "SELECT EntryID, EntryTime, Who, Kind, TimeRecordID, EmployeeID, "
                                 "ValueBefore, ValueAfter, Reason, Hash FROM AuditEntry";

int64_t KeyOf(const Recordset& row, std::string_view column) {
    return row.IsNull(column) ? 0 : row.AsInteger(column);
}

std::optional<std::vector<Entry>> Read(CJetDB& database, const std::string& sql) {
    std::optional<std::vector<Entry>> entries;
    try {
        if (database.OpenDB()) {
            if (const auto rows = database.ExecuteSelect(sql)) {
                entries.emplace();
                entries->reserve(static_cast<size_t>(rows->RecordCount()));
                if (rows->RecordCount() > 0) {
                    rows->MoveFirst(); // an empty snapshot has no first row
                }
                for (; rows->RecordCount() > 0 && !rows->IsEOF(); rows->MoveNext()) {
                    Entry entry;
                    entry.entryID = rows->AsInteger("EntryID");
                    entry.when = rows->AsText("EntryTime");
                    entry.who = rows->AsText("Who");
                    entry.kind = rows->AsText("Kind");
                    entry.timeRecordID = KeyOf(*rows, "TimeRecordID");
                    entry.employeeID = KeyOf(*rows, "EmployeeID");
                    entry.before = rows->AsText("ValueBefore");
                    entry.after = rows->AsText("ValueAfter");
                    entry.reason = rows->AsText("Reason");
                    entry.hash = rows->AsText("Hash");
                    entries->push_back(std::move(entry));
                }
            }
        }
    } catch (...) {
        entries.reset(); // a value that does not read
    }
    if (database.DatabaseOpen()) {
        database.CloseDB();
    }
    return entries;
}

} // namespace

std::string HashOf(const Entry& entry, std::string_view previousHash) {
    std::string content;
    AddField(content, previousHash);
    AddField(content, std::to_string(entry.entryID));
    AddField(content, entry.when);
    AddField(content, entry.who);
    AddField(content, entry.kind);
    AddField(content, std::to_string(entry.timeRecordID));
    AddField(content, std::to_string(entry.employeeID));
    AddField(content, entry.before);
    AddField(content, entry.after);
    AddField(content, entry.reason);
    unsigned char digest[crypto_hash_sha256_BYTES];
    crypto_hash_sha256(digest, reinterpret_cast<const unsigned char*>(content.data()),
                       content.size());
    char hex[crypto_hash_sha256_BYTES * 2 + 1];
    sodium_bin2hex(hex, sizeof hex, digest, sizeof digest);
    return std::string(hex);
}

std::string WhenNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[40];
    const size_t length = std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    // The offset in minutes, within a day either way.
    const long offset = local.tm_gmtoff / 60;
    const int size = static_cast<int>((offset < 0 ? -offset : offset) % (24 * 60));
    char zone[8] = {offset < 0 ? '-' : '+',
                    static_cast<char>('0' + size / 600),
                    static_cast<char>('0' + size / 60 % 10),
                    ':',
                    static_cast<char>('0' + size % 60 / 10),
                    static_cast<char>('0' + size % 10),
                    '\0'};
    return std::string(text, length) + zone;
}

void SetWho(std::string who) {
    WhoSetting() = std::move(who);
}

const std::string& Who() {
    return WhoSetting();
}

std::string StationWho() {
    char name[HOST_NAME_MAX + 1] = {};
    if (gethostname(name, sizeof name - 1) != 0) {
        name[0] = '\0';
    }
    return std::string("clock station ") + name;
}

std::string RecordValues(DateTime start, DateTime end) {
    const char* pattern = "mm/dd/yyyy hh:mm AM/PM";
    std::string text = start.Format(pattern) + " to ";
    if (end.IsZero()) {
        return text + "open";
    }
    const double hours = static_cast<double>(DateTime::DiffMinutes(start, end)) / 60.0;
    return text + end.Format(pattern) + ", " + FormatNumber(hours, "#0.00") + " hours";
}

std::string InsertSql(const Entry& entry) {
    return "INSERT INTO AuditEntry (EntryID, EntryTime, Who, Kind, TimeRecordID, EmployeeID, "
           "ValueBefore, ValueAfter, Reason, Hash) VALUES (" +
           std::to_string(entry.entryID) + ", " + SqlQuoted(entry.when) + ", " +
           SqlQuoted(entry.who) + ", " + SqlQuoted(entry.kind) + ", " +
           KeyOrNull(entry.timeRecordID) + ", " + KeyOrNull(entry.employeeID) + ", " +
           SqlQuoted(entry.before) + ", " + SqlQuoted(entry.after) + ", " +
           SqlQuoted(entry.reason) + ", " + SqlQuoted(entry.hash) + ")";
}

bool Append(CJetDB& database, Entry entry) {
    static const bool sodiumReady = sodium_init() >= 0;
    if (!sodiumReady) {
        return false;
    }
    try {
        if (!database.OpenDB()) {
            return false;
        }
        const auto last =
            database.ExecuteSelect("SELECT EntryID, Hash FROM AuditEntry ORDER BY EntryID DESC "
                                   "LIMIT 1");
        if (!last) {
            database.CloseDB();
            return false;
        }
        std::string previousHash(kFirstPreviousHash);
        entry.entryID = 1;
        if (last->RecordCount() > 0) {
            last->MoveFirst();
            entry.entryID = last->AsInteger("EntryID") + 1;
            previousHash = last->AsText("Hash");
        }
        if (entry.when.empty()) {
            entry.when = WhenNow();
        }
        if (entry.who.empty()) {
            entry.who = Who();
        }
        entry.hash = HashOf(entry, previousHash);
        return database.ExecuteAction(InsertSql(entry));
    } catch (...) {
        database.CloseDB();
        return false;
    }
}

bool RecordChange(CJetDB& database, Entry& entry,
                  const std::function<std::optional<std::string>(bool after)>& values,
                  const std::function<bool()>& write) {
    return database.RunAsOneTransaction(
        [&] {
            if (!database.OpenDB()) {
                return false;
            }
            const std::optional<std::string> before = values(false);
            if (!before || !write() || !database.OpenDB()) {
                return false;
            }
            const std::optional<std::string> after = values(true);
            if (!after) {
                return false;
            }
            if (*after == *before) {
                return true;
            }
            entry.before = *before;
            entry.after = *after;
            return Append(database, entry);
        },
        CJetDB::UnitEnd::Discard);
}

std::optional<std::string> StoredText(CJetDB& database, const std::string& sql,
                                      const std::vector<std::string>& columns) {
    try {
        const auto rows = database.ExecuteSelect(sql);
        if (!rows) {
            return std::nullopt;
        }
        std::string text;
        if (rows->RecordCount() == 0) {
            return text;
        }
        rows->MoveFirst();
        for (const std::string& column : columns) {
            const Recordset::Value value = rows->Field(column);
            std::string shown;
            if (const auto* d = std::get_if<double>(&value)) {
                char number[64];
                std::snprintf(number, sizeof number, "%.2f", *d);
                shown = number;
            } else if (!std::holds_alternative<std::monostate>(value)) {
                shown = rows->AsText(column);
            }
            text += (text.empty() ? "" : ", ") + column + " " + shown;
        }
        return text;
    } catch (...) {
        return std::nullopt;
    }
}

std::optional<std::vector<Entry>> ReadAll(CJetDB& database) {
    return Read(database, std::string(kColumns) + " ORDER BY EntryID");
}

std::optional<std::vector<Entry>> ReadForTimeRecord(CJetDB& database, int64_t timeRecordID) {
    return Read(database, std::string(kColumns) + " WHERE TimeRecordID = " +
                              std::to_string(timeRecordID) + " ORDER BY EntryID");
}

Verification Verify(const std::vector<Entry>& entries) {
    Verification result;
    std::string previousHash(kFirstPreviousHash);
    int64_t expected = 1;
    for (const Entry& entry : entries) {
        ++result.entries;
        if (entry.entryID != expected) {
            result.intact = false;
            result.firstBroken = expected;
            result.problem = entry.entryID > expected
                                 ? "it is missing (deleted); the next entry is number " +
                                       std::to_string(entry.entryID)
                                 : "it is not in its place";
            return result;
        }
        if (HashOf(entry, previousHash) != entry.hash) {
            result.intact = false;
            result.firstBroken = entry.entryID;
            result.problem = "its content does not match its hash (changed, or inserted)";
            return result;
        }
        previousHash = entry.hash;
        ++expected;
    }
    return result;
}

std::string Describe(const Verification& verification) {
    if (verification.intact) {
        return "The audit trail is intact (" + std::to_string(verification.entries) +
               (verification.entries == 1 ? " entry)." : " entries).");
    }
    return "The audit trail is broken at entry " + std::to_string(verification.firstBroken) + ": " +
           verification.problem + ".";
}

} // namespace orvan::audit
