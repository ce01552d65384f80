#include "storage/CJetDB.h"

#include <chrono>
#include <thread>

#include <sqlite3.h>

#include "core/ObjectState.h"
#include "personnel/CCompany.h"
#include "personnel/CCompanyList.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "storage/CDatabaseLocator.h"
#include "storage/EngineError.h"
#include "storage/JetDialect.h"
#include "storage/ProgramFolder.h"
#include "storage/Recordset.h"
#include "storage/StoredQuery.h"

namespace orvan {

namespace {

// Jet's number when a closed database object is used.
constexpr int32_t kObjectInvalid = 3420;

int32_t EngineCode(sqlite3* db, int rc) {
    const int code = db != nullptr ? sqlite3_errcode(db) : rc;
    return code == SQLITE_OK ? rc : code;
}

// Prepares exactly one statement; a second statement in the text is refused
// so that nothing can ride along with the one intended.
sqlite3_stmt* PrepareSingle(sqlite3* db, const std::string& text) {
    sqlite3_stmt* statement = nullptr;
    const char* tail = nullptr;
    const int rc =
        sqlite3_prepare_v2(db, text.c_str(), static_cast<int>(text.size()), &statement, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(statement);
        throw EngineError(EngineCode(db, rc), sqlite3_errmsg(db));
    }
    if (statement == nullptr) {
        throw EngineError(SQLITE_MISUSE, "Empty statement");
    }
    for (const char* p = tail; p != nullptr && *p != '\0'; ++p) {
        if (*p != ' ' && *p != ';' && *p != '\t' && *p != '\r' && *p != '\n') {
            sqlite3_finalize(statement);
            throw EngineError(SQLITE_MISUSE, "Characters found after end of SQL statement.");
        }
    }
    return statement;
}

} // namespace

CJetDB::CJetDB(Variant variant)
    : m_variant(variant), m_databaseName(ProgramFolder() + "\\system" + "\\orvan_11.mdb") {}

CJetDB::~CJetDB() {
    // The file lock must not outlive the object.
    if (m_db != nullptr) {
        sqlite3_close_v2(m_db);
    }
}

bool CJetDB::OpenOrvanDatabase(const std::shared_ptr<CDatabaseLocator>& thedatabaselocator) {
    try {
        m_locator = thedatabaselocator ? thedatabaselocator : std::make_shared<CDatabaseLocator>();
        // The locator must have resolved its path already; no fallback here.
        if (m_locator->DatabasePath().empty()) {
            return false;
        }
        m_databaseName = m_locator->DatabasePath();
        return OpenDB(m_databaseName);
    } catch (...) {
        m_errorNumber = 403;
        return false;
    }
}

bool CJetDB::OpenDB(const std::string& paramName, const std::string& /*paramConnect*/,
                    const std::string& /*paramPassword*/) {
    if (paramName.empty() && m_databaseName.empty()) {
        m_errorNumber = 403;
        return false;
    }
    const std::string name = paramName.empty() ? m_databaseName : paramName;
    // A connection still open holds the lock a new one would wait for.
    if (m_db != nullptr) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
        m_databaseOpen = false;
    }
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(NativePath(name).c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    if (rc != SQLITE_OK) {
        m_errorNumber = EngineCode(db, rc);
        sqlite3_close_v2(db);
        return false;
    }
    // Take the file for this connection alone until CloseDB. The exclusive
    // transaction is taken in the normal locking mode, where a failed try
    // gives back every lock; only then does exclusive locking mode keep the
    // lock past the end of the transaction. (Asked for first, exclusive mode
    // would keep the shared lock of a failed try, and two programs waiting
    // for each other would hold each other up until their timeouts ran out.)
    // While the other program holds the file, try again every half
    // millisecond until the busy timeout has passed: SQLite's own timeout
    // sleeps up to 100 ms between tries, long enough for a busy writer to
    // take the file back each time.
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_busyTimeout);
    rc = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) &&
           std::chrono::steady_clock::now() < giveUp) {
        std::this_thread::sleep_for(std::chrono::microseconds(500));
        rc = sqlite3_exec(db, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        rc = sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; COMMIT;", nullptr, nullptr, nullptr);
    }
    if (rc == SQLITE_OK) {
        // An empty file reads as an empty database; it is not ours either.
        sqlite3_stmt* check = nullptr;
        rc = sqlite3_prepare_v2(db, "SELECT count(*) FROM sqlite_schema", -1, &check, nullptr);
        if (rc == SQLITE_OK) {
            rc = sqlite3_step(check);
            if (rc == SQLITE_ROW) {
                rc = sqlite3_column_int(check, 0) > 0 ? SQLITE_OK : SQLITE_NOTADB;
            }
        }
        sqlite3_finalize(check);
        if (rc != SQLITE_OK) {
            m_errorNumber = rc == SQLITE_NOTADB ? SQLITE_NOTADB : EngineCode(db, rc);
            sqlite3_close_v2(db);
            return false;
        }
    } else {
        m_errorNumber = EngineCode(db, rc);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close_v2(db);
        return false;
    }
    m_db = db;
    m_haveDatabase = true;
    m_databaseName = name;
    m_databaseOpen = true;
    return true;
}

