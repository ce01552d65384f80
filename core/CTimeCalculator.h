#pragma once

#include <cstdint>
#include <memory>

namespace orvan {

class CEmployee;
class CTimeRecordList;

// Pay arithmetic for one employee and one pay period. Hours are grouped by the
// calendar day on which each record starts; with AutoDeduct the employee's
// break and lunch allowance is taken off once per day; every hour beyond 8 on
// one day is overtime. Single precision throughout. The sums accumulate, so a
// calculator serves one calculation.
class CTimeCalculator {
public:
    CTimeCalculator() = default;

    float RegularHours() const { return m_regularHours; }
    float OvertimeHours() const { return m_overtimeHours; }
    float RegularPay() const { return m_regularPay; }
    float OvertimePay() const { return m_overtimePay; }
    float TotalPay() const { return m_totalPay; }
    // Hours taken off automatically, summed over all days.
    float TotalBreakTime() const { return m_totalBreakTime; }
    // Always 0: failures show in the results only.
    int32_t ErrorNumber() const { return m_errorNumber; }

    // Adds the list's hours (the list sorted by start) to RegularHours,
    // OvertimeHours and TotalBreakTime. False after a failure (no employee or
    // list, a missing record, a figure out of range); the fields then hold
    // the partial sums.
    bool CalculateTimes(const std::shared_ptr<CEmployee>& theemployee,
                        const std::shared_ptr<CTimeRecordList>& thetimerecordlist);
    // Fills RegularPay, OvertimePay and TotalPay from the hour sums and the
    // two hourly rates and returns TotalPay; all three are 0 when
    // RegularHours is negative. -1.0 when a figure is out of range.
    float CalculatePay(float theregularrate, float theovertimerate);

private:
    float m_regularHours = 0.0f;
    float m_overtimeHours = 0.0f;
    float m_regularPay = 0.0f;
    float m_overtimePay = 0.0f;
    float m_totalPay = 0.0f;
    float m_totalBreakTime = 0.0f;
    std::shared_ptr<CTimeRecordList> m_timeRecordList;
    int32_t m_errorNumber = 0;
};

} // namespace orvan
