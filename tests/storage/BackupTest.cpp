// The database's daily copies under backups/: the copy itself (consistent
// while another connection writes, waiting for a program that holds the
// file), the daily rule by the program clock, the retention, a folder that
// cannot take a copy, the server engine (no copies) and the restore.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <filesystem>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "core/DateTime.h"
#include "storage/CJetDB.h"
#include "storage/DatabaseBackup.h"
#include "storage/PrivateFiles.h"
#include "storage/SqliteHandle.h"
#include "support/LockingProcess.h"
#include "support/ScopedUmask.h"
#include "support/TestDatabase.h"
#include "support/TestSupport.h"

namespace orvan::test {
namespace {

namespace fs = std::filesystem;
using backup::Result;

// One whole number from any database file (opened for reading only).
int64_t QueryIntIn(const std::string& path, const std::string& sql) {
    int rc = SQLITE_OK;
    const sqlite::Connection db = sqlite::Open(path, SQLITE_OPEN_READONLY, rc);
    EXPECT_EQ(rc, SQLITE_OK) << path;
    const sqlite::Statement statement = sqlite::PrepareOne(db.get(), sql);
    EXPECT_EQ(sqlite3_step(statement.get()), SQLITE_ROW) << sql;
    return sqlite3_column_int64(statement.get(), 0);
}

std::string IntegrityOf(const std::string& path) {
    int rc = SQLITE_OK;
    const sqlite::Connection db = sqlite::Open(path, SQLITE_OPEN_READONLY, rc);
    const sqlite::Statement statement = sqlite::PrepareOne(db.get(), "PRAGMA integrity_check");
    if (sqlite3_step(statement.get()) != SQLITE_ROW) {
        return sqlite3_errmsg(db.get());
    }
    return reinterpret_cast<const char*>(sqlite3_column_text(statement.get(), 0));
}

int64_t Records(const std::string& path) {
    return QueryIntIn(path, "SELECT count(*) FROM TimeRecord");
}

std::set<std::string> FilesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

DateTime Day(int year, int month, int day, int hour = 0, int minute = 0) {
    return DateTime::FromParts(year, month, day, hour, minute);
}

// An installation that is the program folder, with "now" fixed.
class Backup : public ::testing::Test {
protected:
    Backup() : m_clock(Day(2026, 3, 5, 7, 30)) { m_db.UseAsProgramFolder(); }

    fs::path Folder() const { return m_db.Folder() / "backups"; }
    std::string Database() const { return m_db.DatabasePath(); }
    void AddRecord() const { m_db.AddTimeRecord(39, Day(2026, 3, 5, 8, 0)); }

