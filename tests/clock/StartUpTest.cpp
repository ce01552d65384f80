// Start-up of the clock program: each failure gets its message, and a
// finished start-up leaves the database file free for the other program.

#include <gtest/gtest.h>

#include <filesystem>

#include "ClockTestSupport.h"
#include "clock/CController.h"
#include "clock/FController.h"
#include "personnel/CEmployeeList.h"
#include "storage/CJetDB.h"
#include "storage/CSystemOptions.h"
#include "storage/MessageBox.h"
#include "support/LockingProcess.h"
#include "support/FileRelease.h"

namespace orvan::test {
namespace {

namespace fs = std::filesystem;

TEST(ClockStartUp, ReadyStationReleasesTheDatabase) {
    ClockStation station;
    station.AddEmployee(1007, "Ann", "Lee");
    station.Start();
    ASSERT_NE(station.Window(), nullptr);
    EXPECT_EQ(station.Window()->windowTitle(), QStringLiteral("Velmora - TimeClock"));
    EXPECT_TRUE(station.Messages().shown.empty());
    EXPECT_FALSE(station.Controller()->ProgramEnded());
    EXPECT_EQ(station.Controller()->ErrorNumber(), 0);
    EXPECT_TRUE(test::FileIsReleased(station.Database().DatabasePath()));
    EXPECT_EQ(station.Controller()->EmployeeList()->Count(), 2); // with the administrator
    EXPECT_EQ(station.Controller()->SystemOptions()->PeriodLength(), 13);
    station.Database().Exec("UPDATE _System SET version = '1.0'"); // not locked
}

// A missing configuration file reads as an empty one: no database path, so
// the station stops with the database message.
TEST(ClockStartUp, MissingConfigurationFileEndsTheProgram) {
    ClockStation station;
    fs::remove(station.Database().ConfigPath());
    station.Start();
    EXPECT_EQ(station.Window(), nullptr);
    EXPECT_TRUE(station.Controller()->ProgramEnded());
    EXPECT_EQ(station.LastMessage(),
              "Database Open Error|The database cannot be opened because it is missing or "
              "corrupt.");
    EXPECT_EQ(station.LastStyle(), MsgIconExclamation);
    EXPECT_EQ(station.Messages().shown.size(), 1u);
}

TEST(ClockStartUp, MissingOrCorruptDatabaseEndsTheProgram) {
    for (const char* content : {"", "not a database at all"}) {
        ClockStation station;
        fs::remove(station.Database().DatabasePath());
        if (content[0] != '\0') {
            WriteAll(station.Database().DatabasePath(), content);
        }
        station.Start();
        EXPECT_EQ(station.Window(), nullptr);
        EXPECT_TRUE(station.Controller()->ProgramEnded());
        EXPECT_EQ(station.LastMessage(),
                  "Database Open Error|The database cannot be opened because it is missing or "
                  "corrupt.");
        EXPECT_EQ(station.LastStyle(), MsgIconExclamation);
    }
}

TEST(ClockStartUp, DatabaseHeldByTheOtherProgramIsSaidSo) {
    ClockStation station;
    {
        LockingProcess administrator(station.Database().DatabasePath(),
                                     CJetDB::DefaultBusyTimeout + 2000);
        station.Start();
    }
    EXPECT_EQ(station.Window(), nullptr);
    EXPECT_EQ(station.LastMessage(),
              "Database Open Error|The database is currently open in another application. Please "
              "close the database before continuing.");
}

TEST(ClockStartUp, FailedOptionsLoadIsReportedAndTheProgramGoesOn) {
    ClockStation station;
    station.Database().Exec("DELETE FROM _System");
    station.Start();
    ASSERT_NE(station.Window(), nullptr);
    ASSERT_EQ(station.Messages().shown.size(), 1u);
    EXPECT_EQ(station.LastMessage(),
              "System Configuration Error|An error occurred while loading system options. Check "
              "these options before continuing program usage.");
    EXPECT_EQ(station.LastStyle(), MsgIconExclamation);
}

TEST(ClockStartUp, EmployeeListThatCannotLoadEndsTheProgram) {
    ClockStation station;
    station.Database().Exec("DELETE FROM _StoredQuery WHERE Name = 'GetAllEmployees'");
    station.Start();
    EXPECT_EQ(station.Window(), nullptr);
    EXPECT_TRUE(station.Controller()->ProgramEnded());
    EXPECT_EQ(station.LastMessage(), "data list error|could not load data lists");
    station.Database().Exec("UPDATE _System SET version = '1.0'"); // released
}

} // namespace
} // namespace orvan::test
