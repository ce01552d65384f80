// The date box driven by real key events offscreen: typed dates into empty
// and filled boxes, taken on Enter and when the box is left, refusals that
// keep the date and say why, the empty date and the popup calendar; and the
// employee page storing a typed date of birth.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

#include "AdminTestSupport.h"
#include "MainWindowDriver.h"
#include "admin/FController.h"
#include "ui/DateCombo.h"

namespace orvan::test {
namespace {

class DateComboTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto* layout = new QVBoxLayout(&m_window);
        m_box = new DateCombo(&m_window);
        m_other = new QLineEdit(&m_window);
        layout->addWidget(m_box);
        layout->addWidget(m_other);
        m_window.show();
        QApplication::setActiveWindow(&m_window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&m_window));
    }

    // Tabs into the box from the other field, as a user would.
    void TabIn() {
        m_other->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(m_other, Qt::Key_Backtab);
        ASSERT_TRUE(m_box->hasFocus());
    }
    void TabOut() {
        QTest::keyClick(m_box, Qt::Key_Tab);
        ASSERT_TRUE(m_other->hasFocus());
    }

    QLineEdit* Edit() const { return m_box->findChild<QLineEdit*>(); }

    QWidget m_window;
    DateCombo* m_box = nullptr;
    QLineEdit* m_other = nullptr;
};

TEST_F(DateComboTest, AWholeTypedDateIsTakenByAnEmptyOrAFilledBox) {
    m_box->Clear();
    QSignalSpy changed(m_box, &DateCombo::ValueChanged);
    TabIn();
    QTest::keyClicks(m_box, QStringLiteral("04/12/1988"));
    // Read before the typing ends, as a page's Save does.
    EXPECT_EQ(m_box->Value(), DateTime::FromParts(1988, 4, 12));
    QTest::keyClick(m_box, Qt::Key_Return);
    EXPECT_FALSE(m_box->IsEmpty());
    EXPECT_EQ(m_box->Value(), DateTime::FromParts(1988, 4, 12));
    EXPECT_EQ(m_box->Text(), QStringLiteral("04/12/1988"));
    EXPECT_EQ(changed.count(), 1);

    // Over a filled box, one or two digits each, taken when the box is left.
    TabOut();
    TabIn();
    // A whole date on the way to another one is not taken yet.
    QTest::keyClicks(m_box, QStringLiteral("4/1/1999"));
    QTest::keyClick(m_box, Qt::Key_Backspace);
    QTest::keyClicks(m_box, QStringLiteral("8"));
    TabOut();
    EXPECT_EQ(m_box->Value(), DateTime::FromParts(1998, 4, 1));
    EXPECT_EQ(m_box->Text(), QStringLiteral("04/01/1998"));
    EXPECT_EQ(changed.count(), 2);
    EXPECT_TRUE(m_box->RefusedReason().isEmpty());
}

TEST_F(DateComboTest, PartialOrImpossibleDatesAreRefusedWithTheReasonAndTheDateKept) {
    struct Case {
        QString typed;
        QString because;
    };
    const Case cases[] = {
        {QStringLiteral("13/45/2020"), QStringLiteral("the month must be 01 to 12")},
        {QStringLiteral("02/30/2021"), QStringLiteral("February 2021 has 28 days")},
        {QStringLiteral("4/1"), QStringLiteral("is not a whole date")},
    };
    for (const bool empty : {false, true}) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.typed.toStdString() + (empty ? " empty" : " filled"));
            const DateTime before = empty ? DateTime() : DateTime::FromParts(2019, 7, 8);
            m_box->SetValue(before);
            QSignalSpy changed(m_box, &DateCombo::ValueChanged);
            TabIn();
            QTest::keyClicks(m_box, c.typed);
            if (empty) {
                QTest::keyClick(m_box, Qt::Key_Return);
            } else {
                TabOut();
            }
            EXPECT_EQ(m_box->Value(), before);
            EXPECT_EQ(m_box->IsEmpty(), empty);
            EXPECT_EQ(Edit()->text(), empty ? QString() : QStringLiteral("07/08/2019"));
            EXPECT_TRUE(m_box->RefusedReason().contains(c.because))
                << m_box->RefusedReason().toStdString();
            EXPECT_EQ(m_box->toolTip(), m_box->RefusedReason());
            EXPECT_TRUE(m_box->styleSheet().contains(QStringLiteral("border")));
            EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
            EXPECT_EQ(changed.count(), 0);
            if (!empty) {
                TabIn();
            }
            Edit()->selectAll();
            QTest::keyClicks(m_box, QStringLiteral("12/31/2100"));
            QTest::keyClick(m_box, Qt::Key_Enter);
            EXPECT_EQ(m_box->Value(), DateTime::FromParts(2100, 12, 31));
            EXPECT_TRUE(m_box->RefusedReason().isEmpty());
            EXPECT_TRUE(m_box->toolTip().isEmpty());
            EXPECT_TRUE(m_box->styleSheet().isEmpty());
        }
    }
}

