#include "support/FileRelease.h"

#include <sqlite3.h>

#include "storage/SqliteHandle.h"

namespace orvan::test {

::testing::AssertionResult FileIsReleased(const std::string& path) {
    int rc = SQLITE_OK;
    const sqlite::Connection db = sqlite::Open(path, SQLITE_OPEN_READWRITE, rc);
    if (rc != SQLITE_OK) {
        return ::testing::AssertionFailure()
               << "cannot open " << path << ": " << sqlite3_errstr(rc);
    }
    // No busy timeout: a file still held fails at once instead of waiting.
    // Only busy or locked mean another connection has it; a file that is no
    // database at all fails otherwise, after the locks were had.
    rc = sqlite3_exec(db.get(), "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    if ((rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) {
        return ::testing::AssertionFailure()
               << path << " is still held: BEGIN EXCLUSIVE gave " << sqlite3_errmsg(db.get());
    }
    sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
    return ::testing::AssertionSuccess();
}

} // namespace orvan::test
