#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

struct sqlite3;

namespace orvan::backup {

// The machinery behind the database file's copies and their restore: a
// temporary file beside the target, SQLite's online backup between two
// connections, and the copy of an open database into a file put in place
// by rename. Used by DatabaseBackup.cpp and DatabaseRestore.cpp.

// strerror's text for `error`.
std::string SystemReason(int error);

// The copy's temporary file beside its target, removed with the object
// unless it was renamed into place. Made with the private file mode.
class TemporaryCopy {
public:
    explicit TemporaryCopy(const std::filesystem::path& target);
    ~TemporaryCopy();
    TemporaryCopy(const TemporaryCopy&) = delete;
    TemporaryCopy& operator=(const TemporaryCopy&) = delete;

    bool Made() const { return !m_path.empty(); }
    int Error() const { return m_error; }
    const std::string& Path() const { return m_path; }

    // Renames the file to `target`; False with errno set on failure.
    bool MoveTo(const std::filesystem::path& target);

private:
    void Remove();

    std::string m_path;
    int m_error = 0;
};

// The copy itself, between two open connections: the whole file in one step
// under one read lock of the source, tried again while another program
// holds it. SQLITE_DONE, or the code that stopped it, with `message`.
int RunBackup(sqlite3* destination, sqlite3* source, int32_t busyTimeout,
              const std::function<void()>& busyWait, std::string& message);

// Copies the database of the open connection `in` into the file `to`,
// replacing it: the copy goes to a temporary file beside it, is synced and
// renamed into place. False with `reason` when `to` stays as it was.
bool CopyInto(sqlite3* in, const std::filesystem::path& to, int32_t busyTimeout,
              const std::function<void()>& busyWait, std::string& reason);

} // namespace orvan::backup
