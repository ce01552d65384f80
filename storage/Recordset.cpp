#include "storage/Recordset.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/DateTime.h"
#include "core/ErrorNumbers.h"
#include "storage/EngineError.h"

namespace orvan {

namespace {

// Numbers the snapshot raises with, as the engine layer would.

bool SameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) {
            return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) {
            return false;
        }
    }
    return true;
}

double TextToDouble(const std::string& text) {
    double value = 0.0;
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first < last && *first == ' ') {
        ++first;
    }
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last || first == last) {
        throw EngineError(err::RuntimeTypeMismatch, "Type mismatch");
    }
    return value;
}

} // namespace

Recordset::Recordset(std::vector<std::string> columns, std::vector<Value> values)
    : m_columns(std::move(columns)), m_values(std::move(values)) {
    const size_t width = m_columns.empty() ? 1 : m_columns.size();
    m_values.resize(m_values.size() - m_values.size() % width);
    const size_t rows = m_columns.empty() ? 0 : m_values.size() / width;
    if (rows > static_cast<size_t>(std::numeric_limits<int32_t>::max())) {
        throw EngineError(err::LockedOrOverflow, "Overflow");
    }
    m_rowCount = static_cast<int32_t>(rows);
}

Recordset::Recordset(std::vector<std::string> columns, const std::vector<std::vector<Value>>& rows)
    : Recordset(std::move(columns), [&rows] {
          std::vector<Value> values;
          for (const auto& row : rows) {
              values.insert(values.end(), row.begin(), row.end());
          }
          return values;
      }()) {}

void Recordset::MoveFirst() {
    if (m_rowCount == 0) {
        throw EngineError(err::EngineNoCurrentRecord, "No current record.");
    }
    m_position = 0;
}

void Recordset::MoveLast() {
    if (m_rowCount == 0) {
        throw EngineError(err::EngineNoCurrentRecord, "No current record.");
    }
    m_position = RecordCount() - 1;
}

void Recordset::MoveNext() {
    if (IsEOF()) {
        throw EngineError(err::EngineNoCurrentRecord, "No current record.");
    }
    ++m_position;
}

void Recordset::MovePrevious() {
    if (IsBOF()) {
        throw EngineError(err::EngineNoCurrentRecord, "No current record.");
    }
    --m_position;
}

size_t Recordset::ColumnIndex(std::string_view column) const {
    for (size_t i = 0; i < m_columns.size(); ++i) {
        if (SameNameIgnoringCase(m_columns[i], column)) {
            return i;
        }
    }
    throw EngineError(err::EngineItemNotFound,
                      "Item not found in this collection: " + std::string(column));
}

bool Recordset::HasField(std::string_view column) const {
    for (const auto& name : m_columns) {
        if (SameNameIgnoringCase(name, column)) {
            return true;
        }
    }
    return false;
}

const Recordset::Value& Recordset::Field(std::string_view column) const {
    return FieldAt(ColumnIndex(column));
}

const Recordset::Value& Recordset::FieldAt(size_t index) const {
    if (m_position < 0 || m_position >= RecordCount()) {
        throw EngineError(err::EngineNoCurrentRecord, "No current record.");
    }
    if (index >= m_columns.size()) {
        throw EngineError(err::EngineItemNotFound, "Item not found in this collection.");
    }
    return m_values[static_cast<size_t>(m_position) * m_columns.size() + index];
}

bool Recordset::IsNull(std::string_view column) const {
    return std::holds_alternative<std::monostate>(Field(column));
}

double Recordset::AsDouble(std::string_view column) const {
    return ToDouble(Field(column));
}

int64_t Recordset::AsInteger(std::string_view column) const {
    return ToInteger(Field(column));
}

bool Recordset::AsBoolean(std::string_view column) const {
    return ToBoolean(Field(column));
}

std::string Recordset::AsText(std::string_view column) const {
    return ToText(Field(column));
}

double Recordset::ToDouble(const Value& value) {
    if (const auto* i = std::get_if<int64_t>(&value)) {
        return static_cast<double>(*i);
    }
    if (const auto* d = std::get_if<double>(&value)) {
        return *d;
    }
    if (const auto* s = std::get_if<std::string>(&value)) {
        return TextToDouble(*s);
    }
    throw EngineError(err::RuntimeInvalidUseOfNull, "Invalid use of Null");
}

int64_t Recordset::ToInteger(const Value& value) {
    if (const auto* i = std::get_if<int64_t>(&value)) {
        return *i;
    }
    // Whole-number conversion rounds halves to the even neighbour. 2^63 is
    // exactly representable as a double but one beyond the largest int64_t,
    // so the upper bound is exclusive.
    const double rounded = std::nearbyint(ToDouble(value));
    constexpr double kTwoTo63 = 9223372036854775808.0;
    if (!std::isfinite(rounded) || rounded < -kTwoTo63 || rounded >= kTwoTo63) {
        throw EngineError(err::LockedOrOverflow, "Overflow");
    }
    return static_cast<int64_t>(rounded);
}

bool Recordset::ToBoolean(const Value& value) {
    if (const auto* s = std::get_if<std::string>(&value)) {
        if (SameNameIgnoringCase(*s, "true")) {
            return true;
        }
        if (SameNameIgnoringCase(*s, "false")) {
            return false;
        }
    }
    return ToDouble(value) != 0.0;
}

std::string Recordset::ToText(const Value& value) {
    if (const auto* s = std::get_if<std::string>(&value)) {
        return *s;
    }
    if (const auto* i = std::get_if<int64_t>(&value)) {
        return std::to_string(*i);
    }
    if (const auto* d = std::get_if<double>(&value)) {
        return ShortestText(*d);
    }
    throw EngineError(err::RuntimeInvalidUseOfNull, "Invalid use of Null");
}

} // namespace orvan
