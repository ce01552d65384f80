#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "core/CTimeRecordFactory.h"
#include "core/DateTime.h"

namespace orvan {

class CDateRange;
class CEmployee;
class CJetDB;
class CTimeRecord;
class CTimeRecordFactory;
class CTimeRecordList;

// One employee's time card for one pay period: loads the records through
// the program's time record factory, has the calculator total them, keeps
// the totals and renders them as report text. Also closes an employee's
// open record at clock-out.
//
// The records are the factory's one list, not a copy: they belong to
// whichever card (or clock-out) loaded them last.
class CTimeCard {
public:
    // Takes the program's time record factory (Program::TimeRecordFactory).
    // Without one, the card loads and saves through a factory of its own on
    // its OrvanDatabase.
    CTimeCard();
    ~CTimeCard();
    CTimeCard(const CTimeCard&) = delete;
    CTimeCard& operator=(const CTimeCard&) = delete;

    std::shared_ptr<CEmployee> Employee() const { return m_employee; }
    void SetEmployee(const std::shared_ptr<CEmployee>& value);
    DateTime StartDate() const;
    void SetStartDate(DateTime value);
    DateTime EndDate() const;
    void SetEndDate(DateTime value);

    std::shared_ptr<CTimeRecordList> TimeRecordList() const;
    float RegularHoursWorked() const { return m_regularHoursWorked; }
    float OvertimeHoursWorked() const { return m_overtimeHoursWorked; }
    float TotalPay() const { return m_totalPay; }
    // The calculator's total break time of the last generation.
    float TotalBreakTime() const { return m_breakTime; }
    // The employee's hourly rates (not amounts); 0 without an employee.
    float RegularPay() const;
    float OvertimePay() const;

    int32_t ObjectState() const { return m_objectState; }
    void SetObjectState(int32_t value) { m_objectState = value; }
    void SetOrvanDatabase(const std::shared_ptr<CJetDB>& value) { m_orvanDatabase = value; }
    int32_t ErrorNumber() const { return m_errorNumber; }

    // Loads and totals the records that start within [thestartdate,
    // theenddate); callers pass the midnight after the period's last day as
    // the end. 603 invalid period, 602 no employee, 405 no database object,
    // 604 the database would not open, 605 no records, 601 unexpected.
    bool GenerateTimecard(const std::shared_ptr<CEmployee>& theemployee, DateTime thestartdate,
                          DateTime theenddate);
    // Closes the employee's earliest open record that started on or after
    // `theshiftdate` with `theendtime` and saves it. 301 when nothing could
    // be loaded (also when there is no open record); 608 when that record
    // starts after `theendtime` in real time, which stores nothing
    // (ClockInAfterEnd then tells its start). `theendutcoffset`: the end's
    // offset from UTC as the station's clock read it, kept with the record
    // in the same unit; none leaves the end to the zone's rules. The audit
    // entry is a clock-out unless `note` says otherwise.
    bool CloseTimeRecord(const std::shared_ptr<CEmployee>& theemployee, DateTime theshiftdate,
                         DateTime theendtime, std::optional<int32_t> theendutcoffset = std::nullopt,
                         const AuditNote& note = {});
    // After a CloseTimeRecord refused with 608: the open record's start.
    DateTime ClockInAfterEnd() const { return m_clockInAfterEnd; }
    // 607 and none when no record has that start and end.
    std::shared_ptr<CTimeRecord> GetTimeRecordByKey(DateTime thestarttime, DateTime theendtime);
    // Saves the list's changed records; the card is StateUnchanged afterwards
    // whatever the outcome.
    // `note` says how the changes are recorded on the audit trail.
    bool Save(const AuditNote& note = {});
    // Save as one unit of the database: every changed record is stored, or
    // none is when one fails. The list still holds the records as they were
    // before, so a caller regenerates the card to show what is stored.
    bool SaveAllOrNone(const AuditNote& note = {});
    bool SaveTimeRecord(const std::shared_ptr<CTimeRecord>& thetimerecord,
                        const AuditNote& note = {});

    // Blank line, then the totals block.
    std::string ToString();
    // Employee block, column heading, one line per record, totals block.
    std::string ToStringReport();
    // The totals block alone.
    std::string ToStringReview();

private:
    // Closes the employee's first open record of the shift date.
    bool CloseOpenRecord(CTimeRecordFactory& factory, int32_t employeeID, DateTime theshiftdate,
                         DateTime theendtime, std::optional<int32_t> theendutcoffset,
                         const AuditNote& note);
    std::string TotalsText() const;
    void MarkChanged();

    std::shared_ptr<CJetDB> m_orvanDatabase;
    std::shared_ptr<CEmployee> m_employee;
    std::unique_ptr<CDateRange> m_dateRange;
    std::shared_ptr<CTimeRecordFactory> m_factory;
    float m_regularHoursWorked = 0.0f;
    float m_overtimeHoursWorked = 0.0f;
    float m_totalPay = 0.0f;
    float m_breakTime = 0.0f;
    int32_t m_objectState;
    int32_t m_errorNumber = 0;
    DateTime m_clockInAfterEnd;
};

} // namespace orvan
