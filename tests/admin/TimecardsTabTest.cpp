// The timecards page of the main window against a real installation: the
// pay period arithmetic, employee stepping, generating and showing a card,
// every message of the page, single records through the editor, deleting,
// printing, and the totals checked against an independent computation.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include <QtWidgets/QComboBox>
#include <QtWidgets/QLineEdit>
#include <QtWidgets/QTableWidget>

#include "MainWindowDriver.h"
#include "TimecardsDriver.h"
#include "admin/FController.h"
#include "storage/MessageBox.h"
#include "support_qt/CloseReportWindows.h"
#include "support_qt/ScopedDocumentShell.h"
#include "support/ScopedTimeZone.h"
#include "tempix/TempixTB.h"
#include "ui/DateCombo.h"

namespace orvan::test {
namespace {

using TimecardsTabTest = TimecardsFixture;

QString Q(const char* text) {
    return QString::fromUtf8(text);
}

// --- Pay period -----------------------------------------------------------

TEST_F(TimecardsTabTest, ThePeriodStartsTodayAndSpansTheLengthPlusOneDays) {
    EXPECT_EQ(From()->Text(), Q("03/01/2003"));
    EXPECT_EQ(To()->Text(), Q("03/14/2003"));
}

TEST_F(TimecardsTabTest, NextAndBackMoveByWholePeriods) {
    Click("cmdPeriodNext");
    EXPECT_EQ(From()->Text(), Q("03/15/2003"));
    EXPECT_EQ(To()->Text(), Q("03/28/2003"));
    Click("cmdPeriodBack");
    EXPECT_EQ(From()->Text(), Q("03/01/2003"));
    EXPECT_EQ(To()->Text(), Q("03/14/2003"));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(TimecardsTabTest, ChangingToByHandWidensAndTheNextMoveRecomputesIt) {
    To()->SetValue(DateTime::FromParts(2003, 3, 20));
    EXPECT_EQ(From()->Text(), Q("03/01/2003"));
    EXPECT_EQ(To()->Text(), Q("03/20/2003"));
    EXPECT_TRUE(StatusText(m_window).endsWith(Q("03/01/2003 - 03/20/2003")));
    Click("cmdPeriodNext");
    EXPECT_EQ(From()->Text(), Q("03/15/2003"));
    EXPECT_EQ(To()->Text(), Q("03/28/2003"));
}

TEST_F(TimecardsTabTest, ChangingFromMovesTo) {
    From()->SetValue(DateTime::FromParts(2003, 2, 10));
    EXPECT_EQ(To()->Text(), Q("02/23/2003"));
}

TEST_F(TimecardsTabTest, APeriodBeyondTheLastDateCannotBeMovedTo) {
    From()->SetValue(DateTime::FromParts(2100, 12, 25));
    Click("cmdPeriodNext");
    EXPECT_EQ(m_app.LastMessage(),
              "Timecard Generation Error|Cannot move to the selected time period.");
    EXPECT_EQ(m_app.LastStyle(), MsgIconExclamation);
    EXPECT_EQ(From()->Text(), Q("12/25/2100"));
}

TEST_F(TimecardsTabTest, TheStatusTextNamesTheEmployeeAndThePeriod) {
    Choose(Q("Carl Dunn"));
    EXPECT_EQ(StatusText(m_window), Q("Timecards : Carl Dunn : 03/01/2003 - 03/14/2003"));
    Click("cmdPeriodNext");
    EXPECT_EQ(StatusText(m_window), Q("Timecards : Carl Dunn : 03/15/2003 - 03/28/2003"));
}

// --- Employees --------------------------------------------------------------

class TimecardsListTest : public TimecardsFixture {
protected:
    void Prepare() override {
        const int32_t gone = m_app.Database().AddEmployee(104, "Gus", "Hale");
        m_app.Database().Exec("UPDATE Employee SET Active = 0 WHERE EmployeeID = " +
                              std::to_string(gone));
        m_app.Database().AddEmployee(105, "Site", "ADMINISTRATOR");
    }
};

TEST_F(TimecardsListTest, InactiveAndAdministratorNamesAreNotListed) {
    QStringList names;
    for (int i = 0; i < Employees()->count(); ++i) {
        names << Employees()->itemText(i);
    }
    EXPECT_EQ(names, QStringList({Q("Anna Berg"), Q("Carl Dunn"), Q("Eva Fink")}));
}

TEST_F(TimecardsTabTest, EmployeeSteppingStopsAtBothEnds) {
    QComboBox* combo = Employees();
    combo->setCurrentIndex(-1);
    Click("cmdTCNext");
    EXPECT_EQ(combo->currentText(), Q("Anna Berg"));
    Click("cmdTCBack");
    EXPECT_EQ(combo->currentText(), Q("Anna Berg"));
    Click("cmdTCNext");
    Click("cmdTCNext");
    EXPECT_EQ(combo->currentText(), Q("Eva Fink"));
    Click("cmdTCNext");
    EXPECT_EQ(combo->currentText(), Q("Eva Fink"));
    Click("cmdTCBack");
    EXPECT_EQ(combo->currentText(), Q("Carl Dunn"));
    EXPECT_EQ(StatusText(m_window), Q("Timecards : Carl Dunn : 03/01/2003 - 03/14/2003"));
}

TEST_F(TimecardsTabTest, SteppingToAnotherEmployeeClearsTheCardShown) {
    m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 3, 8, 0),
                                   DateTime::FromParts(2003, 3, 3, 16, 0));
    Choose(Q("Anna Berg"));
    Generate();
    ASSERT_EQ(Rows().size(), 1u);
    Click("cmdTCNext");
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(Text("txtTCHours").isEmpty());
}

// --- Generating ---------------------------------------------------------------

TEST_F(TimecardsTabTest, GenerateShowsTheRecordsAndTheTotals) {
    m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 3, 8, 0),
                                   DateTime::FromParts(2003, 3, 3, 17, 0));
    m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 4, 8, 0),
                                   DateTime::FromParts(2003, 3, 4, 12, 30));
    // Outside the period: not on the card.
    m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 15, 8, 0),
                                   DateTime::FromParts(2003, 3, 15, 12, 0));
    Choose(Q("Anna Berg"));
    Generate();
    EXPECT_TRUE(Messages().empty()) << m_app.LastMessage();
    EXPECT_EQ(Rows(), (std::vector<QString>{Q("03/03/2003 08:00 AM|03/03/2003 05:00 PM|9.00"),
                                            Q("03/04/2003 08:00 AM|03/04/2003 12:30 PM|4.50")}));
    EXPECT_EQ(Totals(), Q("12.50|12.50|1.00|18.75|175.00"));
    const QTableWidget* grid = Grid();
    EXPECT_EQ(grid->horizontalHeaderItem(0)->text(), Q("Start"));
    EXPECT_EQ(grid->horizontalHeaderItem(1)->text(), Q("End"));
    EXPECT_EQ(grid->horizontalHeaderItem(2)->text(), Q("Total"));
}

