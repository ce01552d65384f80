#include "storage/CJetDB.h"

#include <chrono>
#include <random>
#include <thread>

#include "core/ErrorNumbers.h"
#include "personnel/CEmployee.h"
#include "storage/AuditTrail.h"
#include "storage/CDatabaseLocator.h"
#include "storage/DatabaseEngine.h"
#include "storage/EngineError.h"
#include "storage/Failure.h"
#include "storage/PersonnelStore.h"
#include "storage/ProgramFolder.h"
#include "storage/Recordset.h"
#include "storage/ServerAddress.h"

namespace orvan {

// Ends the operation on every path out of it, when the operation is one that
// closes (the clock variant's employee operations leave the connection to
// the controller). Finish ends it on the way out of a success, so a server
// that does not keep the work turns the success into a failure.
class CJetDB::OperationScope {
public:
    OperationScope(CJetDB& db, bool closes) : m_db(db), m_closes(closes) {}
    // The way out of a failure: the failure's own number stays.
    ~OperationScope() {
        if (m_closes) {
            m_db.EndOperation(false);
        }
    }
    OperationScope(const OperationScope&) = delete;
    OperationScope& operator=(const OperationScope&) = delete;

    bool Finish(bool result) {
        if (!m_closes) {
            return result;
        }
        m_closes = false;
        return m_db.EndOperation(true) && result;
    }

private:
    CJetDB& m_db;
    bool m_closes;
};

CJetDB::CJetDB(Variant variant)
    : m_variant(variant), m_databaseName(ProgramFolder() + "\\system" + "\\orvan_11.mdb") {}

// The engine closes with the object: the file lock never outlives it. An
// operation still open on the server keeps its work, as the file's does.
CJetDB::~CJetDB() {
    if (m_engine && m_engine->IsOpen()) {
        try {
            m_engine->Commit();
        } catch (...) {
            m_engine->Rollback();
        }
    }
}

void CJetDB::Fail(int32_t number, int32_t engineNumber, const std::string& engineMessage) {
    m_errorNumber = number;
    m_engineErrorNumber = engineNumber;
    m_engineMessage = WithoutServerPasswords(engineMessage);
    // The server's lock or statement timeout, met by any statement of the
    // operation, is the busy file's; the file's is noted by its open.
    if (engineNumber == err::BusyOrInvalidCall) {
        m_gaveUpBusy = true;
    }
    if (engineNumber == err::ServerUnreachable) {
        m_serverUnreachable = true;
    }
    std::string description = m_engineMessage;
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
    if (m_unitDepth > 0 && m_databaseOpen && m_engine && m_engine->IsOpen() &&
        (paramName.empty() || paramName == m_databaseName)) {
        return true; // the unit's transaction goes on
    }
    m_gaveUpBusy = false;
    m_serverUnreachable = false;
    if (paramName.empty() && m_databaseName.empty()) {
        m_errorNumber = err::NoDatabase;
        return false;
    }
    const std::string name = paramName.empty() ? m_databaseName : paramName;
    // An operation still open ends first (a connection still open holds the
    // lock a new one would wait for). When the server does not keep its
    // work, that is this open's failure: the caller has no other way to
    // learn of it.
    m_databaseOpen = false;
    if (m_engine && m_engine->IsOpen()) {
        try {
            m_engine->Commit();
        } catch (...) {
            FailWithCurrentException(err::StatementFailed);
            m_engine->Rollback();
            return false;
        }
    }
    // The engine follows the name: a connection URI is the server.
    if (!m_engine || IsServerDatabaseName(name) != IsServerDatabaseName(m_databaseName) ||
        (IsServerDatabaseName(name) && name != m_databaseName)) {
        m_engine = MakeDatabaseEngine(name);
    }
    if (!m_engine) {
        Fail(err::ServerConnectionFailed, err::ServerConnectionFailed,
             "This program cannot open a database on a server: " + name);
        return false;
    }
    DatabaseEngine::OpenOptions options;
    options.busyTimeout = m_busyTimeout;
    options.busyWaitInterval = BusyWaitInterval;
    options.busyWait = m_busyWaitHandler;
    options.oneUnit = m_unitDepth > 0;
    try {
        m_engine->Open(name, options);
    } catch (const EngineError& e) {
        m_gaveUpBusy = m_engine->GaveUpBusy();
        Fail(e.Number(), e.Number(), e.what());
        return false;
    } catch (...) {
        m_gaveUpBusy = m_engine->GaveUpBusy();
        FailWithCurrentException(err::NoDatabase);
        return false;
    }
    m_haveDatabase = true;
    m_databaseName = name;
    m_databaseOpen = true;
    return true;
}

bool CJetDB::CloseDB() {
    return Close(true);
}

bool CJetDB::Close(bool report) {
    if (m_unitDepth > 0) {
        return m_haveDatabase; // the unit ends it
    }
    bool kept = true;
    if (m_engine && m_engine->IsOpen()) {
        try {
            m_engine->Commit();
        } catch (...) {
            if (report) {
                FailWithCurrentException(err::StatementFailed);
            }
            m_engine->Rollback();
            kept = false;
        }
    }
    if (m_haveDatabase) {
        m_databaseOpen = false;
        return kept;
    }
    return false;
}

bool CJetDB::EndUnit(bool& kept, bool discard) {
    kept = true;
    if (!m_engine || !m_engine->IsOpen()) {
        m_databaseOpen = false;
        return false;
    }
    bool conflicted = m_engine->Conflicted();
    if (conflicted || discard) {
        m_engine->Rollback();
        kept = false;
    } else {
        try {
            m_engine->Commit();
        } catch (...) {
            FailWithCurrentException(err::StatementFailed);
            conflicted = m_engine->Conflicted();
            m_engine->Rollback();
            kept = false;
        }
    }
    m_databaseOpen = false;
    return conflicted;
}

bool CJetDB::RunAsOneTransaction(const std::function<bool()>& work, UnitEnd onFalse) {
    // An inner unit is part of the outer one, whose caller decides its end.
    if (m_unitDepth > 0) {
        return work();
    }
    // Two stations acting for one employee at the same moment each read the
    // open record and then write. On the file the exclusive lock already
    // makes them take turns; keeping the file for the whole unit is enough.
    // On the server the unit is a SERIALIZABLE transaction rather than one
    // that locks the rows it reads (SELECT ... FOR UPDATE): the reads are the
    // core's own statements, shared with the file, and a clock-in's conflict
    // is with a row that does not exist yet (the other station's new record),
    // which no row lock can cover. The server detects every such conflict
    // and breaks one transaction off (serialization failure or deadlock);
    // that one runs again from the start, reads what the other wrote and
    // decides anew. The short random pause keeps two stations from meeting
    // again at once.
    // The unit is an operation of its own; one still open ends first, and
    // the unit does not run when the server did not keep that one's work.
    if (m_databaseOpen && !CloseDB()) {
        return false;
    }
    for (int32_t attempt = 1;; ++attempt) {
        m_unitDepth = 1;
        bool result = false;
        try {
            result = work();
        } catch (...) {
            FailWithCurrentException(err::StatementFailed);
        }
        m_unitDepth = 0;
        bool kept = true;
        const bool conflicted = EndUnit(kept, !result && onFalse == UnitEnd::Discard);
        if (!conflicted) {
            return result && kept;
        }
        if (attempt >= UnitAttempts) {
            return false;
        }
        // Seeded once per thread, at the first conflict: a unit that runs
        // once (nearly all of them) reads no random device.
        thread_local std::mt19937 random(std::random_device{}());
        std::uniform_int_distribution<int> pause(1, 10 * attempt);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause(random)));
    }
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
        m_recSet = Engine().Select(m_sql);
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
    OperationScope scope(*this, true);
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
        Engine().Action(m_sql);
        return scope.Finish(true);
    } catch (...) {
        FailWithCurrentException(err::StatementFailed);
        return false;
    }
}

