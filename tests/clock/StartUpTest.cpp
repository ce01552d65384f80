// Start-up of the clock program: each failure gets its message and its line
// in the clock's error log, a finished start-up leaves the database file
// free for the other program, and the log keeps earlier runs within 1 MB.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ClockTestSupport.h"
#include "clock/CController.h"
#include "clock/FController.h"
#include "personnel/CEmployeeList.h"
#include "storage/CJetDB.h"
#include "storage/CSystemOptions.h"
#include "storage/MessageBox.h"
#include "storage/ProgramStartUp.h"
#include "support/LockingProcess.h"
#include "support/FileRelease.h"
#include "support/ScopedUmask.h"

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

// The configuration file's busy timeout keeps the wait short.
TEST(ClockStartUp, DatabaseHeldByTheOtherProgramIsSaidSo) {
    ClockStation station;
    station.Database().AddConfigLine("BusyTimeout=" + std::to_string(TestBusyTimeout));
    {
        LockingProcess administrator(station.Database().DatabasePath(), HeldPastTestBusyTimeout);
        station.Start();
    }
    EXPECT_EQ(station.Window(), nullptr);
    EXPECT_EQ(station.LastMessage(),
              "Database Open Error|The database is currently open in another application. Please "
              "close the database before continuing.");
    ASSERT_NE(station.Controller()->CIDatabase(), nullptr);
    EXPECT_EQ(station.Controller()->CIDatabase()->BusyTimeout(), TestBusyTimeout);
}

TEST(ClockStartUp, WithoutTheBusyTimeoutKeyTheDefaultTimeoutIsUsed) {
    ClockStation station;
    station.Start();
    ASSERT_NE(station.Window(), nullptr);
    EXPECT_EQ(station.Controller()->CIDatabase()->BusyTimeout(), CJetDB::DefaultBusyTimeout);
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

const std::vector<std::string> OpeningLines = {"session begin", "1/15/2003 8:05:42 AM",
                                               "------------------------------"};
const std::vector<std::string> ClosingLines = {"------------------------------", "session end",
                                               "1/15/2003 8:05:42 AM"};

std::vector<std::string> Joined(std::vector<std::vector<std::string>> blocks) {
    std::vector<std::string> lines;
    for (const auto& block : blocks) {
        lines.insert(lines.end(), block.begin(), block.end());
    }
    return lines;
}

TEST(ClockErrorLog, AReadyStationLogsItsOpeningAndClosingLinesOnly) {
    ClockStation station;
    station.StartProgram();
    ASSERT_NE(station.Window(), nullptr) << station.LastMessage();
    EXPECT_EQ(station.LogLines(), OpeningLines);
    station.EndProgram();
    EXPECT_EQ(station.LogLines(), Joined({OpeningLines, ClosingLines}));
}

// The failure line names what the database engine said; a failure nothing
// recorded (no DatabasePath at all) is described by its box.
TEST(ClockErrorLog, AStartUpFailureLeavesItsLineInTheLog) {
    {
        ClockStation station;
        fs::remove(station.Database().DatabasePath());
        station.StartProgram();
        EXPECT_EQ(station.Window(), nullptr);
        EXPECT_TRUE(station.Controller()->ProgramEnded());
        station.EndProgram();
        EXPECT_EQ(
            station.LogLines(),
            Joined({OpeningLines, {"Error: 14 : unable to open database file"}, ClosingLines}));
    }
    {
        ClockStation station;
        fs::remove(station.Database().ConfigPath());
        station.StartProgram();
        station.EndProgram();
        EXPECT_EQ(station.LogLines(),
                  Joined({OpeningLines,
                          {"Error: 0 : The database cannot be opened because it is missing or "
                           "corrupt."},
                          ClosingLines}));
    }
    {
        ClockStation station;
        station.Database().Exec("DELETE FROM _StoredQuery WHERE Name = 'GetAllEmployees'");
        station.StartProgram();
        EXPECT_EQ(station.LastMessage(), "data list error|could not load data lists");
        const auto lines = station.LogLines();
        ASSERT_EQ(lines.size(), 4u);
        EXPECT_EQ(lines[3].rfind("Error: ", 0), 0u) << lines[3];
        EXPECT_NE(lines[3].rfind("Error: 0 : ", 0), 0u) << lines[3];
    }
}

// The options failure does not stop the station; its line (the box, since
// the load records no failure of its own) is there all the same, and the
// run goes on to its closing lines.
TEST(ClockErrorLog, AFailureTheStationRunsOnAfterIsLoggedToo) {
    ClockStation station;
    station.Database().Exec("DELETE FROM _System");
    station.StartProgram();
    ASSERT_NE(station.Window(), nullptr);
    station.EndProgram();
    const auto lines = station.LogLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[3], "Error: 0 : An error occurred while loading system options. Check these "
                        "options before continuing program usage.");
    EXPECT_EQ(lines[5], "session end");
}

