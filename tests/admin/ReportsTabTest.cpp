// The reports page of the main window against a real installation with the
// document shell faked: the report list and what each report enables, the
// default date ranges by the day of the month, Generate for each report
// (one window per employee where the report is per employee), its refusals
// and failure boxes, and report files equal to those the report writers
// write when called directly.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QListWidget>
#include <QTest>

#include "AdminTestSupport.h"
#include "MainWindowDriver.h"
#include "admin/CController.h"
#include "admin/FController.h"
#include "admin/ReportsTab.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/CReportEmployee.h"
#include "reports/CReportMissingClockOuts.h"
#include "reports/CReportPhoneBook.h"
#include "reports/CReportReview.h"
#include "reports/CReportTimeCard.h"
#include "storage/AuditTrail.h"
#include "reports/CReportYTDTotals.h"
#include "reports/FReportWindow.h"
#include "reports/IFileChooser.h"
#include "storage/CSystemOptions.h"
#include "storage/MessageBox.h"
#include "support_qt/CloseReportWindows.h"
#include "support_qt/PdfFiles.h"
#include "support_qt/ScopedDocumentShell.h"
#include "ui/DateCombo.h"

namespace orvan::test {
namespace {

namespace fs = std::filesystem;

const QString Timecard = QStringLiteral("Timecard");
const QString Review = QStringLiteral("Accountants Review");
const QString YTDTotals = QStringLiteral("Year-To-Date Totals");
const QString EmployeeRecords = QStringLiteral("Employee Records");
const QString PhoneBook = QStringLiteral("Phone Book");
const QString MissingClockOuts = QStringLiteral("Missing clock-outs");
const QString AuditTrail = QStringLiteral("Audit trail");

// The report windows open now.
std::vector<FReportWindow*> ReportWindows() {
    std::vector<FReportWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<FReportWindow*>(widget); window && window->isVisible()) {
            windows.push_back(window);
        }
    }
    return windows;
}

// A started, logged-in manager's program on an installation with three
// employees (and the administrator), "today" being `today` at 08:05:42.
class ReportsTabTest : public ::testing::Test {
protected:
    void Start(DateTime today = DateTime::FromParts(2003, 1, 15)) {
        m_app = std::make_unique<AdminInstallation>(today.AddMinutes(8 * 60 + 5));
        auto& db = m_app->Database();
        m_ann = db.AddEmployee(101, "Ann", "Baker", 10.0f, 15.0f);
        m_carl = db.AddEmployee(102, "Carl", "Dunn", 12.0f, 18.0f);
        m_eve = db.AddEmployee(103, "Eve", "Frost", 14.0f, 21.0f);
        db.Exec("UPDATE Employee SET Phone = '555-0101', Address = '1 Elm St', City = 'Salem', "
                "State = 'OR', ZipCode = '97301'");
        ASSERT_TRUE(m_app->StartAndLogIn());
        m_window = m_app->Window();
        ASSERT_NE(m_window, nullptr);
        ClickTab(m_window, 1);
        m_app->Messages().shown.clear();
    }

    void TearDown() override {
        CloseReportWindows();
        m_app.reset();
    }

    // Two shifts on each of the first ten days of January 2003 for each of
    // the three employees.
    void AddJanuaryRecords() {
        for (int32_t id : {m_ann, m_carl, m_eve}) {
            for (int day = 2; day <= 10; ++day) {
                const DateTime date = DateTime::FromParts(2003, 1, day);
                m_app->Database().AddTimeRecord(id, date.AddMinutes(8 * 60),
                                                date.AddMinutes(12 * 60));
                m_app->Database().AddTimeRecord(id, date.AddMinutes(12 * 60 + 30),
                                                date.AddMinutes(17 * 60 + 45));
            }
        }
    }

    QComboBox* Reports() { return Control<QComboBox>(m_window, "cboReports"); }
    QListWidget* Employees() { return Control<QListWidget>(m_window, "lstEmployees"); }
    DateCombo* From() { return Control<DateCombo>(m_window, "cboFromDate"); }
    DateCombo* To() { return Control<DateCombo>(m_window, "cboToDate"); }
    admin::ReportsTab* Page() { return Control<admin::ReportsTab>(m_window, "ReportsTab"); }

