#include "storage/CJetDB.h"

#include <chrono>
#include <thread>

#include <sqlite3.h>

#include "core/ErrorNumbers.h"
#include "core/ObjectState.h"
#include "personnel/CCompany.h"
#include "personnel/CCompanyList.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "storage/CDatabaseLocator.h"
#include "storage/ColumnMap.h"
#include "storage/EngineError.h"
#include "storage/Failure.h"
#include "storage/JetDialect.h"
#include "storage/ProgramFolder.h"
#include "storage/Recordset.h"
#include "storage/StoredQuery.h"

namespace orvan {

// The upgrade texts, compiled in from storage/orvan_upgrade_*.sql.
extern const char kUpgrade1Sql[];

// Closes the file when an operation ends, on every path out of it, when the
// operation is one that closes (the clock variant's operations leave the
// connection to the controller).
class CJetDB::OperationScope {
public:
    OperationScope(CJetDB& db, bool closes) : m_db(db), m_closes(closes) {}
    ~OperationScope() {
        if (m_closes) {
            m_db.EndOperation();
        }
    }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

private:
    CJetDB& m_db;
    bool m_closes;
};

namespace {

int Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr);
}

} // namespace

CJetDB::CJetDB(Variant variant)
    : m_variant(variant), m_databaseName(ProgramFolder() + "\\system" + "\\orvan_11.mdb") {}

// The connection closes with the object: the file lock never outlives it.
CJetDB::~CJetDB() = default;

void CJetDB::Fail(int32_t number, int32_t engineNumber, const std::string& engineMessage) {
    m_errorNumber = number;
    m_engineErrorNumber = engineNumber;
    m_engineMessage = engineMessage;
    std::string description = engineMessage;
    if (engineNumber != 0 && engineNumber != number) {
        description += " (engine error " + std::to_string(engineNumber) + ")";
    }
    SetLastFailure(number, "CJetDB", description);
}

void CJetDB::FailWithCurrentException(int32_t number) {
    try {
        throw;
    } catch (const EngineError& e) {
        Fail(number, e.Number(), e.what());
    } catch (const std::exception& e) {
        Fail(number, 0, e.what());
    } catch (...) {
        Fail(number, 0, "Invalid procedure call or argument");
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
        FailWithCurrentException(err::NoDatabase);
        return false;
    }
}

