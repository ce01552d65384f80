#include "tempix/DateValue.h"

#include <array>
#include <cmath>

#include "tempix/Clock.h"

namespace tempix {

namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Shift between the civil day count from 1 March of year 0 and the day
// count from 30 December 1899.
constexpr int64_t kEpochShift = 693899;

constexpr std::array<const char*, 12> kMonthNames = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};
constexpr std::array<const char*, 7> kDayNames = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                  "Thursday", "Friday", "Saturday"};

int64_t FloorDiv(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) {
        --q;
    }
    return q;
}

// Day number of a proleptic Gregorian date, counted from 30 December 1899.
int64_t DayNumber(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2 ? 1 : 0;
    const int64_t era = FloorDiv(y, 400);
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - kEpochShift;
}

struct Civil {
    int64_t year;
    int month;
    int day;
};

Civil CivilFromDayNumber(int64_t dayNumber) {
    const int64_t z = dayNumber + kEpochShift;
    const int64_t era = FloorDiv(z, 146097);
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {yoe + era * 400 + (m <= 2 ? 1 : 0), m, d};
}

bool IsLeap(int64_t y) {
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

int DaysInMonth(int64_t y, int m) {
    static constexpr std::array<int, 12> days = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return m == 2 && IsLeap(y) ? 29 : days[static_cast<size_t>(m - 1)];
}

std::string Pad2(int64_t v) {
    std::string s = std::to_string(v);
    return s.size() < 2 ? "0" + s : s;
}

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(std::string_view text, size_t pos, std::string_view token) {
    if (text.size() - pos < token.size()) {
        return false;
    }
    for (size_t k = 0; k < token.size(); ++k) {
        if (Lower(text[pos + k]) != Lower(token[k])) {
            return false;
        }
    }
    return true;
}

// The largest value kept: far beyond any calendar date anyone types.
constexpr int64_t kLimitSeconds = int64_t{1} << 50;

int64_t Clamp(int64_t seconds) {
    return seconds > kLimitSeconds ? kLimitSeconds
                                   : (seconds < -kLimitSeconds ? -kLimitSeconds : seconds);
}

} // namespace

DateValue DateValue::FromParts(int year, int month, int day, int hour, int minute, int second) {
    int64_t y = year;
    int64_t m0 = static_cast<int64_t>(month) - 1;
    y += FloorDiv(m0, 12);
    m0 -= FloorDiv(m0, 12) * 12;
    const int64_t days = DayNumber(y, m0 + 1, 1) + (static_cast<int64_t>(day) - 1);
    return DateValue(Clamp(days * kSecondsPerDay + static_cast<int64_t>(hour) * 3600 +
                           static_cast<int64_t>(minute) * 60 + second));
}

DateValue DateValue::FromDays(double days) {
    if (!std::isfinite(days)) {
        return DateValue();
    }
    const double clamped = std::fmax(std::fmin(days, 1.0e9), -1.0e9);
    if (clamped >= 0.0) {
        return DateValue(std::llround(clamped * kSecondsPerDay));
    }
    const double day = std::trunc(clamped);
    const double fraction = std::fabs(clamped - day);
    return DateValue(static_cast<int64_t>(day) * kSecondsPerDay +
                     std::llround(fraction * kSecondsPerDay));
}

DateValue DateValue::FromSeconds(int64_t linearSeconds) {
    return DateValue(Clamp(linearSeconds));
}