    void Choose(const QString& report) { PickEntry(Reports(), report); }
    // Clicks each entry, as the user does to select it.
    void Select(const QStringList& names) {
        for (const QString& name : names) {
            const auto found = Employees()->findItems(name, Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1) << name.toStdString();
            Employees()->scrollToItem(found[0]);
            QTest::mouseClick(Employees()->viewport(), Qt::LeftButton, Qt::NoModifier,
                              Employees()->visualItemRect(found[0]).center());
            ASSERT_TRUE(found[0]->isSelected()) << name.toStdString();
        }
    }
    void Generate() { ClickButton(m_window, "cmdGenerate"); }

    std::shared_ptr<CEmployee> Employee(const std::string& name) {
        return m_app->Controller()->EmployeeList()->GetEmployeeByName(name);
    }
    fs::path ReportsFolder() { return m_app->Database().Folder() / "reports"; }
    std::string ReportFile(const std::string& name) { return ReadAll(ReportsFolder() / name); }
    std::shared_ptr<CJetDB> Database() { return m_app->Controller()->OrvanDatabase(); }

    std::unique_ptr<AdminInstallation> m_app;
    admin::FController* m_window = nullptr;
    ScopedDocumentShell m_shell;
    int32_t m_ann = 0;
    int32_t m_carl = 0;
    int32_t m_eve = 0;
};

// ---- The list, the boxes and their dates ----------------------------------

TEST_F(ReportsTabTest, TheListHoldsTheSevenReportsAndTimecardIsChosenAtStart) {
    Start();
    ASSERT_EQ(Reports()->count(), 7);
    const QStringList names = {Timecard,  Review,           YTDTotals, EmployeeRecords,
                               PhoneBook, MissingClockOuts, AuditTrail};
    for (int i = 0; i < 7; ++i) {
        EXPECT_EQ(Reports()->itemText(i), names[i]);
    }
    EXPECT_EQ(Reports()->currentText(), Timecard);
    EXPECT_EQ(m_window->StatusSubject(), "Timecard");
    EXPECT_EQ(Employees()->selectionMode(), QAbstractItemView::MultiSelection);
    EXPECT_EQ(From()->minimumDate(), QDate(1900, 1, 1));
    EXPECT_EQ(To()->maximumDate(), QDate(2100, 12, 31));
}

TEST_F(ReportsTabTest, TheEmployeeListHoldsTheActiveEmployeesWithoutTheAdministrator) {
    Start();
    QStringList listed;
    for (int i = 0; i < Employees()->count(); ++i) {
        listed << Employees()->item(i)->text();
    }
    EXPECT_EQ(listed, (QStringList{QStringLiteral("Ann Baker"), QStringLiteral("Carl Dunn"),
                                   QStringLiteral("Eve Frost")}));
}

struct RangeCase {
    int day;
    int month;
    const char* from;
    const char* to;
};

class DefaultRangeTest : public ReportsTabTest, public ::testing::WithParamInterface<RangeCase> {};

// With the installation's period length of 13 days.
TEST_P(DefaultRangeTest, StartsOnTheFirstOrTheFifteenth) {
    const RangeCase c = GetParam();
    Start(DateTime::FromParts(2003, c.month, c.day));
    for (const QString& report : {Timecard, Review}) {
        Choose(report);
        EXPECT_EQ(From()->Text(), QString::fromLatin1(c.from)) << report.toStdString();
        EXPECT_EQ(To()->Text(), QString::fromLatin1(c.to)) << report.toStdString();
        EXPECT_EQ(StatusText(m_window),
                  QStringLiteral("Reports : %1 : %2 - %3")
                      .arg(report, QString::fromLatin1(c.from), QString::fromLatin1(c.to)));
    }
}

INSTANTIATE_TEST_SUITE_P(DaysOfTheMonth, DefaultRangeTest,
                         ::testing::Values(RangeCase{1, 1, "01/01/2003", "01/14/2003"},
                                           RangeCase{15, 1, "01/01/2003", "01/14/2003"},
                                           RangeCase{16, 1, "01/15/2003", "01/28/2003"},
                                           RangeCase{31, 1, "01/15/2003", "01/28/2003"},
                                           RangeCase{28, 2, "02/15/2003", "02/28/2003"}));

