// The time record editor opened from the timecards page: its boxes, a new
// record's defaults, the total as times are left or Auto Shift is clicked,
// night shifts, and the two refusals (boxes that do not convert, an end
// before the start). Cancel discards the edit even when the card's list is
// saved afterwards. The end date follows the start date, and a record
// longer than 16 hours or ending after now is saved only after a question.
#include <string>
#include <vector>

#include <QtTest/QTest>
#include <QtWidgets/QLineEdit>

#include "MainWindowDriver.h"
#include "TimecardsDriver.h"
#include "admin/CController.h"
#include "admin/FController.h"
#include "storage/CSystemOptions.h"
#include "tempix/TempixTB.h"

namespace orvan::test {
namespace {

class TimeEditorTest : public TimecardsFixture {
protected:
    void Prepare() override {
        m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 4, 8, 0),
                                       DateTime::FromParts(2003, 3, 4, 16, 0));
    }
    void SetUp() override {
        TimecardsFixture::SetUp();
        PickEntry(Employees(), QStringLiteral("Anna Berg"));
        Generate();
        ASSERT_EQ(Rows().size(), 1u);
        ClearMessages();
    }
    // Types a value into a box and presses Enter, as the manager does.
    static void Type(QWidget* editor, const char* box, const char* text) {
        auto* field = Box(editor, box)->TPText();
        field->setText(QString::fromLatin1(text));
        QTest::keyClick(field, Qt::Key_Return);
    }
    double StoredEnd() {
        return m_app.Database().QueryDouble("SELECT MAX(EndTime) FROM TimeRecord");
    }
};

TEST_F(TimeEditorTest, TheEditorHasItsCaptionAndTempixBoxes) {
    WithDialog("cmdTCNew", [](QWidget* editor) {
        EXPECT_EQ(editor->windowTitle(), QStringLiteral("Edit Time Record"));
        EXPECT_EQ(Box(editor, "tptbStartTime")->DataType(), "Time");
        EXPECT_EQ(Box(editor, "tptbStartTime")->TimeFormat(), "hh:mm AM/PM");
        EXPECT_EQ(Box(editor, "tptbEndTime")->DataType(), "Time");
        EXPECT_EQ(Box(editor, "tptbEndTime")->TimeFormat(), "hh:mm AM/PM");
        EXPECT_EQ(Box(editor, "tptbStartDate")->DataType(), "Date");
        EXPECT_EQ(Box(editor, "tptbEndDate")->DataType(), "Date");
    });
}

TEST_F(TimeEditorTest, ANewRecordOpensWithTodayAndEmptyTimes) {
    WithDialog("cmdTCNew", [](QWidget* editor) {
        EXPECT_EQ(Box(editor, "tptbStartDate")->Text(), "03/01/2003");
        EXPECT_EQ(Box(editor, "tptbEndDate")->Text(), "03/01/2003");
        EXPECT_EQ(Box(editor, "tptbStartTime")->Text(), "");
        EXPECT_EQ(Box(editor, "tptbEndTime")->Text(), "");
        EXPECT_EQ(BoxText(editor, "txtTotalTime"), QStringLiteral("0.00"));
    });
}

TEST_F(TimeEditorTest, LeavingATimeBoxShowsTheNewTotal) {
    ClickRow(0);
    WithDialog("cmdTCEdit", [](QWidget* editor) {
        auto* end = Box(editor, "tptbEndTime");
        end->TPText()->setText(QStringLiteral("5:30 PM"));
        QTest::keyClick(end->TPText(), Qt::Key_Return);
        EXPECT_EQ(BoxText(editor, "txtTotalTime"), QStringLiteral("9.50"));
    });
}

TEST_F(TimeEditorTest, AutoShiftFillsTheStandardShift) {
    WithDialog("cmdTCNew", [](QWidget* editor) {
        Press(editor, "cmdAutoShift");
        EXPECT_EQ(Box(editor, "tptbStartTime")->Text(), "08:00 AM");
        EXPECT_EQ(Box(editor, "tptbEndTime")->Text(), "05:00 PM");
        EXPECT_EQ(Box(editor, "tptbEndDate")->Text(), "03/01/2003");
        EXPECT_EQ(BoxText(editor, "txtTotalTime"), QStringLiteral("9.00"));
    });
}

