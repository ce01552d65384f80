#include "storage/StoredQuery.h"

#include <cctype>
#include <cmath>

#include "core/ErrorNumbers.h"
#include "storage/EngineError.h"
#include "storage/Recordset.h"

namespace orvan {

namespace {

// Jet's numbers for an unknown parameter name and a value of the wrong type.

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
    throw EngineError(err::EngineDataTypeMismatch, "Unknown parameter type " + name);
}

} // namespace

StoredQuery::StoredQuery(DatabaseEngine& engine, const std::string& name)
    : StoredQuery(name, engine.StoredQueryText(name),
                  [&engine](const std::string& statement) { return engine.Prepare(statement); }) {}

StoredQuery::StoredQuery(const std::string& name, const std::string& text, const Preparer& prepare)
    : m_name(name) {
    const std::string statement = ParseDeclaration(text);
    m_statement = prepare(statement);
}

StoredQuery::~StoredQuery() = default;

std::string StoredQuery::ParseDeclaration(const std::string& text) {
    // The declaration: PARAMETERS name Type, name Type;
    const std::string head = Lower(Trim(text).substr(0, 10));
    if (head != "parameters") {
        return text;
    }
    const size_t start = text.find_first_not_of(" \t\r\n");
    const size_t end = text.find(';', start);
    if (end == std::string::npos) {
        throw EngineError(err::EngineDataTypeMismatch,
                          "Malformed parameter declaration in " + m_name);
    }
    const std::string list = text.substr(start + 10, end - start - 10);
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
                throw EngineError(err::EngineDataTypeMismatch,
                                  "Parameter without a type in " + m_name);
            }
            m_declared.push_back({item.substr(0, blank), TypeByName(Trim(item.substr(blank)))});
        }
        pos = comma + 1;
    }
    return text.substr(end + 1);
}

void StoredQuery::Set(const std::string& param, ParamType type, const Recordset::Value& value) {
    for (const auto& declared : m_declared) {
        if (declared.name == param) {
            if (declared.type != type) {
                throw EngineError(err::EngineDataTypeMismatch,
                                  "Data type mismatch for parameter " + param + " of " + m_name);
            }
            m_statement->Bind(param, type, value);
            return;
        }
    }
    throw EngineError(err::EngineItemNotFound, "Item not found in this collection: " + param);
}

void StoredQuery::SetText(const std::string& param, const std::string& value) {
    Set(param, ParamType::Text, value);
}

void StoredQuery::SetLong(const std::string& param, int32_t value) {
    Set(param, ParamType::Long, int64_t{value});
}

void StoredQuery::SetShort(const std::string& param, int16_t value) {
    Set(param, ParamType::Short, int64_t{value});
}

void StoredQuery::SetSingle(const std::string& param, float value) {
    if (!std::isfinite(value)) {
        throw EngineError(err::EngineDataTypeMismatch, "Invalid number for parameter " + param);
    }
    Set(param, ParamType::Single, static_cast<double>(value));
}

void StoredQuery::SetDate(const std::string& param, DateTime value) {
    if (!std::isfinite(value.Days())) {
        throw EngineError(err::EngineDataTypeMismatch, "Invalid date for parameter " + param);
    }
    Set(param, ParamType::Date, value.Days());
}

void StoredQuery::SetYesNo(const std::string& param, bool value) {
    Set(param, ParamType::YesNo, int64_t{value ? 1 : 0});
}

void StoredQuery::Execute() {
    m_statement->Execute();
}

std::shared_ptr<Recordset> StoredQuery::OpenSnapshot() {
    return m_statement->Snapshot();
}

} // namespace orvan
