#include "core/CTimeCalculator.h"

#include <cmath>

#include "core/CTimeRecord.h"
#include "core/CTimeRecordList.h"
#include "personnel/CEmployee.h"

namespace orvan {

namespace {

constexpr float kRegularDay = 8.0f;

} // namespace

bool CTimeCalculator::CalculateTimes(const std::shared_ptr<CEmployee>& theemployee,
                                     const std::shared_ptr<CTimeRecordList>& thetimerecordlist) {
    try {
        if (!theemployee || !thetimerecordlist) {
            return false;
        }
        const int32_t count = thetimerecordlist->Count();
        int32_t i = 1;
        while (i <= count) {
            const std::shared_ptr<CTimeRecord> first = thetimerecordlist->Item(i);
            if (!first) {
                return false;
            }
            const DateTime day = first->StartTime();
            float hours = first->HoursWorked();

            // Every following record that starts on the same calendar date
            // belongs to this day, even when it runs past midnight.
            int32_t j = i + 1;
            while (j <= count) {
                const std::shared_ptr<CTimeRecord> next = thetimerecordlist->Item(j);
                if (!next) {
                    return false;
                }
                if (DateTime::DiffDays(day, next->StartTime()) != 0) {
                    break;
                }
                hours = hours + next->HoursWorked();
                ++j;
            }

            if (theemployee->AutoDeduct()) {
                const double breakHours = theemployee->AutoDeductBreakLength() / 60.0;
                const double lunchHours = theemployee->AutoDeductLunchLength() / 60.0;
                if (static_cast<double>(hours) >= breakHours + lunchHours) {
                    hours =
                        static_cast<float>(static_cast<double>(hours) - breakHours - lunchHours);
                    m_totalBreakTime = static_cast<float>(
                        breakHours + static_cast<double>(m_totalBreakTime) + lunchHours);
                } else {
                    // A day shorter than its breaks loses only the time it
                    // has: taking more would take hours from the other days.
                    m_totalBreakTime = m_totalBreakTime + hours;
                    hours = 0.0f;
                }
            }

            float regular = hours;
            float overtime = 0.0f;
            if (hours > kRegularDay) {
                regular = kRegularDay;
                overtime = hours - kRegularDay;
            }
            m_regularHours = m_regularHours + regular;
            m_overtimeHours = m_overtimeHours + overtime;
            if (!std::isfinite(m_regularHours) || !std::isfinite(m_overtimeHours) ||
                !std::isfinite(m_totalBreakTime)) {
                return false;
            }
            i = j;
        }
        return true;
    } catch (...) {
        return false;
    }
}

float CTimeCalculator::CalculatePay(float theregularrate, float theovertimerate) {
    try {
        if (m_regularHours < 0.0f) {
            m_regularPay = 0.0f;
            m_overtimePay = 0.0f;
            m_totalPay = 0.0f;
            return 0.0f;
        }
        // Each figure is stored only when it is a real amount, so an overflow
        // leaves the later ones as they were.
        const float regularPay = theregularrate * m_regularHours;
        if (!std::isfinite(regularPay)) {
            return -1.0f;
        }
        m_regularPay = regularPay;
        const float overtimePay = m_overtimeHours * theovertimerate;
        if (!std::isfinite(overtimePay)) {
            return -1.0f;
        }
        m_overtimePay = overtimePay;
        const float totalPay = m_overtimePay + m_regularPay;
        if (!std::isfinite(totalPay)) {
            return -1.0f;
        }
        m_totalPay = totalPay;
        return m_totalPay;
    } catch (...) {
        return -1.0f;
    }
}

} // namespace orvan
