#pragma once

#include <memory>
#include <string>

#include "storage/DatabaseEngine.h"

namespace orvan::pg {
class PgConnection;
}

namespace orvan::server {

// The database on a PostgreSQL server, named by its connection URI. The
// connection is made at the first open and kept between operations (made
// again when the server dropped it); each operation is one transaction, a
// unit of several a SERIALIZABLE one. Connecting, every lock and every
// statement waits at most the busy timeout, calling the busy-wait handler
// meanwhile: a lock or statement that runs out of it fails with
// BusyOrInvalidCall (CJetDB::GaveUpBusy), a server not reached or not answering, or
// a connection lost, with ServerUnreachable. A first open checks that the database
// holds the Orvan schema at the version this code reads, upgrading one an
// older version made (pg::kUpgrade2Sql...) in place first: a login the
// server refuses fails with ServerConnectionFailed,
// a database without the schema with EngineNotADatabase, each with the
// server's own answer as the message.
class PgEngine final : public DatabaseEngine {
public:
    PgEngine();
    ~PgEngine() override;

    void Open(const std::string& name, const OpenOptions& options) override;
    bool GaveUpBusy() const override { return false; }
    bool IsOpen() const override { return m_inOperation; }
    void Commit() override;
    void Rollback() noexcept override;
    bool Conflicted() const override { return m_conflicted; }

    std::shared_ptr<Recordset> Select(const std::string& jetStatement) override;
    void Action(const std::string& jetStatement) override;
    std::string StoredQueryText(const std::string& name) override;
    std::unique_ptr<EngineStatement> Prepare(const std::string& statement) override;

    // Notes a failure of the open operation: a conflict with another
    // transaction makes it one to run again. Call only inside a catch.
    void NoteFailure();

private:
    // A new connection with the options' timeouts and wait handler, its
    // schema checked (and upgraded).
    void Connect(const std::string& uri, const OpenOptions& options);
    pg::PgConnection& Connection();

    std::unique_ptr<pg::PgConnection> m_connection;
    std::string m_uri;
    // The busy timeout the connection's lock and statement timeouts are.
    int32_t m_timeout = 0;
    bool m_inOperation = false;
    bool m_conflicted = false;
};

// Makes CJetDB open connection URIs with PgEngine. Programs and tests that
// link the server engine call it once at start.
void RegisterEngine();

} // namespace orvan::server
