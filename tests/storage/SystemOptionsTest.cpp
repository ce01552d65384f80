// System options and new installations, on real database files.

#include <gtest/gtest.h>

#include <filesystem>
#include <utility>

#include "storage/CJetDB.h"
#include "storage/CSystemOptions.h"
#include "storage/Installer.h"
#include "storage/Recordset.h"
#include "support/FileRelease.h"
#include "support/TestDatabase.h"
#include "support/server/EngineDatabase.h"

namespace orvan {
namespace {

// The system options row on the file and on the server.
class SystemOptionsOnEngines : public test::EngineTest {};
ORVAN_ON_BOTH_ENGINES(SystemOptionsOnEngines);

namespace fs = std::filesystem;

TEST_P(SystemOptionsOnEngines, LoadsTheRowOfANewInstallationAndWritesItBack) {
    const auto database = NewDatabase();
    test::EngineDatabase& tdb = *database;
    auto db = tdb.NewJetDB();
    CSystemOptions options;
    EXPECT_FALSE(options.Load()); // no database object yet
    options.SetOrvanDatabase(db);
    options.SetOrvanDatabase(nullptr); // keeps the previous one
    ASSERT_TRUE(db->OpenDB());
    ASSERT_TRUE(options.Load());
    db->CloseDB();
    EXPECT_EQ(options.ProgramName(), "OrvanAdmin");
    EXPECT_EQ(options.ProgramVersion(), "1.0");
    EXPECT_EQ(options.PeriodLength(), 13);
    EXPECT_EQ(options.AutoShiftStartTime(), DateTime::FromParts(1899, 12, 30, 8));
    EXPECT_EQ(options.AutoShiftEndTime(), DateTime::FromParts(1899, 12, 30, 17));
    EXPECT_EQ(options.UpdateSQL(),
              "UPDATE _System SET _System.period_length = 13, _System.auto_shift_start_time = "
              "#8:00:00 AM#, _System.auto_shift_end_time = #5:00:00 PM#;");

    // Weekly periods and a shift time carrying a date part.
    options.SetPeriodLength(6);
    options.SetAutoShiftStartTime(DateTime::FromParts(2000, 1, 1, 7, 30));
    options.SetAutoShiftEndTime(DateTime::FromParts(1899, 12, 30, 16, 15, 30));
    EXPECT_EQ(options.UpdateSQL(),
              "UPDATE _System SET _System.period_length = 6, _System.auto_shift_start_time = "
              "#1/1/2000 7:30:00 AM#, _System.auto_shift_end_time = #4:15:30 PM#;");
    ASSERT_TRUE(options.Update());
    EXPECT_TRUE(tdb.IsReleased());

    CSystemOptions reread;
    reread.SetOrvanDatabase(db);
    ASSERT_TRUE(db->OpenDB());
    ASSERT_TRUE(reread.Load());
    db->CloseDB();
    EXPECT_EQ(reread.PeriodLength(), 6);
    EXPECT_EQ(reread.AutoShiftStartTime(), DateTime::FromParts(2000, 1, 1, 7, 30));
    EXPECT_EQ(reread.AutoShiftEndTime(), DateTime::FromParts(1899, 12, 30, 16, 15, 30));
}

TEST(SystemOptions, BadRowsFailTheLoad) {
    test::TestDatabase tdb;
    auto db = tdb.NewJetDB();
    CSystemOptions options;
    options.SetOrvanDatabase(db);

    tdb.Exec("UPDATE _System SET period_length = NULL");
    ASSERT_TRUE(db->OpenDB());
    EXPECT_FALSE(options.Load());
    db->CloseDB();

    tdb.Exec("DELETE FROM _System");
    ASSERT_TRUE(db->OpenDB());
    EXPECT_FALSE(options.Load());
    db->CloseDB();

    // Several rows: the first one the result offers.
    tdb.Exec("INSERT INTO _System VALUES ('OrvanAdmin', '1.0', 6, 0.25, 0.5), "
             "('Other', '2.0', 13, 0.3, 0.6)");
    ASSERT_TRUE(db->OpenDB());
    EXPECT_TRUE(options.Load());
    db->CloseDB();
    EXPECT_EQ(options.PeriodLength(), 6);

    tdb.Exec("DROP TABLE _System");
    ASSERT_TRUE(db->OpenDB());
    EXPECT_FALSE(options.Load());
    db->CloseDB();
    EXPECT_FALSE(options.Update());
}

TEST(Installer, MakesAWholeInstallationAndNeverOverwritesOne) {
    test::TempDir dir;
    std::vector<std::string> created;
    std::string message;
    const fs::path folder = dir.Path() / "orvan";
    ASSERT_TRUE(Installer::Install(folder.string(), false, DateTime::FromParts(2003, 1, 15),
                                   created, message))
        << message;
    EXPECT_FALSE(created.empty());
    EXPECT_TRUE(fs::is_directory(folder / "reports"));
    EXPECT_TRUE(fs::is_directory(folder / "documentation"));
    EXPECT_TRUE(fs::exists(folder / "system" / "orvan_11.mdb"));
    const std::string config = test::ReadAll(folder / "system" / "orvan_11.cfg");
    EXPECT_NE(config.find("DatabasePath=<app.path>\\system\\orvan_11.mdb"), std::string::npos);
    EXPECT_NE(config.find("ShowLoginHelp=True"), std::string::npos);

    CJetDB db;
    db.SetDatabaseName((folder / "system" / "orvan_11.mdb").string());
    ASSERT_TRUE(db.OpenDB());
    auto admin = db.ExecuteSelect("SELECT EmployeeID, LastName, Password, Active FROM Employee;");
    ASSERT_NE(admin, nullptr);
    ASSERT_EQ(admin->RecordCount(), 1);
    EXPECT_EQ(admin->AsInteger("EmployeeID"), 39);
    EXPECT_EQ(admin->AsText("LastName"), "administrator");
    EXPECT_EQ(admin->AsText("Password"), "renby742");
    EXPECT_TRUE(admin->AsBoolean("Active"));
    auto queries = db.ExecuteSelect("SELECT Name FROM _StoredQuery;");
    ASSERT_NE(queries, nullptr);
    EXPECT_EQ(queries->RecordCount(), 6);
    db.CloseDB();

    // A second run refuses and leaves the database as it was.
    const auto before = fs::last_write_time(folder / "system" / "orvan_11.mdb");
    created.clear();
    EXPECT_FALSE(Installer::Install(folder.string(), true, DateTime::FromParts(2003, 1, 15),
                                    created, message));
    EXPECT_FALSE(message.empty());
    EXPECT_EQ(fs::last_write_time(folder / "system" / "orvan_11.mdb"), before);
}

TEST(Installer, DemoDataIsAPopulatedSystem) {
    const DateTime today = DateTime::FromParts(2003, 1, 15);
    test::TestDatabase tdb(true, today);
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM Company"), 1);
    EXPECT_GE(tdb.QueryInt("SELECT count(*) FROM Employee WHERE EmployeeID <> 39"), 6);
    EXPECT_GE(tdb.QueryInt("SELECT count(*) FROM TimeRecord"), 100);
    // A night shift across midnight, today's open record and one forgotten
    // clock-out two to six days back.
    EXPECT_GE(tdb.QueryInt("SELECT count(*) FROM TimeRecord WHERE EndTime > 0 AND "
                           "CAST(EndTime AS INTEGER) > CAST(StartTime AS INTEGER)"),
              1);
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM TimeRecord WHERE EndTime = 0 AND StartTime >= " +
                           std::to_string(today.Days())),
              1);
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM TimeRecord WHERE EndTime = 0 AND StartTime < " +
                           std::to_string(today.AddDays(-1).Days()) + " AND StartTime > " +
                           std::to_string(today.AddDays(-7).Days())),
              1);
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM TimeRecord WHERE StartTime > " +
                           std::to_string(today.AddDays(1).Days())),
              0);
}

