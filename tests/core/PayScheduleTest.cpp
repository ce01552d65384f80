#include <gtest/gtest.h>

#include "core/PaySchedule.h"

using orvan::DateTime;
using orvan::PayPeriod;
using orvan::PaySchedule;
using orvan::PayScheduleKind;

namespace {

DateTime Day(int year, int month, int day) {
    return DateTime::FromParts(year, month, day);
}

PayPeriod Period(DateTime first, DateTime last) {
    return {first, last};
}

} // namespace

TEST(PaySchedule, TwiceAMonthSplitsOnThe15th) {
    const PaySchedule schedule(PayScheduleKind::TwiceAMonth, DateTime());
    EXPECT_EQ(schedule.PeriodHolding(Day(2026, 12, 15)),
              Period(Day(2026, 12, 1), Day(2026, 12, 15)));
    EXPECT_EQ(schedule.PeriodHolding(DateTime::FromParts(2026, 12, 16, 23, 59)),
              Period(Day(2026, 12, 16), Day(2026, 12, 31)));
    // Across the year's end, both ways.
    const PayPeriod december = schedule.PeriodHolding(Day(2026, 12, 20));
    EXPECT_EQ(schedule.Next(december), Period(Day(2027, 1, 1), Day(2027, 1, 15)));
    EXPECT_EQ(schedule.Previous(schedule.Next(december)), december);
    // February's second half ends on the 29th in a leap year, the 28th else.
    EXPECT_EQ(schedule.PeriodHolding(Day(2028, 2, 29)), Period(Day(2028, 2, 16), Day(2028, 2, 29)));
    EXPECT_EQ(schedule.PeriodHolding(Day(2027, 2, 28)), Period(Day(2027, 2, 16), Day(2027, 2, 28)));
    EXPECT_EQ(schedule.Next(schedule.PeriodHolding(Day(2028, 2, 20))),
              Period(Day(2028, 3, 1), Day(2028, 3, 15)));
    EXPECT_EQ(schedule.Previous(schedule.PeriodHolding(Day(2028, 3, 1))),
              Period(Day(2028, 2, 16), Day(2028, 2, 29)));
}

TEST(PaySchedule, MonthlyRunsToTheMonthsLastDay) {
    const PaySchedule schedule(PayScheduleKind::Monthly, DateTime());
    EXPECT_EQ(schedule.PeriodHolding(Day(2026, 12, 31)),
              Period(Day(2026, 12, 1), Day(2026, 12, 31)));
    EXPECT_EQ(schedule.Next(schedule.PeriodHolding(Day(2026, 12, 1))),
              Period(Day(2027, 1, 1), Day(2027, 1, 31)));
    EXPECT_EQ(schedule.Previous(schedule.PeriodHolding(Day(2027, 1, 9))),
              Period(Day(2026, 12, 1), Day(2026, 12, 31)));
    EXPECT_EQ(schedule.PeriodHolding(Day(2028, 2, 29)), Period(Day(2028, 2, 1), Day(2028, 2, 29)));
    EXPECT_EQ(schedule.Next(schedule.PeriodHolding(Day(2028, 2, 29))),
              Period(Day(2028, 3, 1), Day(2028, 3, 31)));
    // 2100 is no leap year.
    EXPECT_EQ(schedule.PeriodHolding(Day(2100, 2, 10)), Period(Day(2100, 2, 1), Day(2100, 2, 28)));
}

TEST(PaySchedule, EveryTwoWeeksCountsFromTheAnchorBothWays) {
    // Friday 18 December 2026 starts a period.
    const PaySchedule schedule(PayScheduleKind::EveryTwoWeeks, Day(2026, 12, 18));
    EXPECT_EQ(schedule.PeriodHolding(Day(2026, 12, 18)),
              Period(Day(2026, 12, 18), Day(2026, 12, 31)));
    EXPECT_EQ(schedule.PeriodHolding(Day(2026, 12, 31)),
              Period(Day(2026, 12, 18), Day(2026, 12, 31)));
    EXPECT_EQ(schedule.PeriodHolding(Day(2027, 1, 1)), Period(Day(2027, 1, 1), Day(2027, 1, 14)));
    // Before the anchor: the period that ends the day before it.
    EXPECT_EQ(schedule.PeriodHolding(Day(2026, 12, 17)),
              Period(Day(2026, 12, 4), Day(2026, 12, 17)));
    EXPECT_EQ(schedule.Previous(schedule.PeriodHolding(Day(2026, 12, 20))),
              Period(Day(2026, 12, 4), Day(2026, 12, 17)));
    // A period that holds 29 February still has fourteen days.
    const PaySchedule leap(PayScheduleKind::EveryTwoWeeks, Day(2028, 2, 18));
    EXPECT_EQ(leap.PeriodHolding(Day(2028, 2, 29)), Period(Day(2028, 2, 18), Day(2028, 3, 2)));
    EXPECT_EQ(leap.Next(leap.PeriodHolding(Day(2028, 2, 29))),
              Period(Day(2028, 3, 3), Day(2028, 3, 16)));
}

TEST(PaySchedule, WeeklyStartsOnTheAnchorsWeekday) {
    // The anchor's weekday (a Wednesday) matters, not the week it is in.
    const PaySchedule schedule(PayScheduleKind::Weekly, Day(2020, 1, 1));
    EXPECT_EQ(schedule.PeriodHolding(Day(2026, 12, 31)),
              Period(Day(2026, 12, 30), Day(2027, 1, 5)));
    EXPECT_EQ(schedule.Previous(schedule.PeriodHolding(Day(2027, 1, 1))),
              Period(Day(2026, 12, 23), Day(2026, 12, 29)));
    EXPECT_EQ(schedule.PeriodHolding(Day(2028, 2, 29)), Period(Day(2028, 2, 23), Day(2028, 2, 29)));
    EXPECT_EQ(schedule.Next(schedule.PeriodHolding(Day(2028, 2, 29))),
              Period(Day(2028, 3, 1), Day(2028, 3, 7)));
    // Without an anchor the weeks start on Sunday.
    const PaySchedule sunday(PayScheduleKind::Weekly, DateTime());
    EXPECT_EQ(sunday.PeriodHolding(Day(2026, 12, 31)).first, Day(2026, 12, 27));
    EXPECT_EQ(sunday.PeriodHolding(Day(2026, 12, 31)).first.Weekday(), 1);
}

TEST(PaySchedule, OnlyTheChosenDayKindIsNotFixed) {
    EXPECT_FALSE(PaySchedule().IsFixed());
    EXPECT_TRUE(PaySchedule(PayScheduleKind::Monthly, DateTime()).IsFixed());
    for (const PayScheduleKind kind :
         {PayScheduleKind::ChosenDay, PayScheduleKind::Weekly, PayScheduleKind::EveryTwoWeeks,
          PayScheduleKind::TwiceAMonth, PayScheduleKind::Monthly}) {
        EXPECT_EQ(PaySchedule::FromStoredName(PaySchedule::StoredName(kind)), kind);
    }
    EXPECT_EQ(PaySchedule::FromStoredName("Fortnightly"), std::nullopt);
    EXPECT_EQ(PaySchedule::Caption(PayScheduleKind::EveryTwoWeeks), "Every two weeks");
}
