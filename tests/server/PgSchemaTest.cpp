// The server schema holds what the database file holds, and the statements
// the system writes in the Jet dialect run on it once translated.

#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>

#include "core/CTimeRecSQLConverter.h"
#include "core/DateTime.h"
#include "server/PgConnection.h"
#include "server/PgEngine.h"
#include "storage/CJetDB.h"
#include "server/PgSchema.h"
#include "storage/JetDialect.h"
#include "storage/Recordset.h"
#include "storage/SchemaVersion.h"
#include "storage/SqliteHandle.h"
#include "support/server/ServerTestDatabase.h"

namespace orvan {
extern const char kSchemaSql[];
extern const char kUpgrade1Sql[];
extern const char kUpgrade2Sql[];
extern const char kUpgrade3Sql[];
extern const char kUpgrade4Sql[];
} // namespace orvan

namespace orvan::test {
namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// The file's schema (with its upgrades) in an in-memory SQLite database.
struct FileSchema {
    FileSchema() {
        int rc = SQLITE_OK;
        connection = sqlite::Open(":memory:", SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, rc);
        db = connection.get();
        EXPECT_EQ(rc, SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, kSchemaSql, nullptr, nullptr, nullptr), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, kUpgrade1Sql, nullptr, nullptr, nullptr), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, kUpgrade2Sql, nullptr, nullptr, nullptr), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, kUpgrade3Sql, nullptr, nullptr, nullptr), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, kUpgrade4Sql, nullptr, nullptr, nullptr), SQLITE_OK);
    }

    // table -> column -> declared type, all in lower case.
    std::map<std::string, std::map<std::string, std::string>> Columns() const {
        std::map<std::string, std::map<std::string, std::string>> columns;
        const sqlite::Statement owned =
            sqlite::PrepareOne(db, "SELECT m.name, p.name, p.type FROM sqlite_schema m, "
                                   "pragma_table_info(m.name) p WHERE m.type = 'table' AND "
                                   "m.name NOT LIKE 'sqlite_%'");
        sqlite3_stmt* statement = owned.get();
        while (sqlite3_step(statement) == SQLITE_ROW) {
            auto text = [&](int i) {
                return Lower(reinterpret_cast<const char*>(sqlite3_column_text(statement, i)));
            };
            columns[text(0)][text(1)] = text(2);
        }
        return columns;
    }

    std::map<std::string, std::string> StoredQueries() const {
        std::map<std::string, std::string> queries;
        const sqlite::Statement owned =
            sqlite::PrepareOne(db, "SELECT Name, Sql FROM _StoredQuery");
        sqlite3_stmt* statement = owned.get();
        while (sqlite3_step(statement) == SQLITE_ROW) {
            queries[reinterpret_cast<const char*>(sqlite3_column_text(statement, 0))] =
                reinterpret_cast<const char*>(sqlite3_column_text(statement, 1));
        }
        return queries;
    }

    sqlite::Connection connection;
    sqlite3* db = nullptr;
};

// The statement of a stored query: the text after its PARAMETERS line.
std::string StatementOf(const std::string& stored) {
    if (Lower(stored.substr(0, 10)) != "parameters") {
        return stored;
    }
    return stored.substr(stored.find(';') + 1);
}

// The server's schema text and the file's texts (with their upgrades) make
// databases at the one schema version; no server needed.
TEST(SchemaTexts, CreateTheSchemaVersionOfTheCode) {
    EXPECT_EQ(SqlNumberAfter(pg::kSchemaSql, "INSERT INTO _SchemaVersion (Version) VALUES ("),
              kSchemaVersion);
    const FileSchema file;
    sqlite3_stmt* statement = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(file.db, "PRAGMA user_version", -1, &statement, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_step(statement), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int64(statement, 0), kSchemaVersion);
    sqlite3_finalize(statement);
}

class ServerSchema : public ServerTest {
protected:
    void SetUp() override {
        ServerTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        m_connection = Database().Connect();
        m_connection->ExecuteScript(pg::kSchemaSql);
    }

    std::unique_ptr<pg::PgConnection> m_connection;
};

