#include "storage/SqliteEngine.h"

#include <iterator>
#include <vector>

#include <sqlite3.h>

#include "core/ErrorNumbers.h"
#include "storage/EngineError.h"
#include "storage/JetDialect.h"
#include "storage/ProgramFolder.h"
#include "storage/Recordset.h"
#include "storage/StoredQuery.h"
#include "storage/SchemaVersion.h"

namespace orvan {

// The upgrade texts, compiled in from storage/orvan_upgrade_*.sql.
extern const char kUpgrade1Sql[];
extern const char kUpgrade2Sql[];
extern const char kUpgrade3Sql[];
extern const char kUpgrade4Sql[];

namespace {

int Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

// One query's single whole number; throws EngineError when it fails.
int64_t QueryInteger(sqlite3* db, const char* sql) {
    const sqlite::Statement query = sqlite::PrepareOne(db, sql);
    const int rc = sqlite3_step(query.get());
    if (rc != SQLITE_ROW) {
        sqlite::Raise(db, rc);
    }
    return sqlite3_column_int64(query.get(), 0);
}

// A stored query's statement on an SQLite connection, its parameters bound
// by their :name.
class SqliteStatement final : public EngineStatement {
public:
    SqliteStatement(sqlite3* db, sqlite::Statement statement)
        : m_db(db), m_statement(std::move(statement)) {}

    void Bind(const std::string& name, QueryParamType /*type*/,
              const Recordset::Value& value) override {
        const int index = sqlite3_bind_parameter_index(m_statement.get(), (":" + name).c_str());
        if (index <= 0) {
            return;
        }
        sqlite3_stmt* s = m_statement.get();
        if (const auto* text = std::get_if<std::string>(&value)) {
            sqlite3_bind_text(s, index, text->data(), static_cast<int>(text->size()),
                              SQLITE_TRANSIENT);
        } else if (const auto* whole = std::get_if<int64_t>(&value)) {
            sqlite3_bind_int64(s, index, *whole);
        } else if (const auto* number = std::get_if<double>(&value)) {
            sqlite3_bind_double(s, index, *number);
        } else {
            sqlite3_bind_null(s, index);
        }
    }

    void Execute() override {
        const int rc = sqlite3_step(m_statement.get());
        if (rc == SQLITE_ROW) {
            sqlite3_reset(m_statement.get());
            throw EngineError(err::EngineDataTypeMismatch, "Cannot execute a select query.");
        }
        if (rc != SQLITE_DONE) {
            sqlite3_reset(m_statement.get());
            const int code = sqlite3_errcode(m_db);
            throw EngineError(code == SQLITE_OK ? SQLITE_ERROR : code, sqlite3_errmsg(m_db));
        }
        sqlite3_reset(m_statement.get());
    }