TEST_F(ReportsTabTest, ThePeriodLengthInMemoryGivesTheToDate) {
    Start(DateTime::FromParts(2003, 1, 20));
    m_app->Controller()->SystemOptions()->SetPeriodLength(14);
    Choose(Review);
    EXPECT_EQ(From()->Text(), QStringLiteral("01/15/2003"));
    EXPECT_EQ(To()->Text(), QStringLiteral("01/29/2003"));
}

TEST_F(ReportsTabTest, EachReportEnablesTheBoxesItUses) {
    Start();
    struct Case {
        QString report;
        bool employees, from, to;
    };
    const Case cases[] = {{Timecard, true, true, true},     {Review, true, true, true},
                          {YTDTotals, true, false, true},   {EmployeeRecords, true, false, false},
                          {PhoneBook, false, false, false}, {MissingClockOuts, false, false, false},
                          {AuditTrail, true, true, true},   {Timecard, true, true, true}};
    for (const Case& c : cases) {
        Choose(c.report);
        EXPECT_EQ(Employees()->isEnabled(), c.employees) << c.report.toStdString();
        EXPECT_EQ(From()->isEnabled(), c.from) << c.report.toStdString();
        EXPECT_EQ(To()->isEnabled(), c.to) << c.report.toStdString();
    }
}

TEST_F(ReportsTabTest, YearToDateFixesFromToTheFirstOfJanuaryAndToToToday) {
    Start(DateTime::FromParts(2003, 3, 20));
    Choose(YTDTotals);
    EXPECT_FALSE(From()->isEnabled());
    EXPECT_EQ(From()->Text(), QStringLiteral("01/01/2003"));
    EXPECT_EQ(To()->Text(), QStringLiteral("03/20/2003"));
    EXPECT_EQ(m_window->StatusSubject(), "Year-To-Date Totals");
    EXPECT_EQ(StatusText(m_window),
              QStringLiteral("Reports : Year-To-Date Totals : 01/01/2003 - 03/20/2003"));
}

TEST_F(ReportsTabTest, TimecardAfterYearToDateRestoresTheDefaultRange) {
    Start(DateTime::FromParts(2003, 3, 20));
    Choose(YTDTotals);
    Choose(Timecard);
    EXPECT_TRUE(From()->isEnabled());
    EXPECT_TRUE(To()->isEnabled());
    EXPECT_EQ(From()->Text(), QStringLiteral("03/15/2003"));
    EXPECT_EQ(To()->Text(), QStringLiteral("03/28/2003"));
}

TEST_F(ReportsTabTest, EmployeeRecordsAndPhoneBookKeepTheDatesAndNameThemselves) {
    Start();
    Choose(YTDTotals);
    Choose(EmployeeRecords);
    EXPECT_EQ(From()->Text(), QStringLiteral("01/01/2003"));
    EXPECT_EQ(To()->Text(), QStringLiteral("01/15/2003"));
    EXPECT_EQ(StatusText(m_window), QStringLiteral("Reports : Employee Records"));
    EXPECT_EQ(m_window->StatusSubject(), "Year-To-Date Totals");
    Choose(PhoneBook);
    EXPECT_EQ(StatusText(m_window), QStringLiteral("Reports : Phone Book"));
    Choose(MissingClockOuts);
    EXPECT_EQ(StatusText(m_window), QStringLiteral("Reports : Missing clock-outs"));
    EXPECT_EQ(From()->Text(), QStringLiteral("01/01/2003"));
    EXPECT_EQ(m_window->StatusSubject(), "Year-To-Date Totals");
}

TEST_F(ReportsTabTest, ANewFromDateMovesToByThePeriodLength) {
    Start();
    From()->SetValue(DateTime::FromParts(2003, 2, 3));
    EXPECT_EQ(To()->Text(), QStringLiteral("02/16/2003"));
    EXPECT_EQ(StatusText(m_window), QStringLiteral("Reports : Timecard : 02/03/2003 - 02/16/2003"));
    To()->SetValue(DateTime::FromParts(2003, 2, 20));
    EXPECT_EQ(From()->Text(), QStringLiteral("02/03/2003"));
    EXPECT_EQ(StatusText(m_window), QStringLiteral("Reports : Timecard : 02/03/2003 - 02/20/2003"));
}

// ---- Generate: refusals and windows ---------------------------------------

