#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <utility>
#include <vector>

#include "core/CTimeCalculator.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordList.h"
#include "personnel/CEmployee.h"

using orvan::CEmployee;
using orvan::CTimeCalculator;
using orvan::CTimeRecord;
using orvan::CTimeRecordList;
using orvan::DateTime;

namespace {

struct Shift {
    int day;
    int startHour;
    int startMinute;
    int endDay;
    int endHour;
    int endMinute;
};

std::shared_ptr<CTimeRecordList> Shifts(const std::vector<Shift>& shifts) {
    auto list = std::make_shared<CTimeRecordList>();
    for (const Shift& s : shifts) {
        auto record = std::make_shared<CTimeRecord>();
        record->SetStartTime(DateTime::FromParts(2003, 1, s.day, s.startHour, s.startMinute));
        if (s.endDay != 0) {
            record->SetEndTime(DateTime::FromParts(2003, 1, s.endDay, s.endHour, s.endMinute));
        }
        list->Insert(record, list->Count() + 1);
    }
    return list;
}

std::shared_ptr<CEmployee> Employee(bool autoDeduct = false, int16_t breakMinutes = 0,
                                    int16_t lunchMinutes = 0) {
    auto employee = std::make_shared<CEmployee>();
    employee->SetAutoDeduct(autoDeduct);
    employee->SetAutoDeductBreakLength(breakMinutes);
    employee->SetAutoDeductLunchLength(lunchMinutes);
    return employee;
}

} // namespace

TEST(CTimeCalculator, StartsAtZero) {
    CTimeCalculator calc;
    EXPECT_EQ(calc.RegularHours(), 0.0f);
    EXPECT_EQ(calc.OvertimeHours(), 0.0f);
    EXPECT_EQ(calc.RegularPay(), 0.0f);
    EXPECT_EQ(calc.OvertimePay(), 0.0f);
    EXPECT_EQ(calc.TotalPay(), 0.0f);
    EXPECT_EQ(calc.TotalBreakTime(), 0.0f);
    EXPECT_EQ(calc.ErrorNumber(), 0);
}

TEST(CTimeCalculator, NineHourDayHasOneHourOvertime) {
    CTimeCalculator calc;
    EXPECT_TRUE(calc.CalculateTimes(Employee(), Shifts({{15, 8, 0, 15, 17, 0}})));
    EXPECT_EQ(calc.RegularHours(), 8.0f);
    EXPECT_EQ(calc.OvertimeHours(), 1.0f);
    EXPECT_EQ(calc.TotalBreakTime(), 0.0f);
}

TEST(CTimeCalculator, RecordsOfOneDayAreSummed) {
    CTimeCalculator calc;
    EXPECT_TRUE(
        calc.CalculateTimes(Employee(), Shifts({{15, 8, 0, 15, 12, 0}, {15, 12, 30, 15, 17, 30}})));
    EXPECT_EQ(calc.RegularHours(), 8.0f);
    EXPECT_EQ(calc.OvertimeHours(), 1.0f);
}

TEST(CTimeCalculator, AutoDeductionOncePerDay) {
    CTimeCalculator calc;
    EXPECT_TRUE(calc.CalculateTimes(Employee(true, 15, 30),
                                    Shifts({{15, 8, 0, 15, 12, 0}, {15, 12, 30, 15, 17, 30}})));
    EXPECT_EQ(calc.RegularHours(), 8.0f);
    EXPECT_EQ(calc.OvertimeHours(), 0.25f);
    EXPECT_EQ(calc.TotalBreakTime(), 0.75f);
}

TEST(CTimeCalculator, AllowanceIgnoredWithoutAutoDeduct) {
    CTimeCalculator calc;
    EXPECT_TRUE(calc.CalculateTimes(Employee(false, 15, 30), Shifts({{15, 8, 0, 15, 16, 0}})));
    EXPECT_EQ(calc.RegularHours(), 8.0f);
    EXPECT_EQ(calc.OvertimeHours(), 0.0f);
    EXPECT_EQ(calc.TotalBreakTime(), 0.0f);
}

TEST(CTimeCalculator, ExactlyEightHoursIsRegular) {
    CTimeCalculator calc;
    EXPECT_TRUE(calc.CalculateTimes(Employee(), Shifts({{15, 9, 0, 15, 17, 0}})));
    EXPECT_EQ(calc.RegularHours(), 8.0f);
    EXPECT_EQ(calc.OvertimeHours(), 0.0f);
}

