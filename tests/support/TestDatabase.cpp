#include "support/TestDatabase.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "storage/Installer.h"
#include "storage/ProgramFolder.h"
#include "storage/SqliteHandle.h"

namespace orvan::test {

namespace {

// An open connection to the file for setting up and checking tests; waits
// while a program under test holds the file for a statement.
sqlite::Connection OpenForTest(const std::string& path) {
    int rc = SQLITE_OK;
    sqlite::Connection db = sqlite::Open(path, SQLITE_OPEN_READWRITE, rc);
    if (rc != SQLITE_OK) {
        throw std::runtime_error("cannot open " + path + ": " + sqlite3_errstr(rc));
    }
    sqlite3_busy_timeout(db.get(), 10000);
    return db;
}

// Runs one statement and hands back the first column of the first row.
template <typename F> void WithFirstRow(const std::string& path, const std::string& sql, F take) {
    const sqlite::Connection db = OpenForTest(path);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &raw, nullptr) != SQLITE_OK) {
        throw std::runtime_error(std::string(sqlite3_errmsg(db.get())) + " in " + sql);
    }
    const sqlite::Statement statement(raw);
    const int rc = sqlite3_step(statement.get());
    if (rc == SQLITE_ROW) {
        take(statement.get());
    }
    if (rc != SQLITE_ROW && rc != SQLITE_DONE) {
        throw std::runtime_error(std::string(sqlite3_errmsg(db.get())) + " in " + sql);
    }
}

} // namespace

TestDatabase::TestDatabase(bool demo, DateTime today) {
    std::vector<std::string> created;
    std::string message;
    if (!Installer::Install(m_dir.Path().string(), demo, today, created, message)) {
        ADD_FAILURE() << "cannot make the test installation: " << message;
    }
}

TestDatabase::~TestDatabase() {
    if (m_programFolderSet) {
        SetProgramFolder("");
    }
}

std::string TestDatabase::DatabasePath() const {
    return (m_dir.Path() / "system" / "orvan_11.mdb").string();
}

std::string TestDatabase::ConfigPath() const {
    return (m_dir.Path() / "system" / "orvan_11.cfg").string();
}

void TestDatabase::AddConfigLine(const std::string& line) const {
    WriteAll(ConfigPath(), ReadAll(ConfigPath()) + line + "\r\n");
}

void TestDatabase::UseAsProgramFolder() {
    SetProgramFolder(m_dir.Path().string());
    m_programFolderSet = true;
}

std::shared_ptr<CJetDB> TestDatabase::NewJetDB(CJetDB::Variant variant) const {
    auto db = std::make_shared<CJetDB>(variant);
    db->SetDatabaseName(DatabasePath());
    return db;
}

void TestDatabase::Exec(const std::string& sql) const {
    const sqlite::Connection db = OpenForTest(DatabasePath());
    char* error = nullptr;
    const int rc = sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error != nullptr ? error : "") << " in " << sql;
    sqlite3_free(error);
}

int64_t TestDatabase::QueryInt(const std::string& sql) const {
    int64_t value = 0;
    WithFirstRow(DatabasePath(), sql, [&](sqlite3_stmt* s) { value = sqlite3_column_int64(s, 0); });
    return value;
}

double TestDatabase::QueryDouble(const std::string& sql) const {
    double value = 0.0;
    WithFirstRow(DatabasePath(), sql,
                 [&](sqlite3_stmt* s) { value = sqlite3_column_double(s, 0); });
    return value;
}

std::string TestDatabase::QueryText(const std::string& sql) const {
    std::string value;
    WithFirstRow(DatabasePath(), sql, [&](sqlite3_stmt* s) {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(s, 0));
        value = text != nullptr ? text : "";
    });
    return value;
}

int64_t TestDatabase::AddTimeRecord(int32_t employeeid, DateTime start, DateTime end) const {
    // Day counts go in with every digit: a rounded text would move the
    // moment by a fraction of a second and break exact key matches.
    char sql[200];
    std::snprintf(
        sql, sizeof sql,
        "INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) VALUES (%d, %.17g, %.17g)",
        static_cast<int>(employeeid), start.Days(), end.Days());
    Exec(sql);
    return QueryInt("SELECT max(TimeRecordID) FROM TimeRecord");
}

int32_t TestDatabase::AddEmployee(int32_t number, const std::string& first, const std::string& last,
                                  float rate, float overtime) const {
    const sqlite::Connection db = OpenForTest(DatabasePath());
    sqlite3_stmt* raw = nullptr;
    sqlite3_prepare_v2(
        db.get(),
        "INSERT INTO Employee (EmployeeNumber, FirstName, LastName, SSNumber, Address, "
        "Address2, City, State, ZipCode, Phone, Password, PayRate, OvertimePayRate, "
        "DateOfBirth, HireDate, ReleaseDate, Active, CompanyID, AutoDeduct, "
        "AutoDeductLunchLength, AutoDeductBreakLength) VALUES (?1, ?2, ?3, '', '', '', "
        "'', '', '', '', '', ?4, ?5, 0, 0, 0, 1, 0, 0, 0, 0)",
        -1, &raw, nullptr);
    const sqlite::Statement s(raw);
    sqlite3_bind_int(s.get(), 1, number);
    sqlite3_bind_text(s.get(), 2, first.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_text(s.get(), 3, last.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_double(s.get(), 4, static_cast<double>(rate));
    sqlite3_bind_double(s.get(), 5, static_cast<double>(overtime));
    if (sqlite3_step(s.get()) != SQLITE_DONE) {
        throw std::runtime_error("cannot add employee");
    }
    return static_cast<int32_t>(sqlite3_last_insert_rowid(db.get()));
}

} // namespace orvan::test