    std::shared_ptr<Recordset> Snapshot() override {
        return SqliteEngine::Snapshot(m_db, m_statement.get());
    }

private:
    sqlite3* m_db;
    sqlite::Statement m_statement;
};

} // namespace

SqliteEngine::SqliteEngine() = default;

// The connection closes with the engine: the file lock never outlives it.
SqliteEngine::~SqliteEngine() = default;

void SqliteEngine::Open(const std::string& name, const OpenOptions& options) {
    m_gaveUpBusy = false;
    m_unitTransaction = false;
    // A connection still open holds the lock a new one would wait for.
    m_connection.reset();
    int rc = SQLITE_OK;
    // One thread uses a connection, so SQLite need not lock it on every call
    // (reading a snapshot makes several calls per value).
    sqlite::Connection db =
        sqlite::Open(NativePath(name), SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, rc);
    if (rc != SQLITE_OK) {
        const int code = sqlite::ResultCode(db.get(), rc);
        throw EngineError(code, db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(rc));
    }
    // Take the file for this connection alone until it closes. The exclusive
    // transaction is taken in the normal locking mode, where a failed try
    // gives back every lock; only then does exclusive locking mode keep the
    // lock past the end of the transaction. (Asked for first, exclusive mode
    // would keep the shared lock of a failed try, and two programs waiting
    // for each other would hold each other up until their timeouts ran out.)
    // While the other program holds the file, try again until the busy
    // timeout has passed.
    rc = sqlite::RetryWhileBusy([&] { return Exec(db.get(), "BEGIN EXCLUSIVE"); },
                                options.busyTimeout, options.busyWait, options.busyWaitInterval);
    m_gaveUpBusy = rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
    // Check the file inside the transaction and before anything can be
    // written: an empty file reads as an empty database (not ours either),
    // and committing would turn it into one.
    if (rc == SQLITE_OK) {
        rc = IsOrvanSchemaPresent(db.get());
    }
    // An older file gets the tables added since it was made, in this same
    // transaction: it is upgraded whole or stays exactly as it was.
    bool upgraded = false;
    if (rc == SQLITE_OK) {
        rc = UpgradeSchema(db.get(), upgraded);
    }
    // A unit keeps this exclusive transaction as its own: the file stays
    // held to the unit's end, and its commit ends the journal as any commit
    // does (in exclusive locking mode the journal would be kept and zeroed
    // instead, one more sync to disk). An upgrade is committed first, so a
    // unit that ends rolled back does not take it back.
    if (rc == SQLITE_OK && (!options.oneUnit || upgraded)) {
        rc = Exec(db.get(), "PRAGMA locking_mode=EXCLUSIVE; COMMIT;");
        if (rc == SQLITE_OK && options.oneUnit) {
            rc = Exec(db.get(), "BEGIN");
        }
    }
    if (rc != SQLITE_OK) {
        const int code = rc == SQLITE_NOTADB ? SQLITE_NOTADB : sqlite::ResultCode(db.get(), rc);
        const std::string message =
            rc == SQLITE_NOTADB ? sqlite3_errstr(rc) : sqlite3_errmsg(db.get());
        Exec(db.get(), "ROLLBACK");
        throw EngineError(code, message);
    }
    m_connection = std::move(db);
    m_unitTransaction = options.oneUnit;
}

void SqliteEngine::Commit() {
    if (m_unitTransaction) {
        m_unitTransaction = false;
        sqlite3* db = m_connection.get();
        const bool open = db != nullptr && sqlite3_get_autocommit(db) == 0;
        const int rc = open ? Exec(db, "COMMIT") : SQLITE_ABORT;
        if (rc != SQLITE_OK) {
            const int code = db != nullptr ? sqlite::ResultCode(db, rc) : rc;
            const std::string message = open ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
            // Closing the connection rolls back whatever is left of the unit.
            m_connection.reset();
            throw EngineError(code == SQLITE_OK ? SQLITE_ABORT : code, message);
        }
    }
    m_connection.reset();
}

void SqliteEngine::Rollback() noexcept {
    sqlite3* db = m_connection.get();
    if (m_unitTransaction && db != nullptr && sqlite3_get_autocommit(db) == 0) {
        Exec(db, "ROLLBACK");
    }
    m_unitTransaction = false;
    m_connection.reset();
}

void SqliteEngine::CheckUnitTransaction() const {
    if (m_unitTransaction && sqlite3_get_autocommit(m_connection.get()) != 0) {
        throw EngineError(SQLITE_ABORT, "The unit's transaction was rolled back.");
    }
}

int SqliteEngine::IsOrvanSchemaPresent(sqlite3* db) {
    try {
        sqlite::Statement check = sqlite::PrepareOne(db, "SELECT count(*) FROM sqlite_schema");
        const int rc = sqlite3_step(check.get());
        if (rc != SQLITE_ROW) {
            return rc;
        }
        return sqlite3_column_int(check.get(), 0) > 0 ? SQLITE_OK : SQLITE_NOTADB;
    } catch (const EngineError& e) {
        return e.Number();
    }
}

int SqliteEngine::UpgradeSchema(sqlite3* db, bool& upgraded) {
    // The upgrade that brings a file from version `to` - 1 to version `to`.
    struct Upgrade {
        int32_t to;
        const char* sql;
    };
    static constexpr Upgrade upgrades[] = {
        {1, kUpgrade1Sql}, {2, kUpgrade2Sql}, {3, kUpgrade3Sql}, {4, kUpgrade4Sql}};
    static_assert(std::end(upgrades)[-1].to == kSchemaVersion,
                  "the newest upgrade brings a file to the schema version the code reads");
    try {
        // Every open asks: a current file answers from the header alone.
        const int64_t version = QueryInteger(db, "PRAGMA user_version");
        if (version >= std::end(upgrades)[-1].to) {
            return SQLITE_OK;
        }
        const int64_t ourTables =
            QueryInteger(db, "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND "
                             "name IN ('TimeRecord', '_System', 'Employee', '_StoredQuery')");
        if (ourTables < 4) {
            return SQLITE_OK;
        }
        for (const Upgrade& upgrade : upgrades) {
            if (version < upgrade.to) {
                const int rc = Exec(db, upgrade.sql);
                if (rc != SQLITE_OK) {
                    return rc;
                }
                upgraded = true;
            }
        }
        return SQLITE_OK;
    } catch (const EngineError& e) {
        return e.Number();
    }
}

std::shared_ptr<Recordset> SqliteEngine::Select(const std::string& jetStatement) {
    const sqlite::Statement statement =
        sqlite::PrepareOne(m_connection.get(), TranslateJetStatement(jetStatement));
    if (sqlite3_stmt_readonly(statement.get()) == 0) {
        throw EngineError(SQLITE_MISUSE, "A snapshot can only be taken of a query.");
    }
    return Snapshot(m_connection.get(), statement.get());
}

void SqliteEngine::Action(const std::string& jetStatement) {
    CheckUnitTransaction();
    sqlite3* db = m_connection.get();
    const sqlite::Statement statement = sqlite::PrepareOne(db, TranslateJetStatement(jetStatement));
    const int rc = sqlite3_step(statement.get());
    if (rc == SQLITE_ROW) {
        throw EngineError(SQLITE_MISUSE, "Cannot execute a select query.");
    }
    if (rc != SQLITE_DONE) {
        sqlite::Raise(db, rc);
    }
}

std::string SqliteEngine::StoredQueryText(const std::string& name) {
    return StoredQueryTextOn(m_connection.get(), name);
}

std::unique_ptr<EngineStatement> SqliteEngine::Prepare(const std::string& statement) {
    CheckUnitTransaction();
    return PrepareOn(m_connection.get(), statement);
}

std::string SqliteEngine::StoredQueryTextOn(sqlite3* db, const std::string& name) {
    if (db == nullptr) {
        throw EngineError(err::EngineObjectInvalid, "Object invalid or no longer set.");
    }
    std::string text;
    sqlite::Statement lookup =
        sqlite::PrepareOne(db, "SELECT Sql FROM _StoredQuery WHERE Name = ?1");
    sqlite3_bind_text(lookup.get(), 1, name.c_str(), static_cast<int>(name.size()),
                      SQLITE_TRANSIENT);
    const int rc = sqlite3_step(lookup.get());
    if (rc == SQLITE_ROW && sqlite3_column_type(lookup.get(), 0) == SQLITE_TEXT) {
        text = reinterpret_cast<const char*>(sqlite3_column_text(lookup.get(), 0));
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        sqlite::Raise(db, rc);
    }
    if (text.empty()) {
        throw EngineError(err::EngineQueryNotFound, "Item not found in this collection: " + name);
    }
    return text;
}

std::unique_ptr<EngineStatement> SqliteEngine::PrepareOn(sqlite3* db,
                                                         const std::string& statement) {
    // The statement is owned as soon as it is prepared: should anything
    // throw later, it is finalized and the connection can really close.
    return std::make_unique<SqliteStatement>(db, sqlite::PrepareOne(db, statement));
}

std::unique_ptr<StoredQuery> SqliteEngine::StoredQueryOn(sqlite3* db, const std::string& name) {
    return std::make_unique<StoredQuery>(
        name, StoredQueryTextOn(db, name),
        [db](const std::string& statement) { return PrepareOn(db, statement); });
}

std::shared_ptr<Recordset> SqliteEngine::Snapshot(sqlite3* db, sqlite3_stmt* statement) {
    const int columns = sqlite3_column_count(statement);
    std::vector<std::string> names;
    names.reserve(static_cast<size_t>(columns));
    for (int c = 0; c < columns; ++c) {
        const char* name = sqlite3_column_name(statement, c);
        names.emplace_back(name != nullptr ? name : "");
    }
    std::vector<Recordset::Value> values;
    values.reserve(static_cast<size_t>(columns) * 64);
    for (;;) {
        const int rc = sqlite3_step(statement);
        if (rc == SQLITE_DONE) {
            break;
        }
        if (rc != SQLITE_ROW) {
            const int code = sqlite3_errcode(db);
            std::string message = sqlite3_errmsg(db);
            sqlite3_reset(statement);
            throw EngineError(code == SQLITE_OK ? SQLITE_ERROR : code, message);
        }
        for (int c = 0; c < columns; ++c) {
            switch (sqlite3_column_type(statement, c)) {
            case SQLITE_INTEGER:
                values.emplace_back(static_cast<int64_t>(sqlite3_column_int64(statement, c)));
                break;
            case SQLITE_FLOAT:
                values.emplace_back(sqlite3_column_double(statement, c));
                break;
            case SQLITE_NULL:
                values.emplace_back(std::monostate{});
                break;
            default: {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(statement, c));
                const int bytes = sqlite3_column_bytes(statement, c);
                values.emplace_back(
                    std::string(text != nullptr ? text : "", static_cast<size_t>(bytes)));
                break;
            }
            }
        }
    }
    sqlite3_reset(statement);
    return std::make_shared<Recordset>(std::move(names), std::move(values));
}

} // namespace orvan
