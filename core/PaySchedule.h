#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/DateTime.h"

namespace orvan {

// How the business cuts time into pay periods.
enum class PayScheduleKind {
    // A period starts on whatever day is chosen and runs the period length
    // of the system options; the programs' long-standing behaviour.
    ChosenDay,
    // Seven days from the anchor's weekday.
    Weekly,
    // Fourteen days, counted from the anchor date.
    EveryTwoWeeks,
    // The 1st through the 15th, the 16th through the month's last day.
    TwiceAMonth,
    // The 1st through the month's last day.
    Monthly,
};

// One pay period: its first and last day at midnight, both included.
struct PayPeriod {
    DateTime first;
    DateTime last;

    friend bool operator==(const PayPeriod&, const PayPeriod&) = default;
};

// A pay schedule: its kind and, for the weekly kinds, the first day of one
// of its periods (any one: the periods run from it in both directions).
class PaySchedule {
public:
    PaySchedule() = default;
    // A zero anchor leaves the default one.
    PaySchedule(PayScheduleKind kind, DateTime anchor)
        : m_kind(kind), m_anchor(anchor.IsZero() ? DefaultAnchor() : anchor.DatePart()) {}

    PayScheduleKind Kind() const { return m_kind; }
    DateTime Anchor() const { return m_anchor; }
    // Whether the schedule sets the periods (every kind but ChosenDay).
    bool IsFixed() const { return m_kind != PayScheduleKind::ChosenDay; }
    // Whether the kind counts its periods from the anchor.
    static bool UsesAnchor(PayScheduleKind kind) {
        return kind == PayScheduleKind::Weekly || kind == PayScheduleKind::EveryTwoWeeks;
    }

    // The period holding `day` (its time of day is ignored). For ChosenDay,
    // the one-day period of `day` itself: that kind has no periods of its own.
    PayPeriod PeriodHolding(DateTime day) const;
    // The periods right before and right after `period`.
    PayPeriod Previous(const PayPeriod& period) const;
    PayPeriod Next(const PayPeriod& period) const;

    // The kind as it is stored ("ChosenDay", "Weekly", "EveryTwoWeeks",
    // "TwiceAMonth", "Monthly") and back; an unknown text reads as nothing.
    static std::string_view StoredName(PayScheduleKind kind);
    static std::optional<PayScheduleKind> FromStoredName(std::string_view name);
    // The kind's caption on the options page.
    static std::string_view Caption(PayScheduleKind kind);

private:
    PayScheduleKind m_kind = PayScheduleKind::ChosenDay;
    // When no anchor is given the weekly kinds count from Sunday 7 January
    // 1900, so their periods start on a Sunday.
    static DateTime DefaultAnchor() { return DateTime::FromParts(1900, 1, 7); }
    DateTime m_anchor = DefaultAnchor();
};

} // namespace orvan
