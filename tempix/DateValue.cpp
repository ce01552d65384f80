#include "tempix/DateValue.h"

#include <algorithm>

#include "calendar/CivilCalendar.h"
#include "calendar/DatePattern.h"
#include "tempix/Clock.h"

namespace tempix {

namespace calendar = orvan::calendar;

namespace {

using calendar::FloorDiv;
using calendar::kSecondsPerDay;

calendar::CivilDate CivilOf(int64_t seconds) {
    return calendar::CivilFromDayNumber(FloorDiv(seconds, kSecondsPerDay));
}

// The largest value kept: far beyond any calendar date anyone types.
constexpr int64_t kLimitSeconds = int64_t{1} << 50;

int64_t Clamp(int64_t seconds) {
    return seconds > kLimitSeconds ? kLimitSeconds
                                   : (seconds < -kLimitSeconds ? -kLimitSeconds : seconds);
}

} // namespace

DateValue DateValue::FromParts(int year, int month, int day, int hour, int minute, int second) {
    return DateValue(Clamp(calendar::SecondsFromParts(year, month, day, hour, minute, second)));
}

DateValue DateValue::FromDays(double days) {
    return DateValue(calendar::SecondsFromDayCount(days));
}

DateValue DateValue::FromSeconds(int64_t linearSeconds) {
    return DateValue(Clamp(linearSeconds));
}

double DateValue::Days() const {
    return calendar::DayCountFromSeconds(m_seconds);
}

int DateValue::Year() const {
    return static_cast<int>(CivilOf(m_seconds).year);
}
int DateValue::Month() const {
    return CivilOf(m_seconds).month;
}
int DateValue::Day() const {
    return CivilOf(m_seconds).day;
}
int DateValue::Hour() const {
    return static_cast<int>(calendar::SplitSeconds(m_seconds).secondOfDay / 3600);
}
int DateValue::Minute() const {
    return static_cast<int>(calendar::SplitSeconds(m_seconds).secondOfDay % 3600 / 60);
}
int DateValue::Second() const {
    return static_cast<int>(calendar::SplitSeconds(m_seconds).secondOfDay % 60);
}
int DateValue::Weekday() const {
    return calendar::Weekday(FloorDiv(m_seconds, kSecondsPerDay));
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
        return interval.size() == name.size() && calendar::StartsWithNoCase(interval, 0, name);
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
    const calendar::DaySeconds split = calendar::SplitSeconds(m_seconds);
    const calendar::CivilDate civil = calendar::CivilFromDayNumber(split.day);
    const int64_t monthIndex = civil.year * 12 + (civil.month - 1) + months;
    const int64_t year = FloorDiv(monthIndex, 12);
    const int month = static_cast<int>(monthIndex - year * 12) + 1;
    const int newDay = std::min(civil.day, calendar::DaysInMonth(year, month));
    return DateValue(
        Clamp(calendar::DayNumber(year, month, newDay) * kSecondsPerDay + split.secondOfDay));
}

std::string DateValue::ToString() const {
    const calendar::DatePatternParts parts = calendar::PatternParts(m_seconds);
    return calendar::FormatDatePattern(parts, calendar::GeneralPattern(parts),
                                       calendar::kTempixPatterns);
}

std::string DateValue::Format(std::string_view pattern) const {
    return calendar::FormatDatePattern(calendar::PatternParts(m_seconds), pattern,
                                       calendar::kTempixPatterns);
}

DateValue DateValue::Now() {
    return CurrentClock().Now();
}

DateValue DateValue::Today() {
    return Now().DatePart();
}

} // namespace tempix