// In the Chicago zone the grid shows the hours that passed across a
// daylight-saving change: 7 for the spring night, 9 for the fall night, and
// 0.75 (not -0.25) for the shift the station punched across the repeated
// hour with each punch's offset; an ordinary day as always.
TEST_F(TimecardsTabTest, TheGridCountsTheRealHoursAcrossADaylightSavingChange) {
    ScopedTimeZone chicago("America/Chicago");
    TestDatabase& db = m_app.Database();
    db.AddTimeRecord(m_anna, DateTime::FromParts(2026, 10, 30, 8, 0),
                     DateTime::FromParts(2026, 10, 30, 16, 30));
    db.AddTimeRecord(m_anna, DateTime::FromParts(2026, 10, 31, 22, 0),
                     DateTime::FromParts(2026, 11, 1, 6, 0));
    const int64_t punched = db.AddTimeRecord(m_anna, DateTime::FromParts(2026, 11, 1, 1, 30),
                                             DateTime::FromParts(2026, 11, 1, 1, 15));
    db.Exec("INSERT INTO PunchOffset (TimeRecordID, StartOffset, EndOffset) VALUES (" +
            std::to_string(punched) + ", -300, -360)");
    Choose(Q("Anna Berg"));
    From()->SetValue(DateTime::FromParts(2026, 10, 25));
    Generate();
    EXPECT_TRUE(Messages().empty()) << m_app.LastMessage();
    EXPECT_EQ(Rows(), (std::vector<QString>{Q("10/30/2026 08:00 AM|10/30/2026 04:30 PM|8.50"),
                                            Q("10/31/2026 10:00 PM|11/01/2026 06:00 AM|9.00"),
                                            Q("11/01/2026 01:30 AM|11/01/2026 01:15 AM|0.75")}));
    // 8 + 8 + 0.75 regular, 0.5 + 1 overtime.
    EXPECT_EQ(Totals(), Q("16.75|12.50|1.50|18.75|237.50"));

    From()->SetValue(DateTime::FromParts(2026, 3, 1));
    db.AddTimeRecord(m_anna, DateTime::FromParts(2026, 3, 7, 22, 0),
                     DateTime::FromParts(2026, 3, 8, 6, 0));
    Generate();
    EXPECT_EQ(Rows(), std::vector<QString>{Q("03/07/2026 10:00 PM|03/08/2026 06:00 AM|7.00")});
    EXPECT_EQ(Totals(), Q("7.00|12.50|0.00|18.75|87.50"));
}

