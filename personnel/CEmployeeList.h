#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "personnel/CEmployee.h"
#include "personnel/PersonnelList.h"

namespace orvan {

// The ordered collection of employees, positions 1 to Count, with the list
// mechanics of PersonnelList and the lookups below.
class CEmployeeList : public PersonnelList<CEmployeeList, CEmployee> {
public:
    CEmployeeList() = default;
    ~CEmployeeList() = default;

    // Lookups return the first match in list order, or null.
    std::shared_ptr<CEmployee> GetEmployeeByID(int32_t theid) const;
    // Matches the display name (first name, blank, last name; or the last
    // name alone when there is no first name) exactly, case-sensitive.
    std::shared_ptr<CEmployee> GetEmployeeByName(const std::string& thename) const;
    std::shared_ptr<CEmployee> GetEmployeeBySSN(const std::string& thessn) const;
    std::shared_ptr<CEmployee> GetEmployeeByNumber(int32_t thenumber) const;

private:
    friend class PersonnelList<CEmployeeList, CEmployee>;
    static bool LoadFrom(CJetDB& database, const std::shared_ptr<CEmployeeList>& list);
};

} // namespace orvan