TEST_F(ReportsTabTest, GenerateWithNoReportChosenWarns) {
    Start();
    Reports()->setCurrentIndex(-1);
    Generate();
    EXPECT_EQ(m_app->LastMessage(),
              "Report Generation Error|You must select a report to generate before continuing.");
    EXPECT_EQ(m_app->LastStyle(), MsgIconExclamation);
    EXPECT_TRUE(ReportWindows().empty());
}

TEST_F(ReportsTabTest, NoEmployeeSelectedWritesNoPerEmployeeReport) {
    Start();
    for (const QString& report : {Timecard, YTDTotals}) {
        Choose(report);
        Generate();
        EXPECT_TRUE(ReportWindows().empty()) << report.toStdString();
    }
    EXPECT_TRUE(m_app->Messages().shown.empty()) << m_app->LastMessage();
    EXPECT_TRUE(fs::is_empty(ReportsFolder()));
}

TEST_F(ReportsTabTest, SeveralEmployeesGiveOneTimeCardWindowEach) {
    Start();
    AddJanuaryRecords();
    Choose(Timecard);
    Select({QStringLiteral("Eve Frost"), QStringLiteral("Ann Baker")});
    Generate();
    EXPECT_TRUE(m_app->Messages().shown.empty()) << m_app->LastMessage();
    const auto windows = ReportWindows();
    ASSERT_EQ(windows.size(), 2U);
    EXPECT_TRUE(fs::exists(ReportsFolder() / "101_0101_0114_2003_time_card.txt"));
    EXPECT_TRUE(fs::exists(ReportsFolder() / "103_0101_0114_2003_time_card.txt"));
    EXPECT_EQ(m_shell->requests.size(), 0U);
}

TEST_F(ReportsTabTest, SeveralEmployeesGiveOneYearToDateWindowEach) {
    Start();
    AddJanuaryRecords();
    Choose(YTDTotals);
    Select({QStringLiteral("Ann Baker"), QStringLiteral("Carl Dunn"), QStringLiteral("Eve Frost")});
    Generate();
    EXPECT_TRUE(m_app->Messages().shown.empty()) << m_app->LastMessage();
    EXPECT_EQ(ReportWindows().size(), 3U);
}

TEST_F(ReportsTabTest, TheReviewIsOneWindowForTheWholeSelection) {
    Start();
    AddJanuaryRecords();
    Choose(Review);
    Select({QStringLiteral("Ann Baker"), QStringLiteral("Carl Dunn")});
    Generate();
    EXPECT_TRUE(m_app->Messages().shown.empty()) << m_app->LastMessage();
    ASSERT_EQ(ReportWindows().size(), 1U);
    const std::string text = ReportWindows()[0]->Text();
    EXPECT_NE(text.find("Baker"), std::string::npos);
    EXPECT_NE(text.find("Dunn"), std::string::npos);
    EXPECT_EQ(text.find("Frost"), std::string::npos);
}

TEST_F(ReportsTabTest, ThePhoneBookListsEveryEntryWhateverTheSelection) {
    Start();
    Select({QStringLiteral("Carl Dunn")});
    Choose(PhoneBook);
    EXPECT_FALSE(Employees()->isEnabled());
    Generate();
    EXPECT_TRUE(m_app->Messages().shown.empty()) << m_app->LastMessage();
    ASSERT_EQ(ReportWindows().size(), 1U);
    const std::string text = ReportFile("phone_book.txt");
    for (const char* name : {"Baker, Ann", "Dunn, Carl", "Frost, Eve"}) {
        EXPECT_NE(text.find(name), std::string::npos) << name;
    }
    EXPECT_EQ(text.find("administrator"), std::string::npos);
    EXPECT_EQ(ReportWindows()[0]->Text(), text);
}

// A listed name that holds "administrator" stays out of the phone book.
TEST_F(ReportsTabTest, ThePhoneBookLeavesOutAnAdministratorListedUnderAnotherName) {
    Start();
    Employees()->addItem(QStringLiteral("administrator"));
    Choose(PhoneBook);
    Generate();
    EXPECT_EQ(ReportFile("phone_book.txt").find("administrator"), std::string::npos);
}

