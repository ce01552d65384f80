#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "storage/SchemaVersion.h"

namespace orvan {

class CCompany;
class CCompanyList;
class CDatabaseLocator;
class CEmployee;
class CEmployeeList;
class DatabaseEngine;
class Recordset;

// The one way into the database: the embedded file, or a PostgreSQL server
// when the database name is a connection URI (postgresql://user@host/db; see
// DatabaseEngine.h). Holds one engine that is opened for the length of an
// operation and closed after it: the file exclusively, so the administrator
// program and the clock program can share it; the server as one transaction
// on a connection kept between operations.
//
// Statements arrive in the Jet dialect the core writes (#1/15/2003 8:00:00 AM#
// literals, DELETE <columns> FROM, table-qualified columns in SET, [_System])
// and are translated just before they run. Employees and companies are read
// and written only through the stored queries kept in the database.
//
// No operation throws: each returns False (or nullptr) and leaves a number in
// ErrorNumber, which a later success does not clear. Numbers: 403 no database
// to work with, 406 no statement, 407 a select or action failed (also a
// loaded value that does not fit its field, and a commit the server
// refused, whichever call ended the operation), 412 an add failed, 413 an update
// failed, 421 a listing reported a negative count, 312 the company list
// refused a loaded company; any other number is the engine's own from an
// open (SQLite: 14 cannot open, 26 not a database, 5 busy: the other program
// holds the file longer than the busy timeout; the server: 951 address not valid,
// login refused or no server engine in this program, 954 not reached or no
// answer in time, 26 no Orvan schema).
// The engine's own code and message of the last failure are kept beside it
// (EngineErrorNumber, EngineMessage) and recorded as the failure being
// handled, so the error log can say what the engine said.
//
// Every operation that opens the database closes it again when it ends,
// whether it succeeded or not. OpenDB / OpenOrvanDatabase and ExecuteSelect
// leave the connection as it is: their caller closes it (start-up, system
// options). A file the open refuses is left exactly as it was.
class CJetDB {
public:
    // The clock program's database object has only the employee operations;
    // they use the connection as they find it and never open or close it.
    enum class Variant { Administrator, Clock };

    // The version of the database's schema this code reads and writes, kept in
    // the file's user_version. A file made before the clock station's own
    // tables existed has version 0, one made before the punches' offsets
    // from UTC were kept version 1, one made before the audit trail version
    // 2; all are upgraded when they are opened (SqliteEngine::UpgradeSchema).
    static constexpr int32_t SchemaVersion = kSchemaVersion;

    static constexpr int32_t DefaultBusyTimeout = 5000;

    explicit CJetDB(Variant variant = Variant::Administrator);
    ~CJetDB();
    CJetDB(const CJetDB&) = delete;
    CJetDB& operator=(const CJetDB&) = delete;

    Variant ProgramVariant() const { return m_variant; }

    // A path the owner may keep here; never read by this class.
    const std::string& DatabasePath() const { return m_databasePath; }
    void SetDatabasePath(const std::string& value) { m_databasePath = value; }
    // Full path of the database file, initially <program folder>\system\orvan_11.mdb
    // (backslashes become the platform's separator when the file is opened),
    // or a server's connection URI, used as written.
    const std::string& DatabaseName() const { return m_databaseName; }
    void SetDatabaseName(const std::string& value) { m_databaseName = value; }
    // 0 until the first ExecuteSelect, which replaces it by 4 (snapshot).
    int16_t RecordsetType() const { return m_recordsetType; }
    void SetRecordsetType(int16_t value) { m_recordsetType = value; }
    // The statement last run, or to be run when a call passes no text.
    const std::string& SQL() const { return m_sql; }
    void SetSQL(const std::string& value) { m_sql = value; }
    // Milliseconds an open waits while the other program holds the file.
    int32_t BusyTimeout() const { return m_busyTimeout; }
    void SetBusyTimeout(int32_t milliseconds) { m_busyTimeout = milliseconds; }
    // Called about every BusyWaitInterval milliseconds while an open waits for
    // the other program to let go of the file, so a window can keep drawing
    // and show that it waits. Must not use this database object.
    static constexpr int32_t BusyWaitInterval = 25;
    void SetBusyWaitHandler(std::function<void()> handler) {
        m_busyWaitHandler = std::move(handler);
    }
    // True when the last operation gave up because another program held the
    // database for the whole busy timeout: the file at its open, or on the
    // server a lock or a statement that ran out of the busy timeout.
    bool GaveUpBusy() const { return m_gaveUpBusy; }
    // True when the last operation failed because the database server could
    // not be reached, did not answer in time or lost the connection
    // (err::ServerUnreachable).
    bool ServerUnreachable() const { return m_serverUnreachable; }

    bool DatabaseOpen() const { return m_databaseOpen; }
    // The snapshot of the last ExecuteSelect; shared with the caller.
    std::shared_ptr<Recordset> RecSet() const { return m_recSet; }
    int32_t ErrorNumber() const { return m_errorNumber; }
    // The engine's code and text for the last failure (0 and empty when the
    // failure was not the engine's).
    int32_t EngineErrorNumber() const { return m_engineErrorNumber; }
    const std::string& EngineMessage() const { return m_engineMessage; }

