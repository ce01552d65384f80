#include "core/DateTime.h"

#include <array>
#include <charconv>
#include <cctype>
#include <chrono>
#include <cmath>
#include <ctime>
#include <mutex>

namespace orvan {

namespace {

constexpr int64_t kSecondsPerDay = 86400;
// Days from 1970-01-01 to the epoch of the day count (1899-12-30).
constexpr int64_t kUnixToEpochDays = 25569;

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

// Days since 1970-01-01 of a proleptic Gregorian date (H. Hinnant's algorithm).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

struct Civil {
    int64_t year;
    int month;
    int day;
};

Civil CivilFromDays(int64_t z) {
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t y = static_cast<int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return {y + (m <= 2), static_cast<int>(m), static_cast<int>(d)};
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

class SystemClock : public Clock {
public:
    DateTime Now() const override {
        const std::time_t t = std::time(nullptr);
        std::tm local{};
        localtime_r(&t, &local);
        return DateTime::FromParts(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday,
                                   local.tm_hour, local.tm_min, local.tm_sec);
    }
};

std::mutex g_clockMutex;
std::shared_ptr<Clock>& ClockSlot() {
    static std::shared_ptr<Clock> clock = std::make_shared<SystemClock>();
    return clock;
}

} // namespace

DateTime DateTime::FromParts(int year, int month, int day, int hour, int minute, int second) {
    // Roll the month into range first, then let days and time add up linearly.
    int64_t y = year;
    int64_t m0 = static_cast<int64_t>(month) - 1;
    y += FloorDiv(m0, 12);
    m0 -= FloorDiv(m0, 12) * 12;
    const int64_t dayNumber = DaysFromCivil(y, static_cast<unsigned>(m0 + 1), 1) +
                              kUnixToEpochDays + (static_cast<int64_t>(day) - 1);
    const int64_t seconds = dayNumber * kSecondsPerDay + static_cast<int64_t>(hour) * 3600 +
                            static_cast<int64_t>(minute) * 60 + second;
    return FromLinearSeconds(seconds);
}

DateTime DateTime::FromTime(int hour, int minute, int second) {
    return FromLinearSeconds(static_cast<int64_t>(hour) * 3600 + static_cast<int64_t>(minute) * 60 +
                             second);
}

int64_t DateTime::LinearSeconds() const {
    if (!std::isfinite(m_days)) {
        return 0;
    }
    // Keep far-out values inside what the calendar arithmetic can handle.
    const double clamped = std::fmax(std::fmin(m_days, 1.0e9), -1.0e9);
    if (clamped >= 0.0) {
        return std::llround(clamped * kSecondsPerDay);
    }
    const double day = std::trunc(clamped);
    const double fraction = std::fabs(clamped - day);
    return static_cast<int64_t>(day) * kSecondsPerDay + std::llround(fraction * kSecondsPerDay);
}

DateTime DateTime::FromLinearSeconds(int64_t seconds) {
    const int64_t day = FloorDiv(seconds, kSecondsPerDay);
    const int64_t secOfDay = seconds - day * kSecondsPerDay;
    const double fraction = static_cast<double>(secOfDay) / kSecondsPerDay;
    return DateTime(day >= 0 ? static_cast<double>(day) + fraction
                             : static_cast<double>(day) - fraction);
}

int DateTime::Year() const {
    return static_cast<int>(
        CivilFromDays(FloorDiv(LinearSeconds(), kSecondsPerDay) - kUnixToEpochDays).year);
}
int DateTime::Month() const {
    return CivilFromDays(FloorDiv(LinearSeconds(), kSecondsPerDay) - kUnixToEpochDays).month;
}
int DateTime::Day() const {
    return CivilFromDays(FloorDiv(LinearSeconds(), kSecondsPerDay) - kUnixToEpochDays).day;
}
int DateTime::Hour() const {
    const int64_t s = LinearSeconds();
    return static_cast<int>((s - FloorDiv(s, kSecondsPerDay) * kSecondsPerDay) / 3600);
}
int DateTime::Minute() const {
    const int64_t s = LinearSeconds();
    return static_cast<int>((s - FloorDiv(s, kSecondsPerDay) * kSecondsPerDay) % 3600 / 60);
}
int DateTime::Second() const {
    const int64_t s = LinearSeconds();
    return static_cast<int>((s - FloorDiv(s, kSecondsPerDay) * kSecondsPerDay) % 60);
}
int DateTime::Weekday() const {
    const int64_t day = FloorDiv(LinearSeconds(), kSecondsPerDay);
    // Day 0 (30 December 1899) was a Saturday.
    return static_cast<int>(((day + 6) % 7 + 7) % 7) + 1;
}

DateTime DateTime::DatePart() const {
    return FromLinearSeconds(FloorDiv(LinearSeconds(), kSecondsPerDay) * kSecondsPerDay);
}
DateTime DateTime::TimePart() const {
    const int64_t s = LinearSeconds();
    return FromLinearSeconds(s - FloorDiv(s, kSecondsPerDay) * kSecondsPerDay);
}
DateTime DateTime::AddDays(int64_t days) const {
    return FromLinearSeconds(LinearSeconds() + days * kSecondsPerDay);
}
DateTime DateTime::AddMinutes(int64_t minutes) const {
    return FromLinearSeconds(LinearSeconds() + minutes * 60);
}
DateTime DateTime::AddSeconds(int64_t seconds) const {
    return FromLinearSeconds(LinearSeconds() + seconds);
}
DateTime DateTime::TruncateToMinute() const {
    return FromLinearSeconds(FloorDiv(LinearSeconds(), 60) * 60);
}

int64_t DateTime::DiffDays(const DateTime& from, const DateTime& to) {
    return FloorDiv(to.LinearSeconds(), kSecondsPerDay) -
           FloorDiv(from.LinearSeconds(), kSecondsPerDay);
}
int64_t DateTime::DiffMinutes(const DateTime& from, const DateTime& to) {
    return FloorDiv(to.LinearSeconds(), 60) - FloorDiv(from.LinearSeconds(), 60);
}
int64_t DateTime::DiffSeconds(const DateTime& from, const DateTime& to) {
    return to.LinearSeconds() - from.LinearSeconds();
}

std::string DateTime::ToString() const {
    const int64_t s = LinearSeconds();
    const int64_t day = FloorDiv(s, kSecondsPerDay);
    const int64_t secOfDay = s - day * kSecondsPerDay;
    if (day == 0) {
        return Format("h:nn:ss AM/PM");
    }
    if (secOfDay == 0) {
        return Format("m/d/yyyy");
    }
    return Format("m/d/yyyy h:nn:ss AM/PM");
}

std::string DateTime::Format(std::string_view pattern) const {
    const int64_t s = LinearSeconds();
    const int64_t day = FloorDiv(s, kSecondsPerDay);
    const int64_t secOfDay = s - day * kSecondsPerDay;
    const Civil civil = CivilFromDays(day - kUnixToEpochDays);
    const int hour = static_cast<int>(secOfDay / 3600);
    const int minute = static_cast<int>(secOfDay % 3600 / 60);
    const int second = static_cast<int>(secOfDay % 60);
    const int weekday = Weekday();

    auto startsWithNoCase = [&](size_t pos, std::string_view token) {
        if (pattern.size() - pos < token.size()) {
            return false;
        }
        for (size_t k = 0; k < token.size(); ++k) {
            if (std::toupper(static_cast<unsigned char>(pattern[pos + k])) != token[k]) {
                return false;
            }
        }
        return true;
    };
    // Any AM/PM marker turns the hours to the 12-hour clock.
    bool twelveHour = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (startsWithNoCase(i, "AM/PM") || startsWithNoCase(i, "A/P") ||
            startsWithNoCase(i, "AMPM")) {
            twelveHour = true;
            break;
        }
    }
    const int shownHour = twelveHour ? (hour % 12 == 0 ? 12 : hour % 12) : hour;
    const bool pm = hour >= 12;