// Fault fixed: a night shift from Auto Shift ends the next morning instead
// of before it starts.
TEST_F(TimeEditorTest, AutoShiftOfANightShiftEndsTheNextDay) {
    auto options = m_app.Controller()->SystemOptions();
    options->SetAutoShiftStartTime(DateTime::FromTime(22, 0));
    options->SetAutoShiftEndTime(DateTime::FromTime(6, 0));
    WithDialog("cmdTCNew", [](QWidget* editor) {
        Box(editor, "tptbStartDate")->SetText("3/10/2003");
        Press(editor, "cmdAutoShift");
        EXPECT_EQ(Box(editor, "tptbEndDate")->Text(), "03/11/2003");
        EXPECT_EQ(BoxText(editor, "txtTotalTime"), QStringLiteral("8.00"));
        Press(editor, "cmdSave");
    });
    EXPECT_EQ(StoredEnd(), DateTime::FromParts(2003, 3, 11, 6, 0).Days());
    EXPECT_EQ(Rows().back(), QStringLiteral("03/10/2003 10:00 PM|03/11/2003 06:00 AM|8.00"));
}

// Fault fixed: an end before the start is not saved; the editor stays open
// and the corrected record is saved from it.
TEST_F(TimeEditorTest, AnEndBeforeTheStartIsNotSavedAndTheEditorStaysOpen) {
    ClickRow(0);
    WithDialog("cmdTCEdit", [this](QWidget* editor) {
        Box(editor, "tptbEndTime")->SetText("7:00 AM");
        Press(editor, "cmdSave");
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(m_app.LastMessage(), "Time Record Error|The end of this time record lies before "
                                       "its start. Correct the dates and times before saving.");
        EXPECT_EQ(StoredEnd(), DateTime::FromParts(2003, 3, 4, 16, 0).Days());
        Box(editor, "tptbEndTime")->SetText("5:00 PM");
        Press(editor, "cmdSave");
        EXPECT_FALSE(editor->isVisible());
    });
    EXPECT_EQ(StoredEnd(), DateTime::FromParts(2003, 3, 4, 17, 0).Days());
}

TEST_F(TimeEditorTest, BoxesThatDoNotConvertAreNotSaved) {
    ClickRow(0);
    WithDialog("cmdTCEdit", [this](QWidget* editor) {
        auto* end = Box(editor, "tptbEndTime");
        end->TPText()->setText(QStringLiteral("7;30"));
        QTest::keyClick(end->TPText(), Qt::Key_Return);
        ClearMessages();
        Press(editor, "cmdSave");
        EXPECT_EQ(
            m_app.LastMessage(),
            "Date Format Error|Error: Invalid date separator. Use : to separate time values.");
        EXPECT_TRUE(editor->isVisible());
    });
    EXPECT_EQ(StoredEnd(), DateTime::FromParts(2003, 3, 4, 16, 0).Days());
}

// Fault fixed: the editor works on a copy. Times typed and left, and Auto
// Shift, change nothing on Cancel, not even after auto fill saves the
// card's whole list.
TEST_F(TimeEditorTest, CancelDiscardsTheEditEvenWhenTheCardIsSavedLater) {
    ClickRow(0);
    WithDialog("cmdTCEdit", [](QWidget* editor) {
        auto* end = Box(editor, "tptbEndTime");
        end->TPText()->setText(QStringLiteral("11:00 PM"));
        QTest::keyClick(end->TPText(), Qt::Key_Return);
        Press(editor, "cmdAutoShift");
        Press(editor, "cmdCancel");
    });
    EXPECT_EQ(Rows().front(), QStringLiteral("03/04/2003 08:00 AM|03/04/2003 04:00 PM|8.00"));
    WithDialog("cmdFill", [](QWidget* fill) {
        Box(fill, "tptbStartTime")->SetText("8:00 AM");
        Box(fill, "tptbEndTime")->SetText("9:00 AM");
        Press(fill, "cmdSave");
    });
    EXPECT_EQ(m_app.Database().QueryInt(
                  "SELECT COUNT(*) FROM TimeRecord WHERE ABS(EndTime - " +
                  std::to_string(DateTime::FromParts(2003, 3, 4, 16, 0).Days()) + ") < 0.00001"),
              1);
    EXPECT_EQ(StoredRecords(), 15);
}

