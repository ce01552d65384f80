#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/DateTime.h"

namespace orvan::backup {

// Copies of the database file kept under <program folder>/backups, one a
// day, named orvan_11-YYYY-MM-DD.mdb after the day they were made (the
// program clock's day, DateTime::Now). Each copy is taken with SQLite's
// online backup API under one read lock of the file, so it is a consistent
// database even while the other program writes; it is written under a
// temporary name in the same folder and renamed into place, with the
// private modes (storage/PrivateFiles.h).
//
// Retention: the 30 newest copies stay (the daily ones), and so does the
// first copy of each of the 12 newest months that have copies (the
// monthly ones: the copy with the earliest day of its month); every other
// file whose name has the copies' form is removed. Nothing else in the
// folder is touched.
//
// A database on a server (IsServerDatabaseName) is never copied: the
// server's own tools (pg_dump, pg_restore) keep its backups.
//
// Nothing here throws.

inline constexpr int32_t DailyCopiesKept = 30;
inline constexpr int32_t MonthlyCopiesKept = 12;

// <program folder>/backups, in the platform's form.
std::string BackupFolder();
// "orvan_11-2026-12-10.mdb" for any moment of 10 December 2026.
std::string BackupFileName(DateTime day);
// BackupFolder() / BackupFileName(day).
std::string BackupPath(DateTime day);
// The day a copy's file name stands for; nothing for any other name (also
// one of a day that does not exist, orvan_11-2026-02-30.mdb).
std::optional<DateTime> BackupDayOf(std::string_view fileName);

// Copies the database file `source` into `target`, replacing it, as
// described above. While another program holds the file, the copy tries
// again until `busyTimeout` milliseconds have passed, calling `busyWait`
// (when given) between tries. False with `reason` (a sentence for a person)
// when no copy was made; `target` then stays as it was.
bool CopyDatabaseFile(const std::string& source, const std::string& target, int32_t busyTimeout,
                      std::string& reason, const std::function<void()>& busyWait = {});

// What a backup came to.
struct Result {
    enum class Outcome {
        // A copy was made at `path`.
        Made,
        // Nothing was done: today's copy is there already (`path`), or the
        // station waits out its pause after a failure.
        NotDue,
        // The database is on a server: no file copies at all.
        ServerEngine,
        // No copy was made; `reason` says why.
        Failed,
    };
    Outcome outcome = Outcome::Failed;
    std::string path;
    std::string reason;
};

// Makes today's copy of the database `databaseName` now, replacing one made
// earlier today, then applies the retention.
Result BackUpNow(const std::string& databaseName, int32_t busyTimeout,
                 const std::function<void()>& busyWait = {});
// The same when today has no copy yet; NotDue otherwise.
Result BackUpIfDue(const std::string& databaseName, int32_t busyTimeout,
                   const std::function<void()>& busyWait = {});

// Of the copies' file names `names` (other names are passed over), those
// the retention removes, oldest first.
std::vector<std::string> BackupsToRemove(const std::vector<std::string>& names);
// Removes them from `folder`, together with temporary files an interrupted
// copy of an earlier day left behind. True when every removal succeeded.
bool PruneBackups(const std::string& folder);

// The error log's line for a failed backup: "Error: 521 : The database
// could not be backed up to <path>: <reason>".
std::string FailureLogLine(const Result& result);

// Whether `path` is a database the programs can take as theirs: it passes
// SQLite's integrity check and holds the Orvan tables, of a schema version
// this code reads (older ones are upgraded when first opened). False with
// `reason` otherwise.
bool CheckBackupFile(const std::string& path, std::string& reason);

// Puts the copy `backupFile` (CheckBackupFile) back as the database file
// `databaseFile`. The file is taken exclusively first, waiting up to
// `busyTimeout` milliseconds as the programs do; while a program holds it
// the restore is refused and nothing changes. The file's content as it was
// is kept beside it, as <databaseFile>.replaced-YYYYMMDD-HHMMSS (the time
// `now`), named in `replacedPath`; then the copy is written into the file
// itself under that same lock, through SQLite's journal, so a program
// waiting for the file meanwhile finds the restored database and an
// interruption leaves the old one. A missing database file is made anew
// (nothing to keep: `replacedPath` stays empty). Both files keep the
// private modes. False with `reason` on failure.
bool RestoreDatabase(const std::string& backupFile, const std::string& databaseFile,
                     int32_t busyTimeout, DateTime now, std::string& replacedPath,
                     std::string& reason);

// The station's rule: at its first action of a day that has no copy yet,
// a copy is made. Remembers the day whose copy is known to exist, so later
// actions that day look at nothing; after a failure the next try waits
// RetryPause minutes, so a folder that keeps failing neither slows every
// action nor fills the log.
class DailyBackup {
public:
    static constexpr int32_t RetryPause = 60;

    // Makes today's copy when it is due (see above).
    Result RunIfDue(const std::string& databaseName, int32_t busyTimeout,
                    const std::function<void()>& busyWait = {});

private:
    DateTime m_doneDay;
    DateTime m_lastFailure;
};

} // namespace orvan::backup
