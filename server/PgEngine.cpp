#include "server/PgEngine.h"

#include <libpq-fe.h>

#include <charconv>
#include <iterator>
#include <string>

#include "core/ErrorNumbers.h"
#include "server/PgConnection.h"
#include "server/PgSchema.h"
#include "storage/EngineError.h"
#include "storage/JetDialect.h"
#include "storage/Recordset.h"
#include "storage/SchemaVersion.h"

namespace orvan::server {

namespace {

// A stored query's statement with its :name parameters numbered $1..$n.
class PgStatement final : public EngineStatement {
public:
    PgStatement(PgEngine& engine, pg::PgConnection& connection, NumberedStatement statement)
        : m_engine(engine), m_connection(connection), m_statement(std::move(statement)),
          m_params(m_statement.names.size()) {}

    void Bind(const std::string& name, QueryParamType /*type*/,
              const Recordset::Value& value) override {
        for (size_t i = 0; i < m_statement.names.size(); ++i) {
            if (m_statement.names[i] == name) {
                m_params[i] = pg::ParamOf(value);
            }
        }
    }

    void Execute() override {
        const auto rows = Run();
        if (!rows->Columns().empty()) {
            throw EngineError(err::EngineDataTypeMismatch, "Cannot execute a select query.");
        }
    }

    std::shared_ptr<Recordset> Snapshot() override { return Run(); }

private:
    std::shared_ptr<Recordset> Run() {
        try {
            return m_connection.Query(m_statement.text, m_params);
        } catch (...) {
            m_engine.NoteFailure();
            throw;
        }
    }

