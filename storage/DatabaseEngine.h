#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "storage/Recordset.h"

namespace orvan {

// The type a stored query declares for a parameter (PARAMETERS name Type):
// Text, Long, Short, IEEESingle, DateTime, Bit.
enum class QueryParamType { Text, Long, Short, Single, Date, YesNo };

// One prepared statement of a stored query, owned by whoever prepared it and
// valid while its engine stays open.
class EngineStatement {
public:
    virtual ~EngineStatement() = default;

    // Gives the statement's parameter :name the value (Null is monostate).
    // A name the statement does not use takes no value; the declared type
    // has been checked already.
    virtual void Bind(const std::string& name, QueryParamType type,
                      const Recordset::Value& value) = 0;
    // Runs an action statement. Throws EngineError when it fails or when the
    // statement returns rows; nothing of a failing statement is written.
    virtual void Execute() = 0;
    // Runs a query and reads every row into a snapshot; throws EngineError.
    virtual std::shared_ptr<Recordset> Snapshot() = 0;
};

// What the database object needs of an engine for one operation: open the
// database by name, run statements in the Jet dialect (the engine translates
// them), prepare stored queries, and end the operation. Every failure throws
// EngineError carrying the engine's number and its own message.
//
// The embedded file engine opens the file exclusively for the operation and
// closes it at the end (each statement is written as it runs); the server
// engine keeps one connection and runs the operation as one transaction.
class DatabaseEngine {
public:
    struct OpenOptions {
        // How long an open waits while another program holds the database,
        // and what it calls about every busyWaitInterval milliseconds then.
        int32_t busyTimeout = 0;
        int32_t busyWaitInterval = 25;
        std::function<void()> busyWait;
        // The operation is several that must see and leave the database as
        // if no one else ran meanwhile (a clock-in's read and write).
        bool oneUnit = false;
    };

    virtual ~DatabaseEngine() = default;

    // Opens the database `name` for one operation. On failure nothing stays
    // open and EngineError says why.
    virtual void Open(const std::string& name, const OpenOptions& options) = 0;
    // True when the last Open gave up because another program held the
    // database for the whole busy timeout.
    virtual bool GaveUpBusy() const = 0;
    virtual bool IsOpen() const = 0;
    // Ends the operation keeping what it wrote. Throws EngineError when that
    // was not kept (the server rolled the transaction back).
    virtual void Commit() = 0;
    // Ends the operation dropping what can still be dropped.
    virtual void Rollback() noexcept = 0;
    // True when a statement or the commit of this operation failed because a
    // concurrent transaction conflicted with it: running the operation again
    // from its start can succeed.
    virtual bool Conflicted() const = 0;

    // A query's snapshot; a statement that is no query fails.
    virtual std::shared_ptr<Recordset> Select(const std::string& jetStatement) = 0;
    // An INSERT, UPDATE or DELETE; a query fails.
    virtual void Action(const std::string& jetStatement) = 0;

    // The text of the stored query `name` (its declaration and statement);
    // a missing query throws EngineError 3078.
    virtual std::string StoredQueryText(const std::string& name) = 0;
    // Prepares a stored query's statement, its parameters written :name.
    virtual std::unique_ptr<EngineStatement> Prepare(const std::string& statement) = 0;
};

// True when `name` is a PostgreSQL connection URI (postgresql:// or
// postgres://, in any letter case) rather than a file path. The one test of
// which engine a database name opens: the database object, the locator, the
// database copy and orvan-initdb all ask it.
bool IsServerDatabaseName(const std::string& name);

// Programs and tests that link the server engine register how to make one at
// start; without it a server name fails to open. A null factory takes the
// registration back.
using ServerEngineFactory = std::function<std::unique_ptr<DatabaseEngine>()>;
void RegisterServerEngine(ServerEngineFactory factory);

// A new engine for the database `name`: the server engine for a connection
// URI (nullptr when none is registered), the file engine otherwise.
std::unique_ptr<DatabaseEngine> MakeDatabaseEngine(const std::string& name);

} // namespace orvan
