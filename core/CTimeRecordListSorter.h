#pragma once

#include <any>
#include <cstdint>
#include <memory>

#include "core/DateTime.h"

namespace orvan {

class CTimeRecord;
class CTimeRecordList;

// Sorts a time record list by start, then end, and finds records by those
// two moments. Works on the list it is given, in place.
class CTimeRecordListSorter {
public:
    CTimeRecordListSorter() = default;

    int32_t ErrorNumber() const { return m_errorNumber; }
    std::shared_ptr<CTimeRecordList> TimeRecordList() const { return m_timeRecordList; }
    // A null list is ignored.
    void SetTimeRecordList(const std::shared_ptr<CTimeRecordList>& value);

    // The first position whose record is the given object, or -1. A time
    // record's default value is the record itself, so this compares
    // identities; any other object matches nothing.
    int32_t Find(const std::any& theobject);
    // The first record whose StartTime and EndTime both equal the given
    // moments exactly; none when there is no such record or no list.
    std::shared_ptr<CTimeRecord> GetTimeRecordByKey(DateTime thestarttime, DateTime theendtime);
    // The position of that record, or -1. The shift date takes no part.
    int32_t GetIndexByKey(DateTime theshiftdate, DateTime thestarttime, DateTime theendtime);
    // Ascending by StartTime, ties by EndTime; records with equal keys keep
    // their order. The sort order argument has no effect. False without a list.
    bool Sort(int32_t thesortorder = 1);

private:
    std::shared_ptr<CTimeRecordList> m_timeRecordList;
    int32_t m_errorNumber = 0;
};

} // namespace orvan
