#include "core/CTimeRecord.h"

#include <cmath>

#include "core/CTimeRecSQLConverter.h"
#include "core/ErrorNumbers.h"
#include "core/ZoneTime.h"

namespace orvan {

std::shared_ptr<CTimeRecordFactory> CTimeRecord::TimeRecordFactory() const {
    return m_timeRecordFactory.lock();
}

void CTimeRecord::SetTimeRecordFactory(const std::shared_ptr<CTimeRecordFactory>& value) {
    if (value) {
        m_timeRecordFactory = value;
    }
}

void CTimeRecord::SetTimeRecordID(int32_t value) {
    m_timeRecordID = value;
    // A record that receives a key has a row, so its next save is an update.
    if (value != -1) {
        m_objectState = StateChanged;
    }
}

void CTimeRecord::SetEmployeeID(int32_t value) {
    m_employeeID = value;
    MarkChanged();
}

void CTimeRecord::SetStartTime(DateTime value) {
    if (value != m_startTime && m_startUtcOffset) {
        m_startUtcOffset.reset();
        m_startUtcOffsetChanged = true;
    }
    m_startTime = value;
    MarkChanged();
    RecalculateWhenComplete();
}

void CTimeRecord::SetEndTime(DateTime value) {
    if (value != m_endTime && m_endUtcOffset) {
        m_endUtcOffset.reset();
        m_endUtcOffsetChanged = true;
    }
    m_endTime = value;
    MarkChanged();
    RecalculateWhenComplete();
}

void CTimeRecord::SetStartUtcOffset(std::optional<int32_t> value) {
    SetUtcOffsets(value, m_endUtcOffset);
}

void CTimeRecord::SetEndUtcOffset(std::optional<int32_t> value) {
    SetUtcOffsets(m_startUtcOffset, value);
}

void CTimeRecord::SetUtcOffsets(std::optional<int32_t> start, std::optional<int32_t> end) {
    if (start == m_startUtcOffset && end == m_endUtcOffset) {
        return;
    }
    m_startUtcOffsetChanged = m_startUtcOffsetChanged || start != m_startUtcOffset;
    m_endUtcOffsetChanged = m_endUtcOffsetChanged || end != m_endUtcOffset;
    m_startUtcOffset = start;
    m_endUtcOffset = end;
    RecalculateWhenComplete();
}

float CTimeRecord::HoursWorked() const {
    return m_hoursWorked > 0.0f ? m_hoursWorked : 0.0f;
}

void CTimeRecord::SetHoursWorked(float value) {
    m_hoursWorked = value;
    MarkChanged();
}

int64_t CTimeRecord::MinutesWorked() const {
    return WorkedMinutes(m_startTime, m_startUtcOffset, m_endTime, m_endUtcOffset);
}

float CTimeRecord::CalculateHoursWorked() {
    const int64_t minutes = MinutesWorked();
    m_hoursWorked = static_cast<float>(static_cast<double>(minutes) / 60.0);
    return m_hoursWorked;
}

std::string CTimeRecord::ToSQL() {
    // The converter wants a shared reference; a record that is not owned by
    // a shared_ptr lends itself without ownership for the length of the call.
    std::shared_ptr<CTimeRecord> self = weak_from_this().lock();
    if (!self) {
        self = std::shared_ptr<CTimeRecord>(std::shared_ptr<CTimeRecord>(), this);
    }
    CTimeRecSQLConverter converter;
    m_lastSQL = converter.ToSQL(self);
    return m_lastSQL;
}

std::string CTimeRecord::ToString(float deduction) const {
    try {
        std::string line = TimeText(m_startTime);
        line += '\t';
        line += TimeText(m_endTime);
        line += '\t';
        const float hours = m_hoursWorked - deduction;
        // A figure that is no number cannot be printed as one.
        if (!std::isfinite(hours)) {
            m_errorNumber = err::TextRendering;
            return std::string();
        }
        line += FormatNumber(hours, "#0.00");
        return line;
    } catch (...) {
        m_errorNumber = err::TextRendering;
        return std::string();
    }
}

std::string CTimeRecord::ToStringReport() const {
    try {
        std::string line = TimeText(m_startTime);
        line += '\t';
        line += TimeText(m_endTime);
        return line;
    } catch (...) {
        m_errorNumber = err::TextRendering;
        return std::string();
    }
}

void CTimeRecord::MarkChanged() {
    if (m_objectState != StateNew) {
        m_objectState = StateChanged;
    }
}

void CTimeRecord::RecalculateWhenComplete() {
    if (!m_startTime.IsZero() && !m_endTime.IsZero()) {
        CalculateHoursWorked();
    }
}

std::string CTimeRecord::TimeText(const DateTime& value) const {
    return m_enforceFormat ? value.Format(FormatString()) : value.ToString();
}

const std::string& CTimeRecord::FormatString() const {
    static const std::string kDefaultFormat = "mm/dd/yyyy hh:mm AM/PM";
    return m_formatString ? *m_formatString : kDefaultFormat;
}

void CTimeRecord::SetFormatString(const std::string& value) {
    m_formatString = std::make_shared<const std::string>(value);
}

} // namespace orvan