TEST_F(ServerSchema, HasTheTablesAndColumnsOfTheFile) {
    std::map<std::string, std::map<std::string, std::string>> server;
    const auto rows = m_connection->Query(
        "SELECT table_name, column_name, data_type FROM information_schema.columns "
        "WHERE table_schema = 'public'");
    for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
        server[rows->AsText("table_name")][rows->AsText("column_name")] = rows->AsText("data_type");
    }
    // The version table is the server's own (the file has PRAGMA user_version).
    ASSERT_EQ(server.erase("_schemaversion"), 1u);

    const FileSchema file;
    const auto fileColumns = file.Columns();
    ASSERT_FALSE(fileColumns.empty());
    std::set<std::string> fileTables, serverTables;
    for (const auto& [table, columns] : fileColumns) {
        fileTables.insert(table);
    }
    for (const auto& [table, columns] : server) {
        serverTables.insert(table);
    }
    EXPECT_EQ(serverTables, fileTables);
    const std::map<std::string, std::string> types = {
        {"integer", "integer"}, {"real", "double precision"}, {"text", "text"}};
    for (const auto& [table, columns] : fileColumns) {
        for (const auto& [column, type] : columns) {
            ASSERT_TRUE(server[table].count(column)) << table << "." << column;
            EXPECT_EQ(server[table][column], types.at(type)) << table << "." << column;
        }
        EXPECT_EQ(server[table].size(), columns.size()) << table;
    }

    const auto version = m_connection->Query("SELECT Version FROM _SchemaVersion");
    ASSERT_EQ(version->RecordCount(), 1);
    EXPECT_EQ(version->AsInteger("Version"), kSchemaVersion);
    EXPECT_THROW(m_connection->Execute("INSERT INTO _SchemaVersion (Version) VALUES (2)"),
                 pg::ServerError);

    const auto index = m_connection->Query(
        "SELECT indexdef FROM pg_indexes WHERE indexname = 'timerecord_employeestartend'");
    ASSERT_EQ(index->RecordCount(), 1);
    EXPECT_NE(index->AsText("indexdef").find("(employeeid, starttime, endtime)"),
              std::string::npos);
}

TEST_F(ServerSchema, AScriptFailingHalfwayLeavesNothingBehind) {
    try {
        m_connection->ExecuteScript("CREATE TABLE Extra (x integer); INSERT INTO Extra VALUES (1);"
                                    "CREATE TABLE TimeRecord (x integer);");
        ADD_FAILURE() << "a second TimeRecord table was made";
    } catch (const pg::ServerError& e) {
        EXPECT_EQ(e.SqlState(), "42P07"); // the table exists already
    }
    EXPECT_EQ(m_connection
                  ->Query("SELECT count(*) AS n FROM information_schema.tables WHERE "
                          "table_name = 'extra'")
                  ->AsInteger("n"),
              0);
    // The schema cannot be made twice.
    EXPECT_THROW(m_connection->ExecuteScript(pg::kSchemaSql), pg::ServerError);
}

TEST_F(ServerSchema, KeysCopiedInKeepTheirValuesAndNewRowsFollowThem) {
    m_connection->Execute("INSERT INTO Employee (EmployeeID, LastName, Active) "
                          "VALUES (39, 'administrator', 1)");
    m_connection->Execute("SELECT setval(pg_get_serial_sequence('employee', 'employeeid'), "
                          "(SELECT max(EmployeeID) FROM Employee))");
    m_connection->Execute("INSERT INTO Employee (LastName) VALUES ('Next')");
    EXPECT_EQ(m_connection->Query("SELECT EmployeeID FROM Employee WHERE LastName = 'Next'")
                  ->AsInteger("EmployeeID"),
              40);
    for (const char* bad : {"INSERT INTO Employee (Active) VALUES (2)",
                            "INSERT INTO Employee (AutoDeduct) VALUES (-1)",
                            "INSERT INTO TimeRecord (StartTime) VALUES (1)"}) {
        EXPECT_THROW(m_connection->Execute(bad), pg::ServerError) << bad;
    }
}

