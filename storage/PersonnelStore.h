#pragma once

#include <memory>

namespace orvan {

class CCompany;
class CCompanyList;
class CEmployee;
class CEmployeeList;
class CJetDB;
class Recordset;
class StoredQuery;

// Employee and company persistence through the stored queries kept in the
// database (AddNewEmployee, UpdateEmployee, GetAllEmployees, AddNewCompany,
// UpdateCompany, GetAllCompanies). Works on one database object, whose
// operations these are: each opens and closes the database as the object's
// own do (the clock variant's employee operations use the connection as
// they find it), and every failure lands in the object's ErrorNumber. The
// object's AddNewEmployee... forward here; see CJetDB.h for what each does
// and the numbers it leaves.
class PersonnelStore {
public:
    explicit PersonnelStore(CJetDB& db) : m_db(db) {}

    bool AddNewEmployee(const std::shared_ptr<CEmployee>& theemployee);
    bool UpdateEmployee(const std::shared_ptr<CEmployee>& theemployee);
    bool DeleteEmployee(const std::shared_ptr<CEmployee>& theemployee);
    bool LoadEmployeeList(const std::shared_ptr<CEmployeeList>& theemployeelist);

    bool AddNewCompany(const std::shared_ptr<CCompany>& thecompany);
    bool UpdateCompany(const std::shared_ptr<CCompany>& thecompany);
    bool DeleteCompany(const std::shared_ptr<CCompany>& thecompany);
    bool LoadCompanyList(const std::shared_ptr<CCompanyList>& thecompanylist);

private:
    bool IsClock() const;
    std::shared_ptr<StoredQuery> PrepareStoredQuery(const char* name);
    // Runs a listing stored query and positions it on its first row; nullptr
    // (421) when the listing reports a negative count.
    std::shared_ptr<Recordset> LoadAll(const char* query, bool walkToLast);
    bool EmployeeWrite(const std::shared_ptr<CEmployee>& theemployee, bool adding);
    bool CompanyWrite(const std::shared_ptr<CCompany>& thecompany, bool adding);

    CJetDB& m_db;
};

} // namespace orvan