TEST(CTimeCalculator, OvertimeIsDecidedPerDay) {
    CTimeCalculator longDays;
    EXPECT_TRUE(longDays.CalculateTimes(Employee(), Shifts({{13, 8, 0, 13, 17, 0},
                                                            {14, 8, 0, 14, 17, 0},
                                                            {15, 8, 0, 15, 17, 0},
                                                            {16, 8, 0, 16, 17, 0},
                                                            {17, 8, 0, 17, 17, 0}})));
    EXPECT_EQ(longDays.RegularHours(), 40.0f);
    EXPECT_EQ(longDays.OvertimeHours(), 5.0f);

    // Six days of 7.5 hours: 45 hours in the period, no overtime.
    CTimeCalculator longWeek;
    EXPECT_TRUE(longWeek.CalculateTimes(Employee(), Shifts({{13, 8, 0, 13, 15, 30},
                                                            {14, 8, 0, 14, 15, 30},
                                                            {15, 8, 0, 15, 15, 30},
                                                            {16, 8, 0, 16, 15, 30},
                                                            {17, 8, 0, 17, 15, 30},
                                                            {18, 8, 0, 18, 15, 30}})));
    EXPECT_EQ(longWeek.RegularHours(), 45.0f);
    EXPECT_EQ(longWeek.OvertimeHours(), 0.0f);
}

TEST(CTimeCalculator, NightShiftCountsOnItsStartDay) {
    // 22:00-06:30 (8.5 h) on the 15th, then 07:00-10:00 on the 16th.
    CTimeCalculator calc;
    EXPECT_TRUE(
        calc.CalculateTimes(Employee(), Shifts({{15, 22, 0, 16, 6, 30}, {16, 7, 0, 16, 10, 0}})));
    EXPECT_EQ(calc.RegularHours(), 11.0f);
    EXPECT_EQ(calc.OvertimeHours(), 0.5f);
}

// A day's deduction takes at most the day's own time: an open record counts
// nothing, and a short day takes nothing from the others.
TEST(CTimeCalculator, DeductionNeverTakesMoreThanTheDayWorked) {
    CTimeCalculator open;
    EXPECT_TRUE(open.CalculateTimes(Employee(true, 15, 30), Shifts({{15, 8, 0, 0, 0, 0}})));
    EXPECT_EQ(open.RegularHours(), 0.0f);
    EXPECT_EQ(open.OvertimeHours(), 0.0f);
    EXPECT_EQ(open.TotalBreakTime(), 0.0f);
    EXPECT_EQ(open.CalculatePay(10.0f, 15.0f), 0.0f);
    EXPECT_EQ(open.TotalPay(), 0.0f);

    // 9 h less 0.75 h, then 0.5 h that loses only its own half hour.
    CTimeCalculator shortDay;
    EXPECT_TRUE(shortDay.CalculateTimes(Employee(true, 15, 30),
                                        Shifts({{15, 8, 0, 15, 17, 0}, {16, 8, 0, 16, 8, 30}})));
    EXPECT_EQ(shortDay.RegularHours(), 8.0f);
    EXPECT_EQ(shortDay.OvertimeHours(), 0.25f);
    EXPECT_EQ(shortDay.TotalBreakTime(), 1.25f);

    // A day exactly as long as its breaks counts nothing and takes them all.
    CTimeCalculator exact;
    EXPECT_TRUE(exact.CalculateTimes(Employee(true, 15, 30), Shifts({{15, 8, 0, 15, 8, 45}})));
    EXPECT_EQ(exact.RegularHours(), 0.0f);
    EXPECT_EQ(exact.TotalBreakTime(), 0.75f);
}

TEST(CTimeCalculator, NegativeRecordCountsAsZero) {
    CTimeCalculator calc;
    EXPECT_TRUE(
        calc.CalculateTimes(Employee(), Shifts({{15, 17, 0, 15, 8, 0}, {15, 18, 0, 15, 19, 0}})));
    EXPECT_EQ(calc.RegularHours(), 1.0f);
}

TEST(CTimeCalculator, SinglePrecisionSums) {
    // 430 minutes: 7.1666665 hours; with a 10-minute break 7.0.
    CTimeCalculator calc;
    EXPECT_TRUE(calc.CalculateTimes(Employee(true, 10, 0), Shifts({{15, 8, 0, 15, 15, 10}})));
    EXPECT_EQ(calc.RegularHours(), static_cast<float>(7.1666665f - 10 / 60.0));
    EXPECT_EQ(calc.TotalBreakTime(), static_cast<float>(10 / 60.0));
    CTimeCalculator plain;
    EXPECT_TRUE(plain.CalculateTimes(Employee(), Shifts({{15, 8, 0, 15, 15, 10}})));
    EXPECT_EQ(plain.RegularHours(), 7.1666665f);
}