    PgEngine& m_engine;
    pg::PgConnection& m_connection;
    NumberedStatement m_statement;
    pg::Params m_params;
};

// The version a server database holds (0 for none read).
int64_t SchemaVersionOf(pg::PgConnection& connection) {
    const auto rows = connection.Query("SELECT Version FROM _SchemaVersion");
    if (rows->RecordCount() != 1) {
        return 0;
    }
    rows->MoveFirst();
    return rows->AsInteger("Version");
}

// Brings a server database of an older version up to kSchemaVersion in one
// transaction that holds the version row, so two programs connecting at
// once upgrade it once and a failure leaves it as it was. Returns the
// version it holds afterwards.
int64_t UpgradeSchema(pg::PgConnection& connection) {
    // The upgrade that brings a database from version `to` - 1 to `to`.
    struct Upgrade {
        int64_t to;
        const char* sql;
    };
    static constexpr Upgrade upgrades[] = {
        {2, pg::kUpgrade2Sql}, {3, pg::kUpgrade3Sql}, {4, pg::kUpgrade4Sql}};
    static_assert(std::end(upgrades)[-1].to == kSchemaVersion,
                  "the newest upgrade brings a database to the schema version the code reads");
    try {
        connection.Execute("BEGIN");
        connection.Execute("LOCK TABLE _SchemaVersion IN EXCLUSIVE MODE");
        int64_t version = SchemaVersionOf(connection);
        for (const Upgrade& upgrade : upgrades) {
            if (version >= 1 && version == upgrade.to - 1) {
                connection.ExecuteScript(upgrade.sql);
                version = upgrade.to;
            }
        }
        connection.Execute("COMMIT");
        return version;
    } catch (const EngineError& e) {
        try {
            if (connection.InTransaction()) {
                connection.Execute("ROLLBACK");
            }
        } catch (...) {
            // The caller drops the connection.
        }
        if (e.Number() == err::ServerConnectionFailed || e.Number() == err::ServerUnreachable) {
            throw;
        }
        throw EngineError(err::EngineNotADatabase,
                          "The server database could not be brought up to schema version " +
                              std::to_string(kSchemaVersion) + ": " + e.what());
    }
}

} // namespace

PgEngine::PgEngine() = default;

// A transaction still open is rolled back by the server when the connection
// ends.
PgEngine::~PgEngine() = default;

void PgEngine::NoteFailure() {
    try {
        throw;
    } catch (const EngineError& e) {
        if (pg::IsRetryable(e)) {
            m_conflicted = true;
        }
    } catch (...) {
    }
}

void PgEngine::Connect(const std::string& uri, const OpenOptions& options) {
    m_connection.reset();
    pg::WaitOptions wait;
    if (options.busyTimeout > 0) {
        wait.connectTimeout = options.busyTimeout;
    }
    wait.onWait = options.busyWait;
    wait.waitInterval = options.busyWaitInterval;
    auto connection = std::make_unique<pg::PgConnection>(uri, wait);
    // A row another connection holds, and any statement, waits no longer
    // than a file would.
    connection->SetTimeouts(options.busyTimeout);
    // The schema is checked once per connection, outside any transaction.
    int64_t version = 0;
    try {
        version = SchemaVersionOf(*connection);
    } catch (const EngineError& e) {
        if (e.Number() == err::ServerConnectionFailed || e.Number() == err::ServerUnreachable ||
            e.Number() == err::BusyOrInvalidCall) {
            throw;
        }
        throw EngineError(err::EngineNotADatabase,
                          std::string("The server database holds no Orvan tables: ") + e.what());
    }
    // A database an older version made gets the tables added since, taking
    // as long as that takes (another program may be upgrading it).
    if (version >= 1 && version < kSchemaVersion) {
        connection->SetTimeouts(0);
        version = UpgradeSchema(*connection);
        connection->SetTimeouts(options.busyTimeout);
    }
    if (version != kSchemaVersion) {
        throw EngineError(err::EngineNotADatabase,
                          "The server database holds Orvan tables of schema version " +
                              std::to_string(version) + ", not " + std::to_string(kSchemaVersion) +
                              ".");
    }
    m_connection = std::move(connection);
    m_uri = uri;
    m_timeout = options.busyTimeout;
}

void PgEngine::Open(const std::string& name, const OpenOptions& options) {
    Rollback();
    m_conflicted = false;
    const bool usable = m_connection && m_uri == name && m_connection->IsUsable();
    if (!usable) {
        Connect(name, options);
    }
    const char* begin = options.oneUnit ? "BEGIN ISOLATION LEVEL SERIALIZABLE" : "BEGIN";
    try {
        // The window's wait handler and the busy timeout of this operation.
        m_connection->SetWaitHandler(options.busyWait, options.busyWaitInterval);
        if (m_timeout != options.busyTimeout) {
            m_connection->SetTimeouts(options.busyTimeout);
            m_timeout = options.busyTimeout;
        }
        m_connection->Execute(begin);
    } catch (const EngineError& e) {
        if (e.Number() != err::ServerUnreachable || !usable) {
            throw;
        }
        // The kept connection was dropped since the last operation (a
        // server restart): one new connection, then give up.
        Connect(name, options);
        m_connection->Execute(begin);
    }
    m_inOperation = true;
    if (options.oneUnit) {
        // The audit trail is one chain that nearly every unit appends to, so
        // any two units at once would conflict over its last entry, again
        // and again under load. Units take turns at it instead: the lock
        // (which conflicts with itself) comes before the transaction's first
        // read, so each unit's snapshot holds the entries of the one before.
        // Waiting for it is bounded by the busy timeout, as any lock is.
        try {
            m_connection->Execute("LOCK TABLE AuditEntry IN SHARE ROW EXCLUSIVE MODE");
        } catch (...) {
            NoteFailure();
            Rollback();
            throw;
        }
    }
}

void PgEngine::Commit() {
    if (!m_inOperation) {
        return;
    }
    m_inOperation = false;
    // A transaction a failed statement has aborted can only end rolled back
    // (the server answers COMMIT with ROLLBACK): that keeps nothing.
    if (PQtransactionStatus(m_connection->Native()) == PQTRANS_INERROR) {
        Rollback();
        throw EngineError(err::ServerStatementFailed,
                          "The database server rolled the operation back after a failed "
                          "statement; nothing of it was written.");
    }
    try {
        m_connection->Execute("COMMIT");
    } catch (...) {
        NoteFailure();
        Rollback();
        throw;
    }
}

void PgEngine::Rollback() noexcept {
    m_inOperation = false;
    if (!m_connection) {
        return;
    }
    try {
        if (m_connection->InTransaction()) {
            m_connection->Execute("ROLLBACK");
        }
    } catch (...) {
        // A connection that cannot even roll back is made again next time.
        m_connection.reset();
    }
}

pg::PgConnection& PgEngine::Connection() {
    if (!m_inOperation || !m_connection) {
        throw EngineError(err::EngineObjectInvalid, "Object invalid or no longer set.");
    }
    return *m_connection;
}

std::shared_ptr<Recordset> PgEngine::Select(const std::string& jetStatement) {
    pg::PgConnection& connection = Connection();
    try {
        return connection.Query(TranslateJetStatement(jetStatement, SqlDialect::PostgreSql));
    } catch (...) {
        NoteFailure();
        throw;
    }
}

void PgEngine::Action(const std::string& jetStatement) {
    pg::PgConnection& connection = Connection();
    std::shared_ptr<Recordset> rows;
    try {
        rows = connection.Query(TranslateJetStatement(jetStatement, SqlDialect::PostgreSql));
    } catch (...) {
        NoteFailure();
        throw;
    }
    if (!rows->Columns().empty()) {
        throw EngineError(err::ServerStatementFailed, "Cannot execute a select query.");
    }
}

std::string PgEngine::StoredQueryText(const std::string& name) {
    pg::PgConnection& connection = Connection();
    std::shared_ptr<Recordset> rows;
    try {
        rows = connection.Query("SELECT Sql FROM _StoredQuery WHERE Name = $1", {name});
    } catch (...) {
        NoteFailure();
        throw;
    }
    std::string text;
    if (rows->RecordCount() > 0) {
        rows->MoveFirst();
        if (!rows->IsNull("Sql")) {
            text = rows->AsText("Sql");
        }
    }
    if (text.empty()) {
        throw EngineError(err::EngineQueryNotFound, "Item not found in this collection: " + name);
    }
    return text;
}

std::unique_ptr<EngineStatement> PgEngine::Prepare(const std::string& statement) {
    pg::PgConnection& connection = Connection();
    return std::make_unique<PgStatement>(*this, connection, NumberJetParameters(statement));
}

void RegisterEngine() {
    RegisterServerEngine([] { return std::make_unique<PgEngine>(); });
}

} // namespace orvan::server
