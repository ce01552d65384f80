#include "core/CTimeRecSQLConverter.h"

#include "core/CTimeRecord.h"
#include "core/ObjectState.h"
#include "core/ErrorNumbers.h"

namespace orvan {

namespace {

std::string Literal(const DateTime& value) {
    return "#" + value.ToString() + "#";
}

} // namespace

bool CTimeRecSQLConverter::ResetError() {
    m_errorNumber = 0;
    return false;
}

std::string CTimeRecSQLConverter::ToSQL(const std::shared_ptr<CTimeRecord>& record) {
    ResetError();
    if (!record) {
        return std::string();
    }
    m_timeRecord = record;
    switch (record->ObjectState()) {
    case StateNew:
        BuildInsert();
        break;
    case StateChanged:
        BuildUpdate();
        break;
    case StateDeleted:
        BuildDelete();
        break;
    default:
        m_sqlstring.clear();
        break;
    }
    return m_sqlstring;
}

// Each builder appends piece by piece so that a failure leaves the text built
// so far in sqlstring.
void CTimeRecSQLConverter::BuildInsert() {
    try {
        m_sqlstring.clear();
        m_sqlstring += "INSERT INTO TimeRecord ( EmployeeID, StartTime, EndTime ) ";
        m_sqlstring += " SELECT ";
        m_sqlstring += std::to_string(m_timeRecord->EmployeeID());
        m_sqlstring += ", ";
        m_sqlstring += Literal(m_timeRecord->StartTime()) + ", ";
        m_sqlstring += Literal(m_timeRecord->EndTime()) + ";";
    } catch (...) {
        m_errorNumber = err::InsertStatement;
    }
}

void CTimeRecSQLConverter::BuildUpdate() {
    try {
        m_sqlstring.clear();
        m_sqlstring += "UPDATE TimeRecord ";
        m_sqlstring +=
            "SET TimeRecord.EmployeeID = " + std::to_string(m_timeRecord->EmployeeID()) + ", ";
        m_sqlstring += "TimeRecord.StartTime = " + Literal(m_timeRecord->StartTime()) + ", ";
        m_sqlstring += "TimeRecord.EndTime = " + Literal(m_timeRecord->EndTime()) + " ";
        m_sqlstring +=
            "WHERE ((TimeRecord.TimeRecordID = " + std::to_string(m_timeRecord->TimeRecordID()) +
            "))";
        m_sqlstring += ";";
    } catch (...) {
        m_errorNumber = err::UpdateStatement;
    }
}

void CTimeRecSQLConverter::BuildDelete() {
    try {
        m_sqlstring.clear();
        m_sqlstring += "DELETE TimeRecord.TimeRecordID, TimeRecord.EmployeeID, "
                       "TimeRecord.ShiftDate, TimeRecord.StartTime, TimeRecord.EndTime ";
        m_sqlstring += "FROM TimeRecord ";
        m_sqlstring +=
            "WHERE ((TimeRecord.TimeRecordID = " + std::to_string(m_timeRecord->TimeRecordID()) +
            ")); ";
    } catch (...) {
        m_errorNumber = err::DeleteStatement;
    }
}

std::string CTimeRecSQLConverter::BuildFetchSQL(int32_t theemployeeid, DateTime thestartdate,
                                                DateTime theenddate) {
    return BuildSelect(theemployeeid, thestartdate, "TimeRecord.EndTime <= ", theenddate);
}

std::string CTimeRecSQLConverter::BuildPeriodFetchSQL(int32_t theemployeeid, DateTime thestartdate,
                                                      DateTime theenddate) {
    return BuildSelect(theemployeeid, thestartdate, "TimeRecord.StartTime < ", theenddate);
}

std::string CTimeRecSQLConverter::BuildSelect(int32_t theemployeeid, DateTime thestartdate,
                                              const char* endtest, DateTime theenddate) {
    ResetError();
    try {
        m_sqlstring.clear();
        m_sqlstring += "SELECT TimeRecord.TimeRecordID, TimeRecord.EmployeeID, "
                       "TimeRecord.StartTime, TimeRecord.EndTime ";
        m_sqlstring += "From TimeRecord ";
        m_sqlstring += "Where ((TimeRecord.EmployeeID = " + std::to_string(theemployeeid) + ") ";
        m_sqlstring += "And ((TimeRecord.StartTime >= " + Literal(thestartdate) + ") ";
        m_sqlstring += "And (" + std::string(endtest) + Literal(theenddate) + "))) ";
        m_sqlstring += "ORDER BY TimeRecord.StartTime, TimeRecord.EndTime;";
    } catch (...) {
        m_errorNumber = err::FetchStatement;
    }
    return m_sqlstring;
}

} // namespace orvan
