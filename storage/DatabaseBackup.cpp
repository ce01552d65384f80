#include "storage/DatabaseBackup.h"

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <map>
#include <set>

#include "core/ErrorNumbers.h"
#include "storage/BackupCopy.h"
#include "storage/CError.h"
#include "storage/DatabaseEngine.h"
#include "storage/ErrorLog.h"
#include "storage/PrivateFiles.h"
#include "storage/ProgramFolder.h"

namespace orvan::backup {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view NamePrefix = "orvan_11-";
constexpr std::string_view NameSuffix = ".mdb";
// "orvan_11-" + "YYYY-MM-DD" + ".mdb"
constexpr size_t NameLength = NamePrefix.size() + 10 + NameSuffix.size();
// The temporary file of a copy: "." + the copy's name + "." + six characters.
constexpr size_t TemporaryLength = 1 + NameLength + 7;

bool AllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

int Number(std::string_view digits) {
    int value = 0;
    for (const char c : digits) {
        value = value * 10 + (c - '0');
    }
    return value;
}

Result Failed(const std::string& path, const std::string& reason) {
    return {Result::Outcome::Failed, path, reason};
}

Result BackUpFor(DateTime day, const std::string& databaseName, int32_t busyTimeout,
                 const std::function<void()>& busyWait) {
    const std::string path = BackupPath(day);
    if (databaseName.empty()) {
        return Failed(path, "no database file is configured");
    }
    const std::string folder = BackupFolder();
    if (!MakePrivateFolder(folder)) {
        const int error = errno;
        return Failed(path,
                      "the folder " + folder + " could not be made (" + SystemReason(error) + ")");
    }
    std::string reason;
    if (!CopyDatabaseFile(databaseName, path, busyTimeout, reason, busyWait)) {
        return Failed(path, reason);
    }
    // A copy that could not remove old ones is still a copy.
    PruneBackups(folder);
    return {Result::Outcome::Made, path, ""};
}

} // namespace

std::string BackupFolder() {
    return ProgramPath("\\backups");
}

std::string BackupFileName(DateTime day) {
    return std::string(NamePrefix) + day.Format("yyyy-mm-dd") + std::string(NameSuffix);
}

std::string BackupPath(DateTime day) {
    return (fs::path(BackupFolder()) / BackupFileName(day)).string();
}

std::optional<DateTime> BackupDayOf(std::string_view fileName) {
    if (fileName.size() != NameLength || fileName.substr(0, NamePrefix.size()) != NamePrefix ||
        fileName.substr(NameLength - NameSuffix.size()) != NameSuffix) {
        return std::nullopt;
    }
    const std::string_view date = fileName.substr(NamePrefix.size(), 10);
    const std::string_view year = date.substr(0, 4);
    const std::string_view month = date.substr(5, 2);
    const std::string_view day = date.substr(8, 2);
    if (date[4] != '-' || date[7] != '-' || !AllDigits(year) || !AllDigits(month) ||
        !AllDigits(day)) {
        return std::nullopt;
    }
    const DateTime value = DateTime::FromParts(Number(year), Number(month), Number(day));
    // Parts out of range roll over; such a name is none of ours.
    if (value.Year() != Number(year) || value.Month() != Number(month) ||
        value.Day() != Number(day)) {
        return std::nullopt;
    }
    return value;
}

Result BackUpNow(const std::string& databaseName, int32_t busyTimeout,
                 const std::function<void()>& busyWait) {
    if (IsServerDatabaseName(databaseName)) {
        return {Result::Outcome::ServerEngine, "", ""};
    }
    return BackUpFor(DateTime::Now(), databaseName, busyTimeout, busyWait);
}

Result BackUpIfDue(const std::string& databaseName, int32_t busyTimeout,
                   const std::function<void()>& busyWait) {
    if (IsServerDatabaseName(databaseName)) {
        return {Result::Outcome::ServerEngine, "", ""};
    }
    const DateTime today = DateTime::Now().DatePart();
    const std::string path = BackupPath(today);
    std::error_code error;
    if (fs::exists(fs::symlink_status(path, error))) {
        return {Result::Outcome::NotDue, path, ""};
    }
    return BackUpFor(today, databaseName, busyTimeout, busyWait);
}

