#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "storage/SqliteHandle.h"

struct sqlite3;
struct sqlite3_stmt;

namespace orvan {

class Recordset;

// One stored parameter query, read by name from the _StoredQuery table and
// prepared on a connection. The query text starts with its parameter
// declaration, as Jet writes it:
//   PARAMETERS paramSSN Text, paramPayRate IEEESingle, paramDOB DateTime;
//   INSERT INTO Employee (...) VALUES (:paramSSN, :paramPayRate, :paramDOB);
// Types: Text, Long, Short, IEEESingle, DateTime, Bit. A value is bound by
// name and must match the declared type; a name the query does not declare,
// a value of another type, a missing query, a text holding a second
// statement or a failing statement throw EngineError (the constructor too:
// nothing it prepared outlives the throw). Parameters left unset are Null.
// The query borrows the connection, which must outlive it.
class StoredQuery {
public:
    enum class ParamType { Text, Long, Short, Single, Date, YesNo };

    StoredQuery(sqlite3* db, const std::string& name);
    StoredQuery(const StoredQuery&) = delete;
    StoredQuery& operator=(const StoredQuery&) = delete;

    const std::string& Name() const { return m_name; }

    void SetText(const std::string& param, const std::string& value);
    void SetLong(const std::string& param, int32_t value);
    void SetShort(const std::string& param, int16_t value);
    void SetSingle(const std::string& param, float value);
    void SetDate(const std::string& param, DateTime value);
    void SetYesNo(const std::string& param, bool value);

    // Runs an action query; any failure throws and nothing is written.
    void Execute();
    // Runs a row-returning query and takes a snapshot of every row.
    std::shared_ptr<Recordset> OpenSnapshot();

    // Reads every row of a prepared statement into a snapshot; throws on a
    // failing step.
    static std::shared_ptr<Recordset> Snapshot(sqlite3* db, sqlite3_stmt* statement);

private:
    struct Declared {
        std::string name;
        ParamType type;
    };

    int BindIndex(const std::string& param, ParamType type);
    [[noreturn]] void Raise() const;

    sqlite3* m_db;
    sqlite::Statement m_statement;
    std::string m_name;
    std::vector<Declared> m_declared;
};

} // namespace orvan