TEST_F(DateComboTest, ClearedTextIsTheEmptyDate) {
    m_box->SetValue(DateTime::FromParts(2010, 1, 2));
    QSignalSpy changed(m_box, &DateCombo::ValueChanged);
    TabIn();
    QTest::keyClicks(m_box, QStringLiteral("12"));
    QTest::keyClick(m_box, Qt::Key_Backspace);
    QTest::keyClick(m_box, Qt::Key_Backspace);
    TabOut();
    EXPECT_TRUE(m_box->IsEmpty());
    EXPECT_TRUE(m_box->Value().IsZero());
    EXPECT_EQ(m_box->Text(), QString());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(m_box->RefusedReason().isEmpty());
}

TEST_F(DateComboTest, ThePopupCalendarStillPicksADate) {
    m_box->SetValue(DateTime::FromParts(2024, 5, 10));
    TabIn();
    QTest::mouseClick(m_box, Qt::LeftButton, {}, QPoint(m_box->width() - 6, m_box->height() / 2));
    QWidget* popup = QApplication::activePopupWidget();
    ASSERT_NE(popup, nullptr);
    QWidget* calendarView = QApplication::focusWidget();
    ASSERT_NE(calendarView, nullptr);
    QTest::keyClick(calendarView, Qt::Key_Right);
    QTest::keyClick(calendarView, Qt::Key_Return);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(m_box->Value(), DateTime::FromParts(2024, 5, 11));
    EXPECT_EQ(m_box->Text(), QStringLiteral("05/11/2024"));
}

TEST(DateComboEmployeePageTest, ATypedDateOfBirthIsStoredBySave) {
    AdminInstallation app;
    ASSERT_TRUE(app.StartAndLogIn());
    admin::FController* window = app.Window();
    ASSERT_NE(window, nullptr);
    ClickButton(window, "cmdEmployeeNew");
    Control<QComboBox>(window, "cboEmployeeNumber")->setEditText(QStringLiteral("4412"));
    Control<QComboBox>(window, "cboEmployeeName")->setEditText(QStringLiteral("Bea Born"));
    Control<QComboBox>(window, "cboEmployeeSSN")->setEditText(QStringLiteral("441-22-3333"));
    auto* birth = Control<DateCombo>(window, "cboDOB");
    ASSERT_TRUE(birth->IsEmpty());
    QApplication::setActiveWindow(window);
    // A refused hire date stays the empty date.
    auto* hire = Control<DateCombo>(window, "cboHireDate");
    hire->setFocus(Qt::TabFocusReason);
    QTest::keyClicks(hire, QStringLiteral("02/30/2021"));
    birth->setFocus(Qt::TabFocusReason);
    EXPECT_FALSE(hire->RefusedReason().isEmpty());
    // Save is clicked with the typing still in the box.
    QTest::keyClicks(birth, QStringLiteral("04/12/1988"));
    ClickButton(window, "cmdEmployeeSave");
    EXPECT_TRUE(app.Messages().shown.empty()) << app.LastMessage();
    EXPECT_DOUBLE_EQ(
        app.Database().QueryDouble("SELECT DateOfBirth FROM Employee WHERE EmployeeNumber = 4412"),
        DateTime::FromParts(1988, 4, 12).Days());
    // The emptied form shows nothing of the typing.
    EXPECT_TRUE(birth->IsEmpty());
    EXPECT_EQ(birth->findChild<QLineEdit*>()->text(), QString());
    EXPECT_DOUBLE_EQ(
        app.Database().QueryDouble("SELECT HireDate FROM Employee WHERE EmployeeNumber = 4412"),
        0.0);
}

} // namespace
} // namespace orvan::test
