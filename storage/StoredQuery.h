#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "storage/DatabaseEngine.h"

namespace orvan {

class Recordset;

// One stored parameter query, read by name from the database's _StoredQuery
// table and prepared by its engine. The query text starts with its parameter
// declaration, as Jet writes it:
//   PARAMETERS paramSSN Text, paramPayRate IEEESingle, paramDOB DateTime;
//   INSERT INTO Employee (...) VALUES (:paramSSN, :paramPayRate, :paramDOB);
// Types: Text, Long, Short, IEEESingle, DateTime, Bit. A value is set by
// name and must match the declared type; a name the query does not declare,
// a value of another type, a missing query, a text holding a second
// statement or a failing statement throw EngineError (the constructor too:
// nothing it prepared outlives the throw). Parameters left unset are Null.
// The declaration and these checks are the same for every engine; the
// engine's statement does the binding and running. The query borrows the
// engine, which must stay open while it is used.
class StoredQuery {
public:
    using ParamType = QueryParamType;

    // Makes an engine's statement of the text after the declaration.
    using Preparer = std::function<std::unique_ptr<EngineStatement>(const std::string& statement)>;

    StoredQuery(DatabaseEngine& engine, const std::string& name);
    // The query `name` whose text the caller has read already (an engine's
    // own connection, as SqliteEngine::StoredQueryOn does).
    StoredQuery(const std::string& name, const std::string& text, const Preparer& prepare);
    ~StoredQuery();
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

private:
    struct Declared {
        std::string name;
        ParamType type;
    };

    // Reads the declaration off `text` and returns the statement after it.
    std::string ParseDeclaration(const std::string& text);
    void Set(const std::string& param, ParamType type, const Recordset::Value& value);

    std::string m_name;
    std::vector<Declared> m_declared;
    std::unique_ptr<EngineStatement> m_statement;
};

} // namespace orvan
