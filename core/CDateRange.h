#pragma once

#include <cstdint>
#include <string>

#include "core/DateTime.h"

namespace orvan {

// A period of dates (start and end, time of day kept as given) inside the
// outer limits MinDate..MaxDate. Validates the pair, counts its days, tests
// whether a date falls inside and converts to and from "start+end" text.
class CDateRange {
public:
    CDateRange() = default;

    // Outer limits, both inclusive; changing them does not re-validate.
    DateTime MinDate() const { return m_minDate; }
    void SetMinDate(DateTime value) { m_minDate = value; }
    DateTime MaxDate() const { return m_maxDate; }
    void SetMaxDate(DateTime value) { m_maxDate = value; }

    // Each setter stores the bound and re-validates the pair (ValidRange and
    // ErrorNumber follow).
    DateTime StartDate() const { return m_startDate; }
    void SetStartDate(DateTime value);
    DateTime EndDate() const { return m_endDate; }
    void SetEndDate(DateTime value);

    // Midnights from StartDate to EndDate for a valid range, otherwise -1.
    int32_t DayCount() const;
    bool ValidRange() const { return m_validRange; }

    bool EnforceFormat() const { return m_enforceFormat; }
    void SetEnforceFormat(bool value) { m_enforceFormat = value; }
    const std::string& FormatString() const { return m_formatString; }
    void SetFormatString(const std::string& value) { m_formatString = value; }

    // 801 not a date, 802 end before start, 803 outside MinDate..MaxDate,
    // 804 inclusion test on an invalid range, 806 ToString failed, 899 a
    // bound could not be read.
    int32_t ErrorNumber() const { return m_errorNumber; }

    // Stores both bounds and checks them: each inside MinDate..MaxDate (803)
    // and the end not before the start (802); the last failing check's code
    // stays. Texts are read as United States dates; one that does not read
    // gives 899 (the bounds stored before it stay).
    bool ValidateRange(DateTime thestartdate, DateTime theenddate);
    bool ValidateRange(const std::string& thestartdate, const std::string& theenddate);
    bool ValidateRange(const std::string& thestartdate, DateTime theenddate);
    bool ValidateRange(DateTime thestartdate, const std::string& theenddate);

    // Whether StartDate <= thedate <= EndDate. False with 804 on an invalid
    // range, 801 for a text that is no date, 803 outside MinDate..MaxDate; a
    // date merely outside the period gives False without a code.
    bool CheckDateInclusion(DateTime thedate);
    bool CheckDateInclusion(const std::string& thedate);

    // Stores both bounds without validating; ValidRange keeps its value.
    bool SetRange(DateTime thestartdate, DateTime theenddate);
    // Reads "start+end" (split at the first "+") and validates the pair. A
    // text without "+" or with a part that is no date clears both bounds,
    // makes the range invalid and sets 801. Always True.
    bool SetRangeString(const std::string& therange);

    // "start+end", each bound formatted with FormatString (EnforceFormat) or
    // as general date text. SetRangeString reads it back.
    std::string ToString() const;

private:
    // Reads a bound into `out`; text goes through the date reading.
    static bool Convert(DateTime value, DateTime& out);
    static bool Convert(const std::string& value, DateTime& out);
    template <typename S, typename E> bool Validate(const S& start, const E& end);
    bool CheckBounds();
    bool CheckInclusion(DateTime thedate);
    std::string BoundText(const DateTime& value) const;

    DateTime m_minDate = DateTime::FromParts(1900, 1, 1);
    DateTime m_maxDate = DateTime::FromParts(2100, 12, 31);
    DateTime m_startDate;
    DateTime m_endDate;
    bool m_validRange = false;
    bool m_enforceFormat = true;
    std::string m_formatString = "mm/dd/yyyy";
    mutable int32_t m_errorNumber = 0;
};

} // namespace orvan