TEST_F(ReportsTabTest, TheWindowHoldsTheEmployeeAndPhoneBookReportsWhileTheirWindowsAreOpen) {
    Start();
    Choose(EmployeeRecords);
    Select({QStringLiteral("Ann Baker")});
    Generate();
    Choose(PhoneBook);
    Generate();
    ASSERT_NE(Page()->EmployeeReport(), nullptr);
    ASSERT_NE(Page()->PhoneBookReport(), nullptr);
    Page()->EmployeeReport()->UnloadReportWindow();
    EXPECT_EQ(Page()->EmployeeReport(), nullptr);
    EXPECT_NE(Page()->PhoneBookReport(), nullptr);
    Page()->PhoneBookReport()->UnloadReportWindow();
    EXPECT_EQ(Page()->PhoneBookReport(), nullptr);
    EXPECT_TRUE(m_window->UnloadTimeCardReport());
    EXPECT_TRUE(m_window->UnloadReviewReport());
    EXPECT_TRUE(m_window->UnloadYTDTotalsReport());
}

// Every open record older than 16 hours, whoever it belongs to: a listed
// employee, the administrator (EmployeeID 39) and an inactive employee.
TEST_F(ReportsTabTest, MissingClockOutsListsTheOpenRecordsOfEveryEmployee) {
    Start();
    const int32_t gone = m_app->Database().AddEmployee(104, "Gus", "Hale");
    m_app->Database().Exec("UPDATE Employee SET Active = 0 WHERE EmployeeID = " +
                           std::to_string(gone));
    ASSERT_TRUE(m_app->Controller()->GetEmployeeList());
    auto& db = m_app->Database();
    db.AddTimeRecord(m_ann, DateTime::FromParts(2003, 1, 13, 8, 0));
    db.AddTimeRecord(39, DateTime::FromParts(2003, 1, 14, 7, 0));
    db.AddTimeRecord(gone, DateTime::FromParts(2003, 1, 10, 22, 0));
    db.AddTimeRecord(m_carl, DateTime::FromParts(2003, 1, 15, 7, 30)); // open for 35 minutes
    db.AddTimeRecord(m_eve, DateTime::FromParts(2003, 1, 13, 8, 0),
                     DateTime::FromParts(2003, 1, 13, 16, 0));
    Select({QStringLiteral("Carl Dunn")}); // the selection plays no part
    Choose(MissingClockOuts);
    Generate();
    EXPECT_TRUE(m_app->Messages().shown.empty()) << m_app->LastMessage();
    ASSERT_EQ(ReportWindows().size(), 1U);
    const std::string file = ReportFile("missing_clock_outs.txt");
    EXPECT_EQ(ReportWindows()[0]->Text(), file);
    EXPECT_EQ(ReportWindows()[0]->windowTitle(),
              QStringLiteral("Missing Clock-Outs : 01/15/2003 08:05 AM"));
    for (const char* line :
         {"0       administrator           01/14/2003 07:00 AM  1 day 1 h 5 min\r\n",
          "101     Ann Baker               01/13/2003 08:00 AM  2 days 0 h 5 min\r\n",
          "104     Gus Hale                01/10/2003 10:00 PM  4 days 10 h 5 min\r\n",
          "Missing clock-outs: 3\r\n"}) {
        EXPECT_NE(file.find(line), std::string::npos) << line << file;
    }
    EXPECT_EQ(file.find("Carl"), std::string::npos);
    EXPECT_EQ(file.find("Frost"), std::string::npos);

    // The same file as the report writer's own.
    CloseReportWindows();
    fs::remove(ReportsFolder() / "missing_clock_outs.txt");
    auto direct = std::make_shared<CReportMissingClockOuts>();
    ASSERT_TRUE(direct->GenerateReport(Database(), m_app->Controller()->EmployeeList()));
    EXPECT_EQ(ReportFile("missing_clock_outs.txt"), file);
}

// An entry of the trail, dated as given, written as the programs write them.
void AddAuditEntry(CJetDB& db, const std::string& when, std::string_view kind, int32_t employee,
                   const std::string& reason = "") {
    audit::Entry entry;
    entry.when = when;
    entry.who = "manager";
    entry.kind = kind;
    entry.employeeID = employee;
    entry.timeRecordID = employee != 0 ? 7 : 0;
    entry.before = employee != 0 ? "01/14/2003 08:00 AM to 01/14/2003 05:00 PM, 9.00 hours" : "";
    entry.after = "01/14/2003 08:00 AM to 01/14/2003 04:00 PM, 8.00 hours";
    entry.reason = reason;
    ASSERT_TRUE(db.RunAsOneTransaction([&] { return db.OpenDB() && audit::Append(db, entry); }));
}

