// The clock station's own data on real database files: the PIN option, PIN
// hashes, and the run of wrong PINs that locks an employee out, with the
// program's clock fixed.

#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "storage/AuditTrail.h"
#include "storage/CJetDB.h"
#include "storage/StationStore.h"
#include "support/FileRelease.h"
#include "support/TestDatabase.h"
#include "support/server/EngineDatabase.h"

namespace orvan {
namespace {

// The station's data on the file and on the server.
class StationStoreOnEngines : public test::EngineTest {};
ORVAN_ON_BOTH_ENGINES(StationStoreOnEngines);

constexpr int32_t Margaret = 40;
constexpr int32_t David = 43;

// Hash-like texts: every character a libsodium hash can hold, and a quote.
const std::string HashOne = "$argon2id$v=19$m=65536,t=2,p=1$c2FsdC+/c2Fsd$aGFzaA+/=aGFzaA";
const std::string HashTwo = "$argon2id$v=19$m=65536,t=2,p=1$b3RoZXI$it's+/=";

TEST_P(StationStoreOnEngines, RequirePinOptionRoundTrips) {
    const auto database = NewDatabase();
    test::EngineDatabase& tdb = *database;
    auto db = tdb.NewJetDB();
    StationStore store(db);
    EXPECT_EQ(store.RequirePin(), false);
    EXPECT_TRUE(tdb.IsReleased());

    EXPECT_TRUE(store.SetRequirePin(true));
    EXPECT_TRUE(tdb.IsReleased());
    EXPECT_EQ(tdb.QueryText("SELECT Value FROM StationOption WHERE Name = 'RequirePin'"), "1");
    // The clock program's database object reads it alike.
    StationStore station(tdb.NewJetDB(CJetDB::Variant::Clock));
    EXPECT_EQ(station.RequirePin(), true);

    EXPECT_TRUE(store.SetRequirePin(false));
    EXPECT_EQ(station.RequirePin(), false);
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM StationOption"), 1);
    // The system options row is not touched.
    EXPECT_EQ(tdb.QueryInt("SELECT period_length FROM _System"), 13);
}

TEST_P(StationStoreOnEngines, ThePayScheduleRoundTripsWithItsAuditEntries) {
    const auto database = NewDatabase();
    test::EngineDatabase& tdb = *database;
    auto db = tdb.NewJetDB();
    StationStore store(db);
    const auto never = store.StoredPaySchedule();
    ASSERT_TRUE(never.has_value());
    EXPECT_EQ(never->Kind(), PayScheduleKind::ChosenDay);
    EXPECT_TRUE(tdb.IsReleased());

    const DateTime friday = DateTime::FromParts(2026, 12, 18);
    EXPECT_TRUE(store.SetPaySchedule(PaySchedule(PayScheduleKind::EveryTwoWeeks, friday)));
    EXPECT_TRUE(tdb.IsReleased());
    EXPECT_EQ(tdb.QueryText("SELECT Value FROM StationOption WHERE Name = 'PaySchedule'"),
              "EveryTwoWeeks");
    EXPECT_EQ(tdb.QueryText("SELECT Value FROM StationOption WHERE Name = 'PayScheduleAnchor'"),
              "12/18/2026");
    // The clock program's database object reads it alike.
    StationStore station(tdb.NewJetDB(CJetDB::Variant::Clock));
    const auto read = station.StoredPaySchedule();
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->Kind(), PayScheduleKind::EveryTwoWeeks);
    EXPECT_EQ(read->Anchor(), friday);

    // A kind without an anchor leaves the stored anchor as it is.
    EXPECT_TRUE(store.SetPaySchedule(PaySchedule(PayScheduleKind::TwiceAMonth, DateTime())));
    EXPECT_EQ(station.StoredPaySchedule()->Kind(), PayScheduleKind::TwiceAMonth);
    EXPECT_EQ(station.StoredPaySchedule()->Anchor(), friday);
    // The same schedule again changes nothing and adds no entry.
    EXPECT_TRUE(store.SetPaySchedule(PaySchedule(PayScheduleKind::TwiceAMonth, DateTime())));

