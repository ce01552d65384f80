// The missing clock-outs report against a real installation with "now"
// fixed: which open records it lists (every employee's, the administrator's
// and an inactive employee's among them, none younger than 16 hours, no
// closed one), their order and layout byte for byte, the window it opens,
// and its refusals.
#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <QPlainTextEdit>
#include <QScrollBar>

#include "personnel/CEmployeeList.h"
#include "reports/CReportMissingClockOuts.h"
#include "reports/FReportMissingClockOuts.h"
#include "support/ScopedClock.h"
#include "support/ScopedTimeZone.h"
#include "ReportTestSupport.h"

namespace orvan::test {
namespace {

constexpr int32_t kAdministratorID = 39;

class MissingClockOutsReportTest : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        m_annId = m_installation.AddEmployee(1007, "Ann", "Lee");
        m_bobId = m_installation.AddEmployee(1011, "Bob", "Stone");
        m_diazId = m_installation.AddEmployee(42, "", "Diaz");
        m_installation.Exec("UPDATE Employee SET Active = 0 WHERE EmployeeID = " +
                            std::to_string(m_diazId));
        // Closed records of every employee are never listed.
        for (const int32_t id : {m_annId, m_bobId, m_diazId, kAdministratorID}) {
            m_installation.AddTimeRecord(id, At(2003, 1, 15, 8), At(2003, 1, 15, 17));
        }
    }

    std::shared_ptr<CEmployeeList> Employees() {
        auto list = std::make_shared<CEmployeeList>();
        EXPECT_TRUE(list->LoadList(m_database));
        return list;
    }

    // Open records of every kind; those younger than 16 hours at m_now are
    // not missing anything yet.
    void AddOpenRecords() {
        m_installation.AddTimeRecord(m_annId, At(2003, 1, 28, 8, 0));
        m_installation.AddTimeRecord(m_annId, At(2003, 1, 30, 8, 0)); // 1 h 15 min
        m_installation.AddTimeRecord(m_annId, At(2003, 1, 20, 8, 0));
        m_installation.AddTimeRecord(kAdministratorID, At(2003, 1, 29, 7, 0));
        m_installation.AddTimeRecord(m_diazId, At(2003, 1, 29, 17, 16)); // 15 h 59 min
        m_installation.AddTimeRecord(m_diazId, At(2003, 1, 29, 17, 15)); // 16 h 0 min 30 s
        m_installation.AddTimeRecord(m_bobId, At(2002, 12, 31, 23, 30));
        m_installation.AddTimeRecord(999, At(2003, 1, 27, 22, 0)); // employee not on file
    }

    const DateTime m_now = DateTime::FromParts(2003, 1, 30, 9, 15, 30);
    ScopedClock m_clock{m_now};
    int32_t m_annId = 0;
    int32_t m_bobId = 0;
    int32_t m_diazId = 0;
};