// The chosen days and employees, and what concerns no employee; the chain is
// checked over the whole trail.
TEST_F(ReportsTabTest, AuditTrailListsTheChosenDaysAndEmployeesAndChecksTheChain) {
    Start();
    CJetDB& db = *Database();
    AddAuditEntry(db, "2003-01-13T23:59:00-06:00", audit::kEdit, m_ann); // a day early
    AddAuditEntry(db, "2003-01-14T09:15:00-06:00", audit::kEdit, m_ann, "Forgot to clock out");
    AddAuditEntry(db, "2003-01-14T10:00:00-06:00", audit::kClockIn, m_carl);
    AddAuditEntry(db, "2003-01-15T07:00:00-06:00", audit::kOptions, 0);
    AddAuditEntry(db, "2003-01-16T00:00:00-06:00", audit::kDelete, m_ann); // a day late
    Choose(AuditTrail);
    EXPECT_TRUE(StatusText(m_window).startsWith(QStringLiteral("Reports : Audit trail : ")));
    From()->SetValue(DateTime::FromParts(2003, 1, 14));
    To()->SetValue(DateTime::FromParts(2003, 1, 15));
    Select({QStringLiteral("Ann Baker")});
    Generate();
    EXPECT_TRUE(m_app->Messages().shown.empty()) << m_app->LastMessage();
    ASSERT_EQ(ReportWindows().size(), 1U);
    const std::string file = ReportFile("audit_trail.txt");
    EXPECT_EQ(ReportWindows()[0]->Text(), file);
    EXPECT_EQ(ReportWindows()[0]->windowTitle(),
              QStringLiteral("Audit Trail : 01/14/2003 - 01/15/2003"));
    for (const char* line :
         {"The audit trail is intact (5 entries).\r\n",
          "2      2003-01-14T09:15:00-06:00  manager                 Edit\r\n",
          "       Employee: 101 Ann Baker, time record 7\r\n",
          "       Before: 01/14/2003 08:00 AM to 01/14/2003 05:00 PM, 9.00 hours\r\n",
          "       After: 01/14/2003 08:00 AM to 01/14/2003 04:00 PM, 8.00 hours\r\n",
          "       Reason: Forgot to clock out\r\n",
          "4      2003-01-15T07:00:00-06:00  manager                 Options\r\n",
          "Entries: 2\r\n"}) {
        EXPECT_NE(file.find(line), std::string::npos) << line << file;
    }
    EXPECT_EQ(file.find("Carl"), std::string::npos) << file;
    EXPECT_EQ(file.find("Delete"), std::string::npos) << file;
    EXPECT_EQ(file.find("2003-01-13"), std::string::npos) << file;

    // An entry changed behind the programs' back is found, wherever it is.
    CloseReportWindows();
    m_app->Database().Exec("UPDATE AuditEntry SET ValueAfter = '8.50 hours' WHERE EntryID = 3");
    Generate();
    ASSERT_EQ(ReportWindows().size(), 1U);
    EXPECT_NE(ReportFile("audit_trail.txt").find("The audit trail is broken at entry 3"),
              std::string::npos)
        << ReportFile("audit_trail.txt");
}

TEST_F(ReportsTabTest, AnAuditTrailWithoutEntriesForTheDaysSaysSo) {
    Start();
    AddAuditEntry(*Database(), "2003-02-01T09:00:00-06:00", audit::kEdit, m_ann);
    Choose(AuditTrail);
    Select({QStringLiteral("Ann Baker")});
    Generate();
    EXPECT_EQ(m_app->Shown(),
              (std::vector<std::string>{"Report Generation Error|The audit trail has no entries "
                                        "for these dates and employees."}));
    EXPECT_TRUE(ReportWindows().empty());
}

TEST_F(ReportsTabTest, NoMissingClockOutsSaysSoWithoutAWindow) {
    Start();
    m_app->Database().AddTimeRecord(m_ann, DateTime::FromParts(2003, 1, 15, 7, 0));
    Choose(MissingClockOuts);
    Generate();
    EXPECT_EQ(m_app->Shown(), (std::vector<std::string>{
                                  "Report Generation Error|There are no missing clock-outs."}));
    EXPECT_EQ(m_app->LastStyle(), MsgIconInformation);
    EXPECT_TRUE(ReportWindows().empty());
    EXPECT_FALSE(fs::exists(ReportsFolder() / "missing_clock_outs.txt"));
}

