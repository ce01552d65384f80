// The installation's folders and files are open to their owner and group
// only, whatever the umask. The modes are read with stat: the tests run as
// root, which opens any file, so trying to open one would prove nothing.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/DateTime.h"
#include "storage/CFile.h"
#include "storage/CFileAdaptor.h"
#include "storage/ErrorLog.h"
#include "storage/Installer.h"
#include "storage/PrivateFiles.h"
#include "storage/SqliteHandle.h"
#include "support/ScopedUmask.h"
#include "support/TempDir.h"
#include "support/TestSupport.h"

namespace orvan::test {
namespace {

namespace fs = std::filesystem;

int ModeOf(const fs::path& path) {
    return test::ModeOf(path.c_str());
}

TEST(PrivateFiles, AnInstallationIsPrivateWhateverTheUmask) {
    for (const mode_t mask : {mode_t{022}, mode_t{0}}) {
        SCOPED_TRACE("umask " + std::to_string(mask));
        const ScopedUmask umask(mask);
        TempDir dir;
        const fs::path root = dir / "orvan";
        std::vector<std::string> created;
        std::string message;
        ASSERT_TRUE(Installer::Install(root.string(), false, DateTime::FromParts(2003, 1, 15),
                                       created, message))
            << message;
        EXPECT_EQ(ModeOf(root / "system"), 0770);
        EXPECT_EQ(ModeOf(root / "reports"), 0770);
        EXPECT_EQ(ModeOf(root / "system" / "orvan_11.mdb"), 0660);
        EXPECT_EQ(ModeOf(root / "system" / "orvan_11.cfg"), 0660);

        // A journal takes the database file's mode.
        {
            int rc = SQLITE_OK;
            const sqlite::Connection db = sqlite::Open((root / "system" / "orvan_11.mdb").string(),
                                                       SQLITE_OPEN_READWRITE, rc);
            ASSERT_EQ(rc, SQLITE_OK);
            ASSERT_EQ(sqlite3_exec(db.get(), "BEGIN; UPDATE _System SET period_length = 14",
                                   nullptr, nullptr, nullptr),
                      SQLITE_OK);
            EXPECT_EQ(ModeOf(root / "system" / "orvan_11.mdb-journal"), 0660);
            sqlite3_exec(db.get(), "ROLLBACK", nullptr, nullptr, nullptr);
        }

        // The files the programs write: a report, the error logs (the
        // clock's also when it is trimmed) and the configuration file.
        CFile report;
        ASSERT_TRUE(report.OpenFile((root / "reports" / "r.txt").string(), 1));
        report.CloseFile();
        EXPECT_EQ(ModeOf(root / "reports" / "r.txt"), 0660);
        CFile log;
        ASSERT_TRUE(OpenErrorLog(log, (root / "system" / "errorlog.txt").string()));
        CloseErrorLog(log);
        EXPECT_EQ(ModeOf(root / "system" / "errorlog.txt"), 0660);
        {
            AppendedErrorLog clockLog(200);
            ASSERT_TRUE(clockLog.Open((root / "system" / "clockerrorlog.txt").string()));
            for (int i = 0; i < 10; ++i) {
                clockLog.WriteLine("Error: 14 : line " + std::to_string(i));
            }
            clockLog.Close();
        }
        EXPECT_LE(fs::file_size(root / "system" / "clockerrorlog.txt"), 200u);
        EXPECT_EQ(ModeOf(root / "system" / "clockerrorlog.txt"), 0660);
        CFileAdaptor config;
        config.AddLine("DatabasePath=x");
        const fs::path fresh = root / "system" / "new.cfg";
        ASSERT_TRUE(config.WriteFile(fresh.string()));
        EXPECT_EQ(ModeOf(fresh), 0660);
    }
}

TEST(PrivateFiles, AnOlderInstallationLosesTheWorldsAccessOnce) {
    TempDir dir;
    const fs::path system = dir / "system";
    const fs::path reports = dir / "reports";
    const fs::path inner = reports / "old";
    fs::create_directories(inner);
    fs::create_directories(system);
    TempDir outside;
    const fs::path elsewhere = outside / "elsewhere.txt";
    for (const fs::path& file :
         {system / "orvan_11.mdb", system / "orvan_11.cfg", reports / "a.txt", inner / "b.txt",
          elsewhere, dir / "documentation.txt"}) {
        WriteAll(file, "x");
        ::chmod(file.c_str(), 0644);
    }
    const fs::path backups = dir / "backups";
    fs::create_directories(backups);
    WriteAll(backups / "orvan_11-2003-01-15.mdb", "x");
    ::chmod((backups / "orvan_11-2003-01-15.mdb").c_str(), 0664);
    ::chmod(backups.c_str(), 0755);
    ::chmod(system.c_str(), 0755);
    ::chmod(reports.c_str(), 0777);
    ::chmod(inner.c_str(), 0705);
    ::chmod((reports / "a.txt").c_str(), 0606);
    fs::create_symlink(elsewhere, reports / "link.txt");

    EXPECT_TRUE(MakeInstallationPrivate(dir.Path().string()));
    EXPECT_EQ(ModeOf(system), 0750);
    EXPECT_EQ(ModeOf(reports), 0770);
    EXPECT_EQ(ModeOf(inner), 0700);
    EXPECT_EQ(ModeOf(system / "orvan_11.mdb"), 0640);
    EXPECT_EQ(ModeOf(system / "orvan_11.cfg"), 0640);
    EXPECT_EQ(ModeOf(reports / "a.txt"), 0600);
    EXPECT_EQ(ModeOf(inner / "b.txt"), 0640);
    EXPECT_EQ(ModeOf(backups), 0750);
    EXPECT_EQ(ModeOf(backups / "orvan_11-2003-01-15.mdb"), 0660);
    // Neither followed out of the installation nor outside its three folders.
    EXPECT_EQ(ModeOf(elsewhere), 0644);
    EXPECT_EQ(ModeOf(dir / "documentation.txt"), 0644);

    EXPECT_FALSE(MakeInstallationPrivate(dir.Path().string()));
    ::chmod((inner / "b.txt").c_str(), 0641);
    EXPECT_TRUE(MakeInstallationPrivate(dir.Path().string()));
    EXPECT_EQ(ModeOf(inner / "b.txt"), 0640);
}

TEST(PrivateFiles, LinkedFoldersArePrivateWhereTheyLie) {
    // A program folder whose system and reports folders are links to the
    // installation elsewhere, as the Debian package lays them out.
    TempDir programs;
    TempDir data;
    TempDir outside;
    const fs::path system = data / "system";
    const fs::path reports = data / "reports";
    fs::create_directories(system);
    fs::create_directories(reports);
    const fs::path elsewhere = outside / "elsewhere.txt";
    for (const fs::path& file : {system / "orvan_11.mdb", reports / "a.txt", elsewhere}) {
        WriteAll(file, "x");
        ::chmod(file.c_str(), 0664);
    }
    ::chmod(system.c_str(), 02775);
    ::chmod(reports.c_str(), 0777);
    fs::create_symlink(elsewhere, system / "link.txt");
    fs::create_directory_symlink(system, programs / "system");
    fs::create_directory_symlink(reports, programs / "reports");

    EXPECT_TRUE(MakeInstallationPrivate(programs.Path().string()));
    EXPECT_EQ(ModeOf(system), 02770);
    EXPECT_EQ(ModeOf(reports), 0770);
    EXPECT_EQ(ModeOf(system / "orvan_11.mdb"), 0660);
    EXPECT_EQ(ModeOf(reports / "a.txt"), 0660);
    EXPECT_EQ(ModeOf(elsewhere), 0664);
    EXPECT_FALSE(MakeInstallationPrivate(programs.Path().string()));
}

} // namespace
} // namespace orvan::test
