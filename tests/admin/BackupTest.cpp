// The manager's program and the daily copies of the database file: the
// first start of a day makes one, a later start that day does not, the next
// day's does; a folder that cannot take it is logged and the program goes
// on; File, Back Up Now... makes one at once and tells the result.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <filesystem>
#include <string>
#include <vector>

#include <QAction>
#include <QApplication>

#include "AdminTestSupport.h"
#include "admin/AdminMain.h"
#include "admin/FController.h"
#include "storage/MessageBox.h"
#include "storage/SqliteHandle.h"
#include "support/FileRelease.h"

namespace orvan::test {
namespace {

namespace fs = std::filesystem;

int64_t RecordsIn(const fs::path& path) {
    int rc = SQLITE_OK;
    const sqlite::Connection db = sqlite::Open(path.string(), SQLITE_OPEN_READONLY, rc);
    const sqlite::Statement count = sqlite::PrepareOne(db.get(), "SELECT count(*) FROM TimeRecord");
    EXPECT_EQ(sqlite3_step(count.get()), SQLITE_ROW) << path;
    return sqlite3_column_int64(count.get(), 0);
}

bool Logged(const std::vector<std::string>& lines, const std::string& start) {
    for (const std::string& line : lines) {
        if (line.rfind(start, 0) == 0) {
            return true;
        }
    }
    return false;
}

void Exit(AdminInstallation& site) {
    site.Window()->findChild<QAction*>(QStringLiteral("mnuFileExit"))->trigger();
    admin::ReleaseProgram();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void BackUpNow(AdminInstallation& site) {
    site.Window()->findChild<QAction*>(QStringLiteral("mnuFileBackUpNow"))->trigger();
}

TEST(AdminBackup, TheFirstStartOfADayMakesTheDaysCopy) {
    AdminInstallation site(DateTime::FromParts(2003, 1, 15, 8, 5, 42));
    const fs::path backups = site.Database().Folder() / "backups";
    site.Database().AddTimeRecord(39, DateTime::FromParts(2003, 1, 14, 9, 0));
    ASSERT_TRUE(site.StartAndLogIn());
    const fs::path first = backups / "orvan_11-2003-01-15.mdb";
    ASSERT_TRUE(fs::exists(first));
    EXPECT_EQ(RecordsIn(first), 1);
    EXPECT_TRUE(site.Shown().empty());
    EXPECT_TRUE(FileIsReleased(site.Database().DatabasePath()));
    Exit(site);

    site.Database().AddTimeRecord(39, DateTime::FromParts(2003, 1, 15, 9, 0));
    site.Clock().Set(DateTime::FromParts(2003, 1, 15, 17, 0));
    ASSERT_TRUE(site.StartAndLogIn());
    EXPECT_EQ(RecordsIn(first), 1);
    Exit(site);

    site.Clock().Set(DateTime::FromParts(2003, 1, 16, 7, 0));
    ASSERT_TRUE(site.StartAndLogIn());
    EXPECT_EQ(RecordsIn(backups / "orvan_11-2003-01-16.mdb"), 2);
    EXPECT_EQ(RecordsIn(first), 1);
}

TEST(AdminBackup, AFolderThatCannotTakeTheCopyIsLoggedAndTheProgramGoesOn) {
    AdminInstallation site;
    WriteAll(site.Database().Folder() / "backups", "a file, not a folder");
    ASSERT_TRUE(site.StartAndLogIn());
    ASSERT_NE(site.Window(), nullptr);
    EXPECT_TRUE(site.Window()->isVisible());
    EXPECT_TRUE(site.Shown().empty());
    EXPECT_TRUE(Logged(site.LogLines(), "Error: 521 : The database could not be backed up to "))
        << ::testing::PrintToString(site.LogLines());
    EXPECT_TRUE(FileIsReleased(site.Database().DatabasePath()));
}

TEST(AdminBackup, BackUpNowReplacesTodaysCopyAndTellsTheResult) {
    AdminInstallation site;
    ASSERT_TRUE(site.StartAndLogIn());
    const fs::path backups = site.Database().Folder() / "backups";
    const fs::path today = backups / "orvan_11-2003-01-15.mdb";
    ASSERT_EQ(RecordsIn(today), 0);
    site.Database().AddTimeRecord(39, DateTime::FromParts(2003, 1, 15, 9, 0));

    BackUpNow(site);
    EXPECT_EQ(site.LastMessage(),
              "Back Up Now|The database was backed up to " + today.string() + ".");
    EXPECT_EQ(site.LastStyle(), MsgIconInformation | MsgButtonsOK);
    EXPECT_EQ(RecordsIn(today), 1);

    fs::remove_all(backups);
    WriteAll(backups, "a file, not a folder");
    BackUpNow(site);
    EXPECT_EQ(site.LastMessage().rfind("Back Up Now|The database could not be backed up to " +
                                           today.string() + ": the folder " + backups.string(),
                                       0),
              0U)
        << site.LastMessage();
    EXPECT_EQ(site.LastStyle(), MsgIconExclamation | MsgButtonsOK);
    EXPECT_TRUE(Logged(site.LogLines(), "Error: 521 : "));
    EXPECT_TRUE(FileIsReleased(site.Database().DatabasePath()));
}

} // namespace
} // namespace orvan::test