    std::string out;
    bool lastWasHour = false;
    size_t i = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        size_t run = 1;
        while (i + run < pattern.size() &&
               std::tolower(static_cast<unsigned char>(pattern[i + run])) == lower) {
            ++run;
        }
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
        if (startsWithNoCase(i, "AM/PM")) {
            const bool upper = pattern[i] == 'A';
            out += pm ? (upper ? "PM" : "pm") : (upper ? "AM" : "am");
            i += 5;
            continue;
        }
        if (startsWithNoCase(i, "AMPM")) {
            out += pm ? "PM" : "AM";
            i += 4;
            continue;
        }
        if (startsWithNoCase(i, "A/P")) {
            const bool upper = pattern[i] == 'A';
            out += pm ? (upper ? "P" : "p") : (upper ? "A" : "a");
            i += 3;
            continue;
        }
        switch (lower) {
        case 'd':
            if (run == 1) {
                out += std::to_string(civil.day);
            } else if (run == 2) {
                out += Pad2(civil.day);
            } else if (run == 3) {
                out += std::string(kDayNames[static_cast<size_t>(weekday - 1)]).substr(0, 3);
            } else if (run == 4) {
                out += kDayNames[static_cast<size_t>(weekday - 1)];
            } else if (run == 5) {
                out += Format("m/d/yyyy");
            } else {
                out += Format("dddd, mmmm d, yyyy");
            }
            lastWasHour = false;
            break;
        case 'm':
            if (lastWasHour && run <= 2) {
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
            lastWasHour = false;
            break;
        case 'y':
            if (run == 1) {
                out += std::to_string(
                    DiffDays(FromParts(static_cast<int>(civil.year), 1, 1), *this) + 1);
            } else if (run == 2) {
                out += Pad2(((civil.year % 100) + 100) % 100);
            } else {
                out += std::to_string(civil.year);
            }
            lastWasHour = false;
            break;
        case 'h':
            out += run == 1 ? std::to_string(shownHour) : Pad2(shownHour);
            lastWasHour = true;
            break;
        case 'n':
            out += run == 1 ? std::to_string(minute) : Pad2(minute);
            lastWasHour = false;
            break;
        case 's':
            out += run == 1 ? std::to_string(second) : Pad2(second);
            lastWasHour = false;
            break;
        case 'w':
            out += std::to_string(weekday);
            lastWasHour = false;
            break;
        case 'q':
            out += std::to_string((civil.month - 1) / 3 + 1);
            lastWasHour = false;
            break;
        case 'c':
            out += ToString();
            lastWasHour = false;
            break;
        default:
            // Separators and any other character stand for themselves; they do
            // not break the "minutes after hours" rule (hh:mm).
            out.append(pattern.substr(i, run));
            break;
        }
        i += run;
    }
    return out;
}

namespace {

struct Cursor {
    std::string_view text;
    size_t pos = 0;

