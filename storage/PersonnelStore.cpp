#include "storage/PersonnelStore.h"

#include <string>

#include "core/ErrorNumbers.h"
#include "core/ObjectState.h"
#include "personnel/CCompany.h"
#include "personnel/CCompanyList.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "storage/CJetDB.h"
#include "storage/ColumnMap.h"
#include "storage/EngineError.h"
#include "storage/Recordset.h"
#include "storage/StoredQuery.h"

namespace orvan {

bool PersonnelStore::IsClock() const {
    return m_db.ProgramVariant() == CJetDB::Variant::Clock;
}

std::shared_ptr<StoredQuery> PersonnelStore::PrepareStoredQuery(const char* name) {
    return std::make_shared<StoredQuery>(m_db.Engine(), name);
}

bool PersonnelStore::AddNewEmployee(const std::shared_ptr<CEmployee>& theemployee) {
    return EmployeeWrite(theemployee, true);
}

bool PersonnelStore::UpdateEmployee(const std::shared_ptr<CEmployee>& theemployee) {
    return EmployeeWrite(theemployee, false);
}

bool PersonnelStore::DeleteEmployee(const std::shared_ptr<CEmployee>& /*theemployee*/) {
    // Employees are never removed from the database.
    return false;
}

bool PersonnelStore::EmployeeWrite(const std::shared_ptr<CEmployee>& theemployee, bool adding) {
    const bool clock = IsClock();
    return m_db.RunOperation(!clock, adding ? err::AddFailed : err::UpdateFailed, [&] {
        if (!theemployee) {
            throw EngineError(err::EngineObjectInvalid, "No employee given.");
        }
        const CEmployee& e = *theemployee;
        const auto query = PrepareStoredQuery(adding ? "AddNewEmployee" : "UpdateEmployee");
        if (adding) {
            query->SetText("paramSSN", e.SSN());
            query->SetText("paramFirst", e.FirstName());
            query->SetText("paramLast", e.LastName());
            query->SetText("paramAddress", e.Address1());
            query->SetText("paramAddress2", e.Address2());
            query->SetText("paramCity", e.City());
            query->SetText("paramState", e.State());
            query->SetText("paramZipCode", e.ZipCode());
            query->SetText("paramPhone", e.Phone());
            query->SetText("paramPassword", e.Password());
            query->SetSingle("paramPayRate", e.PayRate());
            if (!clock) {
                query->SetSingle("paramOvertimePay", e.OvertimePayRate());
            }
            query->SetDate("paramDOB", e.DateOfBirth());
            query->SetDate("paramHireDate", e.HireDate());
            query->SetDate("paramRelDate", e.ReleaseDate());
            query->SetLong("paramEmpNumber", e.EmployeeNumber());
            if (!clock) {
                query->SetYesNo("paramAutoDeduct", e.AutoDeduct());
                query->SetShort("paramLunchLength", e.AutoDeductLunchLength());
                query->SetShort("paramBreakLength", e.AutoDeductBreakLength());
            }
            query->SetYesNo("paramActive", e.EmployeeActive());
            query->SetLong("paramCompID", e.CompanyID());
            query->SetText("paramPassword", e.Password());
        } else {
            query->SetLong("employee_id", e.EmployeeID());
            query->SetLong("employee_number", e.EmployeeNumber());
            query->SetText("SSN", e.SSN());
            query->SetText("first_name", e.FirstName());
            query->SetText("last_name", e.LastName());
            query->SetText("Address1", e.Address1());
            query->SetText("Address2", e.Address2());
            query->SetText("City", e.City());
            query->SetText("State", e.State());
            query->SetText("zip_code", e.ZipCode());
            query->SetText("Phone", e.Phone());
            query->SetText("Password", e.Password());
            query->SetLong("company_id", e.CompanyID());
            query->SetSingle("pay_rate", e.PayRate());
            if (!clock) {
                query->SetSingle("overtime_pay_rate", e.OvertimePayRate());
            }
            query->SetDate("dob", e.DateOfBirth());
            query->SetDate("hire_date", e.HireDate());
            query->SetDate("release_date", e.ReleaseDate());
            query->SetYesNo("active_employee", e.EmployeeActive());
            query->SetLong("company_id", e.CompanyID());
            if (!clock) {
                query->SetYesNo("auto_deduct", e.AutoDeduct());
                query->SetShort("auto_deduct_lunch_length", e.AutoDeductLunchLength());
                query->SetShort("auto_deduct_break_length", e.AutoDeductBreakLength());
            }
        }
        query->Execute();
        return true;
    });
}

std::shared_ptr<Recordset> PersonnelStore::LoadAll(const char* query, bool walkToLast) {
    auto rows = PrepareStoredQuery(query)->OpenSnapshot();
    int32_t count = rows->RecordCount();
    if (walkToLast && count != 0) {
        rows->MoveLast();
        count = rows->RecordCount();
    }
    if (count < 0) {
        m_db.SetErrorNumber(err::NegativeRecordCount);
        return nullptr;
    }
    if (count > 0) {
        rows->MoveFirst();
    }
    return rows;
}

bool PersonnelStore::LoadEmployeeList(const std::shared_ptr<CEmployeeList>& theemployeelist) {
    const bool clock = IsClock();
    return m_db.RunOperation(!clock, err::StatementFailed, [&] {
        const auto rows = LoadAll("GetAllEmployees", clock);
        if (!rows) {
            return false;
        }
        if (!theemployeelist) {
            throw EngineError(err::EngineObjectInvalid, "No employee list given.");
        }
        const int32_t count = rows->RecordCount();
        const ColumnMap<CEmployee> columns = EmployeeColumns(*rows);
        for (int32_t k = 1; k <= count; ++k) {
            auto e = std::make_shared<CEmployee>();
            columns.Fill(*rows, *e);
            e->SetObjectState(StateUnchanged);
            theemployeelist->Insert(e, k);
            if (k < count) {
                rows->MoveNext();
            }
        }
        return true;
    });
}

std::optional<std::shared_ptr<CEmployee>> PersonnelStore::FindActiveEmployee(int32_t number) {
    // The columns of GetAllEmployees. A released employee's number may since
    // have gone to someone new, so every row with the number is looked at.
    const std::string sql =
        "SELECT EmployeeID, SSNumber, FirstName, LastName, Address, Address2, City, State, "
        "ZipCode, Phone, EmployeeNumber, DateOfBirth, HireDate, ReleaseDate, PayRate, "
        "OvertimePayRate, Active, CompanyID, AutoDeduct, AutoDeductLunchLength, "
        "AutoDeductBreakLength, Password FROM Employee WHERE EmployeeNumber = " +
        std::to_string(number) + " ORDER BY EmployeeID";
    std::shared_ptr<CEmployee> found;
    const bool read = m_db.RunOperation(true, err::StatementFailed, [&] {
        const auto rows = m_db.ExecuteSelect(sql);
        if (!rows) {
            return false;
        }
        const ColumnMap<CEmployee> columns = EmployeeColumns(*rows);
        if (rows->RecordCount() > 0) {
            rows->MoveFirst();
        }
        for (; !rows->IsEOF(); rows->MoveNext()) {
            auto e = std::make_shared<CEmployee>();
            columns.Fill(*rows, *e);
            if (e->EmployeeActive() && !e->IsAdministrator()) {
                e->SetObjectState(StateUnchanged);
                found = std::move(e);
                break;
            }
        }
        return true;
    });
    if (!read) {
        return std::nullopt;
    }
    return found;
}

bool PersonnelStore::AddNewCompany(const std::shared_ptr<CCompany>& thecompany) {
    return CompanyWrite(thecompany, true);
}

bool PersonnelStore::UpdateCompany(const std::shared_ptr<CCompany>& thecompany) {
    return CompanyWrite(thecompany, false);
}

bool PersonnelStore::DeleteCompany(const std::shared_ptr<CCompany>& /*thecompany*/) {
    // Companies are never removed from the database.
    return false;
}

bool PersonnelStore::CompanyWrite(const std::shared_ptr<CCompany>& thecompany, bool adding) {
    const int32_t failure = adding ? err::AddFailed : err::UpdateFailed;
    if (IsClock()) {
        m_db.SetErrorNumber(failure);
        return false;
    }
    return m_db.RunOperation(true, failure, [&] {
        if (!thecompany) {
            throw EngineError(err::EngineObjectInvalid, "No company given.");
        }
        const CCompany& c = *thecompany;
        const auto query = PrepareStoredQuery(adding ? "AddNewCompany" : "UpdateCompany");
        if (!adding) {
            query->SetLong("paramID", c.CompanyID());
        }
        query->SetText("paramName", c.CompanyName());
        query->SetText("paramAddr1", c.Address1());
        query->SetText("paramAddr2", c.Address2());
        query->SetText("paramCity", c.City());
        query->SetText("paramState", c.State());
        query->SetText("paramZipCode", c.ZipCode());
        query->SetText("paramPhone", c.Phone());
        query->SetText("paramFax", c.Fax());
        query->SetText("paramFederalTaxID", c.FederalTaxID());
        query->SetText("paramURL", c.URL());
        query->Execute();
        return true;
    });
}

bool PersonnelStore::LoadCompanyList(const std::shared_ptr<CCompanyList>& thecompanylist) {
    if (IsClock()) {
        m_db.SetErrorNumber(err::NoDatabase);
        return false;
    }
    return m_db.RunOperation(true, err::StatementFailed, [&] {
        const auto rows = LoadAll("GetAllCompanies", true);
        if (!rows) {
            return false;
        }
        if (!thecompanylist) {
            throw EngineError(err::EngineObjectInvalid, "No company list given.");
        }
        const int32_t count = rows->RecordCount();
        const ColumnMap<CCompany> columns = CompanyColumns(*rows);
        for (int32_t k = 1; k <= count; ++k) {
            auto c = std::make_shared<CCompany>();
            columns.Fill(*rows, *c);
            c->SetObjectState(StateUnchanged);
            if (!thecompanylist->Insert(c, k)) {
                m_db.SetErrorNumber(err::ListInsert);
            }
            if (k < count) {
                rows->MoveNext();
            }
        }
        return true;
    });
}

} // namespace orvan
