// The station's period dialog under a fixed pay schedule: it opens on the
// schedule's period holding today and steps through the schedule's periods.

#include <gtest/gtest.h>

#include <QDateEdit>
#include <QPushButton>

#include <utility>
#include <vector>

#include "ClockTestSupport.h"
#include "core/PaySchedule.h"
#include "storage/StationStore.h"
#include "support_qt/OnNextModalDialog.h"

namespace orvan::test {
namespace {

using Shown = std::pair<QDate, QDate>;

Shown PeriodOf(QWidget* dialog) {
    return {dialog->findChild<QDateEdit*>(QStringLiteral("tptbTCFrom"))->date(),
            dialog->findChild<QDateEdit*>(QStringLiteral("tptbTCTo"))->date()};
}

void Press(QWidget* dialog, const char* name) {
    auto* button = dialog->findChild<QPushButton*>(QString::fromUtf8(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

// Opens the dialog for employee 1007 and records the period it shows on
// opening and after each of `presses`, then cancels.
std::vector<Shown> StepThrough(ClockStation& station, const std::vector<const char*>& presses) {
    std::vector<Shown> shown;
    OnNextModalDialog([&](QWidget* dialog) {
        shown.push_back(PeriodOf(dialog));
        for (const char* button : presses) {
            Press(dialog, button);
            shown.push_back(PeriodOf(dialog));
        }
        Press(dialog, "cmdCancel");
    });
    station.Type(QStringLiteral("1007"));
    station.ClickPrint();
    return shown;
}

TEST(ClockPaySchedule, TwiceAMonthOpensOnTheCurrentHalfAndStepsByHalves) {
    ClockStation station(DateTime::FromParts(2004, 2, 20, 9, 0));
    station.AddEmployee(1007, "Ann", "Lee");
    ASSERT_TRUE(StationStore(station.Database().NewJetDB())
                    .SetPaySchedule(PaySchedule(PayScheduleKind::TwiceAMonth, DateTime())));
    station.Start();
    ASSERT_NE(station.Window(), nullptr);
    const auto shown = StepThrough(station, {"cmdPeriodNext", "cmdPeriodBack", "cmdPeriodBack"});
    const std::vector<Shown> expected{
        {QDate(2004, 2, 16), QDate(2004, 2, 29)},
        {QDate(2004, 3, 1), QDate(2004, 3, 15)},
        {QDate(2004, 2, 16), QDate(2004, 2, 29)},
        {QDate(2004, 2, 1), QDate(2004, 2, 15)},
    };
    EXPECT_EQ(shown, expected);
    EXPECT_TRUE(station.Messages().shown.empty()) << station.LastMessage();
}

TEST(ClockPaySchedule, EveryTwoWeeksStepsAcrossTheYearsEnd) {
    ClockStation station(DateTime::FromParts(2003, 12, 30, 7, 0));
    station.AddEmployee(1007, "Ann", "Lee");
    ASSERT_TRUE(StationStore(station.Database().NewJetDB())
                    .SetPaySchedule(PaySchedule(PayScheduleKind::EveryTwoWeeks,
                                                DateTime::FromParts(2004, 1, 16))));
    station.Start();
    ASSERT_NE(station.Window(), nullptr);
    const auto shown = StepThrough(station, {"cmdPeriodNext", "cmdPeriodBack", "cmdPeriodBack"});
    const std::vector<Shown> expected{
        {QDate(2003, 12, 19), QDate(2004, 1, 1)},
        {QDate(2004, 1, 2), QDate(2004, 1, 15)},
        {QDate(2003, 12, 19), QDate(2004, 1, 1)},
        {QDate(2003, 12, 5), QDate(2003, 12, 18)},
    };
    EXPECT_EQ(shown, expected);
}

} // namespace
} // namespace orvan::test
