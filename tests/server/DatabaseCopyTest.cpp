// Copies between database files and the server, and new server databases:
// every row comes back exactly as it went, keys continue past the copied
// ones, and a destination that cannot take the copy is left as it was.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <cstdint>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "server/DatabaseCopy.h"
#include "server/PgConnection.h"
#include "server/PgSchema.h"
#include "storage/AuditTrail.h"
#include "storage/CJetDB.h"
#include "storage/Installer.h"
#include "storage/Recordset.h"
#include "storage/SqliteHandle.h"
#include "support/TempDir.h"
#include "support/TestDatabase.h"
#include "support/server/ServerTestDatabase.h"

namespace orvan::test {
namespace {

namespace fs = std::filesystem;

// Every table a copy moves, with the key its rows are compared in.
const std::vector<std::pair<std::string, std::string>> kTables = {{"_System", "rowid"},
                                                                  {"Company", "CompanyID"},
                                                                  {"Employee", "EmployeeID"},
                                                                  {"TimeRecord", "TimeRecordID"},
                                                                  {"_StoredQuery", "Name"},
                                                                  {"StationOption", "Name"},
                                                                  {"EmployeePin", "EmployeeID"},
                                                                  {"StationLockout", "EmployeeID"},
                                                                  {"PunchOffset", "TimeRecordID"},
                                                                  {"AuditEntry", "EntryID"},
                                                                  {"sqlite_sequence", "name"}};

// One stored value, spelled so that equal text means an equal value: the
// storage class, and a real number by its bits.
std::string Spell(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_INTEGER:
        return "integer " + std::to_string(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT: {
        std::ostringstream out;
        const double value = sqlite3_column_double(statement, column);
        out << "real " << std::hexfloat << value << " bits " << std::bit_cast<uint64_t>(value);
        return out.str();
    }
    case SQLITE_NULL:
        return "null";
    default:
        return "text '" +
               std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, column))) +
               "'";
    }
}

// Every row of every table of a database file (and its key counters and
// schema version), one line per row.
std::map<std::string, std::vector<std::string>> Dump(const std::string& path) {
    std::map<std::string, std::vector<std::string>> dump;
    int rc = SQLITE_OK;
    const sqlite::Connection connection = sqlite::Open(path, SQLITE_OPEN_READONLY, rc);
    sqlite3* db = connection.get();
    EXPECT_EQ(rc, SQLITE_OK);
    for (const auto& [table, key] : kTables) {
        sqlite3_stmt* raw = nullptr;
        const std::string sql = "SELECT * FROM " + table + " ORDER BY " + key;
        auto& rows = dump[table];
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
            // Shows as a difference wherever the table is compared.
            rows.push_back(sql + ": " + sqlite3_errmsg(db));
            continue;
        }
        const sqlite::Statement owned(raw);
        sqlite3_stmt* statement = owned.get();
        while (sqlite3_step(statement) == SQLITE_ROW) {
            std::string row;
            for (int c = 0; c < sqlite3_column_count(statement); ++c) {
                row += std::string(sqlite3_column_name(statement, c)) + "=" + Spell(statement, c) +
                       "; ";
            }
            rows.push_back(row);
        }
    }
    if (db != nullptr && rc == SQLITE_OK) {
        const sqlite::Statement version = sqlite::PrepareOne(db, "PRAGMA user_version");
        sqlite3_step(version.get());
        dump["user_version"].push_back(Spell(version.get(), 0));
    }
    return dump;
}

void ExpectSameRows(const std::string& original, const std::string& copy) {
    const auto expected = Dump(original);
    const auto actual = Dump(copy);
    for (const auto& [table, rows] : expected) {
        ASSERT_TRUE(actual.count(table)) << table;
        const auto& copied = actual.at(table);
        // Each copy adds its own entry at the end of the trail.
        if (table == "AuditEntry" && copied.size() > rows.size()) {
            for (size_t i = rows.size(); i < copied.size(); ++i) {
                EXPECT_NE(copied[i].find("text 'Copy'"), std::string::npos) << copied[i];
            }
            EXPECT_TRUE(std::equal(rows.begin(), rows.end(), copied.begin())) << table;
            continue;
        }
        EXPECT_EQ(rows.size(), copied.size()) << table;
        for (size_t i = 0; i < rows.size() && i < copied.size(); ++i) {
            EXPECT_EQ(rows[i], copied[i]) << table << " row " << i;
        }
    }
}