    const auto entries = audit::ReadAll(*db);
    ASSERT_TRUE(entries.has_value());
    ASSERT_EQ(entries->size(), 2u);
    EXPECT_EQ((*entries)[0].kind, audit::kOptions);
    EXPECT_EQ((*entries)[0].before, "Pay schedule: Starting on the chosen day");
    EXPECT_EQ((*entries)[0].after, "Pay schedule: Every two weeks from 12/18/2026");
    EXPECT_EQ((*entries)[1].before, "Pay schedule: Every two weeks from 12/18/2026");
    EXPECT_EQ((*entries)[1].after, "Pay schedule: Twice a month");
    EXPECT_TRUE(audit::Verify(*entries).intact);
}

TEST_P(StationStoreOnEngines, PinHashesAreStoredVerbatimAndRemoved) {
    const auto database = NewDatabase(true);
    test::EngineDatabase& tdb = *database;
    StationStore store(tdb.NewJetDB());
    EXPECT_EQ(store.PinHash(Margaret), "");
    EXPECT_EQ(store.EmployeesWithPin(), std::set<int32_t>());

    EXPECT_TRUE(store.SetPinHash(Margaret, HashOne));
    EXPECT_TRUE(store.SetPinHash(David, HashTwo));
    EXPECT_TRUE(tdb.IsReleased());
    EXPECT_EQ(store.PinHash(Margaret), HashOne);
    EXPECT_EQ(store.PinHash(David), HashTwo);
    EXPECT_EQ(tdb.QueryText("SELECT PinHash FROM EmployeePin WHERE EmployeeID = 43"), HashTwo);
    EXPECT_EQ(store.EmployeesWithPin(), (std::set<int32_t>{Margaret, David}));

    EXPECT_TRUE(store.SetPinHash(Margaret, HashTwo)); // replaced, not added
    EXPECT_EQ(store.PinHash(Margaret), HashTwo);
    EXPECT_TRUE(store.SetPinHash(Margaret, ""));
    EXPECT_EQ(store.PinHash(Margaret), "");
    EXPECT_EQ(store.PinHash(David), HashTwo);
    EXPECT_EQ(store.EmployeesWithPin(), std::set<int32_t>{David});
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM EmployeePin"), 1);
}

// The administrator's hash replaces the clear first-time password in one
// unit with its audit entry; a reset puts the first-time password back; a
// unit that fails at its entry keeps neither.
TEST_P(StationStoreOnEngines, TheAdministratorsPasswordIsAHashUntilReset) {
    const auto database = NewDatabase();
    test::EngineDatabase& tdb = *database;
    StationStore store(tdb.NewJetDB());
    const std::string row = "SELECT Password FROM Employee WHERE EmployeeID = 39";
    EXPECT_EQ(store.AdminPasswordHash(), "");
    EXPECT_EQ(tdb.QueryText(row), "renby742");

    ASSERT_TRUE(store.SetAdminPasswordHash(HashTwo));
    EXPECT_TRUE(tdb.IsReleased());
    EXPECT_EQ(store.AdminPasswordHash(), HashTwo);
    EXPECT_EQ(tdb.QueryText(row), "");
    EXPECT_EQ(tdb.QueryText("SELECT Kind || '|' || ValueAfter FROM AuditEntry"),
              "Administrator password|Changed");
    ASSERT_TRUE(store.SetAdminPasswordHash(HashOne));
    EXPECT_EQ(store.AdminPasswordHash(), HashOne);

    ASSERT_TRUE(store.ResetAdminPassword());
    EXPECT_EQ(store.AdminPasswordHash(), "");
    EXPECT_EQ(tdb.QueryText(row), "renby742");
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM AuditEntry"), 3);

    tdb.Exec("ALTER TABLE AuditEntry RENAME TO AuditEntryGone");
    EXPECT_FALSE(store.SetAdminPasswordHash(HashTwo));
    EXPECT_NE(store.ErrorNumber(), 0);
    tdb.Exec("ALTER TABLE AuditEntryGone RENAME TO AuditEntry");
    EXPECT_EQ(store.AdminPasswordHash(), "");
    EXPECT_EQ(tdb.QueryText(row), "renby742");
}

TEST_P(StationStoreOnEngines, FiveWrongPinsInARowLockOutForFiveMinutes) {
    const auto database = NewDatabase(true);
    test::EngineDatabase& tdb = *database;
    StationStore store(tdb.NewJetDB());
    test::ScopedClock clock(DateTime::FromParts(2003, 1, 15, 8, 0, 0));

    for (int32_t wrong = 1; wrong <= 4; ++wrong) {
        const auto run = store.RecordWrongPin(Margaret, DateTime::Now());
        ASSERT_TRUE(run);
        EXPECT_EQ(run->wrongPins, wrong);
        EXPECT_FALSE(run->IsLocked(DateTime::Now()));
        clock.AdvanceSeconds(10);
    }
    const DateTime fifth = DateTime::Now();
    const auto locked = store.RecordWrongPin(Margaret, fifth);
    ASSERT_TRUE(locked);
    EXPECT_TRUE(locked->IsLocked(fifth));
    EXPECT_EQ(locked->lockedUntil, fifth.AddMinutes(5));
    EXPECT_EQ(locked->wrongPins, 0);
    EXPECT_TRUE(tdb.IsReleased());
    // Stored: another object (the other program) reads the same lock-out.
    const auto stored = StationStore(tdb.NewJetDB(CJetDB::Variant::Clock)).Lockout(Margaret);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->lockedUntil, fifth.AddMinutes(5));
    // Only that employee.
    EXPECT_FALSE(store.Lockout(David)->IsLocked(fifth));