TEST_F(TimecardsTabTest, GenerateWithoutAnEmployeeAsksForOne) {
    Employees()->setCurrentIndex(-1);
    Generate();
    EXPECT_EQ(m_app.LastMessage(), "Generate Timecard Error|You must select an employee.");
    EXPECT_EQ(m_app.LastStyle(), MsgIconExclamation);
}

TEST_F(TimecardsTabTest, AnEmptyPeriodIsReportedAndNewStillAddsARecord) {
    Choose(Q("Carl Dunn"));
    Generate();
    EXPECT_EQ(m_app.LastMessage(), "Timecard Generation Error|There are no time records found "
                                   "for this employee during this period.");
    EXPECT_EQ(m_app.LastStyle(), MsgIconInformation);
    EXPECT_TRUE(Rows().empty());
    WithDialog("cmdTCNew", [](QWidget* editor) {
        Box(editor, "tptbStartDate")->SetText("3/5/2003");
        Box(editor, "tptbStartTime")->SetText("9:00 AM");
        Box(editor, "tptbEndDate")->SetText("3/5/2003");
        Box(editor, "tptbEndTime")->SetText("1:15 PM");
        Press(editor, "cmdSave");
    });
    EXPECT_EQ(Rows(), (std::vector<QString>{Q("03/05/2003 09:00 AM|03/05/2003 01:15 PM|4.25")}));
    EXPECT_EQ(m_app.Database().QueryInt("SELECT EmployeeID FROM TimeRecord"), m_carl);
}

TEST_F(TimecardsTabTest, AnUnknownNameIsNoActiveEmployee) {
    Employees()->addItem(Q("Nobody Known"));
    Choose(Q("Nobody Known"));
    Generate();
    EXPECT_EQ(m_app.LastMessage(), "Timecard Generation Error|This is not an active employee.");
}

TEST_F(TimecardsTabTest, APeriodEndingBeforeItStartsIsAnInvalidRange) {
    Choose(Q("Anna Berg"));
    To()->SetValue(DateTime::FromParts(2003, 2, 1));
    Generate();
    EXPECT_EQ(m_app.LastMessage(),
              "Timecard Generation Error|Incorrect date format or invalid date range.");
}

TEST_F(TimecardsTabTest, ADatabaseThatWillNotOpenIsAGenerationError) {
    Choose(Q("Anna Berg"));
    HideDatabase();
    Generate();
    RestoreDatabase();
    EXPECT_EQ(m_app.LastMessage(),
              "Timecard Generation Error|An error occurred while generating this timecard. Check "
              "time records, rate of pay, or date range.");
}

// --- Record buttons without a card or a selection ------------------------------

TEST_F(TimecardsTabTest, RecordButtonsNeedACard) {
    Click("cmdTCNew");
    EXPECT_EQ(m_app.LastMessage(), "Time Card Creation Error|You must generate a time card before "
                                   "adding a new time record.");
    Click("cmdTCEdit");
    EXPECT_EQ(m_app.LastMessage(),
              "Time Card Creation Error|You must generate a time card before continuing.");
    Click("cmdTCDelete");
    EXPECT_EQ(m_app.LastMessage(),
              "Time Card Creation Error|You must generate a time card before continuing.");
    EXPECT_EQ(m_app.LastStyle(), MsgIconInformation);
}

TEST_F(TimecardsTabTest, EditAndDeleteRightAfterGenerateAskForASelection) {
    m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 3, 8, 0),
                                   DateTime::FromParts(2003, 3, 3, 16, 0));
    Choose(Q("Anna Berg"));
    Generate();
    Grid()->setCurrentCell(0, 0); // current, but not clicked
    Click("cmdTCEdit");
    EXPECT_EQ(m_app.LastMessage(), "Time Record Selection Error|You must select a time record to "
                                   "edit before continuing.");
    Click("cmdTCDelete");
    EXPECT_EQ(m_app.LastMessage(), "Time Record Selection Error|You must select a time record to "
                                   "delete before continuing.");
    EXPECT_EQ(StoredRecords(), 1);
}

