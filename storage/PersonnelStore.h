#pragma once

#include <cstdint>
#include <memory>
#include <optional>

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
    // The active employee, other than the administrator, whose number is
    // `number`, read from the database as it is now: one look-up by the
    // number's index, inside the caller's unit when one runs. nullptr when
    // nobody active has the number; nullopt when the read failed (the
    // number in ErrorNumber).
    std::optional<std::shared_ptr<CEmployee>> FindActiveEmployee(int32_t number);

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
