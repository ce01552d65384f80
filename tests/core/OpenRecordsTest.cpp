// The open-records query behind forgotten clock-outs, against a real file
// and (where a test server is configured) a server database.

#include <gtest/gtest.h>

#include "core/OpenRecords.h"
#include "support/FileRelease.h"
#include "support/LockingProcess.h"
#include "support/TestDatabase.h"
#include "support/server/EngineDatabase.h"

namespace orvan {
namespace {

DateTime At(int day, int hour, int minute = 0) {
    return DateTime::FromParts(2026, 12, day, hour, minute);
}

// The query on the file and on the server.
class OpenRecordsOnEngines : public test::EngineTest {};
ORVAN_ON_BOTH_ENGINES(OpenRecordsOnEngines);

TEST_P(OpenRecordsOnEngines, FindsOnlyOpenRecordsBeforeTheMomentForOneOrAllEmployees) {
    const auto database = NewDatabase();
    test::EngineDatabase& tdb = *database;
    const int32_t ann = tdb.AddEmployee(1001, "Ann", "Lee");
    const int32_t bob = tdb.AddEmployee(1002, "Bob", "Ray");
    const int64_t annForgotten = tdb.AddTimeRecord(ann, At(5, 8));
    tdb.AddTimeRecord(ann, At(5, 9), At(5, 17)); // closed: never listed
    const int64_t bobForgotten = tdb.AddTimeRecord(bob, At(4, 22, 30));
    tdb.AddTimeRecord(ann, At(6, 20)); // open, but recent
    const auto db = tdb.NewJetDB();

    const DateTime now = At(7, 9);
    const auto all = FindOpenRecords(db, 0, ForgottenClockOutCutoff(now));
    ASSERT_TRUE(all.has_value());
    ASSERT_EQ(all->size(), 2u);
    // Oldest first, whoever they belong to.
    EXPECT_EQ((*all)[0].timeRecordID, bobForgotten);
    EXPECT_EQ((*all)[0].employeeID, bob);
    EXPECT_EQ((*all)[0].startTime.Format("mm/dd/yyyy hh:mm AM/PM"), "12/04/2026 10:30 PM");
    EXPECT_EQ((*all)[1].timeRecordID, annForgotten);

    const auto annOnly = FindOpenRecords(db, ann, ForgottenClockOutCutoff(now));
    ASSERT_TRUE(annOnly.has_value());
    ASSERT_EQ(annOnly->size(), 1u);
    EXPECT_EQ(annOnly->front().timeRecordID, annForgotten);

    // Everything open up to now, and nobody's for an unknown employee.
    EXPECT_EQ(FindOpenRecords(db, ann, now)->size(), 2u);
    EXPECT_TRUE(FindOpenRecords(db, 9999, now)->empty());
    EXPECT_TRUE(tdb.IsReleased());
}

TEST_P(OpenRecordsOnEngines, TheCutoffIsSixteenHoursBeforeNow) {
    EXPECT_EQ(ForgottenClockOutCutoff(At(7, 9)).Format("mm/dd/yyyy hh:mm AM/PM"),
              "12/06/2026 05:00 PM");
    const auto database = NewDatabase();
    test::EngineDatabase& tdb = *database;
    const int32_t ann = tdb.AddEmployee(1001, "Ann", "Lee");
    tdb.AddTimeRecord(ann, At(6, 17)); // exactly 16 hours: not yet forgotten
    EXPECT_TRUE(FindOpenRecords(tdb.NewJetDB(), ann, ForgottenClockOutCutoff(At(7, 9)))->empty());
    EXPECT_EQ(FindOpenRecords(tdb.NewJetDB(), ann, ForgottenClockOutCutoff(At(7, 9, 1)))->size(),
              1u);
}

TEST(OpenRecords, ABusyOrMissingFileIsAFailureNotAnEmptyList) {
    test::TestDatabase tdb;
    const auto db = tdb.NewJetDB();
    db->SetBusyTimeout(test::TestBusyTimeout);
    {
        test::LockingProcess other(tdb.DatabasePath(), test::HeldPastTestBusyTimeout);
        EXPECT_FALSE(FindOpenRecords(db, 0, At(7, 9)).has_value());
        EXPECT_TRUE(db->GaveUpBusy());
    }
    EXPECT_TRUE(FindOpenRecords(db, 0, At(7, 9)).has_value());
    db->SetDatabaseName((tdb.Folder() / "missing.mdb").string());
    EXPECT_FALSE(FindOpenRecords(db, 0, At(7, 9)).has_value());
    EXPECT_FALSE(FindOpenRecords(nullptr, 0, At(7, 9)).has_value());
}

} // namespace
} // namespace orvan