    void SkipSpaces() {
        while (pos < text.size() && (text[pos] == ' ' || text[pos] == '\t')) {
            ++pos;
        }
    }
    bool AtEnd() const { return pos >= text.size(); }
    // Reads 1 to maxDigits decimal digits.
    bool Number(int& value, size_t& digits, size_t maxDigits) {
        digits = 0;
        value = 0;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) {
            if (digits == maxDigits) {
                return false;
            }
            value = value * 10 + (text[pos] - '0');
            ++digits;
            ++pos;
        }
        return digits > 0;
    }
    bool Accept(char c) {
        if (pos < text.size() && text[pos] == c) {
            ++pos;
            return true;
        }
        return false;
    }
};

// Date: m/d/y or m/d (also with '-'). Leaves the cursor after it.
bool ParseDatePart(Cursor& cur, int& year, int& month, int& day) {
    const size_t start = cur.pos;
    size_t digits = 0;
    if (!cur.Number(month, digits, 2)) {
        cur.pos = start;
        return false;
    }
    char sep = 0;
    if (cur.Accept('/')) {
        sep = '/';
    } else if (cur.Accept('-')) {
        sep = '-';
    } else {
        cur.pos = start;
        return false;
    }
    if (!cur.Number(day, digits, 2)) {
        cur.pos = start;
        return false;
    }
    if (cur.Accept(sep)) {
        if (!cur.Number(year, digits, 4)) {
            cur.pos = start;
            return false;
        }
        if (digits <= 2) {
            year += year < 30 ? 2000 : 1900;
        } else if (digits == 3 && year < 100) {
            cur.pos = start;
            return false;
        }
    } else {
        year = DateTime::Now().Year();
    }
    if (month < 1 || month > 12 || year < 100 || year > 9999 || day < 1 ||
        day > DaysInMonth(year, month)) {
        cur.pos = start;
        return false;
    }
    return true;
}

// Time: h:mm[:ss] [AM|PM|A|P], or h AM.
bool ParseTimePart(Cursor& cur, int& hour, int& minute, int& second) {
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
        if (cur.Accept(':')) {
            if (!cur.Number(second, digits, 2)) {
                cur.pos = start;
                return false;
            }
        }
    }
    const size_t beforeMarker = cur.pos;
    cur.SkipSpaces();
    int marker = 0; // 0 none, 1 AM, 2 PM
    auto upperAt = [&](size_t p) {
        return p < cur.text.size() ? std::toupper(static_cast<unsigned char>(cur.text[p])) : 0;
    };
    if (upperAt(cur.pos) == 'A' || upperAt(cur.pos) == 'P') {
        marker = upperAt(cur.pos) == 'A' ? 1 : 2;
        ++cur.pos;
        if (upperAt(cur.pos) == 'M') {
            ++cur.pos;
        }
    } else {
        cur.pos = beforeMarker;
    }
    if (!hasMinutes && marker == 0) {
        cur.pos = start;
        return false;
    }
    if (minute > 59 || second > 59) {
        cur.pos = start;
        return false;
    }
    if (marker == 0) {
        if (hour > 23) {
            cur.pos = start;
            return false;
        }
    } else {
        if (hour > 12) {
            cur.pos = start;
            return false;
        }
        if (marker == 1 && hour == 12) {
            hour = 0;
        } else if (marker == 2 && hour < 12) {
            hour += 12;
        }
    }
    return true;
}

} // namespace