// A server database as the programs before the punches' offsets left it
// (schema version 1), holding a few rows of its own.
class ServerVersion1 : public ServerSchema {
protected:
    void SetUp() override {
        ServerSchema::SetUp();
        if (IsSkipped() || HasFatalFailure()) {
            return;
        }
        m_connection->ExecuteScript(
            "DROP TABLE PunchOffset; DROP TABLE AuditEntry; DROP TABLE AdminPassword; "
            "DROP INDEX Employee_EmployeeNumber; UPDATE _SchemaVersion SET Version = 1;"
            "INSERT INTO Employee (EmployeeID, LastName, Active) VALUES (40, 'Lee', 1);"
            "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) VALUES "
            "(40, 46326.9166666667, 46327.25), (40, 46327.0625, 0);"
            "INSERT INTO EmployeePin (EmployeeID, PinHash) VALUES (40, 'hash');");
    }

    std::string m_message;

    int64_t Number(const std::string& sql) const {
        return m_connection->Query(sql)->AsInteger("n");
    }
    std::string TimeRecords() const {
        const auto rows = m_connection->Query(
            "SELECT TimeRecordID, EmployeeID, StartTime, EndTime FROM TimeRecord ORDER BY 1");
        std::string text;
        for (rows->MoveFirst(); !rows->IsEOF(); rows->MoveNext()) {
            text += rows->AsText("TimeRecordID") + " " + rows->AsText("EmployeeID") + " " +
                    rows->AsText("StartTime") + " " + rows->AsText("EndTime") + ";";
        }
        return text;
    }
    bool Open() {
        server::RegisterEngine();
        CJetDB db;
        db.SetDatabaseName(Database().Uri());
        const bool opened = db.OpenDB();
        if (opened) {
            db.CloseDB();
        }
        m_message = db.EngineMessage();
        return opened;
    }
};

TEST_F(ServerVersion1, IsUpgradedInPlaceAtTheFirstOpenKeepingEveryRow) {
    const std::string records = TimeRecords();
    ASSERT_FALSE(records.empty());
    ASSERT_TRUE(Open()) << m_message;
    EXPECT_EQ(Number("SELECT Version AS n FROM _SchemaVersion"), kSchemaVersion);
    EXPECT_EQ(TimeRecords(), records);
    EXPECT_EQ(Number("SELECT count(*) AS n FROM EmployeePin"), 1);
    EXPECT_EQ(Number("SELECT count(*) AS n FROM PunchOffset"), 0);
    // The new table is the one a new server database has, and takes offsets.
    m_connection->Execute("INSERT INTO PunchOffset (TimeRecordID, StartOffset, EndOffset) "
                          "VALUES (1, -300, NULL)");
    EXPECT_EQ(Number("SELECT StartOffset AS n FROM PunchOffset"), -300);
    // Opened again: nothing left to do.
    ASSERT_TRUE(Open());
    EXPECT_EQ(Number("SELECT count(*) AS n FROM PunchOffset"), 1);
}

TEST_F(ServerVersion1, AFailedUpgradeLeavesItAsItWas) {
    m_connection->Execute("CREATE TABLE PunchOffset (Something text)");
    const std::string records = TimeRecords();
    EXPECT_FALSE(Open());
    EXPECT_NE(m_message.find("punchoffset"), std::string::npos) << m_message;
    EXPECT_EQ(Number("SELECT Version AS n FROM _SchemaVersion"), 1);
    EXPECT_EQ(TimeRecords(), records);
    EXPECT_EQ(Number("SELECT count(*) AS n FROM information_schema.columns WHERE "
                     "table_name = 'punchoffset'"),
              1);
}

