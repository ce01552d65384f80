// The station and the daily copies of the database file: its start makes
// none, its first clock action of a day without one does (after the
// action, which the copy then holds), later actions that day do not; a
// folder that cannot take the copy is logged once and the station goes on
// without a box of its own; an action that found the database busy is
// followed by no copy.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>

#include "ClockTestSupport.h"
#include "clock/CController.h"
#include "clock/FController.h"
#include "storage/CJetDB.h"
#include "storage/SqliteHandle.h"
#include "support/FileRelease.h"
#include "support/LockingProcess.h"

namespace orvan::test {
namespace {

namespace fs = std::filesystem;

DateTime At(int day, int hour, int minute) {
    return DateTime::FromParts(2003, 1, day, hour, minute);
}

int64_t CountIn(const fs::path& path, const std::string& where) {
    int rc = SQLITE_OK;
    const sqlite::Connection db = sqlite::Open(path.string(), SQLITE_OPEN_READONLY, rc);
    const sqlite::Statement count =
        sqlite::PrepareOne(db.get(), "SELECT count(*) FROM TimeRecord WHERE " + where);
    EXPECT_EQ(sqlite3_step(count.get()), SQLITE_ROW) << path;
    return sqlite3_column_int64(count.get(), 0);
}

int Count521(const std::vector<std::string>& lines) {
    int count = 0;
    for (const std::string& line : lines) {
        count += line.rfind("Error: 521 : ", 0) == 0 ? 1 : 0;
    }
    return count;
}

TEST(StationBackup, TheFirstClockActionAfterMidnightMakesTheDaysCopy) {
    ClockStation station(At(15, 8, 5));
    station.AddEmployee(1007, "Ann", "Lee");
    station.Start();
    ASSERT_NE(station.Window(), nullptr);
    const fs::path backups = station.Database().Folder() / "backups";
    EXPECT_FALSE(fs::exists(backups));

    station.Type(QStringLiteral("1007"));
    station.ClickClockIn();
    const fs::path first = backups / "orvan_11-2003-01-15.mdb";
    ASSERT_TRUE(fs::exists(first));
    EXPECT_EQ(CountIn(first, "EndTime = 0"), 1);
    EXPECT_TRUE(FileIsReleased(station.Database().DatabasePath()));

    station.Clock().Set(At(15, 16, 30));
    station.Type(QStringLiteral("1007"));
    station.ClickClockOut();
    EXPECT_EQ(station.Database().QueryInt("SELECT count(*) FROM TimeRecord WHERE EndTime = 0"), 0);
    EXPECT_EQ(CountIn(first, "EndTime = 0"), 1);

    station.Clock().Set(At(16, 0, 10));
    station.Type(QStringLiteral("1007"));
    station.ClickClockIn();
    EXPECT_EQ(CountIn(backups / "orvan_11-2003-01-16.mdb", "1"), 2);
    EXPECT_EQ(station.LastMessage().rfind("Login Complete|", 0), 0U) << station.LastMessage();
}

TEST(StationBackup, AFolderThatCannotTakeTheCopyIsLoggedAndTheStationGoesOn) {
    ClockStation station(At(15, 8, 5));
    station.AddEmployee(1007, "Ann", "Lee");
    WriteAll(station.Database().Folder() / "backups", "a file, not a folder");
    station.StartProgram();
    ASSERT_NE(station.Window(), nullptr);

    station.Type(QStringLiteral("1007"));
    station.ClickClockIn();
    ASSERT_EQ(station.Messages().shown.size(), 1U);
    EXPECT_EQ(station.LastMessage().rfind("Login Complete|", 0), 0U) << station.LastMessage();
    EXPECT_EQ(Count521(station.LogLines()), 1) << ::testing::PrintToString(station.LogLines());

    // The next action does not try again at once, and works as ever.
    station.Clock().Set(At(15, 8, 20));
    station.Type(QStringLiteral("1007"));
    station.ClickClockOut();
    EXPECT_EQ(station.Messages().shown.size(), 2U);
    EXPECT_EQ(station.LastMessage().rfind("Logout Complete|", 0), 0U) << station.LastMessage();
    EXPECT_EQ(Count521(station.LogLines()), 1);
    EXPECT_EQ(station.Database().QueryInt("SELECT count(*) FROM TimeRecord WHERE EndTime > 0"), 1);
}

// An action the other program kept waiting past the busy timeout is not
// followed by a copy that would wait as long again; the next action makes it.
TEST(StationBackup, AnActionThatFoundTheDatabaseBusyMakesNoCopy) {
    ClockStation station(At(15, 8, 5));
    station.AddEmployee(1007, "Ann", "Lee");
    station.Start();
    ASSERT_NE(station.Window(), nullptr);
    station.Controller()->CIDatabase()->SetBusyTimeout(TestBusyTimeout);
    const fs::path backups = station.Database().Folder() / "backups";
    {
        LockingProcess manager(station.Database().DatabasePath(), LockingProcess::UntilReleased);
        station.Type(QStringLiteral("1007"));
        station.ClickClockIn();
        EXPECT_EQ(station.LastMessage().rfind("Clock In Error|", 0), 0U) << station.LastMessage();
    }
    EXPECT_FALSE(fs::exists(backups));

    station.Type(QStringLiteral("1007"));
    station.ClickClockIn();
    EXPECT_EQ(CountIn(backups / "orvan_11-2003-01-15.mdb", "1"), 1);
}

} // namespace
} // namespace orvan::test
