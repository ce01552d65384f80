#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "personnel/CEmployee.h"

namespace orvan {

class CJetDB;

// The ordered collection of employees, positions 1 to Count. The list holds
// shared references: the same CEmployee objects are used by the windows and
// time cards that look them up here.
//
// Error numbers: 301 storage could not be prepared or the database load
// failed, 312 Insert failed, 313 Remove failed to close the gap, 331 WeedList
// on an empty list, 351 Remove outside 1..Count. The editing operations
// (Create, Destroy, Insert, Remove, Move, WeedList, LoadList, SaveList) reset
// ErrorNumber on entry; Item and the lookups leave it alone.
class CEmployeeList : public std::enable_shared_from_this<CEmployeeList> {
public:
    CEmployeeList();
    ~CEmployeeList();
    CEmployeeList(const CEmployeeList&) = delete;
    CEmployeeList& operator=(const CEmployeeList&) = delete;

    int32_t Count() const { return static_cast<int32_t>(m_items.size()); }
    int32_t ErrorNumber() const { return m_errorNumber; }
    // The database SaveList writes to; also set by LoadList.
    void SetOrvanDatabase(const std::shared_ptr<CJetDB>& value) { m_database = value; }

    // Prepares an empty list; a list that holds employees is left as it is.
    bool Create();
    // Drops every reference; the list is empty afterwards.
    bool Destroy();

    // Stores thisvalue at thisindex, clamped into 1..Count+1, moving the
    // following employees up; returns thisvalue, or null (312) when it could
    // not be stored. A null employee is refused.
    std::shared_ptr<CEmployee> Insert(std::shared_ptr<CEmployee> thisvalue, int32_t thisindex);
    // Takes the employee at thisindex out and returns it; outside 1..Count:
    // 351 and null.
    std::shared_ptr<CEmployee> Remove(int32_t thisindex);
    // Removes the employee at fromHere and inserts it at toHere (counted after
    // the removal, clamped as for Insert); returns it, or null.
    std::shared_ptr<CEmployee> Move(int32_t fromHere, int32_t toHere);
    // The employee at thisindex, or null outside 1..Count (no error).
    std::shared_ptr<CEmployee> Item(int32_t thisindex) const;

    // Lookups return the first match in list order, or null.
    std::shared_ptr<CEmployee> GetEmployeeByID(int32_t theid) const;
    // Matches the display name (first name, blank, last name; or the last
    // name alone when there is no first name) exactly, case-sensitive.
    std::shared_ptr<CEmployee> GetEmployeeByName(const std::string& thename) const;
    std::shared_ptr<CEmployee> GetEmployeeBySSN(const std::string& thessn) const;
    std::shared_ptr<CEmployee> GetEmployeeByNumber(int32_t thenumber) const;

    // Keeps only the employees of company thecompanyid; 0 keeps everyone.
    // On an empty list ErrorNumber is 331. Always returns true.
    bool WeedList(int32_t thecompanyid);

    // Keeps thedatabase and has it load every employee into this list; row k
    // goes to position k, in front of anything the list already holds.
    // False for a null database, or 301 and false when the load fails.
    bool LoadList(const std::shared_ptr<CJetDB>& thedatabase);
    // Saves every employee that is neither StateUnchanged nor -1 through the
    // list's database; true when every save succeeded (all are attempted).
    bool SaveList();

    // A new list holding the same employee objects in the same order.
    std::shared_ptr<CEmployeeList> Clone() const;

private:
    std::vector<std::shared_ptr<CEmployee>> m_items;
    std::shared_ptr<CJetDB> m_database;
    int32_t m_errorNumber = 0;
};

} // namespace orvan
