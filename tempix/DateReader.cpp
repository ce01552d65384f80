#include "tempix/DateReader.h"

#include <array>

namespace tempix {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsLeap(int y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int y, int m) {
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[static_cast<size_t>(m - 1)];
}

struct Cursor {
    std::string_view text;
    size_t pos = 0;

    bool AtEnd() const { return pos >= text.size(); }
    char Peek() const { return pos < text.size() ? text[pos] : '\0'; }
    size_t SkipBlanks() {
        const size_t start = pos;
        while (pos < text.size() && IsBlank(text[pos])) {
            ++pos;
        }
        return pos - start;
    }
    // Reads a run of 1..maxDigits decimal digits; a longer run fails.
    bool Number(int& value, size_t& digits, size_t maxDigits) {
        const size_t start = pos;
        value = 0;
        digits = 0;
        while (pos < text.size() && IsDigit(text[pos])) {
            if (digits == maxDigits) {
                pos = start;
                return false;
            }
            value = value * 10 + (text[pos] - '0');
            ++digits;
            ++pos;
        }
        if (digits == 0) {
            pos = start;
            return false;
        }
        return true;
    }
    bool Accept(char c) {
        if (Peek() == c && !AtEnd()) {
            ++pos;
            return true;
        }
        return false;
    }
};

bool IsDateSeparator(char c) {
    return c == '/' || c == '-' || c == '.';
}

bool ValidDate(int year, int month, int day) {
    return year >= 100 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 &&
           day <= DaysInMonth(year, month);
}

// A year as typed: one or two digits fall into 1930..2029, three or four are
// taken as they are.
int FullYear(int year, size_t digits) {
    if (digits <= 2) {
        return year + (year < 30 ? 2000 : 1900);
    }
    return year;
}

// year-month-day with a four-digit year first.
bool ReadYearFirst(Cursor& cur, int& year, int& month, int& day) {
    const size_t start = cur.pos;
    size_t digits = 0;
    if (!cur.Number(year, digits, 4) || digits != 4 || !IsDateSeparator(cur.Peek())) {
        cur.pos = start;
        return false;
    }
    const char sep = cur.Peek();
    ++cur.pos;
    if (!cur.Number(month, digits, 2) || !cur.Accept(sep) || !cur.Number(day, digits, 2) ||
        !ValidDate(year, month, day)) {
        cur.pos = start;
        return false;
    }
    return true;
}

// month-day-year or month-day.
bool ReadMonthFirst(Cursor& cur, int& year, int& month, int& day) {
    const size_t start = cur.pos;
    size_t digits = 0;
    if (!cur.Number(month, digits, 2) || !IsDateSeparator(cur.Peek())) {
        cur.pos = start;
        return false;
    }
    const char sep = cur.Peek();
    ++cur.pos;
    if (!cur.Number(day, digits, 2)) {
        cur.pos = start;
        return false;
    }
    if (cur.Accept(sep)) {
        if (!cur.Number(year, digits, 4)) {
            cur.pos = start;
            return false;
        }
        year = FullYear(year, digits);
    } else {
        year = DateValue::Today().Year();
    }
    if (!ValidDate(year, month, day)) {
        cur.pos = start;
        return false;
    }
    return true;
}

// h:mm, h:mm:ss or h with a marker; the marker may follow after blanks.
bool ReadTime(Cursor& cur, int& hour, int& minute, int& second) {
    const size_t start = cur.pos;
    size_t digits = 0;
    if (!cur.Number(hour, digits, 2)) {
        return false;
    }
    minute = 0;
    second = 0;
    bool hasMinutes = false;
    if (cur.Accept(':')) {
        if (!cur.Number(minute, digits, 2)) {
            cur.pos = start;
            return false;
        }
        hasMinutes = true;
        if (cur.Accept(':') && !cur.Number(second, digits, 2)) {
            cur.pos = start;
            return false;
        }
    }
    const size_t beforeMarker = cur.pos;
    cur.SkipBlanks();
    int marker = 0; // 0 none, 1 AM, 2 PM
    const char first = Upper(cur.Peek());
    if (!cur.AtEnd() && (first == 'A' || first == 'P')) {
        marker = first == 'A' ? 1 : 2;
        ++cur.pos;
        if (Upper(cur.Peek()) == 'M' && !cur.AtEnd()) {
            ++cur.pos;
        }
    } else {
        cur.pos = beforeMarker;
    }
    if ((!hasMinutes && marker == 0) || minute > 59 || second > 59 ||
        hour > (marker == 0 ? 23 : 12)) {
        cur.pos = start;
        return false;
    }
    if (marker == 1 && hour == 12) {
        hour = 0;
    } else if (marker == 2 && hour < 12) {
        hour += 12;
    }
    return true;
}

} // namespace

std::optional<DateReader::Reading> DateReader::Read(std::string_view text) {
    Cursor cur{text};
    cur.SkipBlanks();
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    Reading reading;
    reading.hasDate = ReadYearFirst(cur, year, month, day) || ReadMonthFirst(cur, year, month, day);
    if (reading.hasDate) {
        // A time after a date needs a blank between them.
        const size_t afterDate = cur.pos;
        if (cur.SkipBlanks() > 0 && !cur.AtEnd()) {
            reading.hasTime = ReadTime(cur, hour, minute, second);
            if (!reading.hasTime) {
                cur.pos = afterDate;
            }
        }
    } else {
        reading.hasTime = ReadTime(cur, hour, minute, second);
    }
    cur.SkipBlanks();
    if ((!reading.hasDate && !reading.hasTime) || !cur.AtEnd()) {
        return std::nullopt;
    }
    reading.value = reading.hasDate ? DateValue::FromParts(year, month, day, hour, minute, second)
                                    : DateValue::FromParts(1899, 12, 30, hour, minute, second);
    return reading;
}

} // namespace tempix