TEST_F(ServerSchema, RunsTheTimeRecordStatementsOnceTranslated) {
    auto run = [&](const std::string& jet) {
        return m_connection->Execute(TranslateJetStatement(jet, SqlDialect::PostgreSql));
    };
    EXPECT_EQ(run("INSERT INTO TimeRecord ( EmployeeID, StartTime, EndTime )  SELECT 7, "
                  "#1/15/2003 8:15:00 AM#, #12/30/1899#;"),
              1);
    const int64_t id =
        m_connection->Query("SELECT max(TimeRecordID) AS id FROM TimeRecord")->AsInteger("id");
    EXPECT_EQ(run("UPDATE TimeRecord SET TimeRecord.EmployeeID = 7, TimeRecord.StartTime = "
                  "#1/15/2003 8:15:00 AM#, TimeRecord.EndTime = #1/15/2003 5:00:00 PM# WHERE "
                  "((TimeRecord.TimeRecordID = " +
                  std::to_string(id) + "));"),
              1);

    CTimeRecSQLConverter converter;
    const std::string fetch =
        TranslateJetStatement(converter.BuildPeriodFetchSQL(7, DateTime::FromParts(2003, 1, 15),
                                                            DateTime::FromParts(2003, 1, 16)),
                              SqlDialect::PostgreSql);
    const auto rows = m_connection->Query(fetch);
    ASSERT_EQ(rows->RecordCount(), 1);
    rows->MoveFirst();
    EXPECT_EQ(rows->AsDouble("StartTime"), DateTime::FromParts(2003, 1, 15, 8, 15, 0).Days());
    EXPECT_EQ(rows->AsDouble("EndTime"), DateTime::FromParts(2003, 1, 15, 17, 0, 0).Days());

    EXPECT_EQ(run("SELECT [_System].program, [_System].period_length FROM _System;"), 0);
    EXPECT_EQ(run("DELETE TimeRecord.TimeRecordID, TimeRecord.EmployeeID, TimeRecord.ShiftDate, "
                  "TimeRecord.StartTime, TimeRecord.EndTime FROM TimeRecord WHERE "
                  "((TimeRecord.TimeRecordID = " +
                  std::to_string(id) + ")); "),
              1);
}

TEST_F(ServerSchema, RunsEveryStoredQueryOfTheFileWithNumberedParameters) {
    const FileSchema file;
    const auto queries = file.StoredQueries();
    ASSERT_EQ(queries.size(), 6u);
    // Values by parameter name; every other parameter stays Null.
    const std::map<std::string, std::string> values = {
        {"paramFirst", "Zoë"},        {"paramLast", "O'Brien"},
        {"paramPayRate", "12.5"},     {"paramDOB", "29000.5"},
        {"paramEmpNumber", "1001"},   {"paramActive", "1"},
        {"paramName", "Orvan Works"}, {"paramID", "1"},
        {"paramCity", "Köln"},        {"employee_id", "1"},
        {"first_name", "Zoë"},        {"dob", "29000.5"},
        {"employee_number", "1002"},  {"last_name", "Brien"},
        {"pay_rate", "13.25"},        {"active_employee", "0"},
        {"auto_deduct", "1"},         {"auto_deduct_lunch_length", "30"}};
    // Adding first, then updating and listing.
    for (const char* name : {"AddNewEmployee", "AddNewCompany", "UpdateEmployee", "UpdateCompany",
                             "GetAllEmployees", "GetAllCompanies"}) {
        ASSERT_TRUE(queries.count(name)) << name;
        const NumberedStatement statement = NumberJetParameters(StatementOf(queries.at(name)));
        pg::Params params;
        for (const std::string& parameter : statement.names) {
            const auto value = values.find(parameter);
            params.push_back(value == values.end() ? pg::Param() : pg::Param(value->second));
        }
        EXPECT_NO_THROW(m_connection->Execute(statement.text, params))
            << name << ": " << statement.text;
    }
    const auto employee = m_connection->Query("SELECT * FROM Employee");
    ASSERT_EQ(employee->RecordCount(), 1);
    employee->MoveFirst();
    EXPECT_EQ(employee->AsText("FirstName"), "Zoë");
    EXPECT_EQ(employee->AsText("LastName"), "Brien");
    EXPECT_EQ(employee->AsInteger("EmployeeNumber"), 1002);
    EXPECT_EQ(employee->AsDouble("PayRate"), 13.25);
    EXPECT_EQ(employee->AsDouble("DateOfBirth"), 29000.5);
    EXPECT_EQ(employee->AsInteger("Active"), 0);
    EXPECT_EQ(employee->AsInteger("AutoDeduct"), 1);
    EXPECT_EQ(employee->AsInteger("AutoDeductLunchLength"), 30);
    const auto company = m_connection->Query("SELECT * FROM Company");
    ASSERT_EQ(company->RecordCount(), 1);
    EXPECT_EQ(company->AsText("Name"), "Orvan Works");
    EXPECT_EQ(company->AsText("City"), "Köln");
}

} // namespace
} // namespace orvan::test