TEST(CTimeCalculator, SumsAccumulateAcrossCalls) {
    CTimeCalculator calc;
    auto list = Shifts({{15, 8, 0, 15, 17, 0}});
    EXPECT_TRUE(calc.CalculateTimes(Employee(true, 0, 30), list));
    EXPECT_TRUE(calc.CalculateTimes(Employee(true, 0, 30), list));
    EXPECT_EQ(calc.RegularHours(), 16.0f);
    EXPECT_EQ(calc.OvertimeHours(), 1.0f);
    EXPECT_EQ(calc.TotalBreakTime(), 1.0f);
}

TEST(CTimeCalculator, EmptyListGivesZero) {
    CTimeCalculator calc;
    EXPECT_TRUE(calc.CalculateTimes(Employee(true, 15, 30), std::make_shared<CTimeRecordList>()));
    EXPECT_EQ(calc.RegularHours(), 0.0f);
    EXPECT_EQ(calc.TotalBreakTime(), 0.0f);
}

TEST(CTimeCalculator, MissingEmployeeOrListFails) {
    CTimeCalculator calc;
    EXPECT_FALSE(calc.CalculateTimes(nullptr, Shifts({{15, 8, 0, 15, 17, 0}})));
    EXPECT_FALSE(calc.CalculateTimes(Employee(), nullptr));
    EXPECT_EQ(calc.ErrorNumber(), 0);
    EXPECT_EQ(calc.RegularHours(), 0.0f);
}

TEST(CTimeCalculator, OutOfRangeHoursFailWithPartialSums) {
    auto list = Shifts({{15, 8, 0, 15, 12, 0}, {16, 8, 0, 16, 12, 0}});
    list->Item(2)->SetHoursWorked(std::numeric_limits<float>::infinity());
    CTimeCalculator calc;
    EXPECT_FALSE(calc.CalculateTimes(Employee(), list));
    EXPECT_EQ(calc.ErrorNumber(), 0);
    // Four hours of day one and the capped eight of day two.
    EXPECT_EQ(calc.RegularHours(), 12.0f);
}

TEST(CTimeCalculator, Pay) {
    CTimeCalculator calc;
    EXPECT_TRUE(calc.CalculateTimes(Employee(), Shifts({{13, 8, 0, 13, 17, 0},
                                                        {14, 8, 0, 14, 17, 0},
                                                        {15, 8, 0, 15, 17, 0},
                                                        {16, 8, 0, 16, 17, 0},
                                                        {17, 8, 0, 17, 17, 0}})));
    EXPECT_EQ(calc.CalculatePay(10.0f, 15.0f), 475.0f);
    EXPECT_EQ(calc.RegularPay(), 400.0f);
    EXPECT_EQ(calc.OvertimePay(), 75.0f);
    EXPECT_EQ(calc.TotalPay(), 475.0f);
}

TEST(CTimeCalculator, PayIsNotRoundedToCents) {
    CTimeCalculator calc;
    EXPECT_TRUE(calc.CalculateTimes(Employee(), Shifts({{15, 8, 0, 15, 15, 10}})));
    const float expected = 7.33f * 7.1666665f;
    EXPECT_EQ(calc.CalculatePay(7.33f, 11.0f), expected);
    EXPECT_EQ(calc.OvertimePay(), 0.0f);
}

TEST(CTimeCalculator, PayOverflowGivesMinusOne) {
    CTimeCalculator calc;
    EXPECT_TRUE(calc.CalculateTimes(Employee(), Shifts({{15, 8, 0, 15, 18, 0}})));
    EXPECT_EQ(calc.CalculatePay(10.0f, 15.0f), 110.0f);
    EXPECT_EQ(calc.CalculatePay(10.0f, std::numeric_limits<float>::max()), -1.0f);
    EXPECT_EQ(calc.RegularPay(), 80.0f);
    EXPECT_EQ(calc.OvertimePay(), 30.0f);
    EXPECT_EQ(calc.TotalPay(), 110.0f);
    EXPECT_EQ(calc.CalculatePay(std::numeric_limits<float>::quiet_NaN(), 15.0f), -1.0f);
}
