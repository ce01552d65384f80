#pragma once

// Printing a moment by a date pattern. Tokens, letters in either case:
// d dd ddd dddd, m mm mmm mmmm (minutes when they follow an hour token),
// y (day of the year) yy yyyy, h hh, n nn, s ss, AM/PM am/pm A/P a/p AMPM
// (which turn the hours to the 12-hour clock). "Quoted text" and \x print as
// they are, so do all other characters. The domain library and Tempix print
// alike but for the rules in DatePatternRules. Header only, standard library
// only.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "calendar/CivilCalendar.h"
#include "calendar/DateText.h"

namespace orvan::calendar {

// Where the two printers of date patterns differ.
struct DatePatternRules {
    // "ddddd" prints the short date (m/d/yyyy), "dddddd" and longer the long
    // date (dddd, mmmm d, yyyy); "w" the weekday number, "q" the quarter and
    // "c" the general text. Without them these are plain characters and
    // every run of four d or more is the weekday's name.
    bool extendedTokens = false;
    // "yyyy" prints four digits at least (0199), so a pattern keeps its width.
    bool fourDigitYear = false;
    // An AM/PM marker ends the "minutes after hours" rule.
    bool markerEndsHour = false;
};

inline constexpr DatePatternRules kDomainPatterns{true, false, false};
inline constexpr DatePatternRules kTempixPatterns{false, true, true};

// What a pattern prints from.
struct DatePatternParts {
    int64_t dayNumber = 0;
    int64_t secondOfDay = 0;
    CivilDate date;
    // 1 for 1 January.
    int64_t dayOfYear = 1;
};

// The parts of a moment in seconds since day zero.
constexpr DatePatternParts PatternParts(int64_t seconds) {
    const DaySeconds split = SplitSeconds(seconds);
    const CivilDate date = CivilFromDayNumber(split.day);
    return {split.day, split.secondOfDay, date, split.day - DayNumber(date.year, 1, 1) + 1};
}

// The general date text's pattern: "1/15/2003 8:05:00 AM", the date alone at
// midnight ("1/15/2003"), the time alone on day zero ("8:05:00 AM", so day
// zero itself reads "12:00:00 AM").
constexpr std::string_view GeneralPattern(const DatePatternParts& parts) {
    if (parts.dayNumber == 0) {
        return "h:nn:ss AM/PM";
    }
    if (parts.secondOfDay == 0) {
        return "m/d/yyyy";
    }
    return "m/d/yyyy h:nn:ss AM/PM";
}

inline constexpr std::array<const char*, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
inline constexpr std::array<const char*, 7> kDayNames = {
    "Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"};

constexpr bool StartsWithNoCase(std::string_view text, size_t pos, std::string_view token) {
    if (text.size() - pos < token.size()) {
        return false;
    }
    for (size_t k = 0; k < token.size(); ++k) {
        if (AsciiLower(text[pos + k]) != AsciiLower(token[k])) {
            return false;
        }
    }
    return true;
}

inline std::string Pad2(int64_t v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

inline std::string FormatDatePattern(const DatePatternParts& parts, std::string_view pattern,
                                     const DatePatternRules& rules) {
    const CivilDate& civil = parts.date;
    const int hour = static_cast<int>(parts.secondOfDay / 3600);
    const int minute = static_cast<int>(parts.secondOfDay % 3600 / 60);
    const int second = static_cast<int>(parts.secondOfDay % 60);
    const int weekday = Weekday(parts.dayNumber);

    // Any AM/PM marker turns the hours to the 12-hour clock.
    bool twelveHour = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (StartsWithNoCase(pattern, i, "AM/PM") || StartsWithNoCase(pattern, i, "A/P") ||
            StartsWithNoCase(pattern, i, "AMPM")) {
            twelveHour = true;
            break;
        }
    }
    const int shownHour = twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
    const bool pm = hour >= 12;

    std::string out;
    bool afterHour = false;
    size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (c == '"') {
            const size_t close = pattern.find('"', i + 1);
            const size_t end = close == std::string_view::npos ? pattern.size() : close;
            out.append(pattern.substr(i + 1, end - i - 1));
            i = close == std::string_view::npos ? pattern.size() : close + 1;
            continue;
        }
        if (c == '\\') {
            if (i + 1 < pattern.size()) {
                out.push_back(pattern[i + 1]);
            }
            i += 2;
            continue;
        }
        size_t marker = 0;
        if (StartsWithNoCase(pattern, i, "AM/PM")) {
            const bool upper = c == 'A';
            out += pm ? (upper ? "PM" : "pm") : (upper ? "AM" : "am");
            marker = 5;
        } else if (StartsWithNoCase(pattern, i, "AMPM")) {
            out += pm ? "PM" : "AM";
            marker = 4;
        } else if (StartsWithNoCase(pattern, i, "A/P")) {
            const bool upper = c == 'A';
            out += pm ? (upper ? "P" : "p") : (upper ? "A" : "a");
            marker = 3;
        }
        if (marker > 0) {
            i += marker;
            afterHour = afterHour && !rules.markerEndsHour;
            continue;
        }
        const char lower = AsciiLower(c);
        size_t run = 1;
        while (i + run < pattern.size() && AsciiLower(pattern[i + run]) == lower) {
            ++run;
        }
        const bool extended = rules.extendedTokens;
        switch (lower) {
        case 'd':
            if (run == 1) {
                out += std::to_string(civil.day);
            } else if (run == 2) {
                out += Pad2(civil.day);
            } else if (run == 3) {
                out += std::string(kDayNames[static_cast<size_t>(weekday - 1)]).substr(0, 3);
            } else if (run == 4 || !extended) {
                out += kDayNames[static_cast<size_t>(weekday - 1)];
            } else if (run == 5) {
                out += FormatDatePattern(parts, "m/d/yyyy", rules);
            } else {
                out += FormatDatePattern(parts, "dddd, mmmm d, yyyy", rules);
            }
            afterHour = false;
            break;
        case 'm':
            if (afterHour && run <= 2) {
                out += run == 1 ? std::to_string(minute) : Pad2(minute);
            } else if (run == 1) {
                out += std::to_string(civil.month);
            } else if (run == 2) {
                out += Pad2(civil.month);
            } else if (run == 3) {
                out += std::string(kMonthNames[static_cast<size_t>(civil.month - 1)]).substr(0, 3);
            } else {
                out += kMonthNames[static_cast<size_t>(civil.month - 1)];
            }
            afterHour = false;
            break;
        case 'y':
            if (run == 1) {
                out += std::to_string(parts.dayOfYear);
            } else if (run == 2) {
                out += Pad2(((civil.year % 100) + 100) % 100);
            } else {
                const std::string year = std::to_string(civil.year);
                out += rules.fourDigitYear && year.size() < 4
                           ? std::string(4 - year.size(), '0') + year
                           : year;
            }
            afterHour = false;
            break;
        case 'h':
            out += run == 1 ? std::to_string(shownHour) : Pad2(shownHour);
            afterHour = true;
            break;
        case 'n':
            out += run == 1 ? std::to_string(minute) : Pad2(minute);
            afterHour = false;
            break;
        case 's':
            out += run == 1 ? std::to_string(second) : Pad2(second);
            afterHour = false;
            break;
        case 'w':
        case 'q':
        case 'c':
            if (extended) {
                out += lower == 'w'   ? std::to_string(weekday)
                       : lower == 'q' ? std::to_string((civil.month - 1) / 3 + 1)
                                      : FormatDatePattern(parts, GeneralPattern(parts), rules);
                afterHour = false;
            } else {
                out.append(pattern.substr(i, run));
            }
            break;
        default:
            // Separators, blanks and other letters print as they are; they
            // do not end the "minutes after hours" rule of hh:mm.
            out.append(pattern.substr(i, run));
            break;
        }
        i += run;
    }
    return out;
}

} // namespace orvan::calendar