int64_t ServerCount(const ServerTestDatabase& database, const std::string& sql) {
    const auto rows = database.Connect()->Query(sql);
    rows->MoveFirst();
    return Recordset::ToInteger(rows->FieldAt(0));
}

// A demonstration file with what a plain demo lacks: a PIN, a lock-out, the
// PIN option on, a removed last record (so the key counter is ahead of the
// largest key), times that are not whole seconds and texts with quotes.
class DatabaseCopyTest : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        m_demo.Exec("UPDATE StationOption SET Value = '1' WHERE Name = 'RequirePin'");
        m_demo.Exec("INSERT INTO EmployeePin (EmployeeID, PinHash) VALUES (40, "
                    "'$argon2id$v=19$m=65536,t=2,p=1$c2FsdA$aGFzaA')");
        m_demo.Exec("INSERT INTO StationLockout (EmployeeID, WrongPins, LockedUntil) VALUES (41, "
                    "5, 37636.123456789012)");
        m_demo.Exec("UPDATE Employee SET Address2 = 'It''s \"here\"', Phone = NULL "
                    "WHERE EmployeeID = 42");
        m_demo.Exec("UPDATE TimeRecord SET StartTime = 37630.1 + 1e-9, ShiftDate = 37630 "
                    "WHERE TimeRecordID = 3");
        m_demo.Exec("INSERT INTO PunchOffset (TimeRecordID, StartOffset, EndOffset) VALUES "
                    "(3, -300, NULL), (4, -360, -300)");
        m_demo.AddTimeRecord(40, DateTime::FromParts(2003, 1, 16, 8, 0, 0));
        m_demo.Exec("DELETE FROM TimeRecord WHERE TimeRecordID = (SELECT MAX(TimeRecordID) "
                    "FROM TimeRecord)");
    }

    std::string Copy(const std::string& from, const std::string& to, bool expected = true) {
        server::CopyReport report;
        std::string message;
        EXPECT_EQ(server::CopyDatabase(from, to, report, message), expected) << message;
        return message;
    }

    TestDatabase m_demo{true};
    TempDir m_dir;
};

TEST_F(DatabaseCopyTest, AFileCopiedToTheServerAndBackHasEveryRowAsItWas) {
    Copy(m_demo.DatabasePath(), Database().Uri());
    const std::string back = (m_dir / "back.mdb").string();
    Copy(Database().Uri(), back);
    ExpectSameRows(m_demo.DatabasePath(), back);
    EXPECT_GT(Dump(back)["TimeRecord"].size(), 100u);
}

// The trail travels whole and each copy chains its own entry to it, naming
// both ends; the chain stays intact.
TEST_F(DatabaseCopyTest, EachCopyAddsItsEntryToTheTrailItCarries) {
    audit::Entry edit;
    edit.who = "manager";
    edit.kind = audit::kEdit;
    edit.employeeID = 40;
    edit.timeRecordID = 3;
    edit.before = "a";
    edit.after = "b";
    CJetDB file;
    file.SetDatabaseName(m_demo.DatabasePath());
    ASSERT_TRUE(
        file.RunAsOneTransaction([&] { return file.OpenDB() && audit::Append(file, edit); }));

    Copy(m_demo.DatabasePath(), Database().Uri());
    const std::string back = (m_dir / "back.mdb").string();
    Copy(Database().Uri(), back);
    CJetDB copied;
    copied.SetDatabaseName(back);
    const auto entries = audit::ReadAll(copied);
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 3u);
    EXPECT_EQ((*entries)[0].kind, "Edit");
    for (size_t i = 1; i < 3; ++i) {
        EXPECT_EQ((*entries)[i].kind, "Copy");
        EXPECT_EQ((*entries)[i].who, "orvan-initdb");
    }
    EXPECT_EQ((*entries)[1].before, "From " + m_demo.DatabasePath());
    EXPECT_EQ((*entries)[2].after, "To " + back);
    EXPECT_TRUE(audit::Verify(*entries).intact) << audit::Describe(audit::Verify(*entries));
}

