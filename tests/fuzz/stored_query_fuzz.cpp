// Fuzzes stored queries: the input is stored as the text of a query in a
// database made from the project's schema, then read, prepared and run as the
// programs run their stored queries. Whatever the text, the connection must
// close cleanly afterwards: no statement may be left unfinalized, whether the
// query ran, failed or was refused while being read.

#include <sqlite3.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/DateTime.h"
#include "storage/EngineError.h"
#include "storage/Installer.h"
#include "storage/Recordset.h"
#include "storage/SqliteEngine.h"
#include "storage/StoredQuery.h"

namespace {

constexpr const char* kQueryName = "FuzzedQuery";
// Virtual machine steps a query may take before it is interrupted, so that
// an endless recursive query ends as an ordinary failure.
constexpr int kStepBudget = 100000;
constexpr int kStepsPerCallback = 100;

[[noreturn]] void Fail(const char* what, sqlite3* db) {
    std::fprintf(stderr, "stored_query_fuzz: %s: %s\n", what,
                 db != nullptr ? sqlite3_errmsg(db) : "no connection");
    std::abort();
}

// A database with the schema and the stored queries of a new installation,
// made once and copied for every input.
sqlite3* Template() {
    static sqlite3* db = [] {
        sqlite3* made = nullptr;
        if (sqlite3_open(":memory:", &made) != SQLITE_OK) {
            Fail("cannot open the template database", made);
        }
        if (sqlite3_exec(made, orvan::Installer::SchemaSql(), nullptr, nullptr, nullptr) !=
            SQLITE_OK) {
            Fail("the schema does not load", made);
        }
        return made;
    }();
    return db;
}

int InterruptWhenSpent(void* budget) {
    int& left = *static_cast<int*>(budget);
    left -= kStepsPerCallback;
    return left <= 0 ? 1 : 0;
}

// Queries may read and write the copy as they like, but no file is attached
// and no value grows past a modest size.
int DenyAttach(void* /*unused*/, int action, const char*, const char*, const char*, const char*) {
    return action == SQLITE_ATTACH || action == SQLITE_DETACH ? SQLITE_DENY : SQLITE_OK;
}

sqlite3* OpenCopy(int& budget) {
    sqlite3* db = nullptr;
    if (sqlite3_open(":memory:", &db) != SQLITE_OK) {
        Fail("cannot open a database", db);
    }
    sqlite3_backup* backup = sqlite3_backup_init(db, "main", Template(), "main");
    if (backup == nullptr || sqlite3_backup_step(backup, -1) != SQLITE_DONE ||
        sqlite3_backup_finish(backup) != SQLITE_OK) {
        Fail("cannot copy the template database", db);
    }
    sqlite3_limit(db, SQLITE_LIMIT_ATTACHED, 0);
    sqlite3_limit(db, SQLITE_LIMIT_LENGTH, 100000);
    sqlite3_set_authorizer(db, DenyAttach, nullptr);
    sqlite3_progress_handler(db, kStepsPerCallback, InterruptWhenSpent, &budget);
    return db;
}

void StoreQuery(sqlite3* db, const uint8_t* data, size_t size) {
    sqlite3_stmt* insert = nullptr;
    if (sqlite3_prepare_v2(db, "INSERT INTO _StoredQuery (Name, Sql) VALUES (?1, ?2)", -1, &insert,
                           nullptr) != SQLITE_OK) {
        Fail("cannot prepare the insert", db);
    }
    sqlite3_bind_text(insert, 1, kQueryName, -1, SQLITE_STATIC);
    sqlite3_bind_text(insert, 2, size > 0 ? reinterpret_cast<const char*>(data) : "",
                      static_cast<int>(size), SQLITE_TRANSIENT);
    const int rc = sqlite3_step(insert);
    sqlite3_finalize(insert);
    if (rc != SQLITE_DONE) {
        Fail("cannot store the query", db);
    }
}

void RunQuery(sqlite3* db) {
    try {
        const auto stored = orvan::SqliteEngine::StoredQueryOn(db, kQueryName);
        orvan::StoredQuery& query = *stored;
        // Values for parameters the text may declare; a name it does not
        // declare, or declares with another type, is refused.
        const auto bindQuietly = [](auto&& bind) {
            try {
                bind();
            } catch (const orvan::EngineError&) {
            }
        };
        bindQuietly([&] { query.SetText("p", "text"); });
        bindQuietly([&] { query.SetLong("p", 1007); });
        bindQuietly([&] { query.SetShort("s", 30); });
        bindQuietly([&] { query.SetSingle("f", 12.5F); });
        bindQuietly([&] { query.SetDate("d", orvan::DateTime::FromParts(2003, 1, 15, 8)); });
        bindQuietly([&] { query.SetYesNo("b", true); });
        try {
            const auto rows = query.OpenSnapshot();
            (void)rows->RecordCount();
        } catch (const orvan::EngineError&) {
        }
        query.Execute();
    } catch (const orvan::EngineError&) {
        // Refused or failed: an ordinary outcome for a text that is no query.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    int budget = kStepBudget * 100;
    sqlite3* db = OpenCopy(budget);
    StoreQuery(db, data, size);
    budget = kStepBudget;
    RunQuery(db);
    if (sqlite3_close(db) != SQLITE_OK) {
        Fail("the connection does not close (a statement was left unfinalized)", db);
    }
    return 0;
}
