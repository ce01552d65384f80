#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/DateTime.h"
#include "core/ObjectState.h"

namespace orvan {

class CTimeRecordFactory;

// One worked interval of one employee (one row of the TimeRecord table) with
// its persistence state. Plain in-memory object: it builds its own statement
// text (ToSQL) but never touches the database itself.
//
// State rules: a record starts StateNew with TimeRecordID -1. Setting
// EmployeeID, StartTime, EndTime or HoursWorked marks it StateChanged unless
// it is StateNew; setting TimeRecordID to anything but -1 marks it
// StateChanged even when new. Setting either time recomputes HoursWorked when
// both times are set.
class CTimeRecord : public std::enable_shared_from_this<CTimeRecord> {
public:
    CTimeRecord() = default;

    // Back reference to the factory. Held weakly (the factory's list holds
    // the records), so it reads as null once the factory is gone. A null
    // value is ignored by the setter.
    std::shared_ptr<CTimeRecordFactory> TimeRecordFactory() const;
    void SetTimeRecordFactory(const std::shared_ptr<CTimeRecordFactory>& value);

    // -1 while the record has no row.
    int32_t TimeRecordID() const { return m_timeRecordID; }
    void SetTimeRecordID(int32_t value);
    int32_t EmployeeID() const { return m_employeeID; }
    void SetEmployeeID(int32_t value);
    // Zero means "not set"; an open record has EndTime zero.
    DateTime StartTime() const { return m_startTime; }
    void SetStartTime(DateTime value);
    DateTime EndTime() const { return m_endTime; }
    void SetEndTime(DateTime value);
    // The length of the interval in hours; a negative stored value (end
    // before start) reads as 0.
    float HoursWorked() const;
    void SetHoursWorked(float value);

    // The offsets from UTC (minutes east of it, see core/ZoneTime.h) the
    // station read with the clock-in and the clock-out; none where no
    // station punched (typed by the manager, or made before offsets were
    // kept), and the zone's rules then tell the offset. They tie a wall-clock
    // time to one moment when the clocks change. A new StartTime or EndTime
    // drops its offset, which belonged to the moment punched. Setting them
    // recomputes HoursWorked when both times are set and leaves ObjectState
    // alone: they are kept beside the record's row, not in it.
    std::optional<int32_t> StartUtcOffset() const { return m_startUtcOffset; }
    std::optional<int32_t> EndUtcOffset() const { return m_endUtcOffset; }
    void SetStartUtcOffset(std::optional<int32_t> value);
    void SetEndUtcOffset(std::optional<int32_t> value);
    void SetUtcOffsets(std::optional<int32_t> start, std::optional<int32_t> end);
    // True when an offset differs from the one stored for the record: any
    // change to it sets it; the factory clears both when it has loaded or
    // stored them. Only a changed offset is written, so a record loaded
    // without its offsets (the station's clock-out) keeps its stored start.
    bool StartUtcOffsetChanged() const { return m_startUtcOffsetChanged; }
    bool EndUtcOffsetChanged() const { return m_endUtcOffsetChanged; }
    bool UtcOffsetsChanged() const { return m_startUtcOffsetChanged || m_endUtcOffsetChanged; }
    void SetUtcOffsetsChanged(bool value) {
        m_startUtcOffsetChanged = value;
        m_endUtcOffsetChanged = value;
    }

    // Whether the text forms use FormatString or the general date text.
    bool EnforceFormat() const { return m_enforceFormat; }
    void SetEnforceFormat(bool value) { m_enforceFormat = value; }
    // Every record starts with the same format; it is shared until a record
    // gets one of its own, so loading a year of records allocates no text.
    const std::string& FormatString() const;
    void SetFormatString(const std::string& value);

    int32_t ObjectState() const { return m_objectState; }
    void SetObjectState(int32_t value) { m_objectState = value; }
    // 806 after a failed text form; never reset.
    int32_t ErrorNumber() const { return m_errorNumber; }

    // The real minutes from StartTime to EndTime (seconds dropped; across a
    // daylight-saving change the hour the clocks skip or repeat counts as it
    // passed), see WorkedMinutes. Negative when the end lies before the
    // start.
    int64_t MinutesWorked() const;
    // MinutesWorked divided by 60, stored and returned.
    float CalculateHoursWorked();

    // The INSERT, UPDATE or DELETE that matches ObjectState; empty for any
    // other state.
    std::string ToSQL();

    // Start, tab, end, tab, hours minus `deduction` (in hours) as "#0.00".
    // The stored hours are used, so the figure may be negative. No line end.
    // Empty text and ErrorNumber 806 on failure.
    std::string ToString(float deduction = 0.0f) const;
    // Start, tab, end.
    std::string ToStringReport() const;

private:
    void MarkChanged();
    void RecalculateWhenComplete();
    std::string TimeText(const DateTime& value) const;

    int32_t m_timeRecordID = -1;
    int32_t m_employeeID = 0;
    float m_hoursWorked = 0.0f;
    bool m_enforceFormat = true;
    std::shared_ptr<const std::string> m_formatString;
    DateTime m_startTime;
    DateTime m_endTime;
    std::optional<int32_t> m_startUtcOffset;
    std::optional<int32_t> m_endUtcOffset;
    bool m_startUtcOffsetChanged = false;
    bool m_endUtcOffsetChanged = false;
    std::string m_lastSQL;
    std::weak_ptr<CTimeRecordFactory> m_timeRecordFactory;
    int32_t m_objectState = StateNew;
    mutable int32_t m_errorNumber = 0;
};

} // namespace orvan
