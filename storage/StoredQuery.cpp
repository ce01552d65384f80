#include "storage/StoredQuery.h"

#include <sqlite3.h>

#include <cctype>
#include <cmath>

#include "storage/EngineError.h"
#include "storage/Recordset.h"
#include "storage/SqliteHandle.h"

namespace orvan {

namespace {

// Jet's numbers for a query that is not there, an unknown parameter name,
// a value of the wrong type and a closed connection.
constexpr int32_t kQueryNotFound = 3078;
constexpr int32_t kItemNotFound = 3265;
constexpr int32_t kDataTypeMismatch = 3464;
constexpr int32_t kObjectInvalid = 3420;

std::string Lower(std::string text) {
    for (char& c : text) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return text;
}

std::string Trim(const std::string& text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && std::isspace(static_cast<unsigned char>(text[first])) != 0) {
        ++first;
    }
    while (last > first && std::isspace(static_cast<unsigned char>(text[last - 1])) != 0) {
        --last;
    }
    return text.substr(first, last - first);
}

StoredQuery::ParamType TypeByName(const std::string& name) {
    const std::string lower = Lower(name);
    if (lower == "text") {
        return StoredQuery::ParamType::Text;
    }
    if (lower == "long") {
        return StoredQuery::ParamType::Long;
    }
    if (lower == "short") {
        return StoredQuery::ParamType::Short;
    }
    if (lower == "ieeesingle") {
        return StoredQuery::ParamType::Single;
    }
    if (lower == "datetime") {
        return StoredQuery::ParamType::Date;
    }
    if (lower == "bit") {
        return StoredQuery::ParamType::YesNo;
    }
    throw EngineError(kDataTypeMismatch, "Unknown parameter type " + name);
}

} // namespace

StoredQuery::StoredQuery(sqlite3* db, const std::string& name) : m_db(db), m_name(name) {
    if (m_db == nullptr) {
        throw EngineError(kObjectInvalid, "Object invalid or no longer set.");
    }
    std::string text;
    {
        sqlite::Statement lookup =
            sqlite::PrepareOne(m_db, "SELECT Sql FROM _StoredQuery WHERE Name = ?1");
        sqlite3_bind_text(lookup.get(), 1, name.c_str(), static_cast<int>(name.size()),
                          SQLITE_TRANSIENT);
        const int rc = sqlite3_step(lookup.get());
        if (rc == SQLITE_ROW && sqlite3_column_type(lookup.get(), 0) == SQLITE_TEXT) {
            text = reinterpret_cast<const char*>(sqlite3_column_text(lookup.get(), 0));
        }
        if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
            sqlite::Raise(m_db, rc);
        }
        if (text.empty()) {
            throw EngineError(kQueryNotFound, "Item not found in this collection: " + name);
        }
    }

    // The declaration: PARAMETERS name Type, name Type;
    std::string body = text;
    const std::string head = Lower(Trim(text).substr(0, 10));
    if (head == "parameters") {
        const size_t start = text.find_first_not_of(" \t\r\n");
        const size_t end = text.find(';', start);
        if (end == std::string::npos) {
            throw EngineError(kDataTypeMismatch, "Malformed parameter declaration in " + name);
        }
        std::string list = text.substr(start + 10, end - start - 10);
        body = text.substr(end + 1);
        size_t pos = 0;
        while (pos <= list.size()) {
            size_t comma = list.find(',', pos);
            if (comma == std::string::npos) {
                comma = list.size();
            }
            const std::string item = Trim(list.substr(pos, comma - pos));
            if (!item.empty()) {
                const size_t blank = item.find_first_of(" \t\r\n");
                if (blank == std::string::npos) {
                    throw EngineError(kDataTypeMismatch, "Parameter without a type in " + name);
                }
                m_declared.push_back({item.substr(0, blank), TypeByName(Trim(item.substr(blank)))});
            }
            pos = comma + 1;
        }
    }

    // The statement is owned as soon as it is prepared: should anything
    // below throw, it is finalized and the connection can really close.
    m_statement = sqlite::PrepareOne(m_db, body);
}

void StoredQuery::Raise() const {
    const int code = sqlite3_errcode(m_db);
    throw EngineError(code == SQLITE_OK ? SQLITE_ERROR : code, sqlite3_errmsg(m_db));
}

int StoredQuery::BindIndex(const std::string& param, ParamType type) {
    for (const auto& declared : m_declared) {
        if (declared.name == param) {
            if (declared.type != type) {
                throw EngineError(kDataTypeMismatch,
                                  "Data type mismatch for parameter " + param + " of " + m_name);
            }
            // A declared parameter the statement does not use takes no value.
            return sqlite3_bind_parameter_index(m_statement.get(), (":" + param).c_str());
        }
    }
    throw EngineError(kItemNotFound, "Item not found in this collection: " + param);
}

void StoredQuery::SetText(const std::string& param, const std::string& value) {
    if (int index = BindIndex(param, ParamType::Text); index > 0) {
        sqlite3_bind_text(m_statement.get(), index, value.data(), static_cast<int>(value.size()),
                          SQLITE_TRANSIENT);
    }
}

void StoredQuery::SetLong(const std::string& param, int32_t value) {
    if (int index = BindIndex(param, ParamType::Long); index > 0) {
        sqlite3_bind_int(m_statement.get(), index, value);
    }
}

void StoredQuery::SetShort(const std::string& param, int16_t value) {
    if (int index = BindIndex(param, ParamType::Short); index > 0) {
        sqlite3_bind_int(m_statement.get(), index, value);
    }
}

void StoredQuery::SetSingle(const std::string& param, float value) {
    if (!std::isfinite(value)) {
        throw EngineError(kDataTypeMismatch, "Invalid number for parameter " + param);
    }
    if (int index = BindIndex(param, ParamType::Single); index > 0) {
        sqlite3_bind_double(m_statement.get(), index, static_cast<double>(value));
    }
}

void StoredQuery::SetDate(const std::string& param, DateTime value) {
    if (!std::isfinite(value.Days())) {
        throw EngineError(kDataTypeMismatch, "Invalid date for parameter " + param);
    }
    if (int index = BindIndex(param, ParamType::Date); index > 0) {
        sqlite3_bind_double(m_statement.get(), index, value.Days());
    }
}

void StoredQuery::SetYesNo(const std::string& param, bool value) {
    if (int index = BindIndex(param, ParamType::YesNo); index > 0) {
        sqlite3_bind_int(m_statement.get(), index, value ? 1 : 0);
    }
}

void StoredQuery::Execute() {
    const int rc = sqlite3_step(m_statement.get());
    if (rc == SQLITE_ROW) {
        sqlite3_reset(m_statement.get());
        throw EngineError(kDataTypeMismatch, "Cannot execute a select query: " + m_name);
    }
    if (rc != SQLITE_DONE) {
        sqlite3_reset(m_statement.get());
        Raise();
    }
    sqlite3_reset(m_statement.get());
}

std::shared_ptr<Recordset> StoredQuery::OpenSnapshot() {
    return Snapshot(m_db, m_statement.get());
}

std::shared_ptr<Recordset> StoredQuery::Snapshot(sqlite3* db, sqlite3_stmt* statement) {
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