// Made at a moment of the day, the demonstration holds nothing that starts
// or ends after it: shortly after midnight nobody is at work yet (the night
// shift still under way is left out), at noon today's open record is there.
TEST(Installer, DemoDataEndsAtTheMomentItIsMade) {
    for (const auto& [madeAt, openToday] :
         {std::pair{DateTime::FromParts(2003, 1, 15, 0, 18), 0},
          std::pair{DateTime::FromParts(2003, 1, 15, 12, 0), 1}}) {
        test::TestDatabase tdb(true, madeAt);
        const std::string at = std::to_string(madeAt.Days());
        EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM TimeRecord WHERE StartTime > " + at +
                               " OR EndTime > " + at),
                  0);
        EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM TimeRecord WHERE EndTime = 0 AND "
                               "StartTime >= " +
                               std::to_string(madeAt.DatePart().Days())),
                  openToday);
        EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM TimeRecord WHERE EndTime = 0"), 1 + openToday);
    }
}

TEST(Installer, UnwritableFolderFailsWithAMessage) {
    std::vector<std::string> created;
    std::string message;
    EXPECT_FALSE(Installer::Install("/proc/orvan-cannot-be-here", false,
                                    DateTime::FromParts(2003, 1, 15), created, message));
    EXPECT_FALSE(message.empty());
}

} // namespace
} // namespace orvan
