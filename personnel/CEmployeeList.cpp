#include "personnel/CEmployeeList.h"

#include "storage/CJetDB.h"

namespace orvan {

std::shared_ptr<CEmployee> CEmployeeList::GetEmployeeByID(int32_t theid) const {
    return FindFirst([theid](const CEmployee& e) { return e.EmployeeID() == theid; });
}

std::shared_ptr<CEmployee> CEmployeeList::GetEmployeeByName(const std::string& thename) const {
    try {
        return FindFirst([&thename](const CEmployee& e) { return e.DisplayName() == thename; });
    } catch (...) {
        return nullptr;
    }
}

std::shared_ptr<CEmployee> CEmployeeList::GetEmployeeBySSN(const std::string& thessn) const {
    return FindFirst([&thessn](const CEmployee& e) { return e.SSN() == thessn; });
}

std::shared_ptr<CEmployee> CEmployeeList::GetEmployeeByNumber(int32_t thenumber) const {
    return FindFirst([thenumber](const CEmployee& e) { return e.EmployeeNumber() == thenumber; });
}

bool CEmployeeList::LoadFrom(CJetDB& database, const std::shared_ptr<CEmployeeList>& list) {
    return database.LoadEmployeeList(list);
}

} // namespace orvan