    // A wrong PIN during the lock-out neither counts nor extends it.
    clock.AdvanceSeconds(60);
    EXPECT_EQ(store.RecordWrongPin(Margaret, DateTime::Now())->lockedUntil, fifth.AddMinutes(5));

    clock.Set(fifth.AddSeconds(299));
    EXPECT_TRUE(store.Lockout(Margaret)->IsLocked(DateTime::Now()));
    clock.Set(fifth.AddMinutes(5));
    EXPECT_FALSE(store.Lockout(Margaret)->IsLocked(DateTime::Now()));

    // After the lock-out a wrong PIN starts a new run.
    const auto fresh = store.RecordWrongPin(Margaret, DateTime::Now());
    ASSERT_TRUE(fresh);
    EXPECT_EQ(fresh->wrongPins, 1);
    EXPECT_TRUE(fresh->lockedUntil.IsZero());
}

TEST_P(StationStoreOnEngines, ARightPinOrANewPinEndsTheRun) {
    const auto database = NewDatabase(true);
    test::EngineDatabase& tdb = *database;
    StationStore store(tdb.NewJetDB());
    test::ScopedClock clock(DateTime::FromParts(2003, 1, 15, 8, 0, 0));

    for (int i = 0; i < 4; ++i) {
        store.RecordWrongPin(Margaret, DateTime::Now());
    }
    EXPECT_TRUE(store.ClearWrongPins(Margaret));
    EXPECT_EQ(store.Lockout(Margaret)->wrongPins, 0);
    // The count starts again: four more wrong PINs do not lock.
    for (int i = 0; i < 4; ++i) {
        EXPECT_FALSE(store.RecordWrongPin(Margaret, DateTime::Now())->IsLocked(DateTime::Now()));
    }
    EXPECT_TRUE(store.RecordWrongPin(Margaret, DateTime::Now())->IsLocked(DateTime::Now()));

    // The manager gives a new PIN: unlocked at once.
    EXPECT_TRUE(store.SetPinHash(Margaret, HashOne));
    const auto unlocked = store.Lockout(Margaret);
    ASSERT_TRUE(unlocked);
    EXPECT_FALSE(unlocked->IsLocked(DateTime::Now()));
    EXPECT_EQ(unlocked->wrongPins, 0);

    // Removing the PIN ends a run too.
    store.RecordWrongPin(Margaret, DateTime::Now());
    EXPECT_TRUE(store.SetPinHash(Margaret, ""));
    EXPECT_EQ(store.Lockout(Margaret)->wrongPins, 0);
    EXPECT_EQ(tdb.QueryInt("SELECT count(*) FROM StationLockout"), 0);
}

TEST(StationStore, FailuresSayWhyAndReleaseTheFile) {
    StationStore none(nullptr);
    EXPECT_FALSE(none.RequirePin());
    EXPECT_EQ(none.ErrorNumber(), 403);
    EXPECT_FALSE(none.SetPinHash(Margaret, HashOne));

    test::TestDatabase tdb;
    auto missing = tdb.NewJetDB();
    missing->SetDatabaseName((tdb.Folder() / "system" / "gone.mdb").string());
    StationStore lost(missing);
    EXPECT_FALSE(lost.PinHash(Margaret));
    EXPECT_EQ(lost.ErrorNumber(), 14); // SQLite: cannot open
    EXPECT_FALSE(lost.RecordWrongPin(Margaret, DateTime::FromParts(2003, 1, 15)));
    EXPECT_EQ(lost.ErrorNumber(), 14);

    // A table gone from under the store: the statement fails, the file is free.
    tdb.Exec("DROP TABLE StationLockout");
    StationStore store(tdb.NewJetDB());
    EXPECT_FALSE(store.RecordWrongPin(Margaret, DateTime::FromParts(2003, 1, 15)));
    EXPECT_EQ(store.ErrorNumber(), 407);
    EXPECT_TRUE(test::FileIsReleased(tdb.DatabasePath()));
    EXPECT_FALSE(store.SetPinHash(Margaret, HashOne)); // the hash is stored, the run not ended
    EXPECT_TRUE(test::FileIsReleased(tdb.DatabasePath()));
}

} // namespace
} // namespace orvan