std::vector<std::string> BackupsToRemove(const std::vector<std::string>& names) {
    // Each day has one name, so the days order the copies.
    std::map<double, std::string> copies;
    for (const std::string& name : names) {
        if (const auto day = BackupDayOf(name)) {
            copies.emplace(day->Days(), name);
        }
    }
    std::set<std::string> kept;
    int32_t daily = 0;
    for (auto it = copies.rbegin(); it != copies.rend() && daily < DailyCopiesKept; ++it, ++daily) {
        kept.insert(it->second);
    }
    // The first copy of each month, by year * 12 + month.
    std::map<int, std::string> firstOfMonth;
    for (const auto& [days, name] : copies) {
        const DateTime day = DateTime::FromDays(days);
        firstOfMonth.emplace(day.Year() * 12 + day.Month(), name);
    }
    int32_t monthly = 0;
    for (auto it = firstOfMonth.rbegin(); it != firstOfMonth.rend() && monthly < MonthlyCopiesKept;
         ++it, ++monthly) {
        kept.insert(it->second);
    }
    std::vector<std::string> removed;
    for (const auto& [days, name] : copies) {
        if (kept.count(name) == 0) {
            removed.push_back(name);
        }
    }
    return removed;
}

bool PruneBackups(const std::string& folder) {
    try {
        std::vector<std::string> names;
        std::vector<std::string> leftovers;
        const DateTime today = DateTime::Now().DatePart();
        std::error_code error;
        for (fs::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error)) {
            std::error_code statusError;
            if (!fs::is_regular_file(it->symlink_status(statusError))) {
                continue;
            }
            const std::string name = it->path().filename().string();
            if (BackupDayOf(name)) {
                names.push_back(name);
            } else if (name.size() == TemporaryLength && name[0] == '.' &&
                       name[1 + NameLength] == '.') {
                // An interrupted copy of an earlier day; today's may be
                // running in the other program.
                const auto day = BackupDayOf(std::string_view(name).substr(1, NameLength));
                if (day && *day < today) {
                    leftovers.push_back(name);
                }
            }
        }
        if (error) {
            return false;
        }
        bool all = true;
        std::vector<std::string> removed = BackupsToRemove(names);
        removed.insert(removed.end(), leftovers.begin(), leftovers.end());
        for (const std::string& name : removed) {
            std::error_code removeError;
            all = fs::remove(fs::path(folder) / name, removeError) && all;
        }
        return all;
    } catch (...) {
        return false;
    }
}

std::string FailureLogLine(const Result& result) {
    return ErrorLogLine(CError(
        err::BackupFailed,
        "The database could not be backed up to " + result.path + ": " + result.reason, "Backup"));
}

Result DailyBackup::RunIfDue(const std::string& databaseName, int32_t busyTimeout,
                             const std::function<void()>& busyWait) {
    if (IsServerDatabaseName(databaseName)) {
        return {Result::Outcome::ServerEngine, "", ""};
    }
    const DateTime now = DateTime::Now();
    const DateTime today = now.DatePart();
    if (m_doneDay == today) {
        return {Result::Outcome::NotDue, BackupPath(today), ""};
    }
    if (!m_lastFailure.IsZero() && m_lastFailure.DatePart() == today) {
        const int64_t since = DateTime::DiffMinutes(m_lastFailure, now);
        if (since >= 0 && since < RetryPause) {
            return {Result::Outcome::NotDue, BackupPath(today), ""};
        }
    }
    Result result = BackUpIfDue(databaseName, busyTimeout, busyWait);
    if (result.outcome == Result::Outcome::Failed) {
        m_lastFailure = now;
    } else {
        m_doneDay = today;
        m_lastFailure = DateTime();
    }
    return result;
}

} // namespace orvan::backup
