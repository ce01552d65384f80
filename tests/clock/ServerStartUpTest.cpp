// The clock station on a database server: a server that cannot be used is
// the "missing or corrupt" database at start-up (never a busy file), and a
// station whose configuration names a server database clocks in and out on
// it, making no file copies.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ClockTestSupport.h"
#include "clock/CController.h"
#include "clock/FController.h"
#include "core/ErrorNumbers.h"
#include "server/PgEngine.h"
#include "storage/CJetDB.h"
#include "storage/MessageBox.h"
#include "support/server/EngineDatabase.h"

namespace orvan::test {
namespace {

const char* const kMissingOrCorrupt =
    "Database Open Error|The database cannot be opened because it is missing or corrupt.";

void PointAt(ClockStation& station, const std::string& databasePath) {
    WriteAll(station.Database().ConfigPath(),
             "DatabasePath=" + databasePath + "\r\nShowLoginHelp=True\r\n");
}

TEST(ClockOnServer, AServerNotReachedIsAMissingDatabase) {
    server::RegisterEngine();
    ClockStation station;
    PointAt(station, "postgresql://clock@127.0.0.1:1/orvan?connect_timeout=2");
    station.Start();
    EXPECT_EQ(station.Window(), nullptr);
    EXPECT_TRUE(station.Controller()->ProgramEnded());
    EXPECT_EQ(station.LastMessage(), kMissingOrCorrupt);
    EXPECT_EQ(station.Messages().shown.size(), 1u);
}

// What the server answered is nowhere else to be seen: the log keeps it.
TEST(ClockOnServer, TheLogSaysWhyTheServerWasNotReached) {
    server::RegisterEngine();
    ClockStation station;
    PointAt(station, "postgresql://clock@127.0.0.1:1/orvan?connect_timeout=2");
    station.StartProgram();
    EXPECT_EQ(station.LastMessage(), kMissingOrCorrupt);
    const auto lines = station.LogLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3].rfind("Error: " + std::to_string(err::ServerUnreachable) + " : ", 0), 0u)
        << lines[3];
    EXPECT_NE(lines[3].find("127.0.0.1"), std::string::npos) << lines[3];
}

TEST(ClockOnServer, AServerDatabaseWithoutTheTablesIsAMissingDatabase) {
    ORVAN_SKIP_WITHOUT_SERVER();
    server::RegisterEngine();
    ServerTestDatabase empty;
    ClockStation station;
    PointAt(station, empty.Uri());
    station.Start();
    EXPECT_EQ(station.Window(), nullptr);
    EXPECT_EQ(station.LastMessage(), kMissingOrCorrupt);
}

TEST(ClockOnServer, ClocksInAndOutOnTheServerDatabase) {
    ORVAN_SKIP_WITHOUT_SERVER();
    server::RegisterEngine();
    EngineDatabase database(Engine::Server);
    const int32_t ann = database.AddEmployee(1007, "Ann", "Lee");
    ClockStation station(DateTime::FromParts(2003, 1, 15, 8, 5, 42));
    PointAt(station, database.Name());
    station.Start();
    ASSERT_NE(station.Window(), nullptr) << station.LastMessage();

    station.Type(QStringLiteral("1007"));
    station.ClickClockIn();
    EXPECT_EQ(station.LastMessage().rfind("Login Complete|", 0), 0u) << station.LastMessage();
    EXPECT_EQ(database.QueryInt("SELECT count(*) FROM TimeRecord WHERE EmployeeID = " +
                                std::to_string(ann) + " AND EndTime = 0"),
              1);

    station.Clock().Set(DateTime::FromParts(2003, 1, 15, 16, 30, 5));
    station.Type(QStringLiteral("1007"));
    station.ClickClockOut();
    EXPECT_EQ(station.LastMessage().rfind("Logout Complete|", 0), 0u) << station.LastMessage();
    EXPECT_EQ(database.QueryDouble("SELECT EndTime FROM TimeRecord WHERE EmployeeID = " +
                                   std::to_string(ann)),
              DateTime::FromParts(2003, 1, 15, 16, 30).Days());
    EXPECT_TRUE(database.IsReleased());
    // The day's first action makes no file copy of a server database.
    EXPECT_FALSE(std::filesystem::exists(station.Database().Folder() / "backups"));
}

} // namespace
} // namespace orvan::test