TEST_F(DatabaseCopyTest, ATableLargerThanOnePartIsCopiedWhole) {
    // Rows travel in parts of 20,000: three parts and a bit, each way.
    m_demo.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 60001) "
                "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                "SELECT 40 + i % 8, 30000 + i / 7.0, 30000 + i / 7.0 + 0.3 FROM n");
    Copy(m_demo.DatabasePath(), Database().Uri());
    const std::string back = (m_dir / "back.mdb").string();
    Copy(Database().Uri(), back);
    ExpectSameRows(m_demo.DatabasePath(), back);
    EXPECT_GT(Dump(back)["TimeRecord"].size(), 60000u);
}

TEST_F(DatabaseCopyTest, AFileCopiedToANewFileHasEveryRowAsItWas) {
    const std::string copy = (m_dir / "copy.mdb").string();
    Copy(m_demo.DatabasePath(), copy);
    ExpectSameRows(m_demo.DatabasePath(), copy);
}

TEST_F(DatabaseCopyTest, TheServerGivesNewRowsKeysPastTheHighestTheFileEverGave) {
    const int64_t highest =
        m_demo.QueryInt("SELECT seq FROM sqlite_sequence WHERE name = 'TimeRecord'");
    ASSERT_GT(highest, m_demo.QueryInt("SELECT MAX(TimeRecordID) FROM TimeRecord"));
    Copy(m_demo.DatabasePath(), Database().Uri());
    const auto connection = Database().Connect();
    const auto record = connection->Query(
        "INSERT INTO TimeRecord (EmployeeID, StartTime) VALUES (40, 1) RETURNING TimeRecordID");
    record->MoveFirst();
    EXPECT_EQ(Recordset::ToInteger(record->FieldAt(0)), highest + 1);
    const auto employee = connection->Query(
        "INSERT INTO Employee (EmployeeNumber, Active) VALUES (7, 1) RETURNING EmployeeID");
    employee->MoveFirst();
    EXPECT_EQ(Recordset::ToInteger(employee->FieldAt(0)),
              m_demo.QueryInt("SELECT MAX(EmployeeID) FROM Employee") + 1);
    const auto company = connection->Query("INSERT INTO Company (Name) VALUES ('Other') "
                                           "RETURNING CompanyID");
    company->MoveFirst();
    EXPECT_EQ(Recordset::ToInteger(company->FieldAt(0)), 2);

    // And a file copied back from the server continues past the server's.
    const std::string back = (m_dir / "back.mdb").string();
    Copy(Database().Uri(), back);
    int rc = SQLITE_OK;
    const sqlite::Connection file = sqlite::Open(back, SQLITE_OPEN_READWRITE, rc);
    ASSERT_EQ(rc, SQLITE_OK);
    sqlite3* db = file.get();
    ASSERT_EQ(sqlite3_exec(db, "INSERT INTO TimeRecord (EmployeeID, StartTime) VALUES (40, 2)",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    EXPECT_EQ(sqlite3_last_insert_rowid(db), highest + 2);
}

TEST_F(DatabaseCopyTest, ADestinationHoldingDataIsRefusedAndLeftAsItWas) {
    Copy(m_demo.DatabasePath(), Database().Uri());
    const int64_t records = ServerCount(Database(), "SELECT count(*) FROM TimeRecord");
    TestDatabase other(true, DateTime::FromParts(2004, 3, 1));
    const std::string message = Copy(other.DatabasePath(), Database().Uri(), false);
    EXPECT_NE(message.find("already holds data"), std::string::npos) << message;
    EXPECT_EQ(ServerCount(Database(), "SELECT count(*) FROM TimeRecord"), records);

    // A new installation's file holds its first rows: data too.
    TestDatabase fresh;
    const int64_t stored = fresh.QueryInt("SELECT count(*) FROM _StoredQuery");
    const std::string refused = Copy(Database().Uri(), fresh.DatabasePath(), false);
    EXPECT_NE(refused.find("already holds data"), std::string::npos) << refused;
    EXPECT_EQ(fresh.QueryInt("SELECT count(*) FROM TimeRecord"), 0);
    EXPECT_EQ(fresh.QueryInt("SELECT count(*) FROM _StoredQuery"), stored);
}

TEST_F(DatabaseCopyTest, AnEmptySchemaWithItsDefaultStationOptionTakesTheCopy) {
    const auto connection = Database().Connect();
    connection->ExecuteScript(pg::kSchemaSql);
    connection->Execute("INSERT INTO StationOption (Name, Value) VALUES ('RequirePin', '0')");
    Copy(m_demo.DatabasePath(), Database().Uri());
    EXPECT_EQ(ServerCount(Database(), "SELECT count(*) FROM StationOption"), 1);
    EXPECT_EQ(ServerCount(Database(), "SELECT count(*) FROM StationOption WHERE Value = '1'"), 1);

    // An emptied file of the current schema takes a copy as well.
    const std::string emptied = (m_dir / "emptied.mdb").string();
    std::string message;
    ASSERT_TRUE(Installer::CreateDatabase(emptied, message)) << message;
    {
        int rc = SQLITE_OK;
        const sqlite::Connection file = sqlite::Open(emptied, SQLITE_OPEN_READWRITE, rc);
        ASSERT_EQ(rc, SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(file.get(),
                               "DELETE FROM _System; DELETE FROM Employee; DELETE FROM "
                               "_StoredQuery; DELETE FROM sqlite_sequence",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
    }
    Copy(Database().Uri(), emptied);
    ExpectSameRows(m_demo.DatabasePath(), emptied);
}

TEST_F(DatabaseCopyTest, AFailingCopyLeavesTheDestinationAsItWas) {
    // The server stops the copy at its last table: nothing of the others stays.
    const auto connection = Database().Connect();
    connection->ExecuteScript(pg::kSchemaSql);
    connection->ExecuteScript("CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                              "$$BEGIN RAISE EXCEPTION 'refused'; END$$; "
                              "CREATE TRIGGER refuse BEFORE INSERT ON StationLockout FOR EACH ROW "
                              "EXECUTE FUNCTION refuse()");
    const std::string message = Copy(m_demo.DatabasePath(), Database().Uri(), false);
    EXPECT_NE(message.find("refused"), std::string::npos) << message;
    for (const char* table : {"_System", "Employee", "TimeRecord", "_StoredQuery"}) {
        EXPECT_EQ(ServerCount(Database(), std::string("SELECT count(*) FROM ") + table), 0)
            << table;
    }

    // A new file the copy could not finish is not left behind.
    m_demo.Exec("DROP TABLE StationLockout");
    m_demo.Exec("CREATE TABLE StationLockout (EmployeeID INTEGER PRIMARY KEY, WrongPins "
                "INTEGER, LockedUntil REAL)");
    m_demo.Exec("INSERT INTO StationLockout VALUES (40, 1, NULL)");
    const std::string file = (m_dir / "unfinished.mdb").string();
    Copy(m_demo.DatabasePath(), file, false);
    EXPECT_FALSE(fs::exists(file));
    EXPECT_FALSE(fs::exists(file + "-journal"));
}

TEST_F(DatabaseCopyTest, AFileOfThePreviousSchemaIsCopiedAsItsUpgradeMakesIt) {
    const fs::path fixture = fs::path(ORVAN_TEST_FIXTURES) / "previous-version-demo.mdb";
    const std::string old = (m_dir / "old.mdb").string();
    fs::copy_file(fixture, old);
    Copy(old, Database().Uri());
    EXPECT_EQ(ServerCount(Database(), "SELECT count(*) FROM StationOption WHERE Name = "
                                      "'RequirePin' AND Value = '0'"),
              1);
    EXPECT_EQ(ServerCount(Database(), "SELECT count(*) FROM EmployeePin"), 0);
    const std::string back = (m_dir / "back.mdb").string();
    Copy(Database().Uri(), back);
    auto before = Dump(old);
    auto after = Dump(back);
    for (const char* table : {"_System", "Company", "Employee", "TimeRecord", "_StoredQuery"}) {
        EXPECT_EQ(before[table], after[table]) << table;
    }
    EXPECT_GT(after["TimeRecord"].size(), 0u);
}

TEST_F(DatabaseCopyTest, AServerOfThePreviousSchemaIsCopiedFromButNotInto) {
    Copy(m_demo.DatabasePath(), Database().Uri());
    Database().Connect()->ExecuteScript(
        "DROP TABLE PunchOffset; DROP TABLE AuditEntry; DROP TABLE AdminPassword; "
        "DROP INDEX Employee_EmployeeNumber; UPDATE _SchemaVersion SET Version = 1;");
    const std::string back = (m_dir / "back.mdb").string();
    Copy(Database().Uri(), back);
    auto before = Dump(m_demo.DatabasePath());
    auto after = Dump(back);
    for (const auto& [table, key] : kTables) {
        if (table != "PunchOffset" && table != "AuditEntry") {
            EXPECT_EQ(before[table], after[table]) << table;
        }
    }
    EXPECT_TRUE(after["PunchOffset"].empty());
    // The server predates the trail: only the copy back is on it.
    EXPECT_EQ(after["AuditEntry"].size(), 1u);
    EXPECT_EQ(after["user_version"], before["user_version"]);

    // Into it, the copy would leave out the offsets: it is refused.
    ServerTestDatabase older;
    older.Connect()->ExecuteScript(pg::kSchemaSql);
    older.Connect()->ExecuteScript(
        "DROP TABLE PunchOffset; DROP TABLE AuditEntry; DROP TABLE AdminPassword; "
        "DROP INDEX Employee_EmployeeNumber; UPDATE _SchemaVersion SET Version = 1;");
    EXPECT_NE(Copy(m_demo.DatabasePath(), older.Uri(), false).find("older Orvan schema"),
              std::string::npos);
    EXPECT_EQ(ServerCount(older, "SELECT count(*) FROM TimeRecord"), 0);
}

TEST_F(DatabaseCopyTest, WhatIsNotAnOrvanDatabaseIsRefused) {
    EXPECT_NE(Copy((m_dir / "missing.mdb").string(), Database().Uri(), false)
                  .find("There is no database file at"),
              std::string::npos);
    // The server database is still empty: a copy from it finds no schema.
    const std::string none = Copy(Database().Uri(), (m_dir / "x.mdb").string(), false);
    EXPECT_NE(none.find("does not hold an Orvan database"), std::string::npos) << none;
    EXPECT_FALSE(fs::exists(m_dir / "x.mdb"));
    EXPECT_NE(Copy(m_demo.DatabasePath(), m_demo.DatabasePath(), false).find("the same database"),
              std::string::npos);
    m_demo.Exec("PRAGMA user_version = 99");
    EXPECT_NE(Copy(m_demo.DatabasePath(), Database().Uri(), false).find("newer version"),
              std::string::npos);
}

TEST_F(DatabaseCopyTest, APasswordInTheAddressIsRefusedAndNeverRepeated) {
    const std::string withPassword =
        ServerTestDatabase::WithDatabase(Database().Uri(), Database().Name());
    const size_t at = withPassword.find('@');
    ASSERT_NE(at, std::string::npos);
    const std::string uri = withPassword.substr(0, at) + ":s3cret" + withPassword.substr(at);
    const std::string message = Copy(m_demo.DatabasePath(), uri, false);
    EXPECT_NE(message.find("password"), std::string::npos) << message;
    EXPECT_EQ(message.find("s3cret"), std::string::npos) << message;
    server::CopyReport report;
    std::string created;
    EXPECT_FALSE(server::CreateServerDatabase(uri, false, DateTime::Today(), report, created));
    EXPECT_EQ(created.find("s3cret"), std::string::npos) << created;
    EXPECT_EQ(ServerCount(Database(), "SELECT count(*) FROM pg_tables WHERE tablename = "
                                      "'timerecord'"),
              0);
}

// A new server database holds what a new installation's file holds.
TEST_F(DatabaseCopyTest, ANewServerDatabaseHoldsWhatANewFileHolds) {
    const DateTime today = DateTime::FromParts(2003, 1, 15);
    server::CopyReport report;
    std::string message;
    ASSERT_TRUE(server::CreateServerDatabase(Database().Uri(), true, today, report, message))
        << message;
    ASSERT_FALSE(report.empty());
    EXPECT_NE(report.back().find("with demonstration data"), std::string::npos);
    const std::string back = (m_dir / "back.mdb").string();
    Copy(Database().Uri(), back);
    const TestDatabase file(true, today);
    ExpectSameRows(file.DatabasePath(), back);

    // A second run finds the schema and changes nothing.
    const int64_t records = ServerCount(Database(), "SELECT count(*) FROM TimeRecord");
    EXPECT_FALSE(server::CreateServerDatabase(Database().Uri(), false, today, report, message));
    EXPECT_NE(message.find("already holds an Orvan database"), std::string::npos) << message;
    EXPECT_EQ(ServerCount(Database(), "SELECT count(*) FROM TimeRecord"), records);
}

} // namespace
} // namespace orvan::test
