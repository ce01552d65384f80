#include "storage/DatabaseBackup.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <thread>

#include <sqlite3.h>

#include "core/ErrorNumbers.h"
#include "storage/CError.h"
#include "storage/DatabaseEngine.h"
#include "storage/ErrorLog.h"
#include "storage/PrivateFiles.h"
#include "storage/ProgramFolder.h"
#include "storage/SchemaVersion.h"
#include "storage/SqliteHandle.h"

namespace orvan::backup {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view NamePrefix = "orvan_11-";
constexpr std::string_view NameSuffix = ".mdb";
// "orvan_11-" + "YYYY-MM-DD" + ".mdb"
constexpr size_t NameLength = NamePrefix.size() + 10 + NameSuffix.size();
// The temporary file of a copy: "." + the copy's name + "." + six characters.
constexpr size_t TemporaryLength = 1 + NameLength + 7;

std::string SystemReason(int error) {
    return std::strerror(error);
}

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

struct BackupFinish {
    void operator()(sqlite3_backup* backup) const noexcept { sqlite3_backup_finish(backup); }
};
using BackupHandle = std::unique_ptr<sqlite3_backup, BackupFinish>;

void SyncPath(const std::string& path, int flags) {
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// The copy's temporary file beside its target, removed with the object
// unless it was renamed into place.
class TemporaryCopy {
public:
    explicit TemporaryCopy(const fs::path& target) {
        const fs::path folder = target.parent_path();
        std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
        const int fd = ::mkostemp(pattern.data(), O_CLOEXEC);
        if (fd < 0) {
            m_error = errno;
            return;
        }
        // mkostemp makes the file for its owner alone; the group shares the
        // installation.
        const bool moded = ::fchmod(fd, PrivateFileMode) == 0;
        m_error = moded ? 0 : errno;
        ::close(fd);
        m_path = pattern;
        if (!moded) {
            Remove();
        }
    }
    ~TemporaryCopy() { Remove(); }
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    bool Made() const { return !m_path.empty(); }
    int Error() const { return m_error; }
    const std::string& Path() const { return m_path; }

    // Renames the file to `target`; False with errno set on failure.
    bool MoveTo(const fs::path& target) {
        if (::rename(m_path.c_str(), target.c_str()) != 0) {
            return false;
        }
        m_path.clear();
        return true;
    }

private:
    void Remove() {
        if (!m_path.empty()) {
            ::unlink(m_path.c_str());
            ::unlink((m_path + "-journal").c_str());
            m_path.clear();
        }
    }

    std::string m_path;
    int m_error = 0;
};

// The copy itself, between two open connections: the whole file in one step
// under one read lock of the source, tried again while another program
// holds it. SQLITE_DONE, or the code that stopped it.
int RunBackup(sqlite3* destination, sqlite3* source, int32_t busyTimeout,
              const std::function<void()>& busyWait, std::string& message) {
    BackupHandle backup(sqlite3_backup_init(destination, "main", source, "main"));
    if (!backup) {
        message = sqlite3_errmsg(destination);
        return sqlite3_errcode(destination);
    }
    using SteadyClock = std::chrono::steady_clock;
    const auto giveUp = SteadyClock::now() + std::chrono::milliseconds(std::max(busyTimeout, 0));
    auto nextWaitCall = SteadyClock::now();
    int rc = sqlite3_backup_step(backup.get(), -1);
    while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && SteadyClock::now() < giveUp) {
        if (busyWait && SteadyClock::now() >= nextWaitCall) {
            busyWait();
            nextWaitCall = SteadyClock::now() + std::chrono::milliseconds(25);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
        rc = sqlite3_backup_step(backup.get(), -1);
    }
    const int finished = sqlite3_backup_finish(backup.release());
    if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
        message = "another program held the database file for the whole busy timeout (" +
                  std::to_string(busyTimeout) + " ms)";
        return rc;
    }
    if (rc != SQLITE_DONE || finished != SQLITE_OK) {
        message = sqlite3_errmsg(destination);
        return rc != SQLITE_DONE ? rc : finished;
    }
    return SQLITE_DONE;
}

// Copies the database of the open connection `in` into the file `to`,
// replacing it: the copy goes to a temporary file beside it, is synced and
// renamed into place. False with `reason` when `to` stays as it was.
bool CopyInto(sqlite3* in, const fs::path& to, int32_t busyTimeout,
              const std::function<void()>& busyWait, std::string& reason) {
    TemporaryCopy copy(to);
    if (!copy.Made()) {
        reason = "no file could be written in " + to.parent_path().string() + " (" +
                 SystemReason(copy.Error()) + ")";
        return false;
    }
    {
        int rc = SQLITE_OK;
        const sqlite::Connection out =
            sqlite::Open(copy.Path(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, rc);
        if (rc != SQLITE_OK) {
            reason = "the copy could not be started (" +
                     std::string(out ? sqlite3_errmsg(out.get()) : sqlite3_errstr(rc)) + ")";
            return false;
        }
        // The temporary file is thrown away on any failure, so it needs no
        // journal of its own.
        sqlite3_exec(out.get(), "PRAGMA journal_mode=OFF", nullptr, nullptr, nullptr);
        std::string message;
        if (RunBackup(out.get(), in, busyTimeout, busyWait, message) != SQLITE_DONE) {
            reason = message;
            return false;
        }
    }
    SyncPath(copy.Path(), O_RDONLY);
    if (!copy.MoveTo(to)) {
        const int failure = errno;
        reason = "the copy could not be put in place (" + SystemReason(failure) + ")";
        return false;
    }
    SyncPath(to.parent_path().empty() ? std::string(".") : to.parent_path().string(),
             O_RDONLY | O_DIRECTORY);
    return true;
}

// Takes the database file for `db` alone, as the programs' opens do: the
// exclusive transaction in the normal locking mode (a failed try gives back
// every lock), then the exclusive locking mode keeps the lock past its end,
// with no transaction left open (a backup into the file needs none).
int TakeExclusively(sqlite3* db, int32_t busyTimeout) {
    using SteadyClock = std::chrono::steady_clock;
    const auto giveUp = SteadyClock::now() + std::chrono::milliseconds(std::max(busyTimeout, 0));
    int rc = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && SteadyClock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::microseconds(500));
        rc = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        // A file that is not a database fails its first read here.
        rc = sqlite3_exec(db, "SELECT count(*) FROM sqlite_schema", nullptr, nullptr, nullptr);
        if (rc == SQLITE_OK) {
            rc = sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; COMMIT;", nullptr, nullptr,
                              nullptr);
        }
        if (rc != SQLITE_OK) {
            sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        }
    }
    return rc;
}

