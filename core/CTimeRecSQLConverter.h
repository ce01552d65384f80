#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/DateTime.h"

namespace orvan {

class CTimeRecord;

// Composes the statements of the TimeRecord table: the INSERT, UPDATE or
// DELETE that brings a record's row in line with its ObjectState, and the
// query that fetches one employee's records between two moments. Only builds
// text; the database object runs it. Date-time values are written as
// #general date text#.
class CTimeRecSQLConverter {
public:
    CTimeRecSQLConverter() = default;

    // The last statement built; empty at first.
    const std::string& sqlstring() const { return m_sqlstring; }
    // 810 INSERT, 811 UPDATE, 812 DELETE, 813 fetch query failed to build.
    int32_t ErrorNumber() const { return m_errorNumber; }
    // Sets ErrorNumber to 0 and returns False.
    bool ResetError();

    // The statement for the record's state (StateNew INSERT, StateChanged
    // UPDATE, StateDeleted DELETE); empty for any other state and for null.
    std::string ToSQL(const std::shared_ptr<CTimeRecord>& record);
    // The employee's records that start at or after `thestartdate` and end at
    // or before `theenddate`, ordered by start, then end.
    std::string BuildFetchSQL(int32_t theemployeeid, DateTime thestartdate, DateTime theenddate);
    // The employee's records that start within [thestartdate, theenddate):
    // a pay period's records, whatever their end. Same form as BuildFetchSQL.
    std::string BuildPeriodFetchSQL(int32_t theemployeeid, DateTime thestartdate,
                                    DateTime theenddate);
    // The same two queries with each record's offsets from UTC beside it
    // (columns StartOffset and EndOffset of PunchOffset, Null where the
    // record has none): the factory loads records with these.
    std::string BuildFetchWithOffsetsSQL(int32_t theemployeeid, DateTime thestartdate,
                                         DateTime theenddate);
    std::string BuildPeriodFetchWithOffsetsSQL(int32_t theemployeeid, DateTime thestartdate,
                                               DateTime theenddate);
    // The statements that bring the record's PunchOffset row in line with
    // its offsets, to run after the record's own statement (ToSQL) in the
    // same unit: a new record with an offset gets a row (under the key its
    // INSERT has just been given, @@IDENTITY: nothing may run between the
    // two on the connection), a changed record whose
    // offsets changed has the changed ones written into its row (made when
    // missing; the row only removed when the record has no offset left), a
    // deleted record loses its row. Empty when nothing is to
    // be written, which is so for every record without offsets. Does not
    // change sqlstring.
    std::vector<std::string> BuildUtcOffsetSQL(const std::shared_ptr<CTimeRecord>& record);

private:
    // The fetch query's form: start at or after `thestartdate`, and
    // `endtest` (a column and comparison) against `theenddate`.
    std::string BuildSelect(int32_t theemployeeid, DateTime thestartdate, const char* endtest,
                            DateTime theenddate, bool withOffsets = false);
    void BuildInsert();
    void BuildUpdate();
    void BuildDelete();

    std::shared_ptr<CTimeRecord> m_timeRecord;
    std::string m_sqlstring;
    int32_t m_errorNumber = 0;
};

} // namespace orvan