TEST_F(ReportsTabTest, AFailingMissingClockOutsReportGivesItsNumberFirst) {
    Start();
    m_app->Database().AddTimeRecord(m_ann, DateTime::FromParts(2003, 1, 13, 8, 0));
    fs::remove_all(ReportsFolder());
    Choose(MissingClockOuts);
    Generate();
    EXPECT_EQ(m_app->Shown(),
              (std::vector<std::string>{"Report Generation Error|503 : An error occurred "
                                        "generating the report: Missing Clock-Outs : 01/15/2003 "
                                        "08:05 AM"}));
    EXPECT_EQ(m_app->LastStyle(), MsgIconExclamation);
    EXPECT_TRUE(ReportWindows().empty());
}

// ---- Failures ---------------------------------------------------------------

TEST_F(ReportsTabTest, AFailingReportGivesItsNumberFirstAndTheOthersGoOn) {
    Start();
    AddJanuaryRecords();
    fs::remove_all(ReportsFolder());
    Choose(Timecard);
    Select({QStringLiteral("Ann Baker"), QStringLiteral("Carl Dunn")});
    Generate();

    std::vector<std::string> expected;
    for (const char* name : {"Ann Baker", "Carl Dunn"}) {
        auto direct = std::make_shared<CReportTimeCard>();
        EXPECT_FALSE(direct->GenerateReport(Database(), Employee(name),
                                            DateTime::FromParts(2003, 1, 1),
                                            DateTime::FromParts(2003, 1, 14)));
        EXPECT_EQ(direct->ErrorNumber(), 503);
        expected.push_back("Report Generation Error|503 : An error occurred generating the "
                           "report: " +
                           direct->ReportName());
    }
    EXPECT_EQ(m_app->Shown(), expected);
    EXPECT_EQ(m_app->LastStyle(), MsgIconExclamation);
    EXPECT_TRUE(ReportWindows().empty());
}

TEST_F(ReportsTabTest, AFailingReviewGivesTheSameBox) {
    Start();
    fs::remove_all(ReportsFolder());
    Choose(Review);
    Select({QStringLiteral("Eve Frost")});
    Generate();
    ASSERT_EQ(m_app->Shown().size(), 1U);
    EXPECT_EQ(m_app->LastMessage().rfind("Report Generation Error|503 : An error occurred "
                                         "generating the report: Accountant's Review : ",
                                         0),
              0U)
        << m_app->LastMessage();
}

TEST_F(ReportsTabTest, AFailingEmployeeOrPhoneBookReportShowsNothing) {
    Start();
    fs::remove_all(ReportsFolder());
    Select({QStringLiteral("Ann Baker")});
    for (const QString& report : {EmployeeRecords, PhoneBook}) {
        Choose(report);
        Generate();
    }
    EXPECT_TRUE(m_app->Messages().shown.empty()) << m_app->LastMessage();
    EXPECT_TRUE(ReportWindows().empty());
}

// ---- The files equal the report writers' own ------------------------------

class SameFilesTest : public ReportsTabTest {
protected:
    void SetUp() override {
        Start();
        AddJanuaryRecords();
    }

    // The file the page wrote; removed so that the direct run writes afresh.
    std::string TakeFile(const std::string& name) {
        CloseReportWindows();
        const std::string text = ReportFile(name);
        EXPECT_FALSE(text.empty()) << name;
        fs::remove(ReportsFolder() / name);
        return text;
    }

    std::shared_ptr<CEmployeeList> ListOf(const std::vector<std::string>& names) {
        auto list = std::make_shared<CEmployeeList>();
        for (const auto& name : names) {
            list->Insert(Employee(name), list->Count() + 1);
        }
        return list;
    }

    const DateTime m_from = DateTime::FromParts(2003, 1, 1);
    const DateTime m_to = DateTime::FromParts(2003, 1, 14);
};

TEST_F(SameFilesTest, TimeCard) {
    Choose(Timecard);
    Select({QStringLiteral("Carl Dunn")});
    Generate();
    const std::string name = "102_0101_0114_2003_time_card.txt";
    const std::string fromPage = TakeFile(name);
    auto direct = std::make_shared<CReportTimeCard>();
    ASSERT_TRUE(direct->GenerateReport(Database(), Employee("Carl Dunn"), m_from, m_to));
    EXPECT_EQ(ReportFile(name), fromPage);
}

