// Which engine a database name opens, what a server that cannot be used
// answers, and units of several operations on both engines.

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "core/ErrorNumbers.h"
#include "server/PgEngine.h"
#include "storage/CDatabaseLocator.h"
#include "storage/CFileAdaptor.h"
#include "storage/CJetDB.h"
#include "storage/DatabaseEngine.h"
#include "storage/ProgramFolder.h"
#include "support/TestDatabase.h"
#include "support/server/EngineDatabase.h"

namespace orvan {
namespace {

// The one test of a database name, shared by the database object and the
// server side (database copy, orvan-initdb).
TEST(EngineChoice, OnlyAPostgreSqlUriNamesTheServer) {
    for (const char* uri :
         {"postgresql://clock@db.example:5432/orvan", "PostgreSQL://clock@db/orvan",
          "POSTGRES://db/orvan?sslmode=require", "postgresql://orvan@db.example:5432/orvan",
          "postgres://localhost/orvan", "PostgreSQL://Orvan@Host/orvan", "POSTGRES://x",
          "postgresql://"}) {
        EXPECT_TRUE(IsServerDatabaseName(uri)) << uri;
    }
    for (const char* path : {"<app.path>\\system\\orvan_11.mdb", "/srv/postgresql/orvan_11.mdb",
                             "postgresql:/db/orvan", "", "C:\\Orvan\\system\\orvan_11.mdb",
                             "/srv/orvan/orvan_11.mdb", "postgresql:/orvan", "postgresql",
                             "/tmp/postgresql://x", " postgresql://x", "mysql://x"}) {
        EXPECT_FALSE(IsServerDatabaseName(path)) << path;
    }
}

TEST(EngineChoice, TheLocatorKeepsAUriAsWritten) {
    const std::string uri = "postgresql://clock@db.example:5432/orvan?application_name=<app.path>"
                            "&options=a\\b";
    const auto config = std::make_shared<CFileAdaptor>();
    config->AddLine("DatabasePath=" + uri);
    CDatabaseLocator locator;
    locator.SetConfigFile(config);
    ASSERT_TRUE(locator.GetDatabasePath());
    EXPECT_EQ(locator.DatabasePath(), uri);

    // A file path still has its program folder put in.
    const auto fileConfig = std::make_shared<CFileAdaptor>();
    fileConfig->AddLine("DatabasePath=<app.path>\\system\\orvan_11.mdb");
    CDatabaseLocator fileLocator;
    fileLocator.SetConfigFile(fileConfig);
    fileLocator.GetDatabasePath();
    EXPECT_EQ(fileLocator.DatabasePath(), ProgramFolder() + "/system/orvan_11.mdb");
}

TEST(EngineChoice, AProgramWithoutTheServerEngineSaysSo) {
    RegisterServerEngine(nullptr);
    CJetDB db;
    EXPECT_FALSE(db.OpenDB("postgresql://clock@127.0.0.1:1/orvan"));
    EXPECT_EQ(db.ErrorNumber(), err::ServerConnectionFailed);
    EXPECT_NE(db.EngineMessage().find("server"), std::string::npos) << db.EngineMessage();
    EXPECT_FALSE(db.DatabaseOpen());
    server::RegisterEngine();

    // The same object goes on to open a file.
    test::TestDatabase tdb;
    EXPECT_TRUE(db.OpenDB(tdb.DatabasePath()));
    EXPECT_TRUE(db.CloseDB());
}

TEST(EngineChoice, AServerThatCannotBeReachedIsNoBusyFile) {
    server::RegisterEngine();
    CJetDB db;
    // Nothing listens on port 1: refused at once.
    EXPECT_FALSE(db.OpenDB("postgresql://clock@127.0.0.1:1/orvan?connect_timeout=2"));
    EXPECT_EQ(db.ErrorNumber(), err::ServerUnreachable);
    EXPECT_TRUE(db.ServerUnreachable());
    EXPECT_NE(db.ErrorNumber(), err::BusyOrInvalidCall);
    EXPECT_NE(db.ErrorNumber(), err::NoDatabase);
    EXPECT_FALSE(db.EngineMessage().empty());
    EXPECT_FALSE(db.GaveUpBusy());
    EXPECT_FALSE(db.DatabaseOpen());
}

TEST(EngineChoice, AServerDatabaseWithoutTheSchemaIsNotADatabase) {
    ORVAN_SKIP_WITHOUT_SERVER();
    server::RegisterEngine();
    test::ServerTestDatabase empty;
    CJetDB db;
    EXPECT_FALSE(db.OpenDB(empty.Uri()));
    EXPECT_EQ(db.ErrorNumber(), err::EngineNotADatabase);
    EXPECT_NE(db.EngineMessage().find("_schemaversion"), std::string::npos) << db.EngineMessage();

    // A login the server refuses.
    CJetDB stranger;
    const std::string uri =
        test::ServerTestDatabase::WithDatabase(test::ServerBaseUri(), "orvan_no_such_database");
    EXPECT_FALSE(stranger.OpenDB(uri));
    EXPECT_EQ(stranger.ErrorNumber(), err::ServerConnectionFailed);
    EXPECT_NE(stranger.EngineMessage().find("orvan_no_such_database"), std::string::npos)
        << stranger.EngineMessage();
}

// Units of several operations, on the file and on the server.
class UnitOnEngines : public test::EngineTest {};
ORVAN_ON_BOTH_ENGINES(UnitOnEngines);

TEST_P(UnitOnEngines, InnerOperationsJoinTheUnitAndItsResultIsTheWorks) {
    const auto database = NewDatabase();
    const auto db = database->NewJetDB();
    int32_t runs = 0;
    EXPECT_TRUE(db->RunAsOneTransaction([&] {
        ++runs;
        EXPECT_TRUE(db->ExecuteAction("INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                                      "VALUES (5, #1/15/2003 8:00:00 AM#, 0);"));
        // The action's own close leaves the unit open.
        EXPECT_TRUE(db->DatabaseOpen());
        EXPECT_TRUE(db->OpenDB());
        const auto rows = db->ExecuteSelect("SELECT count(*) AS n FROM TimeRecord;");
        EXPECT_TRUE(rows != nullptr && rows->AsInteger("n") == 1);
        db->CloseDB();
        return db->RunAsOneTransaction([&] { return db->DatabaseOpen(); });
    }));
    EXPECT_EQ(runs, 1);
    EXPECT_FALSE(db->DatabaseOpen());
    EXPECT_TRUE(database->IsReleased());
    EXPECT_EQ(database->QueryInt("SELECT count(*) FROM TimeRecord"), 1);

    // A unit whose work fails says so; what it wrote before is kept on the
    // file (each statement is written as it runs) and dropped whole on the
    // server (one transaction a failed statement has spoiled).
    EXPECT_FALSE(db->RunAsOneTransaction([&] {
        db->ExecuteAction("INSERT INTO TimeRecord (EmployeeID, StartTime, EndTime) "
                          "VALUES (6, #1/15/2003 8:00:00 AM#, 0);");
        return db->ExecuteAction("UPDATE NoSuchTable SET x = 1;");
    }));
    EXPECT_EQ(db->ErrorNumber(), err::StatementFailed);
    EXPECT_EQ(database->QueryInt("SELECT count(*) FROM TimeRecord WHERE EmployeeID = 6"),
              GetParam() == test::Engine::File ? 1 : 0);
    EXPECT_TRUE(database->IsReleased());
}

// Two stations read the one open record and close it at the same moment:
// exactly one of them closes it, whoever loses sees it closed.
TEST_P(UnitOnEngines, TwoStationsCannotBothCloseOneRecord) {
    const auto database = NewDatabase();
    const int32_t employee = database->AddEmployee(1001, "Ann", "Lee");
    constexpr int kRounds = 12;
    std::atomic<int> closed{0};
    for (int round = 0; round < kRounds; ++round) {
        const auto id = database->AddTimeRecord(employee, DateTime::FromParts(2003, 1, 15, 8));
        std::atomic<int> ready{0};
        std::vector<std::thread> stations;
        for (int s = 0; s < 2; ++s) {
            stations.emplace_back([&, s] {
                const auto db = database->NewJetDB();
                db->SetBusyTimeout(20000);
                ++ready;
                while (ready < 2) {
                    std::this_thread::yield();
                }
                const bool done = db->RunAsOneTransaction([&] {
                    const auto rows =
                        db->OpenDB()
                            ? db->ExecuteSelect("SELECT TimeRecordID FROM TimeRecord WHERE "
                                                "TimeRecordID = " +
                                                std::to_string(id) + " AND EndTime = 0;")
                            : nullptr;
                    if (!rows || rows->RecordCount() == 0) {
                        return false;
                    }
                    std::this_thread::sleep_for(std::chrono::milliseconds(5));
                    return db->ExecuteAction(
                        "UPDATE TimeRecord SET TimeRecord.EndTime = " + std::to_string(40000 + s) +
                        " WHERE TimeRecord.TimeRecordID = " + std::to_string(id) + ";");
                });
                if (done) {
                    ++closed;
                }
            });
        }
        for (auto& station : stations) {
            station.join();
        }
        EXPECT_EQ(closed.load(), round + 1) << "round " << round;
    }
    EXPECT_EQ(database->QueryInt("SELECT count(*) FROM TimeRecord WHERE EndTime = 0"), 0);
    EXPECT_TRUE(database->IsReleased());
}

} // namespace
} // namespace orvan
