#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orvan {

// A growable list of strings at positions 1 to Count. Insert clamps its
// position into 1..Count+1, Item outside the range gives "" without an error,
// Remove outside the range sets 351. Other error numbers: 301 Create, 312
// Insert, 313 Remove (no memory to shift the items).
class CStringList {
public:
    CStringList();
    ~CStringList();

    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }
    int32_t ErrorNumber() const { return m_errorNumber; }

    // Prepares an empty list unless it already holds items. True unless that
    // fails (301).
    bool Create();
    // Empties the list. True.
    bool Destroy();
    // Stores `thisvalue` at `thisindex` (clamped), moving the items from
    // there on up one place.
    bool Insert(const std::string& thisvalue, int32_t thisindex);
    // Takes the item at `fromHere` out and inserts it at `toHere` (counted in
    // the list after the removal, clamped as for Insert). False, and nothing
    // moved, when there is no item at `fromHere` or the item is "".
    bool Move(int32_t fromHere, int32_t toHere);
    bool Remove(int32_t thisindex);
    std::string Item(int32_t thisindex) const;
    // First position whose string equals `thisobject` exactly, else -1.
    int32_t Find(const std::string& thisobject) const;

private:
    std::vector<std::string> m_items;
    int32_t m_errorNumber = 0;
};

} // namespace orvan