std::optional<DateTime> DateTime::Parse(std::string_view text) {
    if (text.empty() || text.size() > 64) {
        return std::nullopt;
    }
    Cursor cur{text};
    cur.SkipSpaces();
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    const bool hasDate = ParseDatePart(cur, year, month, day);
    bool hasTime = false;
    if (hasDate) {
        const size_t afterDate = cur.pos;
        cur.SkipSpaces();
        if (cur.pos > afterDate || cur.AtEnd()) {
            hasTime = !cur.AtEnd() && ParseTimePart(cur, hour, minute, second);
        }
    } else {
        hasTime = ParseTimePart(cur, hour, minute, second);
    }
    cur.SkipSpaces();
    if ((!hasDate && !hasTime) || !cur.AtEnd()) {
        return std::nullopt;
    }
    if (!hasDate) {
        return FromTime(hour, minute, second);
    }
    return FromParts(year, month, day, hour, minute, second);
}

DateTime DateTime::Now() {
    return CurrentClock().Now();
}

DateTime DateTime::Today() {
    return Now().DatePart();
}

const Clock& CurrentClock() {
    std::lock_guard<std::mutex> lock(g_clockMutex);
    return *ClockSlot();
}

void SetClock(std::shared_ptr<Clock> clock) {
    std::lock_guard<std::mutex> lock(g_clockMutex);
    ClockSlot() = clock ? std::move(clock) : std::make_shared<SystemClock>();
}

} // namespace orvan
