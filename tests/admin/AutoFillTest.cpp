// Auto fill from the timecards page: one shift a day over the range, twice
// doubling, the refusals, Cancel, Auto Shift, the proposed end date, night
// shifts and a save that fails.
#include <string>

#include <QtWidgets/QTableWidget>

#include "MainWindowDriver.h"
#include "TimecardsDriver.h"
#include "admin/CController.h"
#include "admin/FController.h"
#include "storage/CSystemOptions.h"
#include "tempix/TempixTB.h"
#include "ui/DateCombo.h"

namespace orvan::test {
namespace {

class AutoFillTest : public TimecardsFixture {
protected:
    void SetUp() override {
        TimecardsFixture::SetUp();
        PickEntry(Employees(), QStringLiteral("Anna Berg"));
        Generate(); // an empty period: the card is kept for filling
        ClearMessages();
    }
    // Fills the tab's period (1 to 14 March) with the given shift.
    void Fill(const std::string& start, const std::string& end) {
        WithDialog("cmdFill", [&](QWidget* fill) {
            Box(fill, "tptbStartTime")->SetText(start);
            Box(fill, "tptbEndTime")->SetText(end);
            Press(fill, "cmdSave");
        });
    }
    static DateCombo* Date(QWidget* fill, const char* name) {
        return Control<DateCombo>(fill, name);
    }
};

TEST_F(AutoFillTest, TheWindowHasItsCaptionBoxesAndThePeriod) {
    WithDialog("cmdFill", [](QWidget* fill) {
        EXPECT_EQ(fill->windowTitle(), QStringLiteral("AutoFill Time Period"));
        EXPECT_EQ(Box(fill, "tptbStartTime")->TimeFormat(), "hh:mm AM/PM");
        EXPECT_EQ(Box(fill, "tptbEndTime")->DataType(), "Time");
        EXPECT_EQ(Date(fill, "tptbTCFrom")->Text(), QStringLiteral("03/01/2003"));
        EXPECT_EQ(Date(fill, "tptbTCTo")->Text(), QStringLiteral("03/14/2003"));
        EXPECT_EQ(Box(fill, "tptbStartTime")->Text(), "");
    });
}

TEST_F(AutoFillTest, FillingTwoWeeksMakesOneShiftADay) {
    Fill("8:00 AM", "4:30 PM");
    EXPECT_TRUE(Messages().empty()) << m_app.LastMessage();
    EXPECT_EQ(StoredRecords(), 14);
    const auto rows = Rows();
    ASSERT_EQ(rows.size(), 14u);
    EXPECT_EQ(rows.front(), QStringLiteral("03/01/2003 08:00 AM|03/01/2003 04:30 PM|8.50"));
    EXPECT_EQ(rows.back(), QStringLiteral("03/14/2003 08:00 AM|03/14/2003 04:30 PM|8.50"));
    for (const QString& row : rows) {
        EXPECT_TRUE(row.endsWith(QStringLiteral("|8.50"))) << row.toStdString();
    }
    EXPECT_EQ(From()->Text(), QStringLiteral("03/01/2003"));
    EXPECT_EQ(To()->Text(), QStringLiteral("03/14/2003"));
    EXPECT_EQ(Text("txtTCHours"), QStringLiteral("112.00"));
    EXPECT_EQ(Text("txtTCOvertimeHours"), QStringLiteral("7.00"));
}

TEST_F(AutoFillTest, FillingTwiceDoublesEveryDay) {
    Fill("8:00 AM", "4:30 PM");
    Fill("8:00 AM", "4:30 PM");
    EXPECT_EQ(StoredRecords(), 28);
    EXPECT_EQ(Rows().size(), 28u);
}

// Fault fixed: a night shift ends on the next day instead of before it
// starts.
TEST_F(AutoFillTest, ANightShiftEndsOnTheNextDay) {
    Fill("10:00 PM", "6:00 AM");
    EXPECT_EQ(StoredRecords(), 14);
    EXPECT_EQ(Rows().front(), QStringLiteral("03/01/2003 10:00 PM|03/02/2003 06:00 AM|8.00"));
    EXPECT_EQ(
        m_app.Database().QueryInt("SELECT COUNT(*) FROM TimeRecord WHERE EndTime <= StartTime"), 0);
    EXPECT_EQ(Text("txtTCHours"), QStringLiteral("112.00"));
}

TEST_F(AutoFillTest, ASameDayRangeIsRefused) {
    WithDialog("cmdFill", [](QWidget* fill) {
        Date(fill, "tptbTCTo")->SetValue(DateTime::FromParts(2003, 3, 1));
        Box(fill, "tptbStartTime")->SetText("8:00 AM");
        Box(fill, "tptbEndTime")->SetText("4:30 PM");
        Press(fill, "cmdSave");
    });
    EXPECT_EQ(m_app.LastMessage(),
              "Date Range Error|Cannot create time records for the given time period.");
    EXPECT_EQ(StoredRecords(), 0);
}

// A statement that fails on the eighth day (a full disk, say) leaves none of
// the fill stored, the page shows what is stored, and the retry stores the
// fourteen days once.
TEST_F(AutoFillTest, AFillThatFailsPartWayStoresNothingAndTheRetryStoresItOnce) {
    m_app.Database().Exec("CREATE TRIGGER FailEighthDay BEFORE INSERT ON TimeRecord "
                          "WHEN (SELECT count(*) FROM TimeRecord) >= 7 "
                          "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
    Fill("8:00 AM", "4:30 PM");
    EXPECT_EQ(m_app.LastMessage(), "Time Record Save Error|An error occurred while adding this "
                                   "time record to the database.");
    EXPECT_EQ(Messages().size(), 1u);
    EXPECT_EQ(StoredRecords(), 0);
    EXPECT_TRUE(Rows().empty());

    m_app.Database().Exec("DROP TRIGGER FailEighthDay");
    ClearMessages();
    Fill("8:00 AM", "4:30 PM");
    EXPECT_TRUE(Messages().empty()) << m_app.LastMessage();
    EXPECT_EQ(StoredRecords(), 14);
    EXPECT_EQ(Rows().size(), 14u);
}

TEST_F(AutoFillTest, AnEndBeforeTheStartIsAnInvalidRange) {
    WithDialog("cmdFill", [](QWidget* fill) {
        Date(fill, "tptbTCTo")->SetValue(DateTime::FromParts(2003, 2, 20));
        Box(fill, "tptbStartTime")->SetText("8:00 AM");
        Box(fill, "tptbEndTime")->SetText("4:30 PM");
        Press(fill, "cmdSave");
    });
    EXPECT_EQ(m_app.LastMessage(), "Date Range Error|Incorrect date format or invalid date range.");
    EXPECT_EQ(StoredRecords(), 0);
}

TEST_F(AutoFillTest, CancelChangesNothing) {
    WithDialog("cmdFill", [](QWidget* fill) {
        Date(fill, "tptbTCFrom")->SetValue(DateTime::FromParts(2003, 4, 1));
        Box(fill, "tptbStartTime")->SetText("8:00 AM");
        Box(fill, "tptbEndTime")->SetText("4:30 PM");
        Press(fill, "cmdCancel");
    });
    EXPECT_EQ(StoredRecords(), 0);
    EXPECT_EQ(From()->Text(), QStringLiteral("03/01/2003"));
    EXPECT_EQ(To()->Text(), QStringLiteral("03/14/2003"));
    EXPECT_TRUE(Messages().empty());
}

TEST_F(AutoFillTest, ChangingTheStartProposesAnEnd) {
    WithDialog("cmdFill", [](QWidget* fill) {
        Date(fill, "tptbTCFrom")->SetValue(DateTime::FromParts(2003, 4, 1));
        EXPECT_EQ(Date(fill, "tptbTCTo")->Text(), QStringLiteral("04/14/2003"));
    });
}

TEST_F(AutoFillTest, AutoShiftFillsTheStandardTimes) {
    WithDialog("cmdFill", [](QWidget* fill) {
        Press(fill, "cmdAutoShift");
        EXPECT_EQ(Box(fill, "tptbStartTime")->Text(), "08:00 AM");
        EXPECT_EQ(Box(fill, "tptbEndTime")->Text(), "05:00 PM");
    });
}

TEST_F(AutoFillTest, AutoShiftWithAZeroTimeLeavesTheBoxes) {
    m_app.Controller()->SystemOptions()->SetAutoShiftEndTime(DateTime());
    WithDialog("cmdFill", [](QWidget* fill) {
        Box(fill, "tptbStartTime")->SetText("7:00 AM");
        Press(fill, "cmdAutoShift");
        EXPECT_EQ(Box(fill, "tptbStartTime")->Text(), "07:00 AM");
        EXPECT_EQ(Box(fill, "tptbEndTime")->Text(), "");
    });
}

TEST_F(AutoFillTest, ASaveThatFailsIsReported) {
    HideDatabase();
    Fill("8:00 AM", "4:30 PM");
    RestoreDatabase();
    EXPECT_EQ(m_app.LastMessage(), "Time Record Save Error|An error occurred while adding this "
                                   "time record to the database.");
    EXPECT_EQ(StoredRecords(), 0);
}

} // namespace
} // namespace orvan::test
