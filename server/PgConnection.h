#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "storage/EngineError.h"
#include "storage/Recordset.h"

struct pg_conn;
struct pg_result;

namespace orvan::pg {

// A failure the server reported (or a connection that failed): the
// EngineError number the system reacts to and the server's five-character
// SQLSTATE (empty when the server sent none, as for a connection that was
// never made). The description is the server's own message, ending in
// "(SQLSTATE xxxxx)" when there is one.
//   40001 serialization failure, 40P01 deadlock  -> err::ServerSerializationFailure
//   55P03 lock not available (lock_timeout)      -> err::BusyOrInvalidCall
//   connection failures, 08xxx, 57Pxx, any
//   failure that leaves the connection broken   -> err::ServerConnectionFailed
//   anything else                                -> err::ServerStatementFailed
class ServerError : public EngineError {
public:
    ServerError(int32_t number, const std::string& description, std::string sqlState)
        : EngineError(number, description), m_sqlState(std::move(sqlState)) {}

    const std::string& SqlState() const { return m_sqlState; }

private:
    std::string m_sqlState;
};

// True for the failures a transaction may simply run again: a serialization
// failure or a deadlock the server broke (both ServerSerializationFailure).
bool IsRetryable(const EngineError& error);

// Owners of libpq's handles (see storage/SqliteHandle.h for why).
struct FinishConnection {
    void operator()(pg_conn* connection) const noexcept;
};
struct ClearResult {
    void operator()(pg_result* result) const noexcept;
};
using ConnectionHandle = std::unique_ptr<pg_conn, FinishConnection>;
using ResultHandle = std::unique_ptr<pg_result, ClearResult>;

// A statement's parameter: text as PostgreSQL reads it ("12", "37636.5",
// "it's"), or nullopt for Null. The server infers each parameter's type from
// where the statement uses it.
using Param = std::optional<std::string>;
using Params = std::vector<Param>;

// A snapshot value as a parameter: text as it is, whole numbers in decimal,
// doubles in their shortest exact form (so a day count arrives bit for bit),
// Null as nullopt.
Param ParamOf(const Recordset::Value& value);

// One connection to a PostgreSQL server, open from construction to
// destruction. Every call throws ServerError (an EngineError) on failure;
// the connection stays usable after a failed statement (outside a
// transaction; inside one, the transaction must be rolled back first, as
// the server demands).
//
// On connect the session talks UTF-8 and sends every double precision value
// in its shortest exact form, so a day count read back equals the one
// written, bit for bit.
class PgConnection {
public:
    // Connects with a connection URI (postgresql://user@host:port/dbname).
    // A URI holding a password is refused before anything is sent: the
    // password belongs in ~/.pgpass or PGPASSWORD, where libpq finds it. A
    // server that cannot be reached or refuses the login throws
    // ServerConnectionFailed with libpq's message. Without a connect_timeout
    // in the URI, connecting gives up after 10 seconds.
    explicit PgConnection(const std::string& uri);
    ~PgConnection();
    PgConnection(const PgConnection&) = delete;
    PgConnection& operator=(const PgConnection&) = delete;
    PgConnection(PgConnection&&) noexcept;
    PgConnection& operator=(PgConnection&&) noexcept;

    // How long a statement waits for a row or table lock another connection
    // holds before failing with BusyOrInvalidCall; 0 waits without end (the
    // server's default). A session setting: a transaction rolled back
    // afterwards undoes it, so set it outside transactions.
    void SetLockTimeout(int32_t milliseconds);

    // Runs one statement with $1..$n parameters and returns a snapshot of
    // its rows (empty, with no columns, for a statement that returns none).
    // Column names are the server's (lower case for unquoted names). Types:
    // smallint, integer, bigint, oid -> int64; real, double precision,
    // numeric -> double; boolean -> int64 0/1; Null -> Null; anything else
    // -> text.
    std::shared_ptr<Recordset> Query(std::string_view sql, const Params& params = {});

    // Runs one statement and returns the rows it inserted, updated, deleted
    // (or selected); 0 for a statement that touches none, such as BEGIN.
    int64_t Execute(std::string_view sql, const Params& params = {});

    // Runs a script of several statements without parameters (a schema);
    // the server runs it as one transaction unless it holds its own BEGIN
    // and COMMIT.
    void ExecuteScript(std::string_view script);

    // True while a transaction is open (also one a failed statement has
    // aborted, which only ROLLBACK ends).
    bool InTransaction() const;

    // The server's version as a number: 150004 for 15.4.
    int32_t ServerVersion() const;

    // libpq's handle, for what this class does not wrap. Stays owned here.
    pg_conn* Native() const { return m_connection.get(); }

private:
    ResultHandle Run(std::string_view sql, const Params& params);

    ConnectionHandle m_connection;
};

} // namespace orvan::pg
