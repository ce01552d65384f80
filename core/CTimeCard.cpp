#include "core/CTimeCard.h"

#include "core/CDateRange.h"
#include "core/CTimeCalculator.h"
#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "core/CTimeRecordList.h"
#include "core/ObjectState.h"
#include "core/ZoneTime.h"
#include "storage/AuditTrail.h"
#include "core/Program.h"
#include "personnel/CEmployee.h"
#include "storage/CJetDB.h"
#include "core/ErrorNumbers.h"

namespace orvan {

namespace {
constexpr const char* kLineEnd = "\r\n";

std::string Figure(float value) {
    return FormatNumber(value, "#0.00");
}

// The program's one factory; where no program has set one up (a tool or a
// test using cards on their own), a factory of the card's own on its
// database, so the card still works.
std::shared_ptr<CTimeRecordFactory> FactoryFor(const std::shared_ptr<CJetDB>& database) {
    if (auto factory = Program::TimeRecordFactory()) {
        return factory;
    }
    if (!database) {
        return nullptr;
    }
    auto own = std::make_shared<CTimeRecordFactory>();
    own->SetOrvanDatabase(database);
    return own;
}
} // namespace

CTimeCard::CTimeCard()
    : m_dateRange(std::make_unique<CDateRange>()), m_factory(Program::TimeRecordFactory()),
      m_objectState(StateNew) {}

CTimeCard::~CTimeCard() = default;

void CTimeCard::MarkChanged() {
    if (m_objectState != StateNew) {
        m_objectState = StateChanged;
    }
}

void CTimeCard::SetEmployee(const std::shared_ptr<CEmployee>& value) {
    m_employee = value;
    MarkChanged();
}

DateTime CTimeCard::StartDate() const {
    return m_dateRange->StartDate();
}

void CTimeCard::SetStartDate(DateTime value) {
    m_dateRange->SetStartDate(value);
    MarkChanged();
}

DateTime CTimeCard::EndDate() const {
    return m_dateRange->EndDate();
}

void CTimeCard::SetEndDate(DateTime value) {
    m_dateRange->SetEndDate(value);
    MarkChanged();
}

std::shared_ptr<CTimeRecordList> CTimeCard::TimeRecordList() const {
    return m_factory ? m_factory->TimeRecordList() : nullptr;
}

float CTimeCard::RegularPay() const {
    return m_employee ? m_employee->PayRate() : 0.0f;
}

float CTimeCard::OvertimePay() const {
    return m_employee ? m_employee->OvertimePayRate() : 0.0f;
}

bool CTimeCard::GenerateTimecard(const std::shared_ptr<CEmployee>& theemployee,
                                 DateTime thestartdate, DateTime theenddate) {
    m_errorNumber = 0;
    try {
        if (!m_dateRange->ValidateRange(thestartdate, theenddate)) {
            m_errorNumber = err::InvalidPeriod;
            return false;
        }
        if (!theemployee) {
            m_errorNumber = err::NoEmployee;
            return false;
        }
        m_employee = theemployee;
        if (!m_orvanDatabase) {
            m_errorNumber = err::NoTimeRecordFactory;
            return false;
        }
        if (!m_factory) {
            m_factory = FactoryFor(m_orvanDatabase);
        }
        // Only the records that start within the period: a night shift that
        // starts on its last day is on this card, an open record of a later
        // day is not.
        const bool loaded =
            m_factory->BuildPeriodList(m_employee->EmployeeID(), StartDate(), EndDate());
        if (m_factory->DatabaseUnavailable()) {
            m_errorNumber = err::TimeRecordsNotLoaded;
            return false;
        }
        const auto list = m_factory->TimeRecordList();
        if (!loaded || !list || list->Count() == 0) {
            m_errorNumber = err::NoTimeRecords;
            return false;
        }
        CTimeCalculator calculator;
        if (!calculator.CalculateTimes(m_employee, list)) {
            m_regularHoursWorked = 0.0f;
            m_overtimeHoursWorked = 0.0f;
            m_errorNumber = calculator.ErrorNumber();
            return false;
        }
        m_regularHoursWorked = calculator.RegularHours();
        m_overtimeHoursWorked = calculator.OvertimeHours();
        m_breakTime = calculator.TotalBreakTime();
        m_totalPay = calculator.CalculatePay(m_employee->PayRate(), m_employee->OvertimePayRate());
        return true;
    } catch (...) {
        m_errorNumber = err::TimeCardUnexpected;
        return false;
    }
}

bool CTimeCard::CloseTimeRecord(const std::shared_ptr<CEmployee>& theemployee,
                                DateTime theshiftdate, DateTime theendtime,
                                std::optional<int32_t> theendutcoffset, const AuditNote& note) {
    m_errorNumber = 0;
    m_clockInAfterEnd = DateTime();
    try {
        const auto factory = FactoryFor(m_orvanDatabase);
        if (!factory || !theemployee) {
            m_errorNumber = err::ListCreate;
            return false;
        }
        // The open record is read and closed in one unit: two stations
        // closing it at the same moment can neither both close it nor close
        // one that another program has just changed.
        const auto database = factory->OrvanDatabase();
        const auto readAndClose = [&] {
            m_errorNumber = 0;
            AuditNote closing = note;
            if (closing.kind.empty()) {
                closing.kind = audit::kClockOut;
            }
            return CloseOpenRecord(*factory, theemployee->EmployeeID(), theshiftdate, theendtime,
                                   theendutcoffset, closing);
        };
        return database ? database->RunAsOneTransaction(readAndClose, CJetDB::UnitEnd::Discard)
                        : readAndClose();
    } catch (...) {
        m_errorNumber = err::ListCreate;
        return false;
    }
}

bool CTimeCard::CloseOpenRecord(CTimeRecordFactory& factory, int32_t employeeID,
                                DateTime theshiftdate, DateTime theendtime,
                                std::optional<int32_t> theendutcoffset, const AuditNote& note) {
    // The records come without their offsets: on the server, reading them
    // here would make every two stations closing records at once conflict.
    if (!factory.BuildList(employeeID, theshiftdate, theshiftdate, false) ||
        factory.DatabaseUnavailable()) {
        m_errorNumber = err::ListCreate;
        return false;
    }
    const auto list = factory.TimeRecordList();
    for (int32_t i = 1; list && i <= list->Count(); ++i) {
        const auto record = list->Item(i);
        if (!record || !record->EndTime().IsZero()) {
            continue;
        }
        // A record ending before it starts would be stored as no time at
        // all; it stays open for the manager to correct. Before is real
        // time: after the clocks went back an hour, a later clock-out may
        // show an earlier time. A clock-in in the repeated hour is one of
        // two moments, which only its stored offset tells.
        if (ZoneRepeats(record->StartTime()) && !factory.LoadUtcOffsets(*record)) {
            m_errorNumber = err::ListCreate;
            return false;
        }
        if (WorkedMinutes(record->StartTime(), record->StartUtcOffset(), theendtime,
                          theendutcoffset) < 0) {
            m_errorNumber = err::ClockOutBeforeClockIn;
            m_clockInAfterEnd = record->StartTime();
            return false;
        }
        record->SetEndTime(theendtime);
        record->SetEndUtcOffset(theendutcoffset);
        if (factory.Save(record, note)) {
            return true;
        }
    }
    return false;
}

std::shared_ptr<CTimeRecord> CTimeCard::GetTimeRecordByKey(DateTime thestarttime,
                                                           DateTime theendtime) {
    m_errorNumber = 0;
    try {
        auto found = m_factory ? m_factory->GetTimeRecordByKey(thestarttime, theendtime) : nullptr;
        if (!found) {
            m_errorNumber = err::TimeRecordNotFound;
        }
        return found;
    } catch (...) {
        m_errorNumber = err::TimeRecordNotFound;
        return nullptr;
    }
}

bool CTimeCard::Save(const AuditNote& note) {
    m_errorNumber = 0;
    bool saved = false;
    try {
        if (m_factory) {
            saved = m_factory->SaveList(note);
            if (!saved) {
                m_errorNumber = m_factory->ErrorNumber();
            }
        }
    } catch (...) {
        saved = false;
    }
    m_objectState = StateUnchanged;
    return saved;
}

bool CTimeCard::SaveAllOrNone(const AuditNote& note) {
    const auto database = m_factory ? m_factory->OrvanDatabase() : nullptr;
    if (!database) {
        return Save(note);
    }
    // Save stops at nothing: on a failure it goes on with the rest, which
    // the unit then drops with the rest.
    const bool saved =
        database->RunAsOneTransaction([&] { return Save(note); }, CJetDB::UnitEnd::Discard);
    if (!saved && m_errorNumber == 0) {
        m_errorNumber = err::SaveFailed;
    }
    m_objectState = StateUnchanged;
    return saved;
}

bool CTimeCard::SaveTimeRecord(const std::shared_ptr<CTimeRecord>& thetimerecord,
                               const AuditNote& note) {
    m_errorNumber = 0;
    try {
        if (!m_factory) {
            return false;
        }
        const bool saved = m_factory->Save(thetimerecord, note);
        if (!saved) {
            m_errorNumber = m_factory->ErrorNumber();
        }
        return saved;
    } catch (...) {
        return false;
    }
}

std::string CTimeCard::TotalsText() const {
    const float payRate = m_employee ? m_employee->PayRate() : 0.0f;
    const float overtimeRate = m_employee ? m_employee->OvertimePayRate() : 0.0f;
    std::string text;
    text += "\tRegular: \t\t\t" + Figure(m_regularHoursWorked) + kLineEnd;
    text += "\tRegular Pay Rate: \t\t" + Figure(payRate) + kLineEnd;
    text += "\tOvertime: \t\t\t" + Figure(m_overtimeHoursWorked) + kLineEnd;
    text += "\tOvertime Pay Rate: \t\t" + Figure(overtimeRate) + kLineEnd;
    text += "\tTotal Break Time: \t\t" + Figure(m_breakTime) + kLineEnd;
    text += "\tGross Pay: \t\t\t" + Figure(m_totalPay) + kLineEnd;
    return text;
}

std::string CTimeCard::ToString() {
    std::string text;
    try {
        text = kLineEnd;
        text += TotalsText();
    } catch (...) {
        m_errorNumber = err::ReportUnexpected;
    }
    return text;
}

std::string CTimeCard::ToStringReview() {
    std::string text;
    try {
        text = TotalsText();
    } catch (...) {
        m_errorNumber = err::ReportUnexpected;
    }
    return text;
}

std::string CTimeCard::ToStringReport() {
    std::string text;
    try {
        float deduction = 0.0f;
        if (m_employee) {
            text += m_employee->ToStringTimeCard() + kLineEnd;
            deduction = static_cast<float>(m_employee->AutoDeductLunchLength() / 60.0 +
                                           m_employee->AutoDeductBreakLength() / 60.0);
        }
        text += "\tStart Time\t\tEnd Time\t\tHours";
        text += kLineEnd;
        text += kLineEnd;
        const auto list = TimeRecordList();
        if (!list || list->Count() == 0) {
            m_errorNumber = err::NoTimeRecords;
        } else {
            for (int32_t i = 1; i <= list->Count(); ++i) {
                const auto record = list->Item(i);
                if (record) {
                    text += "\t" + record->ToString(deduction) + kLineEnd;
                }
            }
        }
        text += kLineEnd;
        text += TotalsText();
    } catch (...) {
        m_errorNumber = err::ReportUnexpected;
    }
    return text;
}

} // namespace orvan
