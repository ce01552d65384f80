#pragma once

#include <memory>
#include <string>

#include "storage/DatabaseEngine.h"
#include "storage/SqliteHandle.h"

struct sqlite3;
struct sqlite3_stmt;

namespace orvan {

class StoredQuery;

// The embedded database file. An open takes the file for this connection
// alone (waiting while another program holds it), checks and upgrades the
// schema, and holds the file until Commit or Rollback closes the
// connection. Statements are written as they run, except in an open for a
// unit (OpenOptions::oneUnit): that is one transaction, kept by Commit and
// dropped by Rollback, so a unit's writes land together or not at all.
class SqliteEngine final : public DatabaseEngine {
public:
    SqliteEngine();
    ~SqliteEngine() override;

    void Open(const std::string& name, const OpenOptions& options) override;
    bool GaveUpBusy() const override { return m_gaveUpBusy; }
    bool IsOpen() const override { return static_cast<bool>(m_connection); }
    void Commit() override;
    void Rollback() noexcept override;
    bool Conflicted() const override { return false; }

    std::shared_ptr<Recordset> Select(const std::string& jetStatement) override;
    void Action(const std::string& jetStatement) override;
    std::string StoredQueryText(const std::string& name) override;
    std::unique_ptr<EngineStatement> Prepare(const std::string& statement) override;

    // The same on a connection of the caller's.
    static std::string StoredQueryTextOn(sqlite3* db, const std::string& name);
    static std::unique_ptr<EngineStatement> PrepareOn(sqlite3* db, const std::string& statement);
    // The stored query `name` on a connection of the caller's; throws
    // EngineError as the query's constructor does.
    static std::unique_ptr<StoredQuery> StoredQueryOn(sqlite3* db, const std::string& name);

    // Reads every row of a prepared statement into a snapshot; throws on a
    // failing step.
    static std::shared_ptr<Recordset> Snapshot(sqlite3* db, sqlite3_stmt* statement);

    // Brings a file holding the Orvan tables up to CJetDB::SchemaVersion,
    // running each upgrade above the file's user_version in turn; a file of a
    // newer version and a file without the Orvan tables (another program's
    // database) are left alone. Runs inside the caller's transaction, which
    // rolls back on failure. SQLITE_OK, or the engine's code of the failing
    // step. The open and the installer share it, so new and upgraded files
    // end up alike.
    static int UpgradeSchema(sqlite3* db, bool& upgraded);
    static int UpgradeSchema(sqlite3* db) {
        bool upgraded = false;
        return UpgradeSchema(db, upgraded);
    }

private:
    // SQLITE_OK when the open file holds tables, SQLITE_NOTADB when it holds
    // none (an empty file), or the engine's code of a failing check.
    static int IsOrvanSchemaPresent(sqlite3* db);
    // Throws when the unit's transaction is no longer open: SQLite rolls a
    // transaction back by itself after some failures (a full disk), and
    // later statements would then be written one by one.
    void CheckUnitTransaction() const;

    sqlite::Connection m_connection;
    bool m_unitTransaction = false;
    bool m_gaveUpBusy = false;
};

} // namespace orvan