TEST_F(TimeEditorTest, TheEndDateFollowsTheStartDate) {
    // A new record: both dates start on today and move together.
    WithDialog("cmdTCNew", [](QWidget* editor) {
        Type(editor, "tptbStartDate", "02/24/2003");
        EXPECT_EQ(Box(editor, "tptbEndDate")->Text(), "02/24/2003");
        Press(editor, "cmdCancel");
    });
    // A night shift keeps ending on the day after its start.
    m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, 5, 22, 0),
                                   DateTime::FromParts(2003, 3, 6, 6, 0));
    Generate();
    ASSERT_EQ(Rows().size(), 2u);
    ClickRow(1);
    WithDialog("cmdTCEdit", [](QWidget* editor) {
        Type(editor, "tptbStartDate", "03/07/2003");
        EXPECT_EQ(Box(editor, "tptbEndDate")->Text(), "03/08/2003");
        EXPECT_EQ(BoxText(editor, "txtTotalTime"), QStringLiteral("8.00"));
        // An end date typed afterwards stays as typed.
        Type(editor, "tptbEndDate", "03/07/2003");
        EXPECT_EQ(Box(editor, "tptbStartDate")->Text(), "03/07/2003");
        Press(editor, "cmdCancel");
    });
}

TEST_F(TimeEditorTest, ARecordLongerThanSixteenHoursIsSavedOnlyAfterYes) {
    m_app.Messages().answers.push_back(MsgResultNo);
    WithDialog("cmdTCNew", [this](QWidget* editor) {
        Type(editor, "tptbStartDate", "02/24/2003");
        Type(editor, "tptbStartTime", "9:00 AM");
        Type(editor, "tptbEndDate", "02/28/2003");
        Type(editor, "tptbEndTime", "5:30 PM");
        ClearMessages();
        Press(editor, "cmdSave");
        // No: nothing stored, the editor stays open for the correction.
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages().front(), "Time Record Check|This time record counts 104.50 hours, "
                                      "more than 16 hours in one shift. Save it anyway?");
        EXPECT_TRUE(editor->isVisible());
        EXPECT_EQ(StoredRecords(), 1);
        // Yes (the default button) saves it as it stands.
        Press(editor, "cmdSave");
        EXPECT_FALSE(editor->isVisible());
    });
    EXPECT_EQ(StoredRecords(), 2);
}

TEST_F(TimeEditorTest, ARecordEndingAfterNowAsksAndAnOrdinaryOneDoesNot) {
    // The card's own record lies after the fixed today of 03/01/2003.
    ClickRow(0);
    m_app.Messages().answers.push_back(MsgResultNo);
    WithDialog("cmdTCEdit", [this](QWidget* editor) {
        Type(editor, "tptbEndTime", "5:00 PM");
        ClearMessages();
        Press(editor, "cmdSave");
        EXPECT_EQ(Messages(),
                  std::vector<std::string>{"Time Record Check|This time record counts 9.00 "
                                           "hours. It ends after the present time, at "
                                           "03/04/2003 05:00 PM. Save it anyway?"});
        EXPECT_TRUE(editor->isVisible());
        // Ending before now (09:00 AM), the record is saved without a word.
        Type(editor, "tptbStartDate", "03/01/2003");
        Type(editor, "tptbEndTime", "8:45 AM");
        ClearMessages();
        Press(editor, "cmdSave");
        EXPECT_EQ(Messages(), std::vector<std::string>{});
        EXPECT_FALSE(editor->isVisible());
    });
    EXPECT_EQ(StoredEnd(), DateTime::FromParts(2003, 3, 1, 8, 45).Days());
}

} // namespace
} // namespace orvan::test
