#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace orvan {

// A snapshot of a query's result: every row is read when the query runs, so
// the snapshot stays readable after the connection is closed. Rows are
// walked with a current position as with a cursor; columns are found by name
// without regard to letter case.
//
// Reading with no current row, a column that does not exist, or a Null as a
// value throws EngineError (as the engine would raise); IsNull tells Null
// from a value first.
class Recordset {
public:
    using Value = std::variant<std::monostate, int64_t, double, std::string>;

    // `values` holds the rows one after the other, each with one value per
    // column (one allocation for the whole snapshot, not one per row).
    Recordset(std::vector<std::string> columns, std::vector<Value> values);
    Recordset(std::vector<std::string> columns, const std::vector<std::vector<Value>>& rows);

    // Every row of the snapshot, known as soon as it opens.
    int32_t RecordCount() const { return m_rowCount; }
    // Before the first row / after the last one (both when there are none).
    bool IsBOF() const { return m_position < 0 || m_rowCount == 0; }
    bool IsEOF() const { return m_position >= m_rowCount || m_rowCount == 0; }
    // The snapshot opens on its first row. Moving in an empty snapshot throws.
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrevious();

    const std::vector<std::string>& Columns() const { return m_columns; }
    bool HasField(std::string_view column) const;
    // Position of a column (for reading many rows without looking the name
    // up each time) and the current row's value at that position.
    size_t FieldIndex(std::string_view column) const { return ColumnIndex(column); }
    const Value& FieldAt(size_t index) const;
    bool IsNull(std::string_view column) const;
    const Value& Field(std::string_view column) const;
    // Conversions of the current row's value; a Null or text that is not a
    // number throws.
    double AsDouble(std::string_view column) const;
    int64_t AsInteger(std::string_view column) const;
    bool AsBoolean(std::string_view column) const;
    std::string AsText(std::string_view column) const;

    // The same conversions of one value, for readers that walk columns by
    // position. Whole numbers round halves to the even neighbour; a value
    // outside the target type's range throws (overflow), never wraps.
    static double ToDouble(const Value& value);
    static int64_t ToInteger(const Value& value);
    static bool ToBoolean(const Value& value);
    static std::string ToText(const Value& value);
    static bool IsNullValue(const Value& value) {
        return std::holds_alternative<std::monostate>(value);
    }

private:
    size_t ColumnIndex(std::string_view column) const;

    std::vector<std::string> m_columns;
    std::vector<Value> m_values;
    int32_t m_rowCount = 0;
    int32_t m_position = 0;
};

} // namespace orvan