// --- Editing and deleting ---------------------------------------------------------

class TimecardsRecordTest : public TimecardsFixture {
protected:
    void Prepare() override {
        m_first = m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 3, 0, 0),
                                                 DateTime::FromParts(2003, 3, 3, 8, 0));
        m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 4, 8, 0),
                                       DateTime::FromParts(2003, 3, 4, 16, 0));
    }
    void SetUp() override {
        TimecardsFixture::SetUp();
        Choose(Q("Anna Berg"));
        Generate();
        ASSERT_EQ(Rows().size(), 2u);
        ClearMessages();
    }
    int64_t m_first = 0;
};

TEST_F(TimecardsRecordTest, ARecordStartingAtMidnightOpensWithAnEmptyStartTime) {
    ClickRow(0);
    std::string startTime = "unread";
    std::string startDate;
    std::string endTime;
    WithDialog("cmdTCEdit", [&](QWidget* editor) {
        startTime = Box(editor, "tptbStartTime")->Text();
        startDate = Box(editor, "tptbStartDate")->Text();
        endTime = Box(editor, "tptbEndTime")->Text();
    });
    EXPECT_EQ(startTime, "");
    EXPECT_EQ(startDate, "03/03/2003");
    EXPECT_EQ(endTime, "08:00 AM");
}

TEST_F(TimecardsRecordTest, EditSaveStoresTheRecordAndRecomputesGridAndTotals) {
    ClickRow(1);
    WithDialog("cmdTCEdit", [](QWidget* editor) {
        Box(editor, "tptbEndTime")->SetText("6:30 PM");
        Press(editor, "cmdSave");
    });
    // The shift ends after the fixed now of 03/01/2003: the editor asks
    // first, and Yes (the default) saves it.
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages().front().rfind("Time Record Check|", 0), 0u) << Messages().front();
    EXPECT_EQ(Rows().at(1), Q("03/04/2003 08:00 AM|03/04/2003 06:30 PM|10.50"));
    EXPECT_EQ(Totals(), Q("16.00|12.50|2.50|18.75|246.88"));
    EXPECT_EQ(StoredRecords(), 2);
    EXPECT_EQ(m_app.Database().QueryDouble("SELECT MAX(EndTime) FROM TimeRecord"),
              DateTime::FromParts(2003, 3, 4, 18, 30).Days());
}

TEST_F(TimecardsRecordTest, DeleteWithYesRemovesTheRecord) {
    ClickRow(0);
    m_app.Messages().answers.push_back(MsgResultYes);
    Click("cmdTCDelete");
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages().front(), "Delete Time Record?|Deleting will remove this time record from "
                                  "the database permanently. Continue?");
    EXPECT_EQ(m_app.LastStyle(), MsgIconQuestion + MsgButtonsYesNo);
    EXPECT_EQ(StoredRecords(), 1);
    EXPECT_EQ(Rows(), (std::vector<QString>{Q("03/04/2003 08:00 AM|03/04/2003 04:00 PM|8.00")}));
}

TEST_F(TimecardsRecordTest, DeleteWithNoKeepsTheRecord) {
    ClickRow(0);
    m_app.Messages().answers.push_back(MsgResultNo);
    Click("cmdTCDelete");
    EXPECT_EQ(StoredRecords(), 2);
    EXPECT_EQ(Rows().size(), 2u);
}

TEST_F(TimecardsRecordTest, ADeleteThatCannotBeStoredIsReported) {
    ClickRow(0);
    m_app.Messages().answers.push_back(MsgResultYes);
    HideDatabase();
    Click("cmdTCDelete");
    RestoreDatabase();
    EXPECT_EQ(m_app.LastMessage(), "Time Record Delete Error|There was an error deleting the time "
                                   "record from the database.");
    EXPECT_EQ(StoredRecords(), 2);
}

TEST_F(TimecardsRecordTest, AnEditThatCannotBeStoredIsReported) {
    ClickRow(1);
    HideDatabase();
    WithDialog("cmdTCEdit", [](QWidget* editor) {
        Box(editor, "tptbEndTime")->SetText("6:30 PM");
        Press(editor, "cmdSave");
    });
    RestoreDatabase();
    EXPECT_EQ(
        m_app.LastMessage(),
        "Database Save Error|An error occurred while adding this time record to the database.");
    EXPECT_EQ(m_app.Database().QueryDouble("SELECT MAX(EndTime) FROM TimeRecord"),
              DateTime::FromParts(2003, 3, 4, 16, 0).Days());
}

