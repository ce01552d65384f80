#include "storage/BackupCopy.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include <sqlite3.h>

#include "storage/DatabaseBackup.h"
#include "storage/PrivateFiles.h"
#include "storage/ProgramFolder.h"
#include "storage/SqliteHandle.h"

namespace orvan::backup {

namespace fs = std::filesystem;

namespace {

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

} // namespace

std::string SystemReason(int error) {
    return std::strerror(error);
}

TemporaryCopy::TemporaryCopy(const fs::path& target) {
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

TemporaryCopy::~TemporaryCopy() {
    Remove();
}

bool TemporaryCopy::MoveTo(const fs::path& target) {
    if (::rename(m_path.c_str(), target.c_str()) != 0) {
        return false;
    }
    m_path.clear();
    return true;
}

void TemporaryCopy::Remove() {
    if (!m_path.empty()) {
        ::unlink(m_path.c_str());
        ::unlink((m_path + "-journal").c_str());
        m_path.clear();
    }
}

int RunBackup(sqlite3* destination, sqlite3* source, int32_t busyTimeout,
              const std::function<void()>& busyWait, std::string& message) {
    BackupHandle backup(sqlite3_backup_init(destination, "main", source, "main"));
    if (!backup) {
        message = sqlite3_errmsg(destination);
        return sqlite3_errcode(destination);
    }
    const int rc = sqlite::RetryWhileBusy([&] { return sqlite3_backup_step(backup.get(), -1); },
                                          busyTimeout, busyWait);
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

} // namespace orvan::backup
