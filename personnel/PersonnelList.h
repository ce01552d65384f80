#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace orvan {

class CJetDB;

// The list mechanics employees and companies share: an ordered collection,
// positions 1 to Count, of shared references (the same objects are used by
// the windows and time cards that look them up here).
//
// Error numbers: 301 storage could not be prepared or the database load
// failed, 312 Insert failed, 313 Remove failed to close the gap, 331 WeedList
// on an empty list, 351 Remove outside 1..Count. The editing operations
// (Create, Destroy, Insert, Remove, Move, WeedList, LoadList, SaveList) reset
// ErrorNumber on entry; Item and the lookups leave it alone.
//
// List is the concrete list (CEmployeeList, CCompanyList); it provides
// `static bool LoadFrom(CJetDB&, const std::shared_ptr<List>&)`. T has
// CompanyID(), ObjectState() and Save(database).
template <class List, class T> class PersonnelList : public std::enable_shared_from_this<List> {
public:
    PersonnelList(const PersonnelList&) = delete;
    PersonnelList& operator=(const PersonnelList&) = delete;

    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }
    int32_t ErrorNumber() const { return m_errorNumber; }
    // The database SaveList writes to; also set by LoadList.
    void SetOrvanDatabase(const std::shared_ptr<CJetDB>& value) { m_database = value; }

    // Prepares an empty list; a list that holds items is left as it is.
    bool Create();
    // Drops every reference; the list is empty afterwards.
    bool Destroy();

    // Stores thisvalue at thisindex, clamped into 1..Count+1, moving the
    // following items up; returns thisvalue, or null (312) when it could not
    // be stored. A null item is refused.
    std::shared_ptr<T> Insert(std::shared_ptr<T> thisvalue, int32_t thisindex);
    // Takes the item at thisindex out and returns it; outside 1..Count: 351
    // and null.
    std::shared_ptr<T> Remove(int32_t thisindex);
    // Removes the item at fromHere and inserts it at toHere (counted after
    // the removal, clamped as for Insert); returns it, or null.
    std::shared_ptr<T> Move(int32_t fromHere, int32_t toHere);
    // The item at thisindex, or null outside 1..Count (no error).
    std::shared_ptr<T> Item(int32_t thisindex) const;

    // Keeps only the items of company thecompanyid; 0 keeps everyone. On an
    // empty list ErrorNumber is 331. Always returns true.
    bool WeedList(int32_t thecompanyid);

    // Keeps thedatabase and has it load every item into this list; row k goes
    // to position k, in front of anything the list already holds. False for
    // a null database, or 301 and false when the load fails.
    bool LoadList(const std::shared_ptr<CJetDB>& thedatabase);
    // A controller's (re)load: makes `list` when it is empty, otherwise
    // empties it (Destroy, Create), then loads it from `thedatabase`.
    static bool Reload(std::shared_ptr<List>& list, const std::shared_ptr<CJetDB>& thedatabase);
    // Saves every item that is neither StateUnchanged nor -1 through the
    // list's database; true when every save succeeded (all are attempted).
    bool SaveList();

    // A new list holding the same objects in the same order.
    std::shared_ptr<List> Clone() const;

protected:
    PersonnelList();
    ~PersonnelList();

    // The first item, in list order, for which `match` holds; or null.
    template <class Match> std::shared_ptr<T> FindFirst(Match match) const {
        for (const auto& item : m_items) {
            if (match(*item)) {
                return item;
            }
        }
        return nullptr;
    }

private:
    std::vector<std::shared_ptr<T>> m_items;
    std::shared_ptr<CJetDB> m_database;
    int32_t m_errorNumber = 0;
};

} // namespace orvan