    TestDatabase m_db;
    ScopedClock m_clock;
};

TEST_F(Backup, TheNamesCarryTheDay) {
    EXPECT_EQ(backup::BackupFileName(Day(2026, 12, 10, 23, 59)), "orvan_11-2026-12-10.mdb");
    EXPECT_EQ(backup::BackupDayOf("orvan_11-2026-02-28.mdb"), Day(2026, 2, 28));
    for (const char* other :
         {"orvan_11-2026-02-30.mdb", "orvan_11-2026-13-01.mdb", "orvan_11-2026-2-28.mdb",
          "orvan_11-2026-02-28.mdb.bak", "orvan_11-2026_02_28.mdb", "orvan_11.mdb", "notes.txt"}) {
        EXPECT_FALSE(backup::BackupDayOf(other)) << other;
    }
}

// The manager's rule: the first start of a day makes the day's copy, a
// later one that day leaves it alone, the next day makes another.
TEST_F(Backup, TheFirstBackupOfADayMakesACopyALaterOneDoesNot) {
    AddRecord();
    const Result first = backup::BackUpIfDue(Database(), 1000);
    ASSERT_EQ(first.outcome, Result::Outcome::Made) << first.reason;
    const fs::path today = Folder() / "orvan_11-2026-03-05.mdb";
    EXPECT_EQ(first.path, today.string());
    EXPECT_EQ(IntegrityOf(today), "ok");
    EXPECT_EQ(Records(today), 1);
    EXPECT_EQ(ModeOf(today.c_str()), 0660);
    EXPECT_EQ(ModeOf(Folder().c_str()), 0770);
    EXPECT_EQ(FilesIn(Folder()), std::set<std::string>{"orvan_11-2026-03-05.mdb"});

    AddRecord();
    m_clock.Set(Day(2026, 3, 5, 23, 59));
    EXPECT_EQ(backup::BackUpIfDue(Database(), 1000).outcome, Result::Outcome::NotDue);
    EXPECT_EQ(Records(today), 1);

    m_clock.Set(Day(2026, 3, 6, 0, 1));
    ASSERT_EQ(backup::BackUpIfDue(Database(), 1000).outcome, Result::Outcome::Made);
    EXPECT_EQ(Records(Folder() / "orvan_11-2026-03-06.mdb"), 2);
    EXPECT_EQ(Records(today), 1);
}

// Back Up Now replaces the day's copy.
TEST_F(Backup, BackingUpNowReplacesTheDaysCopy) {
    ASSERT_EQ(backup::BackUpNow(Database(), 1000).outcome, Result::Outcome::Made);
    AddRecord();
    ASSERT_EQ(backup::BackUpNow(Database(), 1000).outcome, Result::Outcome::Made);
    EXPECT_EQ(Records(Folder() / "orvan_11-2026-03-05.mdb"), 1);
    EXPECT_EQ(FilesIn(Folder()).size(), 1U);
}

// The station's rule: its first action of a day without a copy makes one;
// after a failure it tries again only after a pause.
TEST_F(Backup, TheStationBacksUpAtItsFirstActionAfterMidnight) {
    backup::DailyBackup daily;
    m_clock.Set(Day(2026, 3, 5, 23, 58));
    ASSERT_EQ(daily.RunIfDue(Database(), 1000).outcome, Result::Outcome::Made);
    m_clock.Set(Day(2026, 3, 5, 23, 59));
    EXPECT_EQ(daily.RunIfDue(Database(), 1000).outcome, Result::Outcome::NotDue);

    m_clock.Set(Day(2026, 3, 6, 0, 2));
    const Result next = daily.RunIfDue(Database(), 1000);
    ASSERT_EQ(next.outcome, Result::Outcome::Made);
    EXPECT_EQ(next.path, (Folder() / "orvan_11-2026-03-06.mdb").string());

    // A copy the other program made first counts as the day's.
    m_clock.Set(Day(2026, 3, 7, 6, 0));
    ASSERT_EQ(backup::BackUpIfDue(Database(), 1000).outcome, Result::Outcome::Made);
    AddRecord();
    m_clock.Set(Day(2026, 3, 7, 6, 5));
    EXPECT_EQ(daily.RunIfDue(Database(), 1000).outcome, Result::Outcome::NotDue);
    EXPECT_EQ(Records(Folder() / "orvan_11-2026-03-07.mdb"), 0);
}

TEST_F(Backup, AFolderThatCannotTakeACopyFailsAndIsTriedAgainLater) {
    WriteAll(Folder(), "not a folder");
    backup::DailyBackup daily;
    m_clock.Set(Day(2026, 3, 6, 0, 5));
    const Result failed = daily.RunIfDue(Database(), 1000);
    ASSERT_EQ(failed.outcome, Result::Outcome::Failed);
    EXPECT_NE(failed.reason.find("backups"), std::string::npos) << failed.reason;
    EXPECT_EQ(backup::FailureLogLine(failed),
              "Error: 521 : The database could not be backed up to " + failed.path + ": " +
                  failed.reason);
    EXPECT_EQ(ReadAll(Folder()), "not a folder");

    m_clock.Set(Day(2026, 3, 6, 0, 30));
    EXPECT_EQ(daily.RunIfDue(Database(), 1000).outcome, Result::Outcome::NotDue);
    fs::remove(Folder());
    m_clock.Set(Day(2026, 3, 6, 1, 5));
    EXPECT_EQ(daily.RunIfDue(Database(), 1000).outcome, Result::Outcome::Made);
}

// The 30 newest copies and the first copy of each of the 12 newest months
// stay; every other copy goes, and nothing else in the folder is touched.
TEST_F(Backup, TheRetentionKeepsThirtyDailyAndTwelveMonthlyCopies) {
    ASSERT_TRUE(MakePrivateFolder(Folder().string()));
    std::set<std::string> expected;
    for (DateTime day = Day(2025, 9, 20); day < Day(2026, 12, 10); day = day.AddDays(1)) {
        // May 2026's first copy is of the 3rd.
        if (day == Day(2026, 5, 1) || day == Day(2026, 5, 2)) {
            continue;
        }
        WriteAll(Folder() / backup::BackupFileName(day), "");
        const bool daily = day >= Day(2026, 11, 11);
        const bool monthly = day >= Day(2026, 1, 1) && (day.Day() == 1 || day == Day(2026, 5, 3));
        if (daily || monthly) {
            expected.insert(backup::BackupFileName(day));
        }
    }
    const std::vector<std::string> others = {"notes.txt", "orvan_11-2025-13-01.mdb",
                                             "orvan_11-2025-10-01.mdb.bak",
                                             ".orvan_11-2026-12-10.mdb.Ab3dE9"};
    for (const std::string& name : others) {
        WriteAll(Folder() / name, "x");
        expected.insert(name);
    }
    // Left by a copy of an earlier day that never finished.
    WriteAll(Folder() / ".orvan_11-2026-12-01.mdb.Zz9xY1", "x");

    m_clock.Set(Day(2026, 12, 10, 8, 0));
    ASSERT_EQ(backup::BackUpIfDue(Database(), 1000).outcome, Result::Outcome::Made);
    expected.insert("orvan_11-2026-12-10.mdb");
    EXPECT_EQ(FilesIn(Folder()), expected);
    EXPECT_EQ(expected.size(), 30U + 11U + others.size());
}

// The copy is taken under one read lock: while another connection keeps
// writing pairs of records, it passes the integrity check and holds every
// record committed before it began, in whole transactions.
TEST_F(Backup, ACopyTakenWhileAnotherConnectionWritesIsConsistent) {
    std::atomic<int64_t> committed{0};
    std::atomic<bool> stop{false};
    std::thread writer([&] {
        const std::string path = Database();
        while (!stop) {
            int rc = SQLITE_OK;
            const sqlite::Connection db = sqlite::Open(path, SQLITE_OPEN_READWRITE, rc);
            sqlite3_busy_timeout(db.get(), 10000);
            rc = sqlite3_exec(db.get(),
                              "BEGIN EXCLUSIVE;"
                              "INSERT INTO TimeRecord (EmployeeID, StartTime) VALUES (39, 1);"
                              "INSERT INTO TimeRecord (EmployeeID, StartTime) VALUES (39, 2);"
                              "COMMIT;",
                              nullptr, nullptr, nullptr);
            if (rc == SQLITE_OK) {
                committed += 2;
            }
        }
    });
    while (committed < 200) {
        std::this_thread::yield();
    }
    const int64_t before = committed;
    const Result copy = backup::BackUpNow(Database(), 10000);
    stop = true;
    writer.join();
    ASSERT_EQ(copy.outcome, Result::Outcome::Made) << copy.reason;
    EXPECT_EQ(IntegrityOf(copy.path), "ok");
    const int64_t copied = Records(copy.path);
    EXPECT_GE(copied, before);
    EXPECT_LE(copied, committed.load());
    EXPECT_EQ(copied % 2, 0);
    EXPECT_EQ(QueryIntIn(copy.path, "SELECT max(TimeRecordID) FROM TimeRecord"), copied);
}

// A program holding the file for a statement is waited for; one holding it
// past the busy timeout makes the copy fail, leaving no file behind.
TEST_F(Backup, AHeldFileIsWaitedForUntilTheBusyTimeout) {
    {
        LockingProcess program(Database(), 300);
        EXPECT_EQ(backup::BackUpNow(Database(), 5000).outcome, Result::Outcome::Made);
    }
    m_clock.Set(Day(2026, 3, 6, 7, 30));
    LockingProcess program(Database(), LockingProcess::UntilReleased);
    const Result held = backup::BackUpNow(Database(), TestBusyTimeout);
    EXPECT_EQ(held.outcome, Result::Outcome::Failed);
    EXPECT_NE(held.reason.find("busy timeout"), std::string::npos) << held.reason;
    EXPECT_EQ(FilesIn(Folder()), std::set<std::string>{"orvan_11-2026-03-05.mdb"});
}

TEST_F(Backup, ADatabaseOnAServerIsNeverCopied) {
    const std::string server = "postgresql://orvan@localhost/orvan";
    EXPECT_EQ(backup::BackUpIfDue(server, 1000).outcome, Result::Outcome::ServerEngine);
    EXPECT_EQ(backup::BackUpNow(server, 1000).outcome, Result::Outcome::ServerEngine);
    backup::DailyBackup daily;
    EXPECT_EQ(daily.RunIfDue(server, 1000).outcome, Result::Outcome::ServerEngine);
    EXPECT_FALSE(fs::exists(Folder()));
}

// The restore: the copy's data back in the database file, the file as it
// was kept beside it, both private.
TEST_F(Backup, ARestorePutsTheCopyBackAndKeepsTheReplacedFile) {
    const ScopedUmask umask(0);
    AddRecord();
    const Result copy = backup::BackUpNow(Database(), 1000);
    ASSERT_EQ(copy.outcome, Result::Outcome::Made);
    AddRecord();
    AddRecord();

    std::string replaced;
    std::string reason;
    ASSERT_TRUE(backup::RestoreDatabase(copy.path, Database(), 1000, Day(2026, 3, 5, 9, 4),
                                        replaced, reason))
        << reason;
    EXPECT_EQ(replaced, Database() + ".replaced-20260305-090400");
    EXPECT_EQ(Records(Database()), 1);
    EXPECT_EQ(IntegrityOf(Database()), "ok");
    EXPECT_EQ(Records(replaced), 3);
    EXPECT_EQ(ModeOf(Database().c_str()), 0660);
    EXPECT_EQ(ModeOf(replaced.c_str()), 0660);
    // The programs open it as before.
    const auto database = m_db.NewJetDB();
    EXPECT_TRUE(database->OpenDB(Database()));
    database->CloseDB();
    EXPECT_FALSE(fs::exists(Database() + "-journal"));
}

TEST_F(Backup, ARestoreIsRefusedWhileAProgramHoldsTheFile) {
    const Result copy = backup::BackUpNow(Database(), 1000);
    ASSERT_EQ(copy.outcome, Result::Outcome::Made);
    AddRecord();
    const std::set<std::string> before = FilesIn(m_db.Folder() / "system");
    std::string replaced;
    std::string reason;
    {
        LockingProcess program(Database(), LockingProcess::UntilReleased);
        EXPECT_FALSE(backup::RestoreDatabase(copy.path, Database(), TestBusyTimeout,
                                             Day(2026, 3, 5, 9, 4), replaced, reason));
    }
    EXPECT_NE(reason.find("a program is using"), std::string::npos) << reason;
    EXPECT_TRUE(replaced.empty());
    EXPECT_EQ(Records(Database()), 1);
    EXPECT_EQ(FilesIn(m_db.Folder() / "system"), before);
}

TEST_F(Backup, ARestoreTakesOnlyAnIntactOrvanDatabase) {
    const TempDir other;
    const fs::path text = other / "orvan_11-2026-03-01.mdb";
    WriteAll(text, "no database at all, only text that is long enough to be read");
    const fs::path foreign = other / "foreign.mdb";
    {
        int rc = SQLITE_OK;
        const sqlite::Connection db =
            sqlite::Open(foreign.string(), SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, rc);
        sqlite3_exec(db.get(), "CREATE TABLE Employee (x)", nullptr, nullptr, nullptr);
    }
    AddRecord();
    const std::set<std::string> before = FilesIn(m_db.Folder() / "system");
    for (const fs::path& file : {text, foreign, other / "missing.mdb"}) {
        std::string replaced;
        std::string reason;
        EXPECT_FALSE(backup::RestoreDatabase(file.string(), Database(), 1000, Day(2026, 3, 5),
                                             replaced, reason))
            << file;
        EXPECT_FALSE(reason.empty());
    }
    EXPECT_EQ(Records(Database()), 1);
    EXPECT_EQ(FilesIn(m_db.Folder() / "system"), before);
}

// A database file the disk damaged is replaced by the copy all the same.
TEST_F(Backup, ARestoreReplacesADamagedFile) {
    AddRecord();
    const Result copy = backup::BackUpNow(Database(), 1000);
    ASSERT_EQ(copy.outcome, Result::Outcome::Made);
    WriteAll(Database(), std::string(4096, 'x'));
    std::string replaced;
    std::string reason;
    ASSERT_TRUE(backup::RestoreDatabase(copy.path, Database(), 1000, Day(2026, 3, 5, 9, 4),
                                        replaced, reason))
        << reason;
    EXPECT_EQ(Records(Database()), 1);
    EXPECT_EQ(ReadAll(replaced), std::string(4096, 'x'));
}

} // namespace
} // namespace orvan::test
