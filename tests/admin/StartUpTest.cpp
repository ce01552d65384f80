// Start-up of the manager's program: each failure gets its exact box and
// ends (or does not end) the program, a finished start-up leaves the
// database file free for the clock program, and the error log holds only the
// current run.

#include <gtest/gtest.h>

#include <filesystem>

#include "AdminTestSupport.h"
#include "admin/AdminMain.h"
#include "admin/CController.h"
#include "admin/FController.h"
#include "admin/FLogin.h"
#include "core/CTimeRecordFactory.h"
#include "core/Program.h"
#include "personnel/CCompanyList.h"
#include "personnel/CEmployeeList.h"
#include "storage/CJetDB.h"
#include "storage/CSystemOptions.h"
#include "storage/MessageBox.h"
#include "support/LockingProcess.h"

namespace orvan::test {
namespace {

namespace fs = std::filesystem;

const char* const MissingOrCorrupt =
    "Database Open Error|The database cannot be opened because it is missing or corrupt.";
const char* const HeldElsewhere =
    "Database Open Error|The database is currently open in another application. Please close "
    "the database before continuing.";
const char* const OptionsNotLoaded =
    "System Configuration Error|An error occurred while loading system options. Check these "
    "options before continuing program usage.";
const char* const ListsNotBuilt =
    "List Construction Error|An error occurred while loading the data lists. The program may "
    "not function correctly until this error is corrected.";

TEST(AdminStartUp, LoginOpensTheMainWindowAndReleasesTheDatabase) {
    AdminInstallation site;
    ASSERT_TRUE(site.StartAndLogIn());
    ASSERT_NE(site.Window(), nullptr);
    EXPECT_TRUE(site.Window()->isVisible());
    EXPECT_TRUE(site.Shown().empty());
    EXPECT_FALSE(admin::ProgramEnded());

    // No failure was logged, and the run's log is still open.
    EXPECT_EQ(site.LogLines(), (std::vector<std::string>{"session begin", "1/15/2003 8:05:42 AM",
                                                         "------------------------------"}));

    const admin::CController& controller = *site.Controller();
    ASSERT_NE(controller.OrvanDatabase(), nullptr);
    EXPECT_FALSE(controller.OrvanDatabase()->DatabaseOpen());
    EXPECT_EQ(controller.SystemOptions()->PeriodLength(), 13);
    EXPECT_EQ(controller.EmployeeList()->Count(), 1); // the administrator
    EXPECT_NE(controller.CompanyList(), nullptr);
    EXPECT_EQ(Program::TimeRecordFactory(), controller.TimeRecordFactory());
    EXPECT_EQ(controller.TimeRecordFactory()->OrvanDatabase(), controller.OrvanDatabase());
    // Not held: another connection writes at once.
    site.Database().Exec("UPDATE _System SET version = '1.0'");
}

TEST(AdminStartUp, ControllerReloadsItsListsInPlace) {
    AdminInstallation site;
    site.Database().AddEmployee(1007, "Ann", "Lee");
    ASSERT_TRUE(site.StartAndLogIn());
    admin::CController& controller = *site.Controller();
    const auto employees = controller.EmployeeList();
    const auto companies = controller.CompanyList();
    const auto factory = controller.TimeRecordFactory();
    EXPECT_EQ(employees->Count(), 2);

    site.Database().AddEmployee(1008, "Bo", "Ray");
    EXPECT_TRUE(controller.GetEmployeeList());
    EXPECT_TRUE(controller.GetCompanyList());
    EXPECT_TRUE(controller.StartTimeRecordFactory());
    EXPECT_EQ(controller.EmployeeList(), employees);
    EXPECT_EQ(controller.CompanyList(), companies);
    EXPECT_EQ(controller.TimeRecordFactory(), factory);
    EXPECT_EQ(employees->Count(), 3);
    EXPECT_FALSE(controller.OrvanDatabase()->DatabaseOpen());
}

// The error log: opened afresh with its three opening lines; the closing
// three come when the program ends through its end routine.
TEST(AdminStartUp, ErrorLogHoldsOnlyThisRunWithItsOpeningAndClosingLines) {
    AdminInstallation site;
    WriteAll(site.Database().Folder() / "system" / "errorlog.txt", "old run\r\n");
    ASSERT_FALSE(
        site.Start([](admin::FLogin& login) { Press(login, QStringLiteral("cmdCancel")); }));
    const auto lines = site.LogLines();
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[0], "session begin");
    EXPECT_EQ(lines[1], "1/15/2003 8:05:42 AM");
    EXPECT_EQ(lines[2], "------------------------------");
    EXPECT_EQ(lines[3], "------------------------------");
    EXPECT_EQ(lines[4], "session end");
    EXPECT_EQ(lines[5], "1/15/2003 8:05:42 AM");
}

TEST(AdminStartUp, LogThatCannotBeWrittenIsReportedAndStartUpGoesOn) {
    AdminInstallation site;
    fs::create_directory(site.Database().Folder() / "system" / "errorlog.txt");
    ASSERT_TRUE(site.StartAndLogIn());
    ASSERT_FALSE(site.Shown().empty());
    EXPECT_EQ(site.Shown().front(),
              "Log Open Error|An error occurred opening the errorlog for writing.");
    EXPECT_EQ(site.Messages().shown.front().style, MsgIconCritical);
    EXPECT_EQ(site.Shown().size(), 1u);
    EXPECT_NE(site.Window(), nullptr);
}

// One row per start-up failure: how the installation is spoiled, the box,
// its icon, and whether the program runs on.
struct StartUpFailure {
    const char* name;
    std::function<void(AdminInstallation&)> spoil;
    std::string message;
    int32_t style;
    bool reachesLogin;
};

class AdminStartUpFailure : public ::testing::TestWithParam<StartUpFailure> {};

TEST_P(AdminStartUpFailure, ShowsItsBox) {
    const StartUpFailure& row = GetParam();
    AdminInstallation site;
    row.spoil(site);
    bool loginShown = false;
    const bool runs = row.reachesLogin ? site.StartAndLogIn() : site.Start();
    loginShown = site.Window() != nullptr;
    EXPECT_EQ(loginShown, row.reachesLogin);
    EXPECT_EQ(runs, row.reachesLogin);
    ASSERT_FALSE(site.Shown().empty());
    EXPECT_EQ(site.Shown().front(), row.message);
    EXPECT_EQ(site.Messages().shown.front().style, row.style);
    // Whatever happened, a usable file is left free for the clock program.
    if (row.message != MissingOrCorrupt) {
        site.Database().Exec("UPDATE _System SET version = '1.0'");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, AdminStartUpFailure,
    ::testing::Values(
        StartUpFailure{"ConfigurationUnreadable",
                       [](AdminInstallation& site) {
                           fs::remove(site.Database().ConfigPath());
                           fs::create_directory(site.Database().ConfigPath());
                       },
                       "Configuration Settings Error|Configuration File Read Error: check the "
                       "configuration file before continuing.",
                       MsgIconCritical, false},
        StartUpFailure{"ConfigurationMissing",
                       [](AdminInstallation& site) { fs::remove(site.Database().ConfigPath()); },
                       MissingOrCorrupt, MsgIconExclamation, false},
        StartUpFailure{"DatabaseMissing",
                       [](AdminInstallation& site) { fs::remove(site.Database().DatabasePath()); },
                       MissingOrCorrupt, MsgIconExclamation, false},
        StartUpFailure{"DatabaseCorrupt",
                       [](AdminInstallation& site) {
                           WriteAll(site.Database().DatabasePath(), "not a database at all");
                       },
                       MissingOrCorrupt, MsgIconExclamation, false},
        StartUpFailure{"OptionsNotLoaded",
                       [](AdminInstallation& site) { site.Database().Exec("DELETE FROM _System"); },
                       OptionsNotLoaded, MsgIconExclamation, true},
        StartUpFailure{"CompaniesNotLoaded",
                       [](AdminInstallation& site) {
                           site.Database().Exec(
                               "DELETE FROM _StoredQuery WHERE Name = 'GetAllCompanies'");
                       },
                       ListsNotBuilt, MsgIconCritical, false},
        StartUpFailure{"EmployeesNotLoaded",
                       [](AdminInstallation& site) {
                           site.Database().Exec(
                               "DELETE FROM _StoredQuery WHERE Name = 'GetAllEmployees'");
                       },
                       ListsNotBuilt, MsgIconCritical, false}),
    [](const ::testing::TestParamInfo<StartUpFailure>& paramInfo) { return paramInfo.param.name; });

// The configuration file's busy timeout keeps the wait short.
TEST(AdminStartUp, DatabaseHeldByAnotherProgramIsSaidSo) {
    AdminInstallation site;
    site.Database().AddConfigLine("BusyTimeout=" + std::to_string(TestBusyTimeout));
    {
        LockingProcess clock(site.Database().DatabasePath(), HeldPastTestBusyTimeout);
        EXPECT_FALSE(site.Start());
    }
    ASSERT_NE(site.Controller()->OrvanDatabase(), nullptr);
    EXPECT_EQ(site.Controller()->OrvanDatabase()->BusyTimeout(), TestBusyTimeout);
    EXPECT_EQ(site.Window(), nullptr);
    EXPECT_EQ(site.Shown(), std::vector<std::string>{HeldElsewhere});
    EXPECT_EQ(site.LastStyle(), MsgIconExclamation);
    // This path stops without the end routine: no closing lines.
    const auto lines = site.LogLines();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "session begin");
}

TEST(AdminStartUp, WithoutTheBusyTimeoutKeyTheDefaultTimeoutIsUsed) {
    AdminInstallation site;
    ASSERT_TRUE(site.StartAndLogIn());
    EXPECT_EQ(site.Controller()->OrvanDatabase()->BusyTimeout(), CJetDB::DefaultBusyTimeout);
}

TEST(AdminStartUp, ListsNotBuiltEndTheProgramWithTheClosingLogLines) {
    AdminInstallation site;
    site.Database().Exec("DELETE FROM _StoredQuery WHERE Name = 'GetAllEmployees'");
    EXPECT_FALSE(site.Start());
    EXPECT_TRUE(admin::ProgramEnded());
    const auto lines = site.LogLines();
    ASSERT_GE(lines.size(), 6u);
    EXPECT_EQ(lines[lines.size() - 2], "session end");
}

// A help flag that is no Boolean is a failure while the login window is
// prepared: the construction handler shows the error and logs it, and the
// program ends.
TEST(AdminStartUp, UnreadableHelpFlagEndsInTheConstructionHandler) {
    for (const char* config : {"DatabasePath=<app.path>\\system\\orvan_11.mdb\r\n",
                               "DatabasePath=<app.path>\\system\\orvan_11.mdb\r\n"
                               "ShowLoginHelp=maybe\r\n"}) {
        AdminInstallation site;
        site.WriteConfig(config);
        EXPECT_FALSE(site.Start());
        EXPECT_TRUE(admin::ProgramEnded());
        ASSERT_EQ(site.Messages().shown.size(), 1u);
        EXPECT_EQ(site.Messages().shown[0].style, MsgIconCritical);
        EXPECT_EQ(site.Messages().shown[0].title, "Error Number: 13");
        const auto lines = site.LogLines();
        ASSERT_EQ(lines.size(), 7u);
        EXPECT_EQ(lines[3], "Program Construction Error: 13 : Type mismatch");
        EXPECT_EQ(lines[5], "session end");
        site.Database().Exec("UPDATE _System SET version = '1.0'");
    }
}

} // namespace
} // namespace orvan::test