bool CJetDB::CloseDB() {
    if (m_db != nullptr) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
    if (m_haveDatabase) {
        m_databaseOpen = false;
        return true;
    }
    return false;
}

std::shared_ptr<Recordset> CJetDB::ExecuteSelect(const std::string& sqlstring) {
    if (sqlstring.empty() && m_sql.empty()) {
        m_errorNumber = 406;
        return nullptr;
    }
    if (!sqlstring.empty()) {
        m_sql = sqlstring;
    }
    if (m_recordsetType == 0) {
        m_recordsetType = 4;
    }
    if (!m_haveDatabase) {
        m_errorNumber = 403;
        return nullptr;
    }
    try {
        m_recSet = nullptr;
        if (m_db == nullptr) {
            throw EngineError(kObjectInvalid, "Object invalid or no longer set.");
        }
        sqlite3_stmt* statement = PrepareSingle(m_db, TranslateJetStatement(m_sql));
        std::shared_ptr<Recordset> result;
        try {
            if (sqlite3_stmt_readonly(statement) == 0) {
                throw EngineError(SQLITE_MISUSE, "A snapshot can only be taken of a query.");
            }
            result = StoredQuery::Snapshot(m_db, statement);
        } catch (...) {
            sqlite3_finalize(statement);
            throw;
        }
        sqlite3_finalize(statement);
        m_recSet = result;
        if (!m_recSet) {
            m_errorNumber = 407;
        }
        return m_recSet;
    } catch (...) {
        m_errorNumber = 407;
        return nullptr;
    }
}

bool CJetDB::ExecuteAction(const std::string& sqlstring) {
    bool result = false;
    try {
        // A file that does not open keeps the open's own number (busy,
        // missing, not a database) rather than a generic failure.
        if (!m_databaseOpen && !OpenDB(m_databaseName)) {
            EndOperation();
            return false;
        }
        if (sqlstring.empty() && m_sql.empty()) {
            m_errorNumber = 406;
        } else {
            if (!sqlstring.empty()) {
                m_sql = sqlstring;
            }
            if (m_haveDatabase) {
                if (m_db == nullptr) {
                    throw EngineError(kObjectInvalid, "Object invalid or no longer set.");
                }
                sqlite3_stmt* statement = PrepareSingle(m_db, TranslateJetStatement(m_sql));
                const int rc = sqlite3_step(statement);
                const int32_t code = EngineCode(m_db, rc);
                const std::string message = sqlite3_errmsg(m_db);
                sqlite3_finalize(statement);
                if (rc == SQLITE_ROW) {
                    throw EngineError(SQLITE_MISUSE, "Cannot execute a select query.");
                }
                if (rc != SQLITE_DONE) {
                    throw EngineError(code, message);
                }
                result = true;
            } else {
                m_errorNumber = 403;
            }
        }
    } catch (...) {
        m_errorNumber = 407;
        result = false;
    }
    EndOperation();
    return result;
}

void CJetDB::EndOperation() {
    if (m_databaseOpen) {
        CloseDB();
    }
}

std::shared_ptr<StoredQuery> CJetDB::PrepareStoredQuery(const std::string& name) {
    if (m_db == nullptr) {
        throw EngineError(kObjectInvalid, "Object invalid or no longer set.");
    }
    return std::make_shared<StoredQuery>(m_db, name);
}

bool CJetDB::AddNewEmployee(const std::shared_ptr<CEmployee>& theemployee) {
    return EmployeeWrite(theemployee, true);
}

bool CJetDB::UpdateEmployee(const std::shared_ptr<CEmployee>& theemployee) {
    return EmployeeWrite(theemployee, false);
}

bool CJetDB::DeleteEmployee(const std::shared_ptr<CEmployee>& /*theemployee*/) {
    // Employees are never removed from the database.
    return false;
}

bool CJetDB::EmployeeWrite(const std::shared_ptr<CEmployee>& theemployee, bool adding) {
    const bool clock = m_variant == Variant::Clock;
    bool result = false;
    try {
        if (!clock && !m_databaseOpen && !OpenDB(m_databaseName)) {
            return false; // keeps the open's own number (busy, missing)
        }
        if (!m_haveDatabase) {
            m_errorNumber = 403;
        } else {
            if (!theemployee) {
                throw EngineError(kObjectInvalid, "No employee given.");
            }
            const CEmployee& e = *theemployee;
            auto query = PrepareStoredQuery(adding ? "AddNewEmployee" : "UpdateEmployee");
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
            result = true;
        }
    } catch (...) {
        m_errorNumber = adding ? 412 : 413;
        result = false;
    }
    if (!clock) {
        EndOperation();
    }
    return result;
}

