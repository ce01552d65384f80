#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "core/DateTime.h"

namespace orvan {

class CJetDB;
class CTimeRecord;
class CTimeRecordList;
class CTimeRecordListSorter;

// How a saved change is recorded on the audit trail: its kind (empty: Add,
// Edit or Delete by the record's state), the reason the manager gave, and
// who made it (empty: the program's audit::Who()).
struct AuditNote {
    std::string kind;
    std::string reason;
    std::string who;
};

// The one place where time records meet the database: loads one employee's
// records of a period into its list (one list object, reused), keeps the
// list sorted, saves records by their ObjectState and finds them by their
// start and end. Each program has one, owned by its controller.
//
// Every operation ends with the database file closed, whatever happened.
class CTimeRecordFactory {
public:
    CTimeRecordFactory() = default;
    ~CTimeRecordFactory() = default;
    CTimeRecordFactory(const CTimeRecordFactory&) = delete;
    CTimeRecordFactory& operator=(const CTimeRecordFactory&) = delete;

    // A null database object is ignored.
    void SetOrvanDatabase(const std::shared_ptr<CJetDB>& value);
    std::shared_ptr<CJetDB> OrvanDatabase() const { return m_orvanDatabase; }
    // The current list, shared (no copy); none until the first load.
    std::shared_ptr<CTimeRecordList> TimeRecordList() const { return m_timeRecordList; }
    int32_t ErrorNumber() const { return m_errorNumber; }
    // Sets ErrorNumber to 0 and returns False.
    bool ResetError();
    // True when the last load found the database file would not open (its
    // list is then empty although the employee may have records).
    bool DatabaseUnavailable() const { return m_databaseUnavailable; }

    // Loads the records of employee `theemployeeid` that start at or after
    // `thestartdate` and end at or before `theenddate` (open records always
    // pass the end test), ordered by start and end. An empty result gives
    // False with 301 and an empty list. Without `withUtcOffsets` the records
    // come without their punches' offsets, and the offsets are not read at
    // all (on the server, a unit that reads them conflicts with every other
    // station writing them).
    bool BuildList(int32_t theemployeeid, DateTime thestartdate, DateTime theenddate,
                   bool withUtcOffsets = true);
    // Reads the stored offsets of one record (loaded without them) into it;
    // False when they could not be read.
    bool LoadUtcOffsets(CTimeRecord& therecord);
    // Loads the records that start within [thestartdate, theenddate): a pay
    // period's records, including a night shift that starts on its last day
    // and ends after midnight, but no open record of a later day. Results as
    // BuildList.
    bool BuildPeriodList(int32_t theemployeeid, DateTime thestartdate, DateTime theenddate);
    // Empties and drops the list; 302 and False when there is none.
    bool DestroyList();
    // Runs the record's statement (by its ObjectState); 803 and False when
    // the database object could not run it. True without a database object
    // or record. The record's state is left as it is. An insert, update or
    // delete writes its audit entry (the values stored before and after) in
    // the same unit: both are stored or neither is.
    bool Save(const std::shared_ptr<CTimeRecord>& thetimerecord, const AuditNote& note = {});
    // Saves every record of the list whose state is not StateUnchanged;
    // False (803) when any failed, after trying all of them.
    bool SaveList(const AuditNote& note = {});
    // No copy is provided: always none.
    std::shared_ptr<CTimeRecordList> CloneTimeRecordList();
    std::shared_ptr<CTimeRecord> GetTimeRecordByKey(DateTime thestarttime, DateTime theendtime);
    // Ascending by start, ties by end; 314 and False on failure.
    bool SortTimeRecordList();

private:
    bool LoadList(const std::string& sql);

    std::shared_ptr<CTimeRecordList> m_timeRecordList;
    // Reserved: each sort and search makes its own sorter.
    std::shared_ptr<CTimeRecordListSorter> m_sorter;
    std::shared_ptr<CJetDB> m_orvanDatabase;
    int32_t m_errorNumber = 0;
    bool m_databaseUnavailable = false;
};

} // namespace orvan