// `path` + ".replaced-YYYYMMDD-HHMMSS" for `now`, with "-2", "-3"... after
// it when such a file is there already.
std::string ReplacedName(const std::string& path, DateTime now) {
    const std::string base =
        path + ".replaced-" + now.Format("yyyymmdd") + "-" + now.Format("hhnnss");
    std::string name = base;
    std::error_code error;
    for (int n = 2; fs::exists(fs::symlink_status(name, error)); ++n) {
        name = base + "-" + std::to_string(n);
    }
    return name;
}

// Copies the bytes of `path`, a file no program can use (so they do not
// change meanwhile), to `keptPath` with the private file mode.
bool KeepBytes(const std::string& path, const std::string& keptPath, std::string& reason) {
    TemporaryCopy kept{fs::path(keptPath)};
    std::error_code error;
    if (!kept.Made()) {
        error = std::error_code(kept.Error(), std::generic_category());
    } else {
        fs::copy_file(path, kept.Path(), fs::copy_options::overwrite_existing, error);
    }
    if (!error) {
        fs::permissions(kept.Path(), static_cast<fs::perms>(PrivateFileMode), error);
    }
    if (!error && !kept.MoveTo(keptPath)) {
        error = std::error_code(errno, std::generic_category());
    }
    if (error) {
        reason = "the database file as it was could not be kept as " + keptPath + " (" +
                 error.message() + ")";
        return false;
    }
    return true;
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

bool CopyDatabaseFile(const std::string& source, const std::string& target, int32_t busyTimeout,
                      std::string& reason, const std::function<void()>& busyWait) {
    try {
        const std::string from = NativePath(source);
        std::error_code error;
        if (!fs::is_regular_file(from, error)) {
            reason = "there is no database file " + from;
            return false;
        }
        // Read and write, never create: a file left with a hot journal by a
        // program that stopped mid-write is rolled back first, as any open
        // of it does.
        int rc = SQLITE_OK;
        const sqlite::Connection in =
            sqlite::Open(from, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, rc);
        if (rc != SQLITE_OK) {
            reason = "the database file " + from + " could not be opened (" +
                     (in ? sqlite3_errmsg(in.get()) : sqlite3_errstr(rc)) + ")";
            return false;
        }
        return CopyInto(in.get(), fs::path(target), busyTimeout, busyWait, reason);
    } catch (const std::exception& e) {
        reason = e.what();
        return false;
    } catch (...) {
        reason = "unexpected failure";
        return false;
    }
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

bool CheckBackupFile(const std::string& path, std::string& reason) {
    try {
        std::error_code error;
        if (!fs::is_regular_file(path, error)) {
            reason = "there is no file " + path;
            return false;
        }
        int rc = SQLITE_OK;
        const sqlite::Connection db =
            sqlite::Open(path, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, rc);
        if (rc != SQLITE_OK) {
            reason = path + " could not be opened (" +
                     (db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(rc)) + ")";
            return false;
        }
        const auto query = [&](const char* sql) {
            std::vector<std::string> rows;
            const sqlite::Statement statement = sqlite::PrepareOne(db.get(), sql);
            int step = SQLITE_ROW;
            while ((step = sqlite3_step(statement.get())) == SQLITE_ROW) {
                const auto* text = sqlite3_column_text(statement.get(), 0);
                rows.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "");
            }
            if (step != SQLITE_DONE) {
                sqlite::Raise(db.get(), step);
            }
            return rows;
        };
        const std::vector<std::string> check = query("PRAGMA integrity_check");
        if (check != std::vector<std::string>{"ok"}) {
            reason = path + " is damaged (" + (check.empty() ? "no answer" : check.front()) + ")";
            return false;
        }
        const std::vector<std::string> tables =
            query("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name IN "
                  "('TimeRecord', '_System', 'Employee', '_StoredQuery', 'Company')");
        if (tables != std::vector<std::string>{"5"}) {
            reason = path + " is not an Orvan database (its tables are missing)";
            return false;
        }
        const std::vector<std::string> version = query("PRAGMA user_version");
        if (version.empty() || std::stoll(version.front()) > kSchemaVersion) {
            reason = path + " was made by a newer version of Orvan";
            return false;
        }
        return true;
    } catch (const std::exception& e) {
        reason = path + " could not be read (" + e.what() + ")";
        return false;
    }
}

bool RestoreDatabase(const std::string& backupFile, const std::string& databaseFile,
                     int32_t busyTimeout, DateTime now, std::string& replacedPath,
                     std::string& reason) {
    try {
        replacedPath.clear();
        if (!CheckBackupFile(backupFile, reason)) {
            return false;
        }
        const std::string target = NativePath(databaseFile);
        std::error_code error;
        const bool existed = fs::exists(fs::symlink_status(target, error));
        if (existed && fs::equivalent(backupFile, target, error)) {
            reason = backupFile + " is the database file itself";
            return false;
        }
        if (!existed && !CreatePrivateFile(target)) {
            const int failure = errno;
            reason = "the database file " + target + " could not be made (" +
                     SystemReason(failure) + ")";
            return false;
        }
        int rc = SQLITE_OK;
        sqlite::Connection db =
            sqlite::Open(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, rc);
        if (rc == SQLITE_OK) {
            rc = TakeExclusively(db.get(), busyTimeout);
        }
        if (rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT) {
            // No program can work with a file that is not a database: the
            // copy simply takes its place.
            db.reset();
            replacedPath = ReplacedName(target, now);
            if (!KeepBytes(target, replacedPath, reason)) {
                replacedPath.clear();
                return false;
            }
            return CopyDatabaseFile(backupFile, target, busyTimeout, reason);
        }
        if (rc != SQLITE_OK) {
            reason = rc == SQLITE_BUSY || rc == SQLITE_LOCKED
                         ? "a program is using the database file " + target +
                               "; close the clock station and the manager's program, then try "
                               "again"
                         : "the database file " + target + " could not be opened (" +
                               (db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(rc)) + ")";
            db.reset();
            if (!existed) {
                fs::remove(target, error);
            }
            return false;
        }
        if (existed) {
            // Through the connection that holds the file: opening and
            // closing the file any other way would drop this process's locks
            // on it (POSIX record locks belong to the process, not the
            // descriptor).
            replacedPath = ReplacedName(target, now);
            if (!CopyInto(db.get(), fs::path(replacedPath), 0, {}, reason)) {
                reason = "the database file as it was could not be kept as " + replacedPath + " (" +
                         reason + "); nothing was changed";
                replacedPath.clear();
                return false;
            }
        }
        const sqlite::Connection in =
            sqlite::Open(backupFile, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX, rc);
        std::string message;
        if (rc != SQLITE_OK ||
            RunBackup(db.get(), in.get(), busyTimeout, {}, message) != SQLITE_DONE) {
            reason = "the copy could not be written into " + target + " (" +
                     (rc != SQLITE_OK ? std::string(sqlite3_errstr(rc)) : message) +
                     "); the database file is as it was";
            return false;
        }
        db.reset();
        TakeWorldAccess(target);
        return true;
    } catch (const std::exception& e) {
        reason = e.what();
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
