#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace orvan {

// The version of the database schema this code reads and writes. A database
// file keeps it in PRAGMA user_version: 0 is a file made before the clock
// station's own tables, and each later version n has its upgrade
// storage/orvan_upgrade_<n>.sql, which ends by setting user_version to n. A
// server keeps it in the one row of _SchemaVersion, which
// server/orvan_schema_pg.sql creates at this version. The SQL texts are
// checked against it when they are compiled in.
inline constexpr int32_t kSchemaVersion = 4;

// For those checks, at compile time: the whole number written right after the
// first `lead` in `sql`; -1 when `lead` is not there or no digit follows it.
constexpr int64_t SqlNumberAfter(std::string_view sql, std::string_view lead) {
    const size_t at = sql.find(lead);
    if (at == std::string_view::npos) {
        return -1;
    }
    int64_t value = -1;
    for (size_t pos = at + lead.size(); pos < sql.size() && sql[pos] >= '0' && sql[pos] <= '9';
         ++pos) {
        value = (value < 0 ? 0 : value * 10) + (sql[pos] - '0');
    }
    return value;
}

// The text between the first `lead` in `sql` and the next quote; empty when
// `lead` is not there.
constexpr std::string_view SqlTextAfter(std::string_view sql, std::string_view lead) {
    const size_t at = sql.find(lead);
    if (at == std::string_view::npos) {
        return {};
    }
    const std::string_view rest = sql.substr(at + lead.size());
    return rest.substr(0, rest.find('\''));
}

} // namespace orvan