TEST_F(SameFilesTest, Review) {
    Choose(Review);
    Select({QStringLiteral("Ann Baker"), QStringLiteral("Eve Frost")});
    Generate();
    const std::string name = "salary_review_0101_0114_2003.txt";
    const std::string fromPage = TakeFile(name);
    auto direct = std::make_shared<CReportReview>();
    ASSERT_TRUE(
        direct->GenerateReport(Database(), ListOf({"Ann Baker", "Eve Frost"}), m_from, m_to));
    EXPECT_EQ(ReportFile(name), fromPage);
}

TEST_F(SameFilesTest, YearToDateTotals) {
    Choose(YTDTotals);
    Select({QStringLiteral("Ann Baker")});
    Generate();
    const std::string name = "101_0101_0115_2003_ytd_totals.txt";
    const std::string fromPage = TakeFile(name);
    auto direct = std::make_shared<CReportYTDTotals>();
    ASSERT_TRUE(direct->GenerateReport(Database(), Employee("Ann Baker"), m_from,
                                       DateTime::FromParts(2003, 1, 15)));
    EXPECT_EQ(ReportFile(name), fromPage);
}

TEST_F(SameFilesTest, EmployeeRecords) {
    Choose(EmployeeRecords);
    Select({QStringLiteral("Eve Frost"), QStringLiteral("Carl Dunn")});
    Generate();
    const std::string fromPage = TakeFile("employee_records.txt");
    auto direct = std::make_shared<CReportEmployee>();
    ASSERT_TRUE(direct->GenerateReport(ListOf({"Carl Dunn", "Eve Frost"})));
    EXPECT_EQ(ReportFile("employee_records.txt"), fromPage);
}

TEST_F(SameFilesTest, PhoneBook) {
    Choose(PhoneBook);
    Generate();
    const std::string fromPage = TakeFile("phone_book.txt");
    auto direct = std::make_shared<CReportPhoneBook>();
    ASSERT_TRUE(direct->GenerateReport(ListOf({"Ann Baker", "Carl Dunn", "Eve Frost"})));
    EXPECT_EQ(ReportFile("phone_book.txt"), fromPage);
}

TEST_F(ReportsTabTest, TimeCardsPdfPutsEachChosenCardOnItsOwnPage) {
    Start(DateTime::FromParts(2003, 1, 11));
    AddJanuaryRecords();
    auto chooser = std::make_shared<FixedFileChooser>();
    SetFileChooser(chooser);
    struct Restore {
        ~Restore() { SetFileChooser(nullptr); }
    } restore;

    ClickButton(m_window, "cmdTimeCardsPdf");
    ASSERT_EQ(m_app->Messages().shown.size(), 1u);
    EXPECT_EQ(m_app->Messages().shown[0].text,
              "You must select the employees whose time cards go into the PDF.");
    EXPECT_EQ(chooser->asked, 0);

    const fs::path pdf = m_app->Database().Folder() / "reports" / "cards.pdf";
    chooser->answer = pdf.string();
    Select({QStringLiteral("Ann Baker"), QStringLiteral("Eve Frost")});
    ClickButton(m_window, "cmdTimeCardsPdf");
    EXPECT_EQ(fs::path(chooser->lastSuggested).filename(), "TimeCards_0101_0114_2003.pdf");
    // No window is left open by the cards gathered for the file.
    EXPECT_TRUE(ReportWindows().empty());
    const std::vector<std::string> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 2u);
    // Nine days of 4 + 5.25 hours: 8 regular and 1.25 overtime a day.
    for (const char* expected : {"Ann Baker", "Regular: 72.00", "Overtime: 11.25",
                                 "Gross Pay: 888.75", "Manager Signature", "Page 1 of 2"}) {
        EXPECT_NE(pages[0].find(expected), std::string::npos) << expected;
    }
    for (const char* expected : {"Eve Frost", "Gross Pay: 1244.25", "Page 2 of 2"}) {
        EXPECT_NE(pages[1].find(expected), std::string::npos) << expected;
    }
    EXPECT_EQ(pages[1].find("Ann Baker"), std::string::npos);
}

} // namespace
} // namespace orvan::test