bool CJetDB::EndOperation(bool report) {
    if (m_databaseOpen) {
        return Close(report);
    }
    return true;
}

DatabaseEngine& CJetDB::Engine() {
    if (!m_engine || !m_engine->IsOpen()) {
        throw EngineError(err::EngineObjectInvalid, "Object invalid or no longer set.");
    }
    return *m_engine;
}

bool CJetDB::RunOperation(bool opens, int32_t failure, const std::function<bool()>& body) {
    OperationScope scope(*this, opens);
    try {
        if (opens && !m_databaseOpen && !OpenDB(m_databaseName)) {
            return false; // keeps the open's own number (busy, missing)
        }
        if (!m_haveDatabase) {
            m_errorNumber = err::NoDatabase;
            return false;
        }
        if (!body()) {
            return false;
        }
        return scope.Finish(true);
    } catch (...) {
        FailWithCurrentException(failure);
        return false;
    }
}

namespace {

const std::vector<std::string> kPayRateColumns = {"PayRate", "OvertimePayRate"};

} // namespace

// The manager's program records a change of pay rates on the audit trail,
// with the employee's row in the same unit; the clock program changes none.
bool CJetDB::AddNewEmployee(const std::shared_ptr<CEmployee>& theemployee) {
    if (m_variant == Variant::Clock || !theemployee) {
        return PersonnelStore(*this).AddNewEmployee(theemployee);
    }
    audit::Entry entry;
    entry.kind = audit::kPayRates;
    const auto values = [&](bool after) -> std::optional<std::string> {
        if (!after) {
            return std::string();
        }
        // The row the insert has just made, by the key it got.
        const auto key = ExecuteSelect("SELECT @@IDENTITY AS NewKey");
        if (!key || key->RecordCount() == 0) {
            return std::nullopt;
        }
        key->MoveFirst();
        entry.employeeID = key->AsInteger("NewKey");
        return audit::StoredText(
            *this,
            "SELECT PayRate, OvertimePayRate FROM Employee WHERE EmployeeID = " +
                std::to_string(entry.employeeID),
            kPayRateColumns);
    };
    return audit::RecordChange(*this, entry, values,
                               [&] { return PersonnelStore(*this).AddNewEmployee(theemployee); });
}

