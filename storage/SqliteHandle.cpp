#include "storage/SqliteHandle.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include <sqlite3.h>

#include "core/ErrorNumbers.h"
#include "storage/EngineError.h"

namespace orvan::sqlite {

void CloseConnection::operator()(sqlite3* db) const noexcept {
    sqlite3_close_v2(db);
}

void FinalizeStatement::operator()(sqlite3_stmt* statement) const noexcept {
    sqlite3_finalize(statement);
}

Connection Open(const std::string& path, int flags, int& rc) {
    sqlite3* db = nullptr;
    rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    return Connection(db);
}

int ResultCode(sqlite3* db, int rc) {
    const int code = db != nullptr ? sqlite3_errcode(db) : rc;
    return code == SQLITE_OK ? rc : code;
}

int RetryWhileBusy(const std::function<int()>& attempt, int32_t timeoutMs,
                   const std::function<void()>& busyWait, int32_t waitIntervalMs) {
    using SteadyClock = std::chrono::steady_clock;
    const auto giveUp = SteadyClock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    auto nextWaitCall = SteadyClock::now();
    int rc = attempt();
    while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && SteadyClock::now() < giveUp) {
        if (busyWait && SteadyClock::now() >= nextWaitCall) {
            busyWait();
            nextWaitCall = SteadyClock::now() + std::chrono::milliseconds(waitIntervalMs);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
        rc = attempt();
    }
    return rc;
}

void Raise(sqlite3* db, int rc) {
    const int code = ResultCode(db, rc);
    throw EngineError(code == SQLITE_OK ? SQLITE_ERROR : code,
                      db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
}

Statement PrepareOne(sqlite3* db, const std::string& text) {
    if (db == nullptr) {
        throw EngineError(err::EngineObjectInvalid, "Object invalid or no longer set.");
    }
    const char* begin = text.c_str();
    const char* end = begin + text.size();
    const char* tail = nullptr;
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v2(db, begin, static_cast<int>(text.size()), &raw, &tail);
    Statement statement(raw);
    if (rc != SQLITE_OK) {
        Raise(db, rc);
    }
    if (!statement) {
        throw EngineError(SQLITE_MISUSE, "Empty statement");
    }
    // What follows must hold no statement: SQLite's own parser decides, so
    // comments of either kind and stray semicolons pass and nothing else.
    while (tail != nullptr && tail < end) {
        const char* next = nullptr;
        sqlite3_stmt* extra = nullptr;
        rc = sqlite3_prepare_v2(db, tail, static_cast<int>(end - tail), &extra, &next);
        Statement second(extra);
        if (rc != SQLITE_OK || second) {
            throw EngineError(SQLITE_MISUSE, "Characters found after end of SQL statement.");
        }
        if (next == nullptr || next <= tail) {
            break;
        }
        tail = next;
    }
    return statement;
}

} // namespace orvan::sqlite