double DateValue::Days() const {
    const int64_t day = FloorDiv(m_seconds, kSecondsPerDay);
    const double fraction = static_cast<double>(m_seconds - day * kSecondsPerDay) / kSecondsPerDay;
    return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

int DateValue::Year() const {
    return static_cast<int>(CivilFromDayNumber(FloorDiv(m_seconds, kSecondsPerDay)).year);
}
int DateValue::Month() const {
    return CivilFromDayNumber(FloorDiv(m_seconds, kSecondsPerDay)).month;
}
int DateValue::Day() const {
    return CivilFromDayNumber(FloorDiv(m_seconds, kSecondsPerDay)).day;
}
int DateValue::Hour() const {
    return static_cast<int>((m_seconds - FloorDiv(m_seconds, kSecondsPerDay) * kSecondsPerDay) /
                            3600);
}
int DateValue::Minute() const {
    return static_cast<int>((m_seconds - FloorDiv(m_seconds, kSecondsPerDay) * kSecondsPerDay) %
                            3600 / 60);
}
int DateValue::Second() const {
    return static_cast<int>((m_seconds - FloorDiv(m_seconds, kSecondsPerDay) * kSecondsPerDay) %
                            60);
}
int DateValue::Weekday() const {
    // Day 0 (30 December 1899) was a Saturday.
    const int64_t day = FloorDiv(m_seconds, kSecondsPerDay);
    return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
}

DateValue DateValue::DatePart() const {
    return DateValue(FloorDiv(m_seconds, kSecondsPerDay) * kSecondsPerDay);
}
DateValue DateValue::TimePart() const {
    return DateValue(m_seconds - FloorDiv(m_seconds, kSecondsPerDay) * kSecondsPerDay);
}

DateValue DateValue::Add(std::string_view interval, int64_t number) const {
    // Keep the arithmetic far away from overflow; such values are nonsense.
    constexpr int64_t kMaxNumber = int64_t{1} << 30;
    if (number > kMaxNumber || number < -kMaxNumber) {
        return *this;
    }
    auto is = [&](std::string_view name) {
        return interval.size() == name.size() && StartsWithNoCase(interval, 0, name);
    };
    if (is("s")) {
        return DateValue(Clamp(m_seconds + number));
    }
    if (is("n")) {
        return DateValue(Clamp(m_seconds + number * 60));
    }
    if (is("h")) {
        return DateValue(Clamp(m_seconds + number * 3600));
    }
    if (is("d") || is("y") || is("w")) {
        return DateValue(Clamp(m_seconds + number * kSecondsPerDay));
    }
    if (is("ww")) {
        return DateValue(Clamp(m_seconds + number * 7 * kSecondsPerDay));
    }
    int64_t months = 0;
    if (is("m")) {
        months = number;
    } else if (is("q")) {
        months = number * 3;
    } else if (is("yyyy")) {
        months = number * 12;
    } else {
        return *this;
    }
    const int64_t day = FloorDiv(m_seconds, kSecondsPerDay);
    const int64_t secondOfDay = m_seconds - day * kSecondsPerDay;
    const Civil civil = CivilFromDayNumber(day);
    const int64_t monthIndex = civil.year * 12 + (civil.month - 1) + months;
    const int64_t year = FloorDiv(monthIndex, 12);
    const int month = static_cast<int>(monthIndex - year * 12) + 1;
    const int newDay = std::min(civil.day, DaysInMonth(year, month));
    return DateValue(Clamp(DayNumber(year, month, newDay) * kSecondsPerDay + secondOfDay));
}

std::string DateValue::ToString() const {
    const int64_t day = FloorDiv(m_seconds, kSecondsPerDay);
    const int64_t secondOfDay = m_seconds - day * kSecondsPerDay;
    if (day == 0) {
        return Format("h:nn:ss AM/PM");
    }
    if (secondOfDay == 0) {
        return Format("m/d/yyyy");
    }
    return Format("m/d/yyyy h:nn:ss AM/PM");
}

std::string DateValue::Format(std::string_view pattern) const {
    const int64_t day = FloorDiv(m_seconds, kSecondsPerDay);
    const int64_t secondOfDay = m_seconds - day * kSecondsPerDay;
    const Civil civil = CivilFromDayNumber(day);
    const int hour = static_cast<int>(secondOfDay / 3600);
    const int minute = static_cast<int>(secondOfDay % 3600 / 60);
    const int second = static_cast<int>(secondOfDay % 60);

    // Any AM/PM marker switches the hours to the 12-hour clock.
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
        if (StartsWithNoCase(pattern, i, "AM/PM")) {
            const bool upper = pattern[i] == 'A';
            out += pm ? (upper ? "PM" : "pm") : (upper ? "AM" : "am");
            i += 5;
            afterHour = false;
            continue;
        }
        if (StartsWithNoCase(pattern, i, "AMPM")) {
            out += pm ? "PM" : "AM";
            i += 4;
            afterHour = false;
            continue;
        }
        if (StartsWithNoCase(pattern, i, "A/P")) {
            const bool upper = pattern[i] == 'A';
            out += pm ? (upper ? "P" : "p") : (upper ? "A" : "a");
            i += 3;
            afterHour = false;
            continue;
        }
        const char lower = Lower(c);
        size_t run = 1;
        while (i + run < pattern.size() && Lower(pattern[i + run]) == lower) {
            ++run;
        }
        switch (lower) {
        case 'd':
            if (run == 1) {
                out += std::to_string(civil.day);
            } else if (run == 2) {
                out += Pad2(civil.day);
            } else if (run == 3) {
                out += std::string(kDayNames[static_cast<size_t>(Weekday() - 1)]).substr(0, 3);
            } else {
                out += kDayNames[static_cast<size_t>(Weekday() - 1)];
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
                out += std::to_string(day - DayNumber(civil.year, 1, 1) + 1);
            } else if (run == 2) {
                out += Pad2(((civil.year % 100) + 100) % 100);
            } else {
                // Four digits always, so "mm/dd/yyyy" keeps its width for
                // the years below 1000.
                std::string year = std::to_string(civil.year);
                out += year.size() < 4 ? std::string(4 - year.size(), '0') + year : year;
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

DateValue DateValue::Now() {
    return CurrentClock().Now();
}

DateValue DateValue::Today() {
    return Now().DatePart();
}

} // namespace tempix