bool CJetDB::UpdateEmployee(const std::shared_ptr<CEmployee>& theemployee) {
    if (m_variant == Variant::Clock || !theemployee) {
        return PersonnelStore(*this).UpdateEmployee(theemployee);
    }
    audit::Entry entry;
    entry.kind = audit::kPayRates;
    entry.employeeID = theemployee->EmployeeID();
    const std::string sql = "SELECT PayRate, OvertimePayRate FROM Employee WHERE EmployeeID = " +
                            std::to_string(entry.employeeID);
    return audit::RecordChange(
        *this, entry, [&](bool) { return audit::StoredText(*this, sql, kPayRateColumns); },
        [&] { return PersonnelStore(*this).UpdateEmployee(theemployee); });
}

bool CJetDB::DeleteEmployee(const std::shared_ptr<CEmployee>& theemployee) {
    return PersonnelStore(*this).DeleteEmployee(theemployee);
}

bool CJetDB::LoadEmployeeList(const std::shared_ptr<CEmployeeList>& theemployeelist) {
    return PersonnelStore(*this).LoadEmployeeList(theemployeelist);
}

bool CJetDB::AddNewCompany(const std::shared_ptr<CCompany>& thecompany) {
    return PersonnelStore(*this).AddNewCompany(thecompany);
}

bool CJetDB::UpdateCompany(const std::shared_ptr<CCompany>& thecompany) {
    return PersonnelStore(*this).UpdateCompany(thecompany);
}

bool CJetDB::DeleteCompany(const std::shared_ptr<CCompany>& thecompany) {
    return PersonnelStore(*this).DeleteCompany(thecompany);
}

bool CJetDB::LoadCompanyList(const std::shared_ptr<CCompanyList>& thecompanylist) {
    return PersonnelStore(*this).LoadCompanyList(thecompanylist);
}

} // namespace orvan
