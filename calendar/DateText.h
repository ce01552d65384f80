#pragma once

// Reading United States date and time text: month/day/year or month/day,
// h:mm, h:mm:ss or h with an AM/PM marker, a date followed by a time after a
// blank. The domain library and Tempix read alike but for the rules in
// DateTextRules. Header only, standard library only.

#include <cstddef>
#include <limits>
#include <optional>
#include <string_view>

#include "calendar/CivilCalendar.h"

namespace orvan::calendar {

// Where the two readers of date text differ.
struct DateTextRules {
    // The characters that may separate month, day and year (the same one
    // twice in a date).
    std::string_view separators;
    // Whether a four-digit year may come first (2003-01-05).
    bool yearFirst = false;
    // Longer text is no date at all.
    size_t maxLength = std::numeric_limits<size_t>::max();
};

// The domain library's date text: "/" or "-", month first, at most 64
// characters.
inline constexpr DateTextRules kDomainDateText{"/-", false, 64};
// Tempix's: "/", "-" or ".", a leading four-digit year allowed, any length.
inline constexpr DateTextRules kTempixDateText{"/-.", true};

// What a text names: at least a date or a time. Without a date the date is
// day zero (30 December 1899), without a time midnight.
struct DateTextReading {
    bool hasDate = false;
    bool hasTime = false;
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

constexpr bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}
constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// A position in date text.
struct TextCursor {
    std::string_view text;
    size_t pos = 0;

    constexpr bool AtEnd() const { return pos >= text.size(); }
    constexpr char Peek() const { return pos < text.size() ? text[pos] : '\0'; }
    // Skips blanks and tells how many there were.
    constexpr size_t SkipBlanks() {
        const size_t start = pos;
        while (pos < text.size() && IsBlank(text[pos])) {
            ++pos;
        }
        return pos - start;
    }
    // Reads a run of 1..maxDigits decimal digits; a longer run fails. The
    // cursor stays where it was when it fails.
    constexpr bool Number(int& value, size_t& digits, size_t maxDigits) {
        const size_t start = pos;
        value = 0;
        digits = 0;
        while (pos < text.size() && IsAsciiDigit(text[pos])) {
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
    constexpr bool Accept(char c) {
        if (!AtEnd() && Peek() == c) {
            ++pos;
            return true;
        }
        return false;
    }
};

// A time of day at the cursor: h:mm, h:mm:ss, or h with a marker; an AM/PM
// (or A/P) marker in either case may follow after blanks. Hours run to 23
// without a marker and to 12 with one. On failure the cursor stays.
constexpr bool ReadTimeOfDay(TextCursor& cur, int& hour, int& minute, int& second) {
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
    const char first = AsciiUpper(cur.Peek());
    if (!cur.AtEnd() && (first == 'A' || first == 'P')) {
        marker = first == 'A' ? 1 : 2;
        ++cur.pos;
        if (!cur.AtEnd() && AsciiUpper(cur.Peek()) == 'M') {
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

constexpr bool IsDateSeparator(const DateTextRules& rules, char c) {
    return rules.separators.find(c) != std::string_view::npos;
}

// year-month-day with a four-digit year first.
constexpr bool ReadYearFirstDate(TextCursor& cur, const DateTextRules& rules,
                                 DateTextReading& out) {
    const size_t start = cur.pos;
    size_t digits = 0;
    if (!cur.Number(out.year, digits, 4) || digits != 4 || !IsDateSeparator(rules, cur.Peek())) {
        cur.pos = start;
        return false;
    }
    const char sep = cur.Peek();
    ++cur.pos;
    if (!cur.Number(out.month, digits, 2) || !cur.Accept(sep) || !cur.Number(out.day, digits, 2) ||
        !IsValidDate(out.year, out.month, out.day)) {
        cur.pos = start;
        return false;
    }
    return true;
}

// month-day-year or month-day; a date without a year takes currentYear().
template <typename CurrentYear>
constexpr bool ReadMonthFirstDate(TextCursor& cur, const DateTextRules& rules, DateTextReading& out,
                                  CurrentYear&& currentYear) {
    const size_t start = cur.pos;
    size_t digits = 0;
    if (!cur.Number(out.month, digits, 2) || !IsDateSeparator(rules, cur.Peek())) {
        cur.pos = start;
        return false;
    }
    const char sep = cur.Peek();
    ++cur.pos;
    if (!cur.Number(out.day, digits, 2)) {
        cur.pos = start;
        return false;
    }
    if (cur.Accept(sep)) {
        if (!cur.Number(out.year, digits, 4)) {
            cur.pos = start;
            return false;
        }
        out.year = FullYear(out.year, digits);
    } else {
        out.year = currentYear();
    }
    if (!IsValidDate(out.year, out.month, out.day)) {
        cur.pos = start;
        return false;
    }
    return true;
}

// Reads a whole text: a date, a time, or a date and a time after a blank,
// with blanks around; nothing when the text is none of these or something is
// left over. currentYear() is called only for a date without a year.
template <typename CurrentYear>
constexpr std::optional<DateTextReading>
ReadDateText(std::string_view text, const DateTextRules& rules, CurrentYear&& currentYear) {
    DateTextReading reading;
    if (text.size() > rules.maxLength) {
        return std::nullopt;
    }
    TextCursor cur{text};
    cur.SkipBlanks();
    DateTextReading date;
    reading.hasDate = (rules.yearFirst && ReadYearFirstDate(cur, rules, date)) ||
                      ReadMonthFirstDate(cur, rules, date, currentYear);
    if (reading.hasDate) {
        reading.year = date.year;
        reading.month = date.month;
        reading.day = date.day;
        // A time after a date needs a blank between them.
        const size_t afterDate = cur.pos;
        if (cur.SkipBlanks() > 0 && !cur.AtEnd()) {
            reading.hasTime = ReadTimeOfDay(cur, reading.hour, reading.minute, reading.second);
            if (!reading.hasTime) {
                cur.pos = afterDate;
            }
        }
    } else {
        reading.hasTime = ReadTimeOfDay(cur, reading.hour, reading.minute, reading.second);
    }
    cur.SkipBlanks();
    if ((!reading.hasDate && !reading.hasTime) || !cur.AtEnd()) {
        return std::nullopt;
    }
    return reading;
}

} // namespace orvan::calendar