bool CJetDB::LoadEmployeeList(const std::shared_ptr<CEmployeeList>& theemployeelist) {
    const bool clock = m_variant == Variant::Clock;
    bool result = false;
    try {
        if (!clock && !m_databaseOpen && !OpenDB(m_databaseName)) {
            return false; // keeps the open's own number (busy, missing)
        }
        std::shared_ptr<Recordset> rows;
        int32_t count = 0;
        if (!m_haveDatabase) {
            m_errorNumber = 403;
        } else {
            rows = PrepareStoredQuery("GetAllEmployees")->OpenSnapshot();
            count = rows->RecordCount();
            if (clock && count != 0) {
                rows->MoveLast();
                count = rows->RecordCount();
            }
            if (count < 0) {
                m_errorNumber = 421;
                rows = nullptr;
            }
        }
        if (rows) {
            if (!theemployeelist) {
                throw EngineError(kObjectInvalid, "No employee list given.");
            }
            if (count > 0) {
                rows->MoveFirst();
            }
            for (int32_t k = 1; k <= count; ++k) {
                auto e = std::make_shared<CEmployee>();
                const Recordset& r = *rows;
                // A Null compares as false, so it keeps the initial value.
                if (!r.IsNull("EmployeeID") && r.AsInteger("EmployeeID") > 0) {
                    e->SetEmployeeID(static_cast<int32_t>(r.AsInteger("EmployeeID")));
                }
                if (!r.IsNull("SSNumber")) {
                    e->SetSSN(r.AsText("SSNumber"));
                }
                if (!r.IsNull("FirstName")) {
                    e->SetFirstName(r.AsText("FirstName"));
                }
                if (!r.IsNull("LastName")) {
                    e->SetLastName(r.AsText("LastName"));
                }
                if (!r.IsNull("Address")) {
                    e->SetAddress1(r.AsText("Address"));
                }
                if (!r.IsNull("Address2")) {
                    e->SetAddress2(r.AsText("Address2"));
                }
                if (!r.IsNull("City")) {
                    e->SetCity(r.AsText("City"));
                }
                if (!r.IsNull("State")) {
                    e->SetState(r.AsText("State"));
                }
                if (!r.IsNull("ZipCode")) {
                    e->SetZipCode(r.AsText("ZipCode"));
                }
                if (!r.IsNull("Phone")) {
                    e->SetPhone(r.AsText("Phone"));
                }
                if (!r.IsNull("EmployeeNumber")) {
                    e->SetEmployeeNumber(static_cast<int32_t>(r.AsInteger("EmployeeNumber")));
                }
                if (!r.IsNull("DateOfBirth") && r.AsDouble("DateOfBirth") != 0.0) {
                    e->SetDateOfBirth(DateTime::FromDays(r.AsDouble("DateOfBirth")));
                }
                if (!r.IsNull("HireDate") && r.AsDouble("HireDate") != 0.0) {
                    e->SetHireDate(DateTime::FromDays(r.AsDouble("HireDate")));
                }
                if (!r.IsNull("ReleaseDate") && r.AsDouble("ReleaseDate") != 0.0) {
                    e->SetReleaseDate(DateTime::FromDays(r.AsDouble("ReleaseDate")));
                }
                if (!r.IsNull("PayRate") && r.AsDouble("PayRate") > 0.0) {
                    e->SetPayRate(static_cast<float>(r.AsDouble("PayRate")));
                }
                if (!r.IsNull("OvertimePayRate") && r.AsDouble("OvertimePayRate") > 0.0) {
                    e->SetOvertimePayRate(static_cast<float>(r.AsDouble("OvertimePayRate")));
                }
                e->SetEmployeeActive(r.AsBoolean("Active"));
                if (!r.IsNull("CompanyID") && r.AsInteger("CompanyID") > 0) {
                    e->SetCompanyID(static_cast<int32_t>(r.AsInteger("CompanyID")));
                }
                e->SetAutoDeduct(r.AsBoolean("AutoDeduct"));
                if (!r.IsNull("AutoDeductLunchLength") &&
                    r.AsInteger("AutoDeductLunchLength") > 0) {
                    e->SetAutoDeductLunchLength(
                        static_cast<int16_t>(r.AsInteger("AutoDeductLunchLength")));
                }
                if (!r.IsNull("AutoDeductBreakLength") &&
                    r.AsInteger("AutoDeductBreakLength") > 0) {
                    e->SetAutoDeductBreakLength(
                        static_cast<int16_t>(r.AsInteger("AutoDeductBreakLength")));
                }
                if (!r.IsNull("Password")) {
                    e->SetPassword(r.AsText("Password"));
                }
                e->SetObjectState(StateUnchanged);
                theemployeelist->Insert(e, k);
                if (k < count) {
                    rows->MoveNext();
                }
            }
            result = true;
        }
    } catch (...) {
        m_errorNumber = 407;
        result = false;
    }
    if (!clock) {
        EndOperation();
    }
    return result;
}

