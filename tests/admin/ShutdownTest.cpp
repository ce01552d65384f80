// Shutdown: Cleanup saves the options and the configuration file and ends
// the program; when the database cannot be reopened nothing is saved and the
// main window stays open, so no process is left without a window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "AdminTestSupport.h"
#include "admin/AdminMain.h"
#include "admin/CController.h"
#include "admin/FAbout.h"
#include "admin/FController.h"
#include "storage/CJetDB.h"
#include "storage/CSystemOptions.h"
#include "storage/MessageBox.h"
#include "support/LockingProcess.h"

namespace orvan::test {
namespace {

TEST(AdminShutdown, CleanupSavesOptionsAndConfigurationAndEnds) {
    AdminInstallation site;
    ASSERT_TRUE(site.StartAndLogIn());
    site.Controller()->SystemOptions()->SetPeriodLength(14);
    site.WriteConfig("changed by hand\r\n");

    EXPECT_TRUE(site.Controller()->Cleanup());
    EXPECT_TRUE(admin::ProgramEnded());
    EXPECT_TRUE(site.Shown().empty());
    EXPECT_EQ(site.Database().QueryInt("SELECT period_length FROM _System"), 14);
    // The configuration as read at start comes back (no BusyTimeout added).
    EXPECT_EQ(site.ConfigText(), "DatabasePath=<app.path>\\system\\orvan_11.mdb\r\n"
                                 "ShowLoginHelp=True\r\n");
    EXPECT_EQ(site.Controller()->ControllerWindow(), nullptr);
    const auto lines = site.LogLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[4], "session end");
    site.Database().Exec("UPDATE _System SET version = '1.0'");
}

// A BusyTimeout line is kept where it stands and written back as it was.
TEST(AdminShutdown, ABusyTimeoutLineIsWrittenBackAsItWas) {
    AdminInstallation site;
    const std::string config = "DatabasePath=<app.path>\\system\\orvan_11.mdb\r\n"
                               "BusyTimeout=1500\r\n"
                               "ShowLoginHelp=True\r\n";
    site.WriteConfig(config);
    ASSERT_TRUE(site.StartAndLogIn());
    EXPECT_EQ(site.Controller()->OrvanDatabase()->BusyTimeout(), 1500);
    EXPECT_TRUE(site.Controller()->Cleanup());
    EXPECT_EQ(site.ConfigText(), config);
}

// The database held by the clock program at exit: the warning, nothing
// saved, and the main window back on the screen; the next close succeeds.
// The configuration file's busy timeout keeps the waits short.
TEST(AdminShutdown, HeldDatabaseKeepsTheMainWindowOpen) {
    AdminInstallation site;
    site.Database().AddConfigLine("BusyTimeout=" + std::to_string(TestBusyTimeout));
    ASSERT_TRUE(site.StartAndLogIn());
    admin::CController& controller = *site.Controller();
    controller.SystemOptions()->SetPeriodLength(20);
    admin::FController* window = site.Window();
    ASSERT_NE(window, nullptr);
    const std::string configBefore = site.ConfigText();
    {
        LockingProcess clock(site.Database().DatabasePath(), HeldPastTestBusyTimeout);
        EXPECT_TRUE(controller.UnloadControllerWindow());
        EXPECT_FALSE(window->isVisible());
        EXPECT_FALSE(controller.Cleanup());
    }
    EXPECT_EQ(site.LastMessage(),
              "Database Open Error|The database is currently open in another application. "
              "Please close the database before continuing.");
    EXPECT_EQ(site.LastStyle(), MsgIconExclamation);
    EXPECT_FALSE(admin::ProgramEnded());
    EXPECT_EQ(controller.ControllerWindow(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(site.Database().QueryInt("SELECT period_length FROM _System"), 13);
    EXPECT_EQ(site.ConfigText(), configBefore);

    EXPECT_TRUE(controller.Cleanup());
    EXPECT_TRUE(admin::ProgramEnded());
    EXPECT_EQ(site.Database().QueryInt("SELECT period_length FROM _System"), 20);
}

// Closing the window itself while the clock program holds the file: the
// close is refused and the window stays for a later close.
TEST(AdminShutdown, ClosingTheWindowWhileTheDatabaseIsHeldKeepsItOpen) {
    AdminInstallation site;
    site.Database().AddConfigLine("BusyTimeout=" + std::to_string(TestBusyTimeout));
    ASSERT_TRUE(site.StartAndLogIn());
    admin::FController* window = site.Window();
    ASSERT_NE(window, nullptr);
    {
        // Held past both the options update and the reopening attempt.
        LockingProcess clock(site.Database().DatabasePath(),
                             TestBusyTimeout + HeldPastTestBusyTimeout);
        EXPECT_FALSE(window->close());
    }
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(site.Window(), window);
    EXPECT_FALSE(admin::ProgramEnded());
    EXPECT_EQ(site.LastMessage(),
              "Database Open Error|The database is currently open in another application. "
              "Please close the database before continuing.");

    EXPECT_TRUE(window->close());
    EXPECT_TRUE(admin::ProgramEnded());
}

TEST(AdminShutdown, MissingDatabaseAtExitSavesNothing) {
    AdminInstallation site;
    ASSERT_TRUE(site.StartAndLogIn());
    std::filesystem::rename(site.Database().DatabasePath(),
                            site.Database().DatabasePath() + ".away");
    EXPECT_FALSE(site.Controller()->Cleanup());
    EXPECT_EQ(site.LastMessage(),
              "Database Open Error|The database cannot be opened because it is missing or "
              "corrupt.");
    ASSERT_NE(site.Window(), nullptr);
    EXPECT_TRUE(site.Window()->isVisible());
    std::filesystem::rename(site.Database().DatabasePath() + ".away",
                            site.Database().DatabasePath());
}

TEST(AdminShutdown, ConfigurationThatCannotBeWrittenIsReported) {
    AdminInstallation site;
    ASSERT_TRUE(site.StartAndLogIn());
    std::filesystem::remove(site.Database().ConfigPath());
    std::filesystem::create_directory(site.Database().ConfigPath());
    EXPECT_TRUE(site.Controller()->Cleanup());
    EXPECT_EQ(site.LastMessage(),
              "Update Configuration Error|An error occurred while saving program configuration "
              "settings. Please check the program configuration before next use.");
    EXPECT_TRUE(admin::ProgramEnded());
}

TEST(AdminAbout, CaptionLabelAndPicture) {
    admin::FAbout about;
    EXPECT_EQ(about.windowTitle(), QStringLiteral("About Orvan - Administrator 1.0"));
    auto* label = about.findChild<QLabel*>(QStringLiteral("lblTitle"));
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), QStringLiteral("Velmora -  Administrator 1.0"));
    EXPECT_EQ(label->font().family(), QStringLiteral("Lucida Sans Unicode"));
    auto* picture = about.findChild<QLabel*>(QStringLiteral("picLogo"));
    ASSERT_NE(picture, nullptr);
    EXPECT_FALSE(picture->pixmap().isNull());
    auto* ok = about.findChild<QPushButton*>(QStringLiteral("cmdOK"));
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text(), QStringLiteral("OK"));
}

} // namespace
} // namespace orvan::test
