#include "core/CTimeRecSQLConverter.h"

#include <optional>

#include "core/CTimeRecord.h"
#include "core/ObjectState.h"
#include "core/ErrorNumbers.h"

namespace orvan {

namespace {

std::string Literal(const DateTime& value) {
    return "#" + value.ToString() + "#";
}

std::string OffsetLiteral(const std::optional<int32_t>& offset) {
    return offset ? std::to_string(*offset) : std::string("Null");
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

std::string CTimeRecSQLConverter::BuildFetchWithOffsetsSQL(int32_t theemployeeid,
                                                           DateTime thestartdate,
                                                           DateTime theenddate) {
    return BuildSelect(theemployeeid, thestartdate, "TimeRecord.EndTime <= ", theenddate, true);
}

std::string CTimeRecSQLConverter::BuildPeriodFetchWithOffsetsSQL(int32_t theemployeeid,
                                                                 DateTime thestartdate,
                                                                 DateTime theenddate) {
    return BuildSelect(theemployeeid, thestartdate, "TimeRecord.StartTime < ", theenddate, true);
}

std::string CTimeRecSQLConverter::BuildSelect(int32_t theemployeeid, DateTime thestartdate,
                                              const char* endtest, DateTime theenddate,
                                              bool withOffsets) {
    ResetError();
    try {
        m_sqlstring.clear();
        m_sqlstring += "SELECT TimeRecord.TimeRecordID, TimeRecord.EmployeeID, "
                       "TimeRecord.StartTime, TimeRecord.EndTime ";
        if (withOffsets) {
            // The records stay the left side: every one of them comes back,
            // and each finds its offsets by the key alone.
            m_sqlstring += ", PunchOffset.StartOffset, PunchOffset.EndOffset ";
            m_sqlstring += "From TimeRecord LEFT JOIN PunchOffset ON (PunchOffset.TimeRecordID = "
                           "TimeRecord.TimeRecordID) ";
        } else {
            m_sqlstring += "From TimeRecord ";
        }
        m_sqlstring += "Where ((TimeRecord.EmployeeID = " + std::to_string(theemployeeid) + ") ";
        m_sqlstring += "And ((TimeRecord.StartTime >= " + Literal(thestartdate) + ") ";
        m_sqlstring += "And (" + std::string(endtest) + Literal(theenddate) + "))) ";
        m_sqlstring += "ORDER BY TimeRecord.StartTime, TimeRecord.EndTime;";
    } catch (...) {
        m_errorNumber = err::FetchStatement;
    }
    return m_sqlstring;
}

std::vector<std::string>
CTimeRecSQLConverter::BuildUtcOffsetSQL(const std::shared_ptr<CTimeRecord>& record) {
    std::vector<std::string> statements;
    if (!record) {
        return statements;
    }
    const bool hasOffsets = record->StartUtcOffset() || record->EndUtcOffset();
    const std::string id = std::to_string(record->TimeRecordID());
    const std::string values =
        OffsetLiteral(record->StartUtcOffset()) + ", " + OffsetLiteral(record->EndUtcOffset());
    const std::string remove =
        "DELETE FROM PunchOffset WHERE (PunchOffset.TimeRecordID = " + id + ");";
    switch (record->ObjectState()) {
    case StateNew:
        if (hasOffsets) {
            // The row the record's INSERT has just made, by the key it got:
            // nothing is read, so on the server two stations clocking in at
            // once do not conflict over it.
            statements.push_back(
                "INSERT INTO PunchOffset ( TimeRecordID, StartOffset, EndOffset ) VALUES "
                "(@@IDENTITY, " +
                values + ");");
        }
        break;
    case StateChanged:
        if (!record->UtcOffsetsChanged()) {
            break;
        }
        if (!hasOffsets) {
            statements.push_back(remove);
            break;
        }
        {
            // Only the changed offsets are written: a record read without its
            // offsets (a clock-out) keeps the stored start. The row is
            // written without being read first, so two stations closing
            // different records on the server never conflict over it.
            std::string set;
            if (record->StartUtcOffsetChanged()) {
                set = "StartOffset = excluded.StartOffset";
            }
            if (record->EndUtcOffsetChanged()) {
                set += (set.empty() ? "" : ", ") + std::string("EndOffset = excluded.EndOffset");
            }
            statements.push_back("INSERT INTO PunchOffset ( TimeRecordID, StartOffset, EndOffset "
                                 ") VALUES (" +
                                 id + ", " + values +
                                 ") ON CONFLICT (TimeRecordID) DO UPDATE SET " + set + ";");
        }
        break;
    case StateDeleted:
        if (hasOffsets || record->UtcOffsetsChanged()) {
            statements.push_back(remove);
        }
        break;
    default:
        break;
    }
    return statements;
}

} // namespace orvan