// --- Printing -----------------------------------------------------------------------

TEST_F(TimecardsRecordTest, PrintWritesTheTimeCardReport) {
    ScopedDocumentShell shell;
    Click("cmdTCPrint");
    EXPECT_TRUE(Messages().empty()) << m_app.LastMessage();
    const auto report = m_app.Database().Folder() / "reports" / "101_0301_0315_2003_time_card.txt";
    EXPECT_TRUE(std::filesystem::exists(report)) << report;
    CloseReportWindows();
}

TEST_F(TimecardsTabTest, APrintThatFailsShowsTheNumberFirst) {
    ScopedDocumentShell shell;
    // No employee chosen: no card to write from.
    Employees()->setCurrentIndex(-1);
    Click("cmdTCPrint");
    const std::string last = m_app.LastMessage();
    EXPECT_EQ(last.rfind("Time Card Print Error|706 : ", 0), 0u) << last;
    EXPECT_NE(last.find("An error occurred while printing the current timecard. Check employee "
                        "record and time records before continuing."),
              std::string::npos);
    EXPECT_EQ(m_app.LastStyle(), MsgIconInformation);
    CloseReportWindows();
}

// --- Totals against an independent computation ------------------------------------------

struct Shift {
    DateTime start;
    DateTime end;
};

// Whole minutes of each record summed per starting day, less the daily
// allowance, 8 hours a day regular and the rest overtime; pay in cents.
std::string IndependentTotals(const std::vector<Shift>& shifts, int allowance, double rate,
                              double overtimeRate) {
    std::map<int, long> minutesByDay;
    for (const Shift& shift : shifts) {
        const long minutes = std::lround((shift.end.Days() - shift.start.Days()) * 24.0 * 60.0);
        minutesByDay[static_cast<int>(std::floor(shift.start.Days()))] += minutes;
    }
    long regular = 0;
    long overtime = 0;
    for (const auto& [day, minutes] : minutesByDay) {
        const long worked = minutes - allowance;
        regular += std::min(worked, 480L);
        overtime += std::max(worked - 480L, 0L);
    }
    const double cents = std::round(
        (static_cast<double>(regular) * rate + static_cast<double>(overtime) * overtimeRate) *
        100.0 / 60.0);
    char text[128];
    std::snprintf(text, sizeof text, "%.2f|%.2f|%.2f|%.2f|%.2f",
                  static_cast<double>(regular) / 60.0, rate, static_cast<double>(overtime) / 60.0,
                  overtimeRate, cents / 100.0);
    return text;
}

class TimecardsTotalsTest : public TimecardsFixture {
protected:
    void Prepare() override {
        m_app.Database().Exec("UPDATE Employee SET AutoDeduct = 1, AutoDeductLunchLength = 30, "
                              "AutoDeductBreakLength = 15 WHERE EmployeeID = " +
                              std::to_string(m_anna));
        for (const Shift& shift : m_shifts) {
            m_app.Database().AddTimeRecord(m_anna, shift.start, shift.end);
        }
    }
    // A long day with overtime, a short day, a night shift across midnight
    // (counted on its first day) and a split day after it.
    std::vector<Shift> m_shifts{
        {DateTime::FromParts(2003, 3, 3, 8, 0), DateTime::FromParts(2003, 3, 3, 18, 37)},
        {DateTime::FromParts(2003, 3, 4, 9, 0), DateTime::FromParts(2003, 3, 4, 13, 0)},
        {DateTime::FromParts(2003, 3, 5, 22, 0), DateTime::FromParts(2003, 3, 6, 7, 15)},
        {DateTime::FromParts(2003, 3, 6, 13, 0), DateTime::FromParts(2003, 3, 6, 17, 0)},
        {DateTime::FromParts(2003, 3, 6, 18, 0), DateTime::FromParts(2003, 3, 6, 20, 11)},
    };
};

TEST_F(TimecardsTotalsTest, TotalsMatchAnIndependentComputationToTheCent) {
    Choose(Q("Anna Berg"));
    Generate();
    EXPECT_TRUE(Messages().empty()) << m_app.LastMessage();
    EXPECT_EQ(Rows().size(), m_shifts.size());
    EXPECT_EQ(Totals().toStdString(), IndependentTotals(m_shifts, 45, 12.5, 18.75));
}

} // namespace
} // namespace orvan::test
