#include "core/CDateRange.h"
#include "core/ErrorNumbers.h"

namespace orvan {

void CDateRange::SetStartDate(DateTime value) {
    m_startDate = value;
    m_validRange = ValidateRange(value, m_endDate);
}

void CDateRange::SetEndDate(DateTime value) {
    m_endDate = value;
    m_validRange = ValidateRange(m_startDate, value);
}

int32_t CDateRange::DayCount() const {
    if (!m_validRange) {
        return -1;
    }
    return static_cast<int32_t>(DateTime::DiffDays(m_startDate, m_endDate));
}

bool CDateRange::ValidateRange(DateTime thestartdate, DateTime theenddate) {
    return Validate(thestartdate, theenddate);
}

bool CDateRange::ValidateRange(const std::string& thestartdate, const std::string& theenddate) {
    return Validate(thestartdate, theenddate);
}

bool CDateRange::ValidateRange(const std::string& thestartdate, DateTime theenddate) {
    return Validate(thestartdate, theenddate);
}

bool CDateRange::ValidateRange(DateTime thestartdate, const std::string& theenddate) {
    return Validate(thestartdate, theenddate);
}

bool CDateRange::Convert(DateTime value, DateTime& out) {
    out = value;
    return true;
}

bool CDateRange::Convert(const std::string& value, DateTime& out) {
    const std::optional<DateTime> parsed = DateTime::Parse(value);
    if (!parsed) {
        return false;
    }
    out = *parsed;
    return true;
}

template <typename S, typename E> bool CDateRange::Validate(const S& start, const E& end) {
    m_validRange = false;
    m_errorNumber = 0;
    try {
        if (!Convert(start, m_startDate) || !Convert(end, m_endDate)) {
            m_errorNumber = err::NotADate;
            return false;
        }
        m_validRange = CheckBounds();
        return m_validRange;
    } catch (...) {
        m_errorNumber = err::NotADate;
        return false;
    }
}

bool CDateRange::CheckBounds() {
    bool valid = true;
    if (m_startDate < m_minDate || m_startDate > m_maxDate) {
        m_errorNumber = err::OutOfLimitsOrNotSaved;
        valid = false;
    }
    if (m_endDate < m_minDate || m_endDate > m_maxDate) {
        m_errorNumber = err::OutOfLimitsOrNotSaved;
        valid = false;
    }
    if (m_endDate < m_startDate) {
        m_errorNumber = err::RangeEndBeforeStart;
        valid = false;
    }
    return valid;
}

bool CDateRange::CheckDateInclusion(DateTime thedate) {
    m_errorNumber = 0;
    if (!m_validRange) {
        m_errorNumber = err::RangeNotValidated;
        return false;
    }
    return CheckInclusion(thedate);
}

bool CDateRange::CheckDateInclusion(const std::string& thedate) {
    m_errorNumber = 0;
    if (!m_validRange) {
        m_errorNumber = err::RangeNotValidated;
        return false;
    }
    const std::optional<DateTime> parsed = DateTime::Parse(thedate);
    if (!parsed) {
        m_errorNumber = err::RangeDateNotConvertible;
        return false;
    }
    return CheckInclusion(*parsed);
}

bool CDateRange::CheckInclusion(DateTime thedate) {
    if (thedate < m_minDate || thedate > m_maxDate) {
        m_errorNumber = err::OutOfLimitsOrNotSaved;
        return false;
    }
    return m_startDate <= thedate && thedate <= m_endDate;
}

bool CDateRange::SetRange(DateTime thestartdate, DateTime theenddate) {
    m_startDate = thestartdate;
    m_endDate = theenddate;
    return true;
}

bool CDateRange::SetRangeString(const std::string& therange) {
    try {
        const size_t plus = therange.find('+');
        if (plus != std::string::npos) {
            const std::optional<DateTime> start = DateTime::Parse(therange.substr(0, plus));
            const std::optional<DateTime> end = DateTime::Parse(therange.substr(plus + 1));
            if (start && end) {
                m_validRange = ValidateRange(*start, *end);
                return true;
            }
        }
    } catch (...) {
        // Treated as unreadable text below.
    }
    m_startDate = DateTime();
    m_endDate = DateTime();
    m_validRange = false;
    m_errorNumber = err::RangeDateNotConvertible;
    return true;
}

std::string CDateRange::ToString() const {
    std::string text;
    try {
        text += BoundText(m_startDate);
        text += "+";
        text += BoundText(m_endDate);
    } catch (...) {
        m_errorNumber = err::TextRendering;
    }
    return text;
}

std::string CDateRange::BoundText(const DateTime& value) const {
    return m_enforceFormat ? value.Format(m_formatString) : value.ToString();
}

} // namespace orvan
