#include "core/PaySchedule.h"

#include <array>
#include <cstdint>
#include <utility>

namespace orvan {

namespace {

struct KindNames {
    PayScheduleKind kind;
    std::string_view stored;
    std::string_view caption;
};

constexpr std::array<KindNames, 5> Names{{
    {PayScheduleKind::ChosenDay, "ChosenDay", "Starting on the chosen day"},
    {PayScheduleKind::Weekly, "Weekly", "Weekly"},
    {PayScheduleKind::EveryTwoWeeks, "EveryTwoWeeks", "Every two weeks"},
    {PayScheduleKind::TwiceAMonth, "TwiceAMonth", "Twice a month"},
    {PayScheduleKind::Monthly, "Monthly", "Monthly"},
}};

// The last day of the day's month.
DateTime MonthEnd(DateTime day) {
    return DateTime::FromParts(day.Year(), day.Month() + 1, 0);
}

// The period of `length` days holding `day`, counted from `anchor`.
PayPeriod Cycle(DateTime anchor, DateTime day, int64_t length) {
    const int64_t offset = DateTime::DiffDays(anchor, day);
    // Whole periods back to the one that starts on or before the day, also
    // for days before the anchor.
    int64_t periods = offset / length;
    if (offset % length < 0) {
        --periods;
    }
    const DateTime first = anchor.AddDays(periods * length);
    return {first, first.AddDays(length - 1)};
}

} // namespace

PayPeriod PaySchedule::PeriodHolding(DateTime day) const {
    const DateTime date = day.DatePart();
    switch (m_kind) {
    case PayScheduleKind::Weekly:
        return Cycle(m_anchor, date, 7);
    case PayScheduleKind::EveryTwoWeeks:
        return Cycle(m_anchor, date, 14);
    case PayScheduleKind::TwiceAMonth:
        if (date.Day() <= 15) {
            return {DateTime::FromParts(date.Year(), date.Month(), 1),
                    DateTime::FromParts(date.Year(), date.Month(), 15)};
        }
        return {DateTime::FromParts(date.Year(), date.Month(), 16), MonthEnd(date)};
    case PayScheduleKind::Monthly:
        return {DateTime::FromParts(date.Year(), date.Month(), 1), MonthEnd(date)};
    case PayScheduleKind::ChosenDay:
        break;
    }
    return {date, date};
}

PayPeriod PaySchedule::Previous(const PayPeriod& period) const {
    return PeriodHolding(period.first.AddDays(-1));
}

PayPeriod PaySchedule::Next(const PayPeriod& period) const {
    return PeriodHolding(period.last.AddDays(1));
}

std::string_view PaySchedule::StoredName(PayScheduleKind kind) {
    for (const KindNames& names : Names) {
        if (names.kind == kind) {
            return names.stored;
        }
    }
    return Names[0].stored;
}

std::optional<PayScheduleKind> PaySchedule::FromStoredName(std::string_view name) {
    for (const KindNames& names : Names) {
        if (names.stored == name) {
            return names.kind;
        }
    }
    return std::nullopt;
}

std::string_view PaySchedule::Caption(PayScheduleKind kind) {
    for (const KindNames& names : Names) {
        if (names.kind == kind) {
            return names.caption;
        }
    }
    return Names[0].caption;
}

} // namespace orvan
