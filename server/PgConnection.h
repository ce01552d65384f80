#pragma once

#include <cstdint>
#include <functional>
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
//   55P03 lock not available (lock_timeout),
//   57014 statement cancelled (statement_timeout) -> err::BusyOrInvalidCall
//   a server not reached or not answering in
//   time, 08xxx, 57Pxx, any failure that leaves
//   the connection broken                        -> err::ServerUnreachable
//   an address not valid, a login refused        -> err::ServerConnectionFailed
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

// How a connection waits for the server: how long a connect may take, and
// what it calls while it waits (connecting or for a statement's answer), so
// that a window keeps drawing and shows that it waits.
struct WaitOptions {
    // Milliseconds a connect may take; a connect_timeout in the URI takes
    // its place.
    int32_t connectTimeout = 10000;
    // Called about every waitInterval milliseconds once a wait has lasted
    // that long; must not use the connection.
    std::function<void()> onWait;
    int32_t waitInterval = 25;
};

// One connection to a PostgreSQL server, open from construction to
// destruction. Every wait for the server is libpq's asynchronous one on the
// connection's socket, calling the WaitOptions' onWait meanwhile. Every call throws ServerError (an
// EngineError) on failure; the connection stays usable after a failed statement (outside a
// transaction; inside one, the transaction must be rolled back first, as
// the server demands).
//
// On connect the session talks UTF-8 and sends every double precision value
// in its shortest exact form, so a day count read back equals the one
// written, bit for bit.
class PgConnection {
public:
    // Connects with a connection URI (postgresql://user@host:port/dbname,
    // the scheme in any letter case). A URI holding a password is refused
    // before anything is sent: the password belongs in ~/.pgpass or
    // PGPASSWORD, where libpq finds it. A server that cannot be reached or
    // does not answer within the connect timeout throws ServerUnreachable, a
    // login the server refuses ServerConnectionFailed, each with libpq's
    // message.
    explicit PgConnection(const std::string& uri, WaitOptions wait = {});
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
    // The lock timeout, and as long for any statement to run (statement
    // timeout: a statement still running then is cancelled and fails with
    // BusyOrInvalidCall). A server that has not answered a little after
    // that, or a connection that breaks, fails with ServerUnreachable and
    // the connection is dropped. 0 waits without end. Set outside
    // transactions, as the lock timeout.
    void SetTimeouts(int32_t milliseconds);
    // What a wait calls from now on (see WaitOptions).
    void SetWaitHandler(std::function<void()> onWait, int32_t waitInterval);

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

    // False once the connection broke (or was dropped after the server did
    // not answer in time).
    bool IsUsable() const;

    // True while a transaction is open (also one a failed statement has
    // aborted, which only ROLLBACK ends).
    bool InTransaction() const;

    // The server's version as a number: 150004 for 15.4.
    int32_t ServerVersion() const;

    // libpq's handle, for what this class does not wrap. Stays owned here.
    pg_conn* Native() const { return m_connection.get(); }

private:
    ResultHandle Run(std::string_view sql, const Params& params);
    // Sends nothing; collects the answer to the statement sent, waiting on
    // the socket, and throws ServerError for a failure.
    ResultHandle Answer();
    // Waits until the socket is ready for `events` (poll's), calling the
    // wait handler at `nextCall` and every interval after; False when
    // `deadline` passed first. Times are steady-clock milliseconds, a
    // deadline of 0 none.
    bool WaitForSocket(short events, int64_t deadline, int64_t& nextCall);
    // Drops the connection and throws ServerUnreachable with `message`.
    [[noreturn]] void Unreachable(const std::string& message);

    ConnectionHandle m_connection;
    WaitOptions m_wait;
    // How long an answer may take before the server counts as not reached;
    // 0 for without end.
    int32_t m_answerTimeout = 0;
};

} // namespace orvan::pg
