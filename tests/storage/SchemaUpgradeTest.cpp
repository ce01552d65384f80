// Databases made before the clock station kept its own data: the first open
// adds the new tables in one transaction, keeps every row, and a file it
// cannot upgrade, or that is not ours, is left exactly as it was.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "storage/CJetDB.h"
#include "storage/SchemaVersion.h"
#include "storage/SqliteHandle.h"
#include "storage/StationStore.h"
#include "support/FileRelease.h"
#include "support/TestDatabase.h"

namespace orvan {

extern const char kUpgrade1Sql[];

namespace {

namespace fs = std::filesystem;

// A demonstration installation's database as the previous version's
// orvan-initdb --demo made it (schema version 0).
const fs::path PreviousVersionDemo = fs::path(ORVAN_TEST_FIXTURES) / "previous-version-demo.mdb";

// The tables the upgrades add: the clock station's (version 1), the
// punches' offsets from UTC (version 2), the audit trail (version 3) and the
// administrator's password (version 4).
const std::vector<std::string> AddedTables = {"EmployeePin", "StationLockout", "StationOption",
                                              "PunchOffset", "AuditEntry",     "AdminPassword"};

// Every table of a file, read directly through SQLite: each row as the
// type and exact text of each value, in rowid order; and the schema text of
// every object. Read-only, so reading changes nothing.
struct Contents {
    std::map<std::string, std::vector<std::string>> rows;
    std::map<std::string, std::string> schema;
};

std::string Cell(sqlite3_stmt* statement, int column) {
    switch (sqlite3_column_type(statement, column)) {
    case SQLITE_NULL:
        return "null";
    case SQLITE_INTEGER:
        return "i:" + std::to_string(sqlite3_column_int64(statement, column));
    case SQLITE_FLOAT: {
        char text[40];
        std::snprintf(text, sizeof text, "r:%.17g", sqlite3_column_double(statement, column));
        return text;
    }
    default:
        return "t:" +
               std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, column)));
    }
}

std::vector<std::vector<std::string>> Query(sqlite3* db, const std::string& sql) {
    const sqlite::Statement statement = sqlite::PrepareOne(db, sql);
    std::vector<std::vector<std::string>> result;
    while (sqlite3_step(statement.get()) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int c = 0; c < sqlite3_column_count(statement.get()); ++c) {
            row.push_back(Cell(statement.get(), c));
        }
        result.push_back(row);
    }
    return result;
}

Contents ReadContents(const fs::path& file) {
    int rc = SQLITE_OK;
    const sqlite::Connection db = sqlite::Open(file.string(), SQLITE_OPEN_READONLY, rc);
    EXPECT_EQ(rc, SQLITE_OK);
    Contents contents;
    for (const auto& object : Query(db.get(), "SELECT type, name, sql FROM sqlite_schema")) {
        const std::string name = object[1].substr(2);
        contents.schema[name] = object[2];
        if (object[0] == "t:table") {
            std::vector<std::string>& rows = contents.rows[name];
            for (const auto& row :
                 Query(db.get(), "SELECT * FROM \"" + name + "\" ORDER BY rowid")) {
                std::string line;
                for (const std::string& cell : row) {
                    line += cell + "|";
                }
                rows.push_back(line);
            }
        }
    }
    return contents;
}

int64_t UserVersion(const fs::path& file) {
    int rc = SQLITE_OK;
    const sqlite::Connection db = sqlite::Open(file.string(), SQLITE_OPEN_READONLY, rc);
    return std::stoll(Query(db.get(), "PRAGMA user_version").at(0).at(0).substr(2));
}

bool OpenAndClose(const fs::path& file) {
    CJetDB db;
    const bool opened = db.OpenDB(file.string());
    db.CloseDB();
    return opened;
}

