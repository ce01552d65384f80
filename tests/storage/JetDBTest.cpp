// The database object on real SQLite files: opening, locking against a
// second process, statements in the Jet dialect, stored-query persistence.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>

#include "core/ErrorNumbers.h"
#include "personnel/CCompany.h"
#include "personnel/CCompanyList.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "server/PgEngine.h"
#include "storage/CJetDB.h"
#include "storage/Recordset.h"
#include "storage/SqliteHandle.h"
#include "support/FileRelease.h"
#include "support/LockingProcess.h"
#include "support/TestDatabase.h"
#include "support/server/EngineDatabase.h"

namespace orvan {
namespace {

// The database object's statements and stored queries, on the file and on
// the server.
class JetDBOnEngines : public test::EngineTest {};
ORVAN_ON_BOTH_ENGINES(JetDBOnEngines);

namespace fs = std::filesystem;

using test::LockingProcess;

std::shared_ptr<CEmployee> AwkwardEmployee() {
    auto e = std::make_shared<CEmployee>();
    e->SetEmployeeNumber(4711);
    e->SetSSN("987-65-4321");
    e->SetFirstName("José");
    e->SetLastName("O'Brien-Müller");
    e->SetAddress1("12 \"Elm\" St. #4; --apt");
    e->SetAddress2("Suite ' OR 1=1 --");
    e->SetCity("Zürich");
    e->SetState("NY");
    e->SetZipCode("10001");
    e->SetPhone("(555) 123-4567");
    e->SetPassword("p#ss;'--");
    e->SetPayRate(12.75f);
    e->SetOvertimePayRate(19.125f);
    e->SetDateOfBirth(DateTime::FromParts(1970, 2, 28));
    e->SetHireDate(DateTime::FromParts(2001, 6, 1));
    e->SetEmployeeActive(true);
    e->SetCompanyID(3);
    e->SetAutoDeduct(true);
    e->SetAutoDeductLunchLength(30);
    e->SetAutoDeductBreakLength(15);
    return e;
}

std::shared_ptr<CEmployee> LoadEmployee(const std::shared_ptr<CJetDB>& db, int32_t number) {
    auto list = std::make_shared<CEmployeeList>();
    list->Create();
    EXPECT_TRUE(db->LoadEmployeeList(list)) << db->ErrorNumber();
    return list->GetEmployeeByNumber(number);
}

TEST(JetDB, OpeningFailsCleanlyOnAnythingButADatabase) {
    test::TempDir dir;
    CJetDB db;
    EXPECT_FALSE(db.CloseDB());
    EXPECT_FALSE(db.OpenDB(""));
    db.SetDatabaseName("");
    EXPECT_FALSE(db.OpenDB());
    EXPECT_EQ(db.ErrorNumber(), 403);

    const fs::path missing = dir.Path() / "missing.mdb";
    EXPECT_FALSE(db.OpenDB(missing.string()));
    EXPECT_EQ(db.ErrorNumber(), SQLITE_CANTOPEN);
    EXPECT_FALSE(fs::exists(missing)); // never created

    test::WriteAll(dir.Path() / "empty.mdb", "");
    EXPECT_FALSE(db.OpenDB((dir.Path() / "empty.mdb").string()));
    EXPECT_EQ(db.ErrorNumber(), SQLITE_NOTADB);

    test::WriteAll(dir.Path() / "text.mdb", "DatabasePath=C:\\orvan\\system\\orvan_11.mdb\r\n");
    EXPECT_FALSE(db.OpenDB((dir.Path() / "text.mdb").string()));
    EXPECT_EQ(db.ErrorNumber(), SQLITE_NOTADB);

    test::TestDatabase real;
    const std::string whole = test::ReadAll(real.DatabasePath());
    test::WriteAll(dir.Path() / "truncated.mdb", whole.substr(0, 1500));
    auto truncated = std::make_shared<CJetDB>();
    truncated->SetDatabaseName((dir.Path() / "truncated.mdb").string());
    auto list = std::make_shared<CEmployeeList>();
    list->Create();
    EXPECT_FALSE(truncated->LoadEmployeeList(list));
    EXPECT_NE(truncated->ErrorNumber(), 0);
    EXPECT_TRUE(test::FileIsReleased((dir.Path() / "truncated.mdb").string()));
}

TEST_P(JetDBOnEngines, SnapshotsAndTheJetDialect) {
    const auto database = NewDatabase();
    test::EngineDatabase& tdb = *database;
    auto db = tdb.NewJetDB();
    ASSERT_TRUE(db->OpenDB());
    EXPECT_EQ(db->RecordsetType(), 0);
    auto rows = db->ExecuteSelect("SELECT [_System].program, [_System].period_length, "
                                  "[_System].auto_shift_start_time FROM _System;");
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(db->RecordsetType(), 4);
    EXPECT_EQ(rows->RecordCount(), 1);
    EXPECT_EQ(rows->AsText("Program"), "OrvanAdmin");
    EXPECT_EQ(rows->AsInteger("PERIOD_LENGTH"), 13);
    EXPECT_DOUBLE_EQ(rows->AsDouble("auto_shift_start_time"), 8.0 / 24.0);
    EXPECT_TRUE(db->CloseDB());
    EXPECT_EQ(db->ExecuteSelect(), nullptr); // closed: 407
    EXPECT_EQ(db->ErrorNumber(), 407);

    // Action statements open and close the file themselves.
    EXPECT_TRUE(db->ExecuteAction("INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                                  "VALUES (5, #1/15/2003 8:00:00 AM#, #1/15/2003 5:00:00 PM#);"));
    EXPECT_TRUE(tdb.IsReleased());
    EXPECT_TRUE(db->ExecuteAction("UPDATE TimeRecord SET TimeRecord.EndTime = #1/15/2003 "
                                  "12:30:00 PM# WHERE TimeRecord.EmployeeID = 5;"));
    EXPECT_DOUBLE_EQ(tdb.QueryDouble("SELECT EndTime FROM TimeRecord WHERE EmployeeID = 5"),
                     DateTime::FromParts(2003, 1, 15, 12, 30).Days());
    ASSERT_TRUE(db->OpenDB());
    rows = db->ExecuteSelect(
        "SELECT TimeRecord.StartTime FROM TimeRecord WHERE "
        "TimeRecord.StartTime >= #1/15/2003# AND TimeRecord.EndTime <= #1/16/2003#;");
    ASSERT_NE(rows, nullptr);
    EXPECT_EQ(rows->RecordCount(), 1);
    db->CloseDB();
    EXPECT_TRUE(db->ExecuteAction("DELETE TimeRecord.* FROM TimeRecord WHERE "
                                  "TimeRecord.EmployeeID = 5;"));
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM TimeRecord"), 0);

    // A failing statement reports 407 and still releases the file.
    EXPECT_FALSE(db->ExecuteAction("UPDATE NoSuchTable SET x = 1;"));
    EXPECT_EQ(db->ErrorNumber(), 407);
    EXPECT_TRUE(tdb.IsReleased());
    EXPECT_FALSE(db->ExecuteAction(""));
}

TEST(JetDB, OpenIsExclusiveUntilClosed) {
    test::TempDir dir;
    test::TestDatabase tdb;
    auto db = tdb.NewJetDB();
    ASSERT_TRUE(db->OpenDB());
    int rc = SQLITE_OK;
    const sqlite::Connection connection =
        sqlite::Open(tdb.DatabasePath(), SQLITE_OPEN_READWRITE, rc);
    ASSERT_EQ(rc, SQLITE_OK);
    sqlite3* other = connection.get();
    EXPECT_EQ(sqlite3_exec(other, "SELECT count(*) FROM Employee", nullptr, nullptr, nullptr),
              SQLITE_BUSY);
    db->CloseDB();
    EXPECT_EQ(sqlite3_exec(other, "SELECT count(*) FROM Employee", nullptr, nullptr, nullptr),
              SQLITE_OK);
}

TEST(JetDB, WaitsForTheOtherProgramWithinTheBusyTimeout) {
    test::TestDatabase tdb;
    auto db = tdb.NewJetDB();
    db->SetBusyTimeout(5000);
    {
        LockingProcess other(tdb.DatabasePath(), 400);
        EXPECT_TRUE(db->ExecuteAction("INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                                      "VALUES (7, #1/15/2003 8:00:00 AM#, 0);"))
            << db->ErrorNumber();
    }
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM TimeRecord"), 1);

    // Held longer than the timeout: a clear busy failure, nothing written,
    // and the next operation works again.
    db->SetBusyTimeout(test::TestBusyTimeout);
    {
        LockingProcess other(tdb.DatabasePath(), test::HeldPastTestBusyTimeout);
        EXPECT_FALSE(db->ExecuteAction("INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                                       "VALUES (8, #1/15/2003 8:00:00 AM#, 0);"));
        EXPECT_EQ(db->ErrorNumber(), err::BusyOrInvalidCall);
        EXPECT_FALSE(db->DatabaseOpen());
        auto list = std::make_shared<CEmployeeList>();
        list->Create();
        EXPECT_FALSE(db->LoadEmployeeList(list));
        EXPECT_EQ(db->ErrorNumber(), err::BusyOrInvalidCall);
        EXPECT_FALSE(db->AddNewEmployee(AwkwardEmployee()));
        EXPECT_EQ(db->ErrorNumber(), err::BusyOrInvalidCall);
    }
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM TimeRecord WHERE EmployeeID = 8"), 0);
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM Employee"), 1);
    EXPECT_TRUE(db->ExecuteAction("INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                                  "VALUES (8, #1/15/2003 8:00:00 AM#, 0);"));
}

TEST(JetDB, BusyWaitCallsTheHandlerAndTellsAGiveUpFromOtherFailures) {
    test::TestDatabase tdb;
    auto db = tdb.NewJetDB();
    int calls = 0;
    db->SetBusyWaitHandler([&calls] { ++calls; });

    // No wait, no call.
    ASSERT_TRUE(db->OpenDB());
    db->CloseDB();
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(db->GaveUpBusy());

    // A wait that ends in success: called several times, no give-up.
    db->SetBusyTimeout(5000);
    {
        LockingProcess other(tdb.DatabasePath(), 400);
        EXPECT_TRUE(db->OpenDB());
        db->CloseDB();
    }
    EXPECT_GE(calls, 3);
    EXPECT_FALSE(db->GaveUpBusy());

    // Held past the timeout: a give-up, which the next open clears.
    db->SetBusyTimeout(test::TestBusyTimeout);
    {
        LockingProcess other(tdb.DatabasePath(), test::HeldPastTestBusyTimeout);
        EXPECT_FALSE(db->OpenDB());
        EXPECT_TRUE(db->GaveUpBusy());
    }
    EXPECT_TRUE(db->OpenDB());
    EXPECT_FALSE(db->GaveUpBusy());
    db->CloseDB();

    // A missing file fails at once and is no give-up.
    const int before = calls;
    EXPECT_FALSE(db->OpenDB((tdb.Folder() / "missing.mdb").string()));
    EXPECT_FALSE(db->GaveUpBusy());
    EXPECT_EQ(calls, before);
}

TEST_P(JetDBOnEngines, EmployeesRoundTripThroughStoredQueriesUnchanged) {
    const auto database = NewDatabase();
    test::EngineDatabase& tdb = *database;
    auto db = tdb.NewJetDB();
    auto added = AwkwardEmployee();
    ASSERT_TRUE(db->AddNewEmployee(added)) << db->ErrorNumber();
    EXPECT_EQ(added->EmployeeID(), -1);
    EXPECT_TRUE(tdb.IsReleased());

    auto loaded = LoadEmployee(db, 4711);
    ASSERT_NE(loaded, nullptr);
    EXPECT_GT(loaded->EmployeeID(), 0);
    EXPECT_EQ(loaded->FirstName(), "José");
    EXPECT_EQ(loaded->LastName(), "O'Brien-Müller");
    EXPECT_EQ(loaded->Address1(), "12 \"Elm\" St. #4; --apt");
    EXPECT_EQ(loaded->Address2(), "Suite ' OR 1=1 --");
    EXPECT_EQ(loaded->City(), "Zürich");
    EXPECT_EQ(loaded->Password(), "p#ss;'--");
    EXPECT_EQ(loaded->SSN(), "987-65-4321");
    EXPECT_FLOAT_EQ(loaded->PayRate(), 12.75f);
    EXPECT_FLOAT_EQ(loaded->OvertimePayRate(), 19.125f);
    EXPECT_EQ(loaded->DateOfBirth(), DateTime::FromParts(1970, 2, 28));
    EXPECT_EQ(loaded->HireDate(), DateTime::FromParts(2001, 6, 1));
    EXPECT_TRUE(loaded->ReleaseDate().IsZero());
    EXPECT_TRUE(loaded->EmployeeActive());
    EXPECT_TRUE(loaded->AutoDeduct());
    EXPECT_EQ(loaded->CompanyID(), 3);
    EXPECT_EQ(loaded->AutoDeductLunchLength(), 30);
    EXPECT_EQ(loaded->AutoDeductBreakLength(), 15);

    loaded->SetLastName("Müller; DROP TABLE Employee; --");
    loaded->SetEmployeeActive(false);
    loaded->SetReleaseDate(DateTime::FromParts(2003, 1, 31));
    ASSERT_TRUE(db->UpdateEmployee(loaded)) << db->ErrorNumber();
    auto again = LoadEmployee(db, 4711);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->LastName(), "Müller; DROP TABLE Employee; --");
    EXPECT_FALSE(again->EmployeeActive());
    EXPECT_EQ(again->ReleaseDate(), DateTime::FromParts(2003, 1, 31));
    EXPECT_FALSE(db->DeleteEmployee(again));
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM Employee"), 2);
}

TEST_P(JetDBOnEngines, NullsLoadAsInitialValues) {
    const auto database = NewDatabase();
    test::EngineDatabase& tdb = *database;
    tdb.Exec("INSERT INTO Employee (EmployeeID, Active, AutoDeduct) VALUES (77, 1, 0)");
    auto db = tdb.NewJetDB();
    auto list = std::make_shared<CEmployeeList>();
    list->Create();
    ASSERT_TRUE(db->LoadEmployeeList(list));
    auto e = list->GetEmployeeByID(77);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->LastName(), "");
    EXPECT_EQ(e->Password(), "");
    EXPECT_TRUE(e->DateOfBirth().IsZero());
    EXPECT_EQ(e->PayRate(), 0.0f);
    EXPECT_EQ(e->CompanyID(), 0);
    EXPECT_EQ(e->ObjectState(), StateUnchanged);
}

TEST_P(JetDBOnEngines, MissingStoredQueriesFailWithoutCrashing) {
    const auto database = NewDatabase();
    test::EngineDatabase& tdb = *database;
    tdb.Exec("DELETE FROM _StoredQuery WHERE Name = 'UpdateEmployee'");
    auto db = tdb.NewJetDB();
    auto e = AwkwardEmployee();
    EXPECT_TRUE(db->AddNewEmployee(e));
    EXPECT_FALSE(db->UpdateEmployee(e));
    EXPECT_EQ(db->ErrorNumber(), 413);
    EXPECT_TRUE(tdb.IsReleased());

    tdb.Exec("DROP TABLE _StoredQuery");
    auto list = std::make_shared<CEmployeeList>();
    list->Create();
    EXPECT_FALSE(db->LoadEmployeeList(list));
    EXPECT_EQ(list->Count(), 0);
    EXPECT_FALSE(db->AddNewEmployee(e));
    EXPECT_EQ(db->ErrorNumber(), 412);
    EXPECT_TRUE(tdb.IsReleased());
    tdb.Exec("CREATE TABLE Probe (x INTEGER)"); // the file is free
}

// A stored query runs its one statement: a second one smuggled into the
// text fails the whole query on either engine, and nothing of it runs.
TEST_P(JetDBOnEngines, AStoredQueryRunsOnlyItsOneStatement) {
    const auto database = NewDatabase(true);
    test::EngineDatabase& tdb = *database;
    const int64_t employees = tdb.QueryInt("SELECT count(*) FROM Employee");
    std::string text = tdb.QueryText("SELECT Sql FROM _StoredQuery WHERE Name = 'UpdateCompany'");
    text += " DELETE FROM Employee;";
    std::string quoted;
    for (const char c : text) {
        quoted += c == '\'' ? std::string("''") : std::string(1, c);
    }
    tdb.Exec("UPDATE _StoredQuery SET Sql = '" + quoted + "' WHERE Name = 'UpdateCompany'");

    auto db = tdb.NewJetDB();
    auto list = std::make_shared<CCompanyList>();
    list->Create();
    ASSERT_TRUE(db->LoadCompanyList(list));
    ASSERT_GT(list->Count(), 0);
    const auto company = list->Item(1);
    const std::string name = company->CompanyName();
    company->SetCompanyName("Renamed");
    EXPECT_FALSE(db->UpdateCompany(company));
    EXPECT_EQ(db->ErrorNumber(), 413);
    EXPECT_FALSE(db->EngineMessage().empty());
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM Employee"), employees);
    EXPECT_EQ(tdb.QueryText("SELECT Name FROM Company WHERE CompanyID = " +
                            std::to_string(company->CompanyID())),
              name);
    EXPECT_TRUE(tdb.IsReleased());
}

TEST_P(JetDBOnEngines, CompaniesRoundTripAndTheClockVariantHasNone) {
    const auto database = NewDatabase();
    test::EngineDatabase& tdb = *database;
    auto db = tdb.NewJetDB();
    auto company = std::make_shared<CCompany>();
    company->SetCompanyName("Smith & Sons \"Bakery\"; #1");
    company->SetCity("Köln");
    company->SetURL("http://example.com/?a=1&b='2'");
    ASSERT_TRUE(db->AddNewCompany(company));
    auto list = std::make_shared<CCompanyList>();
    list->Create();
    ASSERT_TRUE(db->LoadCompanyList(list));
    ASSERT_EQ(list->Count(), 1);
    auto loaded = list->Item(1);
    EXPECT_EQ(loaded->CompanyName(), "Smith & Sons \"Bakery\"; #1");
    EXPECT_EQ(loaded->City(), "Köln");
    EXPECT_EQ(loaded->URL(), ""); // not among the listing's columns
    loaded->SetCity("Düsseldorf");
    ASSERT_TRUE(db->UpdateCompany(loaded));
    EXPECT_EQ(tdb.QueryText("SELECT City FROM Company"), "Düsseldorf");
    EXPECT_FALSE(db->DeleteCompany(loaded));

    auto clock = tdb.NewJetDB(CJetDB::Variant::Clock);
    EXPECT_FALSE(clock->AddNewCompany(company));
    EXPECT_EQ(clock->ErrorNumber(), 412);
    EXPECT_FALSE(clock->UpdateCompany(company));
    EXPECT_EQ(clock->ErrorNumber(), 413);
}

TEST_P(JetDBOnEngines, ClockVariantUsesTheStartUpConnectionAsItFindsIt) {
    const auto database = NewDatabase();
    test::EngineDatabase& tdb = *database;
    tdb.AddEmployee(1001, "Ann", "Lee");
    auto clock = tdb.NewJetDB(CJetDB::Variant::Clock);
    ASSERT_TRUE(clock->OpenDB());
    auto list = std::make_shared<CEmployeeList>();
    list->Create();
    ASSERT_TRUE(clock->LoadEmployeeList(list));
    EXPECT_EQ(list->Count(), 2);
    EXPECT_TRUE(clock->DatabaseOpen()); // left for the controller to close
    clock->CloseDB();
    auto later = std::make_shared<CEmployeeList>();
    later->Create();
    EXPECT_FALSE(clock->LoadEmployeeList(later)); // closed: it does not open
    EXPECT_EQ(later->Count(), 0);
}

// On the server an operation is one transaction, and a deferred constraint
// is checked only when it commits. A commit the server refuses drops the
// operation's work and fails whatever ended the operation, with 407 and the
// server's own code and words, as a failing statement does. (On the file
// each statement is written as it runs: no commit is left to fail.)
TEST(JetDB, ACommitTheServerRefusesFailsWhatEndedTheOperation) {
    ORVAN_SKIP_WITHOUT_SERVER();
    server::RegisterEngine();
    const test::EngineDatabase database(test::Engine::Server);
    database.AddEmployee(1001, "Ann", "Lee");
    database.Exec("ALTER TABLE Employee ADD CONSTRAINT OneEmployeePerNumber UNIQUE "
                  "(EmployeeNumber) DEFERRABLE INITIALLY DEFERRED");
    auto twin = AwkwardEmployee();
    twin->SetEmployeeNumber(1001);
    const auto refused = [&](const CJetDB& db) {
        EXPECT_EQ(db.ErrorNumber(), err::StatementFailed);
        EXPECT_EQ(db.EngineErrorNumber(), err::ServerStatementFailed);
        EXPECT_NE(db.EngineMessage().find("SQLSTATE 23505"), std::string::npos)
            << db.EngineMessage();
        EXPECT_FALSE(db.DatabaseOpen());
        EXPECT_TRUE(database.IsReleased());
        EXPECT_EQ(database.QueryInt("SELECT count(*) FROM Employee WHERE EmployeeNumber = 1001"),
                  1);
    };

    // The clock variant writes on the connection its start-up opened and
    // leaves it open; a new open ends that operation first.
    {
        const auto clock = database.NewJetDB(CJetDB::Variant::Clock);
        ASSERT_TRUE(clock->OpenDB());
        ASSERT_TRUE(clock->AddNewEmployee(twin)) << clock->ErrorNumber();
        EXPECT_FALSE(clock->OpenDB());
        refused(*clock);
        // Nothing is left over: the next open works.
        EXPECT_TRUE(clock->OpenDB());
        EXPECT_TRUE(clock->CloseDB());
    }
    // So does a unit, which then does not run.
    {
        const auto clock = database.NewJetDB(CJetDB::Variant::Clock);
        ASSERT_TRUE(clock->OpenDB());
        ASSERT_TRUE(clock->AddNewEmployee(twin));
        bool ran = false;
        EXPECT_FALSE(clock->RunAsOneTransaction([&] {
            ran = true;
            return true;
        }));
        EXPECT_FALSE(ran);
        refused(*clock);
    }
    // Closing it.
    {
        const auto clock = database.NewJetDB(CJetDB::Variant::Clock);
        ASSERT_TRUE(clock->OpenDB());
        ASSERT_TRUE(clock->AddNewEmployee(twin));
        EXPECT_FALSE(clock->CloseDB());
        refused(*clock);
    }
    // An operation that closes itself, and the end of a unit.
    {
        const auto admin = database.NewJetDB();
        EXPECT_FALSE(admin->AddNewEmployee(twin));
        refused(*admin);
    }
    {
        const auto admin = database.NewJetDB();
        EXPECT_FALSE(admin->RunAsOneTransaction([&] { return admin->AddNewEmployee(twin); }));
        refused(*admin);
    }
}

} // namespace
} // namespace orvan
