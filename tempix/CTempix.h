#pragma once

#include <cstdint>
#include <string>

#include <QObject>

#include "tempix/TempixExport.h"

namespace tempix {

// The rule base behind a date/time box: turns what the user typed into a
// formatted date or time, expanding short digit-only entries, and reports the
// outcome through its signals. Bad entries never throw; they end in
// FormatError or RangeError, or in the result markers "format" and "range"
// of the two Generate operations.
class TEMPIX_EXPORT CTempix : public QObject {
    Q_OBJECT

public:
    explicit CTempix(QObject* parent = nullptr);
    ~CTempix() override;

    // The last text handed over, replaced by its formatted form once accepted.
    // Setting it checks the entry and raises exactly one signal (none for an
    // empty text).
    const std::string& Text() const { return m_text; }
    void SetText(const std::string& text);

    // "Date" (exactly) selects the date rules; anything else the time rules.
    const std::string& DataType() const { return m_dataType; }
    void SetDataType(const std::string& value) { m_dataType = value; }
    const std::string& DateFormat() const { return m_dateFormat; }
    void SetDateFormat(const std::string& value) { m_dateFormat = value; }
    const std::string& DateSeparator() const { return m_dateSeparator; }
    void SetDateSeparator(const std::string& value) { m_dateSeparator = value; }
    const std::string& TimeFormat() const { return m_timeFormat; }
    void SetTimeFormat(const std::string& value) { m_timeFormat = value; }
    const std::string& TimeSeparator() const { return m_timeSeparator; }
    void SetTimeSeparator(const std::string& value) { m_timeSeparator = value; }

    // The formatted date, "range", or an empty text for the zero date.
    // Stores the separator found in the entry in DateSeparator.
    std::string GenerateDateValue(const std::string& dateString);
    // The formatted time of day, "format" or "range". Stores the separator
    // found in the entry in TimeSeparator.
    std::string GenerateTimeValue(const std::string& timeString);

    // Derives DateFormat, DateSeparator, TimeFormat and TimeSeparator from
    // the library's default date-to-text conversion of a known moment.
    void SetSystemTempixFormats();

    // The single steps of the two Generate operations.
    //
    // The first non-digit of the entry unless it is its last character;
    // "/" otherwise. Stored in DateSeparator and returned.
    std::string DetectDateSeparator(const std::string& entry);
    // Digit-only entries of 1 to 8 digits become month, day and year joined
    // by the separator, taking the missing parts from today; other entries
    // come back unchanged.
    std::string ExpandDateEntry(const std::string& entry, const std::string& separator) const;
    // How many non-digit characters end the entry (all of them when there is
    // no digit at all).
    int32_t CountTrailingLetters(const std::string& entry) const;
    // As DetectDateSeparator with ":" as the fallback; stored in
    // TimeSeparator and returned.
    std::string DetectTimeSeparator(const std::string& entry);
    // Short time entries (digits, or digit groups joined by the separator)
    // become hours, minutes and seconds; the full shape gives an empty text
    // and every other entry "format".
    std::string ExpandTimeEntry(const std::string& entry, const std::string& separator) const;

signals:
    void UpdateText(const std::string& text);
    void FormatError(const std::string& description);
    void RangeError(const std::string& description);
    // Declared for failures while setting up; the rule base never raises it.
    void InitError(const std::string& description);

private:
    std::string m_text;
    std::string m_dataType = "Date";
    std::string m_dateFormat = "mm/dd/yyyy";
    std::string m_dateSeparator = "/";
    std::string m_timeFormat = "hh:mm:ss AM/PM";
    std::string m_timeSeparator = ":";
};

} // namespace tempix