bool CJetDB::OpenDB(const std::string& paramName, const std::string& /*paramConnect*/,
                    const std::string& /*paramPassword*/) {
    m_gaveUpBusy = false;
    if (paramName.empty() && m_databaseName.empty()) {
        m_errorNumber = err::NoDatabase;
        return false;
    }
    const std::string name = paramName.empty() ? m_databaseName : paramName;
    // A connection still open holds the lock a new one would wait for.
    m_connection.reset();
    m_databaseOpen = false;
    int rc = SQLITE_OK;
    // One thread uses a connection, so SQLite need not lock it on every call
    // (reading a snapshot makes several calls per value).
    sqlite::Connection db =
        sqlite::Open(NativePath(name), SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, rc);
    if (rc != SQLITE_OK) {
        const int code = sqlite::ResultCode(db.get(), rc);
        Fail(code, code, db ? sqlite3_errmsg(db.get()) : sqlite3_errstr(rc));
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
    using SteadyClock = std::chrono::steady_clock;
    const auto giveUp = SteadyClock::now() + std::chrono::milliseconds(m_busyTimeout);
    auto nextWaitCall = SteadyClock::now();
    rc = Exec(db.get(), "BEGIN EXCLUSIVE");
    while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && SteadyClock::now() < giveUp) {
        if (m_busyWaitHandler && SteadyClock::now() >= nextWaitCall) {
            m_busyWaitHandler();
            nextWaitCall = SteadyClock::now() + std::chrono::milliseconds(BusyWaitInterval);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
        rc = Exec(db.get(), "BEGIN EXCLUSIVE");
    }
    m_gaveUpBusy = rc == SQLITE_BUSY || rc == SQLITE_LOCKED;
    // Check the file inside the transaction and before anything can be
    // written: an empty file reads as an empty database (not ours either),
    // and committing would turn it into one.
    if (rc == SQLITE_OK) {
        rc = IsOrvanSchemaPresent(db.get());
    }
    // An older file gets the tables added since it was made, in this same
    // transaction: it is upgraded whole or stays exactly as it was.
    if (rc == SQLITE_OK) {
        rc = UpgradeSchema(db.get());
    }
    if (rc == SQLITE_OK) {
        rc = Exec(db.get(), "PRAGMA locking_mode=EXCLUSIVE; COMMIT;");
    }
    if (rc != SQLITE_OK) {
        const int code = rc == SQLITE_NOTADB ? SQLITE_NOTADB : sqlite::ResultCode(db.get(), rc);
        Fail(code, code, rc == SQLITE_NOTADB ? sqlite3_errstr(rc) : sqlite3_errmsg(db.get()));
        Exec(db.get(), "ROLLBACK");
        return false;
    }
    m_connection = std::move(db);
    m_haveDatabase = true;
    m_databaseName = name;
    m_databaseOpen = true;
    return true;
}

int CJetDB::IsOrvanSchemaPresent(sqlite3* db) {
    try {
        sqlite::Statement check = sqlite::PrepareOne(db, "SELECT count(*) FROM sqlite_schema");
        const int rc = sqlite3_step(check.get());
        if (rc != SQLITE_ROW) {
            return rc;
        }
        return sqlite3_column_int(check.get(), 0) > 0 ? SQLITE_OK : SQLITE_NOTADB;
    } catch (const EngineError& e) {
        return e.Number();
    }
}

namespace {

// One query's single whole number; throws EngineError when it fails.
int64_t QueryInteger(sqlite3* db, const char* sql) {
    const sqlite::Statement query = sqlite::PrepareOne(db, sql);
    const int rc = sqlite3_step(query.get());
    if (rc != SQLITE_ROW) {
        sqlite::Raise(db, rc);
    }
    return sqlite3_column_int64(query.get(), 0);
}

} // namespace

int CJetDB::UpgradeSchema(sqlite3* db) {
    // The upgrade that brings a file from version `to` - 1 to version `to`.
    struct Upgrade {
        int32_t to;
        const char* sql;
    };
    static const Upgrade upgrades[] = {{1, kUpgrade1Sql}};
    try {
        const int64_t ourTables =
            QueryInteger(db, "SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND "
                             "name IN ('TimeRecord', '_System', 'Employee', '_StoredQuery')");
        if (ourTables < 4) {
            return SQLITE_OK;
        }
        const int64_t version = QueryInteger(db, "PRAGMA user_version");
        for (const Upgrade& upgrade : upgrades) {
            if (version < upgrade.to) {
                const int rc = Exec(db, upgrade.sql);
                if (rc != SQLITE_OK) {
                    return rc;
                }
            }
        }
        return SQLITE_OK;
    } catch (const EngineError& e) {
        return e.Number();
    }
}

bool CJetDB::CloseDB() {
    m_connection.reset();
    if (m_haveDatabase) {
        m_databaseOpen = false;
        return true;
    }
    return false;
}

std::shared_ptr<Recordset> CJetDB::ExecuteSelect(const std::string& sqlstring) {
    if (sqlstring.empty() && m_sql.empty()) {
        m_errorNumber = err::NoStatement;
        return nullptr;
    }
    if (!sqlstring.empty()) {
        m_sql = sqlstring;
    }
    if (m_recordsetType == 0) {
        m_recordsetType = 4;
    }
    if (!m_haveDatabase) {
        m_errorNumber = err::NoDatabase;
        return nullptr;
    }
    try {
        m_recSet = nullptr;
        const sqlite::Statement statement =
            sqlite::PrepareOne(m_connection.get(), TranslateJetStatement(m_sql));
        if (sqlite3_stmt_readonly(statement.get()) == 0) {
            throw EngineError(SQLITE_MISUSE, "A snapshot can only be taken of a query.");
        }
        m_recSet = StoredQuery::Snapshot(m_connection.get(), statement.get());
        if (!m_recSet) {
            m_errorNumber = err::StatementFailed;
        }
        return m_recSet;
    } catch (...) {
        FailWithCurrentException(err::StatementFailed);
        return nullptr;
    }
}

bool CJetDB::ExecuteAction(const std::string& sqlstring) {
    const OperationScope scope(*this, true);
    try {
        // A file that does not open keeps the open's own number (busy,
        // missing, not a database) rather than a generic failure.
        if (!m_databaseOpen && !OpenDB(m_databaseName)) {
            return false;
        }
        if (sqlstring.empty() && m_sql.empty()) {
            m_errorNumber = err::NoStatement;
            return false;
        }
        if (!sqlstring.empty()) {
            m_sql = sqlstring;
        }
        if (!m_haveDatabase) {
            m_errorNumber = err::NoDatabase;
            return false;
        }
        sqlite3* db = m_connection.get();
        const sqlite::Statement statement = sqlite::PrepareOne(db, TranslateJetStatement(m_sql));
        const int rc = sqlite3_step(statement.get());
        if (rc == SQLITE_ROW) {
            throw EngineError(SQLITE_MISUSE, "Cannot execute a select query.");
        }
        if (rc != SQLITE_DONE) {
            sqlite::Raise(db, rc);
        }
        return true;
    } catch (...) {
        FailWithCurrentException(err::StatementFailed);
        return false;
    }
}

void CJetDB::EndOperation() {
    if (m_databaseOpen) {
        CloseDB();
    }
}

std::shared_ptr<StoredQuery> CJetDB::PrepareStoredQuery(const std::string& name) {
    if (!m_connection) {
        throw EngineError(err::EngineObjectInvalid, "Object invalid or no longer set.");
    }
    return std::make_shared<StoredQuery>(m_connection.get(), name);
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
    const OperationScope scope(*this, !clock);
    try {
        if (!clock && !m_databaseOpen && !OpenDB(m_databaseName)) {
            return false; // keeps the open's own number (busy, missing)
        }
        if (!m_haveDatabase) {
            m_errorNumber = err::NoDatabase;
            return false;
        }
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
    } catch (...) {
        FailWithCurrentException(adding ? err::AddFailed : err::UpdateFailed);
        return false;
    }
}

std::shared_ptr<Recordset> CJetDB::LoadAll(const char* query, bool walkToLast) {
    auto rows = PrepareStoredQuery(query)->OpenSnapshot();
    int32_t count = rows->RecordCount();
    if (walkToLast && count != 0) {
        rows->MoveLast();
        count = rows->RecordCount();
    }
    if (count < 0) {
        m_errorNumber = err::NegativeRecordCount;
        return nullptr;
    }
    if (count > 0) {
        rows->MoveFirst();
    }
    return rows;
}

bool CJetDB::LoadEmployeeList(const std::shared_ptr<CEmployeeList>& theemployeelist) {
    const bool clock = m_variant == Variant::Clock;
    const OperationScope scope(*this, !clock);
    try {
        if (!clock && !m_databaseOpen && !OpenDB(m_databaseName)) {
            return false; // keeps the open's own number (busy, missing)
        }
        if (!m_haveDatabase) {
            m_errorNumber = err::NoDatabase;
            return false;
        }
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
    } catch (...) {
        FailWithCurrentException(err::StatementFailed);
        return false;
    }
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
        m_errorNumber = adding ? err::AddFailed : err::UpdateFailed;
        return false;
    }
    const OperationScope scope(*this, true);
    try {
        if (!m_databaseOpen && !OpenDB(m_databaseName)) {
            return false; // keeps the open's own number (busy, missing)
        }
        if (!m_haveDatabase) {
            m_errorNumber = err::NoDatabase;
            return false;
        }
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
    } catch (...) {
        FailWithCurrentException(adding ? err::AddFailed : err::UpdateFailed);
        return false;
    }
}

bool CJetDB::LoadCompanyList(const std::shared_ptr<CCompanyList>& thecompanylist) {
    if (m_variant == Variant::Clock) {
        m_errorNumber = err::NoDatabase;
        return false;
    }
    const OperationScope scope(*this, true);
    try {
        if (!m_databaseOpen && !OpenDB(m_databaseName)) {
            return false; // keeps the open's own number (busy, missing)
        }
        if (!m_haveDatabase) {
            m_errorNumber = err::NoDatabase;
            return false;
        }
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
                m_errorNumber = err::ListInsert;
            }
            if (k < count) {
                rows->MoveNext();
            }
        }
        return true;
    } catch (...) {
        FailWithCurrentException(err::StatementFailed);
        return false;
    }
}

} // namespace orvan
