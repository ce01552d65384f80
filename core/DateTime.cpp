#include "core/DateTime.h"

#include <mutex>

#include "calendar/CivilCalendar.h"
#include "calendar/DatePattern.h"
#include "calendar/DateText.h"
#include "calendar/LocalClock.h"
#include "core/ZoneTime.h"

namespace orvan {

namespace {

using calendar::FloorDiv;
using calendar::kSecondsPerDay;

calendar::CivilDate CivilOf(int64_t seconds) {
    return calendar::CivilFromDayNumber(FloorDiv(seconds, kSecondsPerDay));
}

// What a date pattern prints of a value. The day of the year counts from
// 1 January as a DateTime holds it, so near the far end of the range it
// counts from the earliest day kept.
calendar::DatePatternParts PatternPartsOf(const DateTime& value) {
    calendar::DatePatternParts parts =
        calendar::PatternParts(calendar::SecondsFromDayCount(value.Days()));
    parts.dayOfYear =
        DateTime::DiffDays(DateTime::FromParts(static_cast<int>(parts.date.year), 1, 1), value) + 1;
    return parts;
}

class SystemClock : public Clock {
public:
    DateTime Now() const override { return Read().now; }
    int32_t UtcOffsetMinutes() const override { return Read().utcOffsetMinutes; }
    ClockReading Read() const override {
        const calendar::WallClockReading now = calendar::ReadLocalWallClock();
        return {DateTime::FromParts(now.year, now.month, now.day, now.hour, now.minute, now.second),
                now.utcOffsetMinutes};
    }
};

std::mutex g_clockMutex;
std::shared_ptr<Clock>& ClockSlot() {
    static std::shared_ptr<Clock> clock = std::make_shared<SystemClock>();
    return clock;
}

} // namespace

DateTime DateTime::FromParts(int year, int month, int day, int hour, int minute, int second) {
    return FromLinearSeconds(calendar::SecondsFromParts(year, month, day, hour, minute, second));
}

DateTime DateTime::FromTime(int hour, int minute, int second) {
    return FromLinearSeconds(static_cast<int64_t>(hour) * 3600 + static_cast<int64_t>(minute) * 60 +
                             second);
}

int64_t DateTime::LinearSeconds() const {
    return calendar::SecondsFromDayCount(m_days);
}

DateTime DateTime::FromLinearSeconds(int64_t seconds) {
    return DateTime(calendar::DayCountFromSeconds(seconds));
}

int DateTime::Year() const {
    return static_cast<int>(CivilOf(LinearSeconds()).year);
}
int DateTime::Month() const {
    return CivilOf(LinearSeconds()).month;
}
int DateTime::Day() const {
    return CivilOf(LinearSeconds()).day;
}
int DateTime::Hour() const {
    return static_cast<int>(calendar::SplitSeconds(LinearSeconds()).secondOfDay / 3600);
}
int DateTime::Minute() const {
    return static_cast<int>(calendar::SplitSeconds(LinearSeconds()).secondOfDay % 3600 / 60);
}
int DateTime::Second() const {
    return static_cast<int>(calendar::SplitSeconds(LinearSeconds()).secondOfDay % 60);
}
int DateTime::Weekday() const {
    return calendar::Weekday(FloorDiv(LinearSeconds(), kSecondsPerDay));
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
    const calendar::DatePatternParts parts = PatternPartsOf(*this);
    return calendar::FormatDatePattern(parts, calendar::GeneralPattern(parts),
                                       calendar::kDomainPatterns);
}

std::string DateTime::Format(std::string_view pattern) const {
    return calendar::FormatDatePattern(PatternPartsOf(*this), pattern, calendar::kDomainPatterns);
}

std::optional<DateTime> DateTime::Parse(std::string_view text) {
    const auto reading = calendar::ReadDateText(text, calendar::kDomainDateText,
                                                [] { return DateTime::Now().Year(); });
    if (!reading) {
        return std::nullopt;
    }
    return FromParts(reading->year, reading->month, reading->day, reading->hour, reading->minute,
                     reading->second);
}

DateTime DateTime::Now() {
    return CurrentClock().Now();
}

DateTime DateTime::Today() {
    return Now().DatePart();
}

int32_t Clock::UtcOffsetMinutes() const {
    return ZoneUtcOffsetMinutes(Now());
}

int32_t FixedClock::UtcOffsetMinutes() const {
    return m_utcOffsetMinutes ? *m_utcOffsetMinutes : ZoneUtcOffsetMinutes(m_now);
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