TEST(ClockErrorLog, ASecondStartAppendsToTheFirst) {
    ClockStation station;
    const std::string database = station.Database().DatabasePath();
    fs::rename(database, database + ".away");
    station.StartProgram();
    EXPECT_EQ(station.Window(), nullptr);
    station.EndProgram();
    fs::rename(database + ".away", database);

    station.Clock().Set(DateTime::FromParts(2003, 1, 15, 9, 0, 0));
    station.StartProgram();
    ASSERT_NE(station.Window(), nullptr) << station.LastMessage();
    station.EndProgram();
    EXPECT_EQ(station.LogLines(),
              Joined({OpeningLines,
                      {"Error: 14 : unable to open database file"},
                      ClosingLines,
                      {"session begin", "1/15/2003 9:00:00 AM", "------------------------------",
                       "------------------------------", "session end", "1/15/2003 9:00:00 AM"}}));
}

// A station started on an installation whose files others may read closes
// them and says so once; the next start finds nothing to change.
TEST(ClockErrorLog, AnOpenInstallationIsClosedToOthersAndLoggedOnce) {
    ClockStation station;
    const fs::path system = station.Database().Folder() / "system";
    const fs::path reports = station.Database().Folder() / "reports";
    ::chmod(system.c_str(), 0755);
    ::chmod(reports.c_str(), 0777);
    ::chmod(station.Database().DatabasePath().c_str(), 0644);
    ::chmod(station.Database().ConfigPath().c_str(), 0664);
    station.StartProgram();
    ASSERT_NE(station.Window(), nullptr) << station.LastMessage();
    station.EndProgram();
    EXPECT_EQ(ModeOf(system.c_str()), 0750);
    EXPECT_EQ(ModeOf(reports.c_str()), 0770);
    EXPECT_EQ(ModeOf(station.Database().DatabasePath().c_str()), 0640);
    EXPECT_EQ(ModeOf(station.Database().ConfigPath().c_str()), 0660);
    EXPECT_EQ(ModeOf(station.LogPath().c_str()), 0660);

    // A file put by hand into the private folders is closed without a word.
    ::chmod(station.Database().ConfigPath().c_str(), 0644);
    station.StartProgram();
    ASSERT_NE(station.Window(), nullptr) << station.LastMessage();
    station.EndProgram();
    EXPECT_EQ(ModeOf(station.Database().ConfigPath().c_str()), 0640);
    EXPECT_EQ(station.LogLines(), Joined({OpeningLines,
                                          {InstallationMadePrivateLine},
                                          ClosingLines,
                                          OpeningLines,
                                          ClosingLines}));
}

// Earlier runs that have filled more than 1 MB: the start drops the older
// half at a line boundary, keeps the newer lines whole and appends its own.
TEST(ClockErrorLog, ALogOverOneMegabyteIsCutToAboutHalfKeepingTheNewestLines) {
    ClockStation station;
    std::string old;
    int count = 0;
    while (old.size() <= 1200u * 1024u) {
        old += "Error: 14 : earlier failure " + std::to_string(++count) + "\r\n";
    }
    WriteAll(station.LogPath(), old);
    station.StartProgram();
    ASSERT_NE(station.Window(), nullptr);
    station.EndProgram();

    const uintmax_t size = fs::file_size(station.LogPath());
    EXPECT_LE(size, 1024u * 1024u);
    EXPECT_GE(size, old.size() / 2);
    EXPECT_LE(size, old.size() / 2 + 200);
    const auto lines = station.LogLines();
    ASSERT_GT(lines.size(), 6u);
    // Whole lines only: the first kept is one of the old ones, the last old
    // one is still there and the oldest are gone.
    const std::string first = lines.front();
    EXPECT_EQ(first.rfind("Error: 14 : earlier failure ", 0), 0u) << first;
    EXPECT_NE(old.find("\r\n" + first + "\r\n"), std::string::npos) << first;
    EXPECT_GT(std::stoi(first.substr(28)), count / 3);
    EXPECT_EQ(lines[lines.size() - 7], "Error: 14 : earlier failure " + std::to_string(count));
    EXPECT_EQ(std::vector<std::string>(lines.end() - 6, lines.end()),
              Joined({OpeningLines, ClosingLines}));
}

} // namespace
} // namespace orvan::test
