// The restore of a database file from one of its copies (orvan-initdb
// --restore), declared in storage/DatabaseBackup.h.
#include "storage/DatabaseBackup.h"

#include <cerrno>
#include <filesystem>
#include <vector>

#include <sqlite3.h>

#include "storage/BackupCopy.h"
#include "storage/PrivateFiles.h"
#include "storage/ProgramFolder.h"
#include "storage/SchemaVersion.h"
#include "storage/SqliteHandle.h"

namespace orvan::backup {

namespace {

namespace fs = std::filesystem;

// Takes the database file for `db` alone, as the programs' opens do: the
// exclusive transaction in the normal locking mode (a failed try gives back
// every lock), then the exclusive locking mode keeps the lock past its end,
// with no transaction left open (a backup into the file needs none).
int TakeExclusively(sqlite3* db, int32_t busyTimeout) {
    int rc = sqlite::RetryWhileBusy(
        [&] { return sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr); },
        busyTimeout);
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

} // namespace

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

} // namespace orvan::backup
