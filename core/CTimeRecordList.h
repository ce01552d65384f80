#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace orvan {

class CJetDB;
class CTimeRecord;

// Ordered container of shared time record references at positions 1 to
// Count. The list never copies its records; AddNew is the only operation that
// changes one (it marks it StateNew). Every operation except Count,
// ErrorNumber and SetOrvanDatabase first resets ErrorNumber.
class CTimeRecordList {
public:
    CTimeRecordList();
    ~CTimeRecordList();
    CTimeRecordList(const CTimeRecordList&) = delete;
    CTimeRecordList& operator=(const CTimeRecordList&) = delete;

    int32_t Count() const { return m_count; }
    // 301 Create, 302 Destroy, 312 AddNew/Insert, 313 Remove (closing the
    // gap), 351 Remove outside 1..Count, 341 Item.
    int32_t ErrorNumber() const { return m_errorNumber; }
    // Kept for the list's users; the list itself does not use it.
    void SetOrvanDatabase(const std::shared_ptr<CJetDB>& value) { m_orvanDatabase = value; }

    // Prepares an empty list unless it already holds items. True.
    bool Create();
    // Drops every reference and empties the list. True.
    bool Destroy();
    // Appends the item and marks it StateNew. A null item is refused (312,
    // False, list unchanged).
    bool AddNew(const std::shared_ptr<CTimeRecord>& item);
    // Inserts the item at `index`, clamped into 1..Count+1; the item's state
    // is left alone. A null item is refused (312, False, list unchanged).
    bool Insert(const std::shared_ptr<CTimeRecord>& item, int32_t index);
    // Takes the item at `fromHere` out and inserts it at `toHere`, counted in
    // the list after the removal and clamped as for Insert. False when there
    // is no item at `fromHere`.
    bool Move(int32_t fromHere, int32_t toHere);
    // Removes the item at `index`, closing the gap; outside 1..Count: 351 and
    // False, list unchanged.
    bool Remove(int32_t index);
    // The item at `index`, or null outside 1..Count (no error code).
    std::shared_ptr<CTimeRecord> Item(int32_t index) const;

private:
    // Position 0 is spare so positions match indexes.
    std::vector<std::shared_ptr<CTimeRecord>> m_items;
    int32_t m_count = 0;
    std::shared_ptr<CJetDB> m_orvanDatabase;
    mutable int32_t m_errorNumber = 0;
};

} // namespace orvan