TEST_F(MissingClockOutsReportTest, ListsEveryOpenRecordOlderThanSixteenHoursByEmployee) {
    AddOpenRecords();
    auto report = std::make_shared<CReportMissingClockOuts>();
    RecordingParent parent;
    report->SetParentWindow(&parent);
    EXPECT_EQ(report->ReportName(), "Missing Clock-Outs");

    ASSERT_TRUE(report->GenerateReport(m_database, Employees()));
    EXPECT_EQ(report->ErrorNumber(), 0);
    EXPECT_EQ(report->RecordCount(), 6);
    EXPECT_EQ(report->ReportName(), "Missing Clock-Outs : 01/30/2003 09:15 AM");
    EXPECT_EQ(report->FileName(), "missing_clock_outs.txt");
    const std::string file = ReportFile("missing_clock_outs.txt");
    EXPECT_EQ(file, Expected("missing_clock_outs.txt"));
    EXPECT_FALSE(m_database->DatabaseOpen());

    FReportWindow* window = report->ReportWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(qobject_cast<FReportMissingClockOuts*>(window), nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->DesignCaption().toStdString(), "Missing Clock-Outs");
    EXPECT_EQ(window->windowTitle().toStdString(), report->ReportName());
    EXPECT_EQ(window->Text(), file);
    auto* text = window->findChild<QPlainTextEdit*>(QStringLiteral("txtReport"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->horizontalScrollBar()->maximum(), 0);

    report->UnloadReportWindow();
    EXPECT_EQ(parent.missingClockOuts, 1);
    EXPECT_EQ(parent.phoneBook + parent.employee + parent.timeCard, 0);
}

TEST_F(MissingClockOutsReportTest, NoMissingClockOutWritesNothingAndOpensNoWindow) {
    // Open, but only for 15 h 59 min: nothing is missing yet.
    m_installation.AddTimeRecord(m_annId, At(2003, 1, 29, 17, 16));
    auto report = std::make_shared<CReportMissingClockOuts>();
    EXPECT_FALSE(report->GenerateReport(m_database, Employees()));
    EXPECT_EQ(report->ErrorNumber(), 605);
    EXPECT_EQ(report->RecordCount(), 0);
    EXPECT_EQ(report->ReportWindow(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(ReportsFolder() / "missing_clock_outs.txt"));

    // A day later the same record is missing its clock-out.
    m_clock.AdvanceSeconds(24 * 3600);
    auto later = std::make_shared<CReportMissingClockOuts>();
    EXPECT_TRUE(later->GenerateReport(m_database, Employees()));
    EXPECT_EQ(later->RecordCount(), 1);
    EXPECT_NE(
        ReportFile("missing_clock_outs.txt")
            .find("1007    Ann Lee                 01/29/2003 05:16 PM  1 day 15 h 59 min\r\n"),
        std::string::npos);
}

TEST_F(MissingClockOutsReportTest, AgainReplacesTheFile) {
    AddOpenRecords();
    EXPECT_TRUE(
        std::make_shared<CReportMissingClockOuts>()->GenerateReport(m_database, Employees()));
    m_installation.Exec("UPDATE TimeRecord SET EndTime = StartTime + 0.25 WHERE EmployeeID <> " +
                        std::to_string(m_annId));
    auto second = std::make_shared<CReportMissingClockOuts>();
    EXPECT_TRUE(second->GenerateReport(m_database, Employees()));
    EXPECT_EQ(second->RecordCount(), 2);
    const std::string file = ReportFile("missing_clock_outs.txt");
    EXPECT_EQ(file.find("administrator"), std::string::npos);
    EXPECT_NE(file.find("Missing clock-outs: 2\r\n"), std::string::npos);
}

TEST_F(MissingClockOutsReportTest, RefusalsLeaveNoWindow) {
    AddOpenRecords();
    auto noList = std::make_shared<CReportMissingClockOuts>();
    EXPECT_FALSE(noList->GenerateReport(m_database, nullptr));
    EXPECT_EQ(noList->ErrorNumber(), 705);

    auto noDatabase = std::make_shared<CReportMissingClockOuts>();
    EXPECT_FALSE(noDatabase->GenerateReport(nullptr, Employees()));
    EXPECT_EQ(noDatabase->ErrorNumber(), 604);

    auto unreadable = std::make_shared<CReportMissingClockOuts>();
    auto missing = m_installation.NewJetDB();
    missing->SetDatabaseName((m_installation.Folder() / "system" / "gone.mdb").string());
    EXPECT_FALSE(unreadable->GenerateReport(missing, Employees()));
    EXPECT_EQ(unreadable->ErrorNumber(), 604);

    std::filesystem::remove_all(ReportsFolder());
    auto noFolder = std::make_shared<CReportMissingClockOuts>();
    EXPECT_FALSE(noFolder->GenerateReport(m_database, Employees()));
    EXPECT_EQ(noFolder->ErrorNumber(), 503);

    for (const auto& report : {noList, noDatabase, unreadable, noFolder}) {
        EXPECT_EQ(report->ReportWindow(), nullptr);
    }
}

// The evening after the clocks went back an hour (Chicago, 1 November
// 2026): time open is real time, so a clock-in of the first 1:30 AM has been
// open 16.5 hours and one punched at the second 1:30 AM only 15.5.
TEST_F(MissingClockOutsReportTest, TimeOpenIsRealTimeAcrossTheFallBackNight) {
    ScopedTimeZone chicago("America/Chicago");
    m_clock.Set(At(2026, 11, 1, 17, 0), -360);
    m_installation.AddTimeRecord(m_annId, At(2026, 11, 1, 0, 45));
    const int64_t second = m_installation.AddTimeRecord(m_bobId, At(2026, 11, 1, 1, 30));
    m_installation.Exec("INSERT INTO PunchOffset (TimeRecordID, StartOffset) VALUES (" +
                        std::to_string(second) + ", -360)");
    m_installation.AddTimeRecord(m_diazId, At(2026, 11, 1, 1, 30));
    auto report = std::make_shared<CReportMissingClockOuts>();
    ASSERT_TRUE(report->GenerateReport(m_database, Employees()));
    EXPECT_EQ(report->RecordCount(), 2);
    const std::string file = ReportFile("missing_clock_outs.txt");
    EXPECT_NE(file.find("42      Diaz                    11/01/2026 01:30 AM  16 h 30 min\r\n"),
              std::string::npos)
        << file;
    EXPECT_NE(file.find("1007    Ann Lee                 11/01/2026 12:45 AM  17 h 15 min\r\n"),
              std::string::npos)
        << file;
    EXPECT_EQ(file.find("Bob Stone"), std::string::npos) << file;
}

TEST(MissingClockOutsOpenFor, CountsDaysHoursAndMinutes) {
    EXPECT_EQ(CReportMissingClockOuts::OpenForText(16 * 60), "16 h 0 min");
    EXPECT_EQ(CReportMissingClockOuts::OpenForText(23 * 60 + 59), "23 h 59 min");
    EXPECT_EQ(CReportMissingClockOuts::OpenForText(24 * 60), "1 day 0 h 0 min");
    EXPECT_EQ(CReportMissingClockOuts::OpenForText(2 * 24 * 60 + 65), "2 days 1 h 5 min");
    EXPECT_EQ(CReportMissingClockOuts::OpenForText(400 * 24 * 60), "400 days 0 h 0 min");
    EXPECT_EQ(CReportMissingClockOuts::OpenForText(-5), "0 h 0 min");
}

} // namespace
} // namespace orvan::test
