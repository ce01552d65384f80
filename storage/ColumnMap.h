#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/DateTime.h"
#include "storage/Recordset.h"

namespace orvan {

class CCompany;
class CEmployee;

// Reads the rows of a result into objects of type T through a table of
// column name and setter. The columns are looked up once per result (a
// missing column throws then); Fill reads the current row by position.
template <class T> class ColumnMap {
public:
    using Setter = void (*)(T& target, const Recordset::Value& value);
    struct Entry {
        const char* column;
        Setter set;
    };

    ColumnMap(const Recordset& rows, std::span<const Entry> table) {
        m_columns.reserve(table.size());
        for (const Entry& entry : table) {
            m_columns.emplace_back(rows.FieldIndex(entry.column), entry.set);
        }
    }

    void Fill(const Recordset& rows, T& target) const {
        for (const auto& [index, set] : m_columns) {
            set(target, rows.FieldAt(index));
        }
    }

private:
    std::vector<std::pair<size_t, Setter>> m_columns;
};

// Checked readings of stored values. Null is "no value" (nullopt or false:
// the field keeps its initial value); a value that does not fit the field's
// type throws EngineError (6, overflow) instead of wrapping around, so a
// stored employee number of 4294968303 can never load as 1007.
namespace column {
int32_t Int32(const Recordset::Value& value);
int16_t Int16(const Recordset::Value& value);
float Single(const Recordset::Value& value);
// A day count inside the dates the system can show (years 100 to 9999).
DateTime Date(const Recordset::Value& value);
} // namespace column

// The tables of the stored queries GetAllEmployees and GetAllCompanies.
ColumnMap<CEmployee> EmployeeColumns(const Recordset& rows);
ColumnMap<CCompany> CompanyColumns(const Recordset& rows);

} // namespace orvan