bool CJetDB::AddNewCompany(const std::shared_ptr<CCompany>& thecompany) {
    return CompanyWrite(thecompany, true);
}

bool CJetDB::UpdateCompany(const std::shared_ptr<CCompany>& thecompany) {
    return CompanyWrite(thecompany, false);
}

bool CJetDB::DeleteCompany(const std::shared_ptr<CCompany>& /*thecompany*/) {
    // Companies are never removed from the database.
    return false;
}

bool CJetDB::CompanyWrite(const std::shared_ptr<CCompany>& thecompany, bool adding) {
    if (m_variant == Variant::Clock) {
        m_errorNumber = adding ? 412 : 413;
        return false;
    }
    bool result = false;
    try {
        if (!m_databaseOpen && !OpenDB(m_databaseName)) {
            return false; // keeps the open's own number (busy, missing)
        }
        if (!m_haveDatabase) {
            m_errorNumber = 403;
        } else {
            if (!thecompany) {
                throw EngineError(kObjectInvalid, "No company given.");
            }
            const CCompany& c = *thecompany;
            auto query = PrepareStoredQuery(adding ? "AddNewCompany" : "UpdateCompany");
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
            result = true;
        }
    } catch (...) {
        m_errorNumber = adding ? 412 : 413;
        result = false;
    }
    EndOperation();
    return result;
}

bool CJetDB::LoadCompanyList(const std::shared_ptr<CCompanyList>& thecompanylist) {
    if (m_variant == Variant::Clock) {
        m_errorNumber = 403;
        return false;
    }
    bool result = false;
    try {
        if (!m_databaseOpen && !OpenDB(m_databaseName)) {
            return false; // keeps the open's own number (busy, missing)
        }
        std::shared_ptr<Recordset> rows;
        int32_t count = 0;
        if (!m_haveDatabase) {
            m_errorNumber = 403;
        } else {
            rows = PrepareStoredQuery("GetAllCompanies")->OpenSnapshot();
            count = rows->RecordCount();
            if (count != 0) {
                rows->MoveLast();
                count = rows->RecordCount();
            }
            if (count < 0) {
                m_errorNumber = 421;
                rows = nullptr;
            }
        }
        if (rows) {
            if (!thecompanylist) {
                throw EngineError(kObjectInvalid, "No company list given.");
            }
            if (count > 0) {
                rows->MoveFirst();
            }
            for (int32_t k = 1; k <= count; ++k) {
                auto c = std::make_shared<CCompany>();
                const Recordset& r = *rows;
                if (!r.IsNull("CompanyID") && r.AsInteger("CompanyID") > 0) {
                    c->SetCompanyID(static_cast<int32_t>(r.AsInteger("CompanyID")));
                }
                if (!r.IsNull("Name")) {
                    c->SetCompanyName(r.AsText("Name"));
                }
                if (!r.IsNull("Address1")) {
                    c->SetAddress1(r.AsText("Address1"));
                }
                if (!r.IsNull("Address2")) {
                    c->SetAddress2(r.AsText("Address2"));
                }
                if (!r.IsNull("City")) {
                    c->SetCity(r.AsText("City"));
                }
                if (!r.IsNull("State")) {
                    c->SetState(r.AsText("State"));
                }
                if (!r.IsNull("ZipCode")) {
                    c->SetZipCode(r.AsText("ZipCode"));
                }
                if (!r.IsNull("Phone")) {
                    c->SetPhone(r.AsText("Phone"));
                }
                if (!r.IsNull("Fax")) {
                    c->SetFax(r.AsText("Fax"));
                }
                if (!r.IsNull("FederalTaxID")) {
                    c->SetFederalTaxID(r.AsText("FederalTaxID"));
                }
                c->SetObjectState(StateUnchanged);
                if (!thecompanylist->Insert(c, k)) {
                    m_errorNumber = 312;
                }
                if (k < count) {
                    rows->MoveNext();
                }
            }
            result = true;
        }
    } catch (...) {
        m_errorNumber = 407;
        result = false;
    }
    EndOperation();
    return result;
}

} // namespace orvan