    // Opens the file whose path the locator has already resolved. A null
    // locator is replaced by a fresh one (whose empty path then fails). An
    // empty path returns False and leaves ErrorNumber as it was.
    bool OpenOrvanDatabase(const std::shared_ptr<CDatabaseLocator>& thedatabaselocator);
    // Opens an existing file exclusively (never creates one), or begins a
    // transaction on the server the connection URI names. paramConnect and
    // paramPassword are accepted and ignored. A file of an older schema
    // version is upgraded in the same transaction that checks it; when the
    // upgrade fails, nothing of it stays and the open fails. An operation
    // still open ends first; when the server does not keep its work, the open
    // fails (407) and nothing is open. Inside RunAsOneTransaction an open
    // database stays as it is.
    bool OpenDB(const std::string& paramName = "", const std::string& paramConnect = "",
                const std::string& paramPassword = "");
    // Ends the operation: closes the file, or commits the server's
    // transaction (False when the server did not keep it). True when a
    // connection was ever obtained. Inside RunAsOneTransaction the database
    // stays open until the unit ends.
    bool CloseDB();

    // Runs `work` (operations of this object and of the objects using it) as
    // one unit: no other program's change lands between its reads and its
    // writes. On the file the file stays held from the unit's first open to
    // its end, as one transaction; on the server the unit is one serializable transaction, run
    // again from the start when the server breaks it off for a conflict with
    // another (a few times, after a short random pause). `work` must
    // therefore only touch the database, never ask the user, and may run more
    // than once. Returns what `work` returned, False when the unit could not
    // be kept. An operation still open ends first; when the server does not
    // keep its work, the unit fails (407) without running `work`. A unit
    // inside a unit is part of the outer one.
    //
    // What `work` wrote is kept even when it returns False, unless `onFalse`
    // is Discard: then a False drops everything the unit wrote, so that it
    // is stored whole or not at all (the auto fill's shifts).
    enum class UnitEnd { Keep, Discard };
    bool RunAsOneTransaction(const std::function<bool()>& work, UnitEnd onFalse = UnitEnd::Keep);
    // Tries of a unit the server keeps breaking off before it fails.
    static constexpr int32_t UnitAttempts = 8;
    // Runs a query on the open connection and returns a snapshot of all its
    // rows (nullptr on failure). Neither opens nor closes the file.
    std::shared_ptr<Recordset> ExecuteSelect(const std::string& sqlstring = "");
    // Runs an INSERT, UPDATE or DELETE, opening the file when it is closed
    // and closing it afterwards.
    bool ExecuteAction(const std::string& sqlstring = "");

    // Employee and company persistence, done by PersonnelStore on this
    // object's connection. Employees through the stored queries AddNewEmployee,
    // UpdateEmployee and GetAllEmployees. An added employee keeps
    // EmployeeID -1; the next load gives it its identifier. Delete removes
    // nothing and returns False.
    bool AddNewEmployee(const std::shared_ptr<CEmployee>& theemployee);
    bool UpdateEmployee(const std::shared_ptr<CEmployee>& theemployee);
    bool DeleteEmployee(const std::shared_ptr<CEmployee>& theemployee);
    // Inserts loaded employee k at position k of the list.
    bool LoadEmployeeList(const std::shared_ptr<CEmployeeList>& theemployeelist);

    // Company persistence through AddNewCompany, UpdateCompany and
    // GetAllCompanies. Not available to the clock program's variant, where
    // they fail (412, 413, 403) without touching the file.
    bool AddNewCompany(const std::shared_ptr<CCompany>& thecompany);
    bool UpdateCompany(const std::shared_ptr<CCompany>& thecompany);
    bool DeleteCompany(const std::shared_ptr<CCompany>& thecompany);
    bool LoadCompanyList(const std::shared_ptr<CCompanyList>& thecompanylist);

private:
    // The personnel operations run through RunOperation on Engine() and
    // report with SetErrorNumber; nothing else of this object is theirs.
    friend class PersonnelStore;
    class OperationScope;

    // The open engine; throws EngineError 3420 when nothing is open.
    DatabaseEngine& Engine();
    // Runs one operation of this object: opens the database when `opens` and
    // it is closed (a failed open keeps the open's own number), fails with
    // 403 when no connection was ever obtained, then runs `body`; an
    // exception out of `body` becomes `failure`. When `opens`, the operation
    // ends on the way out, and a commit the server refuses after a `body`
    // that returned True makes the operation fail (407).
    bool RunOperation(bool opens, int32_t failure, const std::function<bool()>& body);
    void SetErrorNumber(int32_t number) { m_errorNumber = number; }
    // Closes the connection when the operation opened or found it open;
    // False when the server did not keep the operation's work, which
    // `report` makes the failure (407) being handled.
    bool EndOperation(bool report);
    bool Close(bool report);
    // Ends the unit's transaction, dropping it when `discard`; True when the
    // server broke it off for a conflict and the unit should run again.
    bool EndUnit(bool& kept, bool discard);
    // Keeps `number` as ErrorNumber with the engine's code and text, and
    // records it as the failure being handled.
    void Fail(int32_t number, int32_t engineNumber, const std::string& engineMessage);
    // The same for the exception being handled; call only inside a catch.
    void FailWithCurrentException(int32_t number);

    Variant m_variant;
    std::shared_ptr<CDatabaseLocator> m_locator;
    std::unique_ptr<DatabaseEngine> m_engine;
    // Depth of RunAsOneTransaction calls; inner opens and closes join the unit.
    int32_t m_unitDepth = 0;
    // True once a connection was obtained; stays True after CloseDB.
    bool m_haveDatabase = false;
    std::shared_ptr<Recordset> m_recSet;
    std::string m_databasePath;
    std::string m_databaseName;
    std::string m_sql;
    bool m_databaseOpen = false;
    int16_t m_recordsetType = 0;
    int32_t m_errorNumber = 0;
    int32_t m_engineErrorNumber = 0;
    std::string m_engineMessage;
    int32_t m_busyTimeout = DefaultBusyTimeout;
    std::function<void()> m_busyWaitHandler;
    bool m_gaveUpBusy = false;
    bool m_serverUnreachable = false;
};

} // namespace orvan
