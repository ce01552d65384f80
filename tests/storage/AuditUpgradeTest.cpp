// A database file of the previous schema version (the station's tables, no
// audit trail) gets the trail's table at its first open, in one transaction,
// keeping every row; a failed upgrade leaves it exactly as it was.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "core/CTimeRecord.h"
#include "core/CTimeRecordFactory.h"
#include "storage/AuditTrail.h"
#include "storage/CJetDB.h"
#include "storage/SqliteHandle.h"
#include "support/FileRelease.h"
#include "support/TestSupport.h"

namespace orvan {

extern const char kUpgrade1Sql[];

namespace {

namespace fs = std::filesystem;

void Exec(const fs::path& file, const char* sql) {
    int rc = SQLITE_OK;
    const sqlite::Connection db = sqlite::Open(file.string(), SQLITE_OPEN_READWRITE, rc);
    ASSERT_EQ(rc, SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db.get(), sql, nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db.get());
}

int64_t QueryInt(const fs::path& file, const std::string& sql) {
    int rc = SQLITE_OK;
    const sqlite::Connection db = sqlite::Open(file.string(), SQLITE_OPEN_READONLY, rc);
    const sqlite::Statement statement = sqlite::PrepareOne(db.get(), sql);
    EXPECT_EQ(sqlite3_step(statement.get()), SQLITE_ROW) << sql;
    return sqlite3_column_int64(statement.get(), 0);
}

// Every row of the tables the previous version had, as text.
std::string Rows(const fs::path& file) {
    int rc = SQLITE_OK;
    const sqlite::Connection db = sqlite::Open(file.string(), SQLITE_OPEN_READONLY, rc);
    std::string all;
    for (const char* table : {"TimeRecord", "Employee", "Company", "_System", "_StoredQuery",
                              "StationOption", "EmployeePin", "StationLockout"}) {
        const sqlite::Statement statement =
            sqlite::PrepareOne(db.get(), std::string("SELECT * FROM ") + table + " ORDER BY rowid");
        all += table;
        all += '\n';
        while (sqlite3_step(statement.get()) == SQLITE_ROW) {
            for (int c = 0; c < sqlite3_column_count(statement.get()); ++c) {
                const auto* text = sqlite3_column_text(statement.get(), c);
                all += text != nullptr ? reinterpret_cast<const char*>(text) : "<null>";
                all += '|';
            }
            all += '\n';
        }
    }
    return all;
}

// The demonstration database as the previous version left it: the version 0
// file the previous programs opened and upgraded to version 1, with a PIN
// and a station option of its own.
fs::path MakePreviousVersionFile(const test::TempDir& dir) {
    const fs::path file = dir / "orvan_11.mdb";
    fs::copy_file(fs::path(ORVAN_TEST_FIXTURES) / "previous-version-demo.mdb", file);
    Exec(file, kUpgrade1Sql);
    Exec(file, "UPDATE StationOption SET Value = '1' WHERE Name = 'RequirePin';"
               "INSERT INTO EmployeePin (EmployeeID, PinHash) VALUES (40, 'hash');"
               "INSERT INTO StationLockout (EmployeeID, WrongPins, LockedUntil) "
               "VALUES (40, 2, 0);");
    return file;
}

TEST(AuditUpgrade, APreviousVersionFileGetsTheTrailKeepingEveryRow) {
    test::TempDir dir;
    const fs::path file = MakePreviousVersionFile(dir);
    ASSERT_EQ(QueryInt(file, "PRAGMA user_version"), 1);
    ASSERT_EQ(QueryInt(file, "SELECT count(*) FROM sqlite_schema WHERE name = 'AuditEntry'"), 0);
    const std::string before = Rows(file);
    ASSERT_GT(QueryInt(file, "SELECT count(*) FROM TimeRecord"), 100);

    CJetDB db;
    ASSERT_TRUE(db.OpenDB(file.string()));
    db.CloseDB();
    EXPECT_TRUE(test::FileIsReleased(file.string()));
    EXPECT_FALSE(fs::exists(file.string() + "-journal"));
    EXPECT_EQ(QueryInt(file, "PRAGMA user_version"), CJetDB::SchemaVersion);
    EXPECT_EQ(Rows(file), before);
    EXPECT_EQ(QueryInt(file, "SELECT count(*) FROM AuditEntry"), 0);
    EXPECT_EQ(QueryInt(file, "SELECT count(*) FROM sqlite_schema WHERE name = "
                             "'AuditEntry_TimeRecord'"),
              1);

    // Opened again: nothing more to do, not a byte changes.
    const std::string bytes = test::ReadAll(file);
    ASSERT_TRUE(db.OpenDB(file.string()));
    db.CloseDB();
    EXPECT_EQ(test::ReadAll(file), bytes);

    // The trail works on the upgraded file.
    auto database = std::make_shared<CJetDB>();
    database->SetDatabaseName(file.string());
    CTimeRecordFactory factory;
    factory.SetOrvanDatabase(database);
    auto record = std::make_shared<CTimeRecord>();
    record->SetEmployeeID(40);
    record->SetStartTime(DateTime::FromParts(2003, 1, 16, 8));
    record->SetEndTime(DateTime::FromParts(2003, 1, 16, 12));
    ASSERT_TRUE(factory.Save(record));
    const auto entries = audit::ReadAll(*database);
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), 1u);
    EXPECT_EQ(entries->front().after, "01/16/2003 08:00 AM to 01/16/2003 12:00 PM, 4.00 hours");
    EXPECT_TRUE(audit::Verify(*entries).intact);
}

TEST(AuditUpgrade, AFailedUpgradeLeavesThePreviousVersionFileAsItWas) {
    test::TempDir dir;
    const fs::path file = MakePreviousVersionFile(dir);
    // An index in the way of the upgrade's index: the table is made first,
    // then the upgrade fails and everything of it is rolled back.
    Exec(file, "CREATE INDEX AuditEntry_TimeRecord ON TimeRecord (EmployeeID)");
    const std::string bytes = test::ReadAll(file);
    CJetDB db;
    EXPECT_FALSE(db.OpenDB(file.string()));
    EXPECT_NE(db.EngineMessage().find("AuditEntry_TimeRecord"), std::string::npos)
        << db.EngineMessage();
    EXPECT_FALSE(db.DatabaseOpen());
    EXPECT_EQ(test::ReadAll(file), bytes);
    EXPECT_TRUE(test::FileIsReleased(file.string()));
    EXPECT_EQ(QueryInt(file, "PRAGMA user_version"), 1);
    EXPECT_EQ(QueryInt(file, "SELECT count(*) FROM sqlite_schema WHERE name = 'AuditEntry'"), 0);
}

} // namespace
} // namespace orvan