TEST(SchemaUpgrade, PreviousVersionDatabaseIsUpgradedKeepingEveryRow) {
    ASSERT_TRUE(fs::exists(PreviousVersionDemo)) << PreviousVersionDemo;
    const Contents before = ReadContents(PreviousVersionDemo);
    ASSERT_EQ(UserVersion(PreviousVersionDemo), 0);
    ASSERT_EQ(before.rows.count("EmployeePin"), 0u);
    ASSERT_GT(before.rows.at("TimeRecord").size(), 100u);
    ASSERT_EQ(before.rows.at("Employee").size(), 9u);

    test::TempDir dir;
    const fs::path file = dir / "orvan_11.mdb";
    fs::copy_file(PreviousVersionDemo, file);
    ASSERT_TRUE(OpenAndClose(file));
    EXPECT_TRUE(test::FileIsReleased(file.string()));
    EXPECT_FALSE(fs::exists(file.string() + "-journal"));

    const Contents after = ReadContents(file);
    EXPECT_EQ(UserVersion(file), CJetDB::SchemaVersion);
    // Every earlier table, index and stored query, and every row, unchanged.
    for (const auto& [name, sql] : before.schema) {
        EXPECT_EQ(after.schema.at(name), sql) << name;
    }
    for (const auto& [table, rows] : before.rows) {
        EXPECT_EQ(after.rows.at(table), rows) << table;
    }
    // The added tables, the index of StationOption's text key, the audit
    // trail's index and the employee number's.
    EXPECT_EQ(after.schema.size(), before.schema.size() + AddedTables.size() + 3);
    EXPECT_EQ(after.rows.at("StationOption"), std::vector<std::string>{"t:RequirePin|t:0|"});
    EXPECT_TRUE(after.rows.at("EmployeePin").empty());
    EXPECT_TRUE(after.rows.at("StationLockout").empty());
    EXPECT_TRUE(after.rows.at("PunchOffset").empty());

    // Opened again: nothing left to do, not a byte changes.
    const std::string upgraded = test::ReadAll(file);
    ASSERT_TRUE(OpenAndClose(file));
    EXPECT_EQ(test::ReadAll(file), upgraded);

    // The new tables work on the upgraded file.
    auto db = std::make_shared<CJetDB>();
    db->SetDatabaseName(file.string());
    StationStore store(db);
    EXPECT_TRUE(store.SetRequirePin(true));
    EXPECT_EQ(store.RequirePin(), true);
    EXPECT_TRUE(store.SetPinHash(40, "$argon2id$v=19$m=65536,t=2,p=1$abc$def"));
    EXPECT_EQ(store.PinHash(40), "$argon2id$v=19$m=65536,t=2,p=1$abc$def");
    const auto run = store.RecordWrongPin(40, DateTime::FromParts(2003, 1, 15, 8));
    ASSERT_TRUE(run);
    EXPECT_EQ(run->wrongPins, 1);
    EXPECT_EQ(ReadContents(file).rows.at("TimeRecord"), before.rows.at("TimeRecord"));
}

TEST(SchemaUpgrade, NewAndUpgradedDatabasesAreAlike) {
    test::TempDir dir;
    const fs::path upgraded = dir / "upgraded.mdb";
    fs::copy_file(PreviousVersionDemo, upgraded);
    ASSERT_TRUE(OpenAndClose(upgraded));

    test::TestDatabase fresh;
    EXPECT_EQ(UserVersion(fresh.DatabasePath()), CJetDB::SchemaVersion);
    const Contents made = ReadContents(fresh.DatabasePath());
    const Contents grown = ReadContents(upgraded);
    for (const std::string& table : AddedTables) {
        EXPECT_EQ(made.schema.at(table), grown.schema.at(table)) << table;
        EXPECT_EQ(made.rows.at(table), grown.rows.at(table)) << table;
    }
    // A new file needs no upgrade on its first open.
    const std::string bytes = test::ReadAll(fresh.DatabasePath());
    ASSERT_TRUE(OpenAndClose(fresh.DatabasePath()));
    EXPECT_EQ(test::ReadAll(fresh.DatabasePath()), bytes);
}

// Runs SQL on a file directly (setting up the cases below).
void Exec(const fs::path& file, const char* sql) {
    int rc = SQLITE_OK;
    const sqlite::Connection db =
        sqlite::Open(file.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, rc);
    ASSERT_EQ(rc, SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db.get(), sql, nullptr, nullptr, nullptr), SQLITE_OK)
        << sqlite3_errmsg(db.get());
}

// A file of schema version 1, as the programs before the punches' offsets
// left it: the demonstration database with the station's tables, a PIN and
// a station option of its own.
fs::path MakeVersion1File(const test::TempDir& dir) {
    const fs::path file = dir / "version1.mdb";
    fs::copy_file(PreviousVersionDemo, file);
    Exec(file, kUpgrade1Sql);
    Exec(file, "UPDATE StationOption SET Value = '1' WHERE Name = 'RequirePin';"
               "INSERT INTO EmployeePin (EmployeeID, PinHash) VALUES (40, 'hash');"
               "INSERT INTO StationLockout (EmployeeID, WrongPins, LockedUntil) "
               "VALUES (40, 2, 0);");
    return file;
}

TEST(SchemaUpgrade, Version1DatabaseGetsThePunchOffsetsKeepingEveryRow) {
    test::TempDir dir;
    const fs::path file = MakeVersion1File(dir);
    ASSERT_EQ(UserVersion(file), 1);
    const Contents before = ReadContents(file);
    ASSERT_EQ(before.rows.count("PunchOffset"), 0u);
    ASSERT_GT(before.rows.at("TimeRecord").size(), 100u);

    ASSERT_TRUE(OpenAndClose(file));
    EXPECT_TRUE(test::FileIsReleased(file.string()));
    EXPECT_FALSE(fs::exists(file.string() + "-journal"));
    const Contents after = ReadContents(file);
    EXPECT_EQ(UserVersion(file), CJetDB::SchemaVersion);
    for (const auto& [name, sql] : before.schema) {
        EXPECT_EQ(after.schema.at(name), sql) << name;
    }
    for (const auto& [table, rows] : before.rows) {
        EXPECT_EQ(after.rows.at(table), rows) << table;
    }
    // The offsets' table; the audit trail's table and its index; the
    // administrator's password and the employee number's index.
    EXPECT_EQ(after.schema.size(), before.schema.size() + 5);
    EXPECT_TRUE(after.rows.at("PunchOffset").empty());
    EXPECT_TRUE(after.rows.at("AuditEntry").empty());

    // Opened again: nothing left to do. The new table takes offsets.
    const std::string upgraded = test::ReadAll(file);
    ASSERT_TRUE(OpenAndClose(file));
    EXPECT_EQ(test::ReadAll(file), upgraded);
    Exec(file, "INSERT INTO PunchOffset (TimeRecordID, StartOffset, EndOffset) "
               "VALUES (1, -300, NULL)");
    EXPECT_EQ(ReadContents(file).rows.at("PunchOffset"),
              std::vector<std::string>{"i:1|i:-300|null|"});
}

