#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

namespace orvan::sqlite {

// Owners of SQLite's C handles. A handle belongs to one of these from the
// moment SQLite hands it out, so no path (an early return, an exception in a
// constructor) can leave a statement unfinalized or a connection open; an
// unfinalized statement would keep the file's exclusive lock after the
// connection is "closed".
struct CloseConnection {
    void operator()(sqlite3* db) const noexcept;
};
struct FinalizeStatement {
    void operator()(sqlite3_stmt* statement) const noexcept;
};

using Connection = std::unique_ptr<sqlite3, CloseConnection>;
using Statement = std::unique_ptr<sqlite3_stmt, FinalizeStatement>;

// Opens `path` with SQLite's open flags. The connection is owned even when
// the open fails (SQLite hands one back to read the failure from); `rc`
// receives the result code.
Connection Open(const std::string& path, int flags, int& rc);

// Prepares the one statement of `text`. Whitespace, comments and semicolons
// after it are allowed; a second statement, a text without any statement and
// a failing prepare throw EngineError with the engine's code and message.
Statement PrepareOne(sqlite3* db, const std::string& text);

// Throws EngineError with the connection's last code and message; `rc` is
// used when the connection has none.
[[noreturn]] void Raise(sqlite3* db, int rc);

// The connection's last result code, or `rc` when the connection has none.
int ResultCode(sqlite3* db, int rc);

// Runs `attempt` until it answers something else than SQLITE_BUSY or
// SQLITE_LOCKED or `timeoutMs` has passed, trying again every half
// millisecond: SQLite's own busy timeout sleeps up to 100 ms between tries,
// long enough for a busy writer to take the file back each time. While it
// waits, `busyWait` (when set) is called at once and then about every
// `waitIntervalMs`. Returns the last answer.
int RetryWhileBusy(const std::function<int()>& attempt, int32_t timeoutMs,
                   const std::function<void()>& busyWait = {}, int32_t waitIntervalMs = 25);

} // namespace orvan::sqlite