TEST(SchemaUpgrade, AFailedUpgradeOfAVersion1FileLeavesItAsItWas) {
    test::TempDir dir;
    const fs::path file = MakeVersion1File(dir);
    Exec(file, "CREATE TABLE PunchOffset (Something TEXT)");
    const std::string bytes = test::ReadAll(file);
    CJetDB db;
    EXPECT_FALSE(db.OpenDB(file.string()));
    EXPECT_NE(db.EngineMessage().find("PunchOffset"), std::string::npos) << db.EngineMessage();
    EXPECT_EQ(test::ReadAll(file), bytes);
    EXPECT_TRUE(test::FileIsReleased(file.string()));
    EXPECT_EQ(UserVersion(file), 1);
}

TEST(SchemaUpgrade, AFailedUpgradeLeavesTheFileAsItWas) {
    test::TempDir dir;
    const fs::path file = dir / "orvan_11.mdb";
    fs::copy_file(PreviousVersionDemo, file);
    // A table in the way of the upgrade's second table: the first one is
    // made, then the upgrade fails and everything of it is rolled back.
    Exec(file, "CREATE TABLE EmployeePin (Something TEXT)");
    const std::string bytes = test::ReadAll(file);

    CJetDB db;
    EXPECT_FALSE(db.OpenDB(file.string()));
    EXPECT_EQ(db.ErrorNumber(), SQLITE_ERROR);
    EXPECT_NE(db.EngineMessage().find("EmployeePin"), std::string::npos) << db.EngineMessage();
    EXPECT_FALSE(db.DatabaseOpen());
    EXPECT_EQ(test::ReadAll(file), bytes);
    EXPECT_FALSE(fs::exists(file.string() + "-journal"));
    EXPECT_TRUE(test::FileIsReleased(file.string()));
    EXPECT_EQ(UserVersion(file), 0);
    EXPECT_EQ(ReadContents(file).rows.count("StationOption"), 0u);
}

TEST(SchemaUpgrade, OtherDatabasesAndNewerVersionsAreLeftAlone) {
    test::TempDir dir;
    // Another program's SQLite file: it opens as before, and gets no tables.
    const fs::path foreign = dir / "notes.mdb";
    Exec(foreign, "CREATE TABLE Notes (Text TEXT); INSERT INTO Notes VALUES ('keep me')");
    std::string bytes = test::ReadAll(foreign);
    EXPECT_TRUE(OpenAndClose(foreign));
    EXPECT_EQ(test::ReadAll(foreign), bytes);

    // A file a later version has already upgraded further.
    const fs::path newer = dir / "newer.mdb";
    fs::copy_file(PreviousVersionDemo, newer);
    Exec(newer, "PRAGMA user_version = 7");
    bytes = test::ReadAll(newer);
    EXPECT_TRUE(OpenAndClose(newer));
    EXPECT_EQ(test::ReadAll(newer), bytes);
    EXPECT_EQ(ReadContents(newer).rows.count("StationOption"), 0u);
}

// The checks of the versions in the SQL texts read the first number or
// quoted text after a lead.
TEST(SchemaUpgrade, VersionChecksReadWhatFollowsTheLead) {
    EXPECT_EQ(SqlNumberAfter("PRAGMA user_version = 12;", "PRAGMA user_version = "), 12);
    EXPECT_EQ(SqlNumberAfter("VALUES (3); VALUES (4);", "VALUES ("), 3);
    EXPECT_EQ(SqlNumberAfter("VALUES (x);", "VALUES ("), -1);
    EXPECT_EQ(SqlNumberAfter("VALUES (", "VALUES ("), -1);
    EXPECT_EQ(SqlNumberAfter("PRAGMA user_version = 1;", "VALUES ("), -1);
    EXPECT_EQ(SqlTextAfter("VALUES ('OrvanAdmin', '1.0', 13)", "VALUES ('OrvanAdmin', '"), "1.0");
    EXPECT_EQ(SqlTextAfter("VALUES ('OrvanAdmin', '')", "VALUES ('OrvanAdmin', '"), "");
    EXPECT_EQ(SqlTextAfter("VALUES ('OrvanAdmin', '2.5", "VALUES ('OrvanAdmin', '"), "2.5");
    EXPECT_EQ(SqlTextAfter("VALUES ('Other', '1.0')", "VALUES ('OrvanAdmin', '"), "");
}

} // namespace
} // namespace orvan
