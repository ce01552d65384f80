// The employee page of the main window, driven through its controls against
// a real installation: choosing, saving new and existing employees, every
// refusal, names, texts and minute boxes as stored.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "AdminTestSupport.h"
#include "MainWindowDriver.h"
#include "admin/FController.h"
#include "storage/MessageBox.h"
#include "ui/DateCombo.h"

namespace orvan::test {
namespace {

class EmployeeTabTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_app.StartAndLogIn());
        m_window = m_app.Window();
        ASSERT_NE(m_window, nullptr);
        m_app.Messages().shown.clear();
    }

    QComboBox* Combo(const char* name) { return Control<QComboBox>(m_window, name); }

    // New, then the three keys.
    void FillNew(const QString& number, const QString& name, const QString& ssn) {
        ClickButton(m_window, "cmdEmployeeNew");
        Combo("cboEmployeeNumber")->setEditText(number);
        Combo("cboEmployeeName")->setEditText(name);
        Combo("cboEmployeeSSN")->setEditText(ssn);
    }

    std::string Column(const std::string& column, const std::string& where) {
        return m_app.Database().QueryText("SELECT " + column + " FROM Employee WHERE " + where);
    }

    AdminInstallation m_app;
    admin::FController* m_window = nullptr;
};

TEST_F(EmployeeTabTest, NewEmployeeIsAppendedWithItsFieldsAndTheFormEmpties) {
    FillNew(QStringLiteral("1234"), QStringLiteral("Ann O'Brien"), QStringLiteral("123-45-6789"));
    SetBoxText(m_window, "txtEmployeeCity", QStringLiteral("Montr\u00e9al"));
    SetBoxText(m_window, "txtPayRate", QStringLiteral("12.5"));
    SetBoxText(m_window, "txtOvertimePayRate", QStringLiteral("18.75"));
    Control<QCheckBox>(m_window, "chkEmployeeActive")->setChecked(true);
    ClickButton(m_window, "cmdEmployeeSave");

    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(Column("FirstName", "EmployeeNumber = 1234"), "Ann");
    EXPECT_EQ(Column("LastName", "EmployeeNumber = 1234"), "O'Brien");
    EXPECT_EQ(Column("City", "EmployeeNumber = 1234"), "Montr\u00e9al");
    EXPECT_DOUBLE_EQ(
        m_app.Database().QueryDouble("SELECT PayRate FROM Employee WHERE EmployeeNumber = 1234"),
        12.5);
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QString());
    EXPECT_GE(Combo("cboEmployeeName")->findText(QStringLiteral("Ann O'Brien")), 0);
}

TEST_F(EmployeeTabTest, NamesAreSplitAtTheFirstBlankAndShownAgain) {
    FillNew(QStringLiteral("501"), QStringLiteral("Cher"), QStringLiteral("111"));
    ClickButton(m_window, "cmdEmployeeSave");
    FillNew(QStringLiteral("502"), QStringLiteral("Mary Ann Smith"), QStringLiteral("222"));
    ClickButton(m_window, "cmdEmployeeSave");
    ASSERT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();

    EXPECT_EQ(Column("FirstName", "EmployeeNumber = 501"), "");
    EXPECT_EQ(Column("LastName", "EmployeeNumber = 501"), "Cher");
    EXPECT_EQ(Column("FirstName", "EmployeeNumber = 502"), "Mary");
    EXPECT_EQ(Column("LastName", "EmployeeNumber = 502"), "Ann Smith");

    PickEntry(Combo("cboEmployeeNumber"), QStringLiteral("502"));
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QStringLiteral("Mary Ann Smith"));
    PickEntry(Combo("cboEmployeeSSN"), QStringLiteral("111"));
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QStringLiteral("Cher"));
}

TEST_F(EmployeeTabTest, PickingANameFillsTheOtherFieldsAndTheStatusText) {
    const int32_t id = m_app.Database().AddEmployee(77, "Jo", "Lee", 11.0f, 16.5f);
    ASSERT_TRUE(m_app.Controller() != nullptr);
    // Reload so the page lists the employee added behind its back.
    ClickButton(m_window, "cmdEmployeeCancel");
    FillNew(QStringLiteral("78"), QStringLiteral("Kim Park"), QStringLiteral("333"));
    ClickButton(m_window, "cmdEmployeeSave");

    PickEntry(Combo("cboEmployeeName"), QStringLiteral("Jo Lee"));
    EXPECT_EQ(Combo("cboEmployeeID")->currentText(), QString::number(id));
    EXPECT_EQ(Combo("cboEmployeeNumber")->currentText(), QStringLiteral("77"));
    EXPECT_EQ(BoxText(m_window, "txtPayRate"), QStringLiteral("11.00"));
    EXPECT_EQ(BoxText(m_window, "txtOvertimePayRate"), QStringLiteral("16.50"));
    EXPECT_EQ(StatusText(m_window), QStringLiteral("Jo Lee : Employee Number: 77"));
}

TEST_F(EmployeeTabTest, ATypedIdMatchingNobodyEmptiesTheForm) {
    FillNew(QStringLiteral("601"), QStringLiteral("Sam Roe"), QStringLiteral("444"));
    ClickButton(m_window, "cmdEmployeeSave");
    PickEntry(Combo("cboEmployeeName"), QStringLiteral("Sam Roe"));
    ASSERT_EQ(Combo("cboEmployeeNumber")->currentText(), QStringLiteral("601"));
    TypeAndEnter(Combo("cboEmployeeID"), QStringLiteral("9999"));
    EXPECT_EQ(Combo("cboEmployeeNumber")->currentText(), QString());
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QString());
}

TEST_F(EmployeeTabTest, SavingAChosenEmployeeUpdatesItInPlace) {
    FillNew(QStringLiteral("701"), QStringLiteral("Lou Reed"), QStringLiteral("555"));
    ClickButton(m_window, "cmdEmployeeSave");
    const auto count = m_app.Database().QueryInt("SELECT COUNT(*) FROM Employee");
    PickEntry(Combo("cboEmployeeNumber"), QStringLiteral("701"));
    const QString id = Combo("cboEmployeeID")->currentText();
    SetBoxText(m_window, "txtEmployeeAddr1", QStringLiteral("12 \"Main\" St."));
    ClickButton(m_window, "cmdEmployeeSave");

    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(m_app.Database().QueryInt("SELECT COUNT(*) FROM Employee"), count);
    EXPECT_EQ(Column("Address", "EmployeeID = " + id.toStdString()), "12 \"Main\" St.");
}

TEST_F(EmployeeTabTest, EmptyKeysAreRefusedInOrder) {
    ClickButton(m_window, "cmdEmployeeNew");
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(), "Employee Save Error|You cannot save an employee without "
                                   "assigning an employee number.");
    Combo("cboEmployeeNumber")->setEditText(QStringLiteral("5"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(),
              "Employee Save Error|You cannot save an employee without a name.");
    Combo("cboEmployeeName")->setEditText(QStringLiteral("A B"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(),
              "Employee Save Error|You cannot save an employee without a social security number.");
    EXPECT_EQ(m_app.LastStyle(), MsgIconExclamation);
}

TEST_F(EmployeeTabTest, NumberAndRatesMustBeNumbersAndTextsPlain) {
    const std::string refused = "Employee Save Error|An error occurred while validating the "
                                "employee information entered. Verify that all data entered is "
                                "of the appropriate type.";
    FillNew(QStringLiteral("12x"), QStringLiteral("A B"), QStringLiteral("9"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(), refused);
    FillNew(QStringLiteral("12"), QStringLiteral("A B"), QStringLiteral("9"));
    SetBoxText(m_window, "txtPayRate", QStringLiteral("ten"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(), refused);
    FillNew(QStringLiteral("12"), QStringLiteral("A B"), QStringLiteral("9"));
    SetBoxText(m_window, "txtOvertimePayRate", QStringLiteral("1.2.3"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(), refused);
    // An escape in the name, a right-to-left override in the city.
    FillNew(QStringLiteral("12"), QStringLiteral("A \x1b[2JB"), QStringLiteral("9"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(), refused);
    FillNew(QStringLiteral("12"), QStringLiteral("A B"), QStringLiteral("9"));
    SetBoxText(m_window, "txtEmployeeCity", QStringLiteral("\u202Elive"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(), refused);
    EXPECT_EQ(m_app.Database().QueryInt("SELECT COUNT(*) FROM Employee WHERE EmployeeNumber = 12"),
              0);
}

TEST_F(EmployeeTabTest, TheAdministratorIsNotSaved) {
    PickEntry(Combo("cboEmployeeID"), QStringLiteral("39"));
    // The administrator's record has no social security number of its own.
    Combo("cboEmployeeSSN")->setEditText(QStringLiteral("000"));
    SetBoxText(m_window, "txtEmployeeCity", QStringLiteral("Elsewhere"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(),
              "Employee Save Error|The Administrator may not be modified or deleted.");
    EXPECT_EQ(m_app.LastStyle(), MsgIconInformation);
    EXPECT_EQ(Column("City", "EmployeeID = 39"), "");
    EXPECT_EQ(Combo("cboEmployeeID")->currentText(), QString());
}

TEST_F(EmployeeTabTest, NegativeOrEmptyMinutesAreStoredAsZero) {
    FillNew(QStringLiteral("801"), QStringLiteral("Al Day"), QStringLiteral("666"));
    Control<QCheckBox>(m_window, "chkAutoDeduct")->click();
    SetBoxText(m_window, "txtLunchLength", QStringLiteral("-5"));
    SetBoxText(m_window, "txtBreakLength", QString());
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(m_app.Database().QueryInt(
                  "SELECT AutoDeductLunchLength FROM Employee WHERE EmployeeNumber = 801"),
              0);
    EXPECT_EQ(m_app.Database().QueryInt(
                  "SELECT AutoDeductBreakLength FROM Employee WHERE EmployeeNumber = 801"),
              0);
}

TEST_F(EmployeeTabTest, AutoDeductTickEnablesTheMinuteBoxes) {
    ClickButton(m_window, "cmdEmployeeNew");
    auto* lunch = Control<QLineEdit>(m_window, "txtLunchLength");
    EXPECT_FALSE(lunch->isEnabled());
    EXPECT_EQ(lunch->text(), QStringLiteral("0"));
    Control<QCheckBox>(m_window, "chkAutoDeduct")->click();
    EXPECT_TRUE(lunch->isEnabled());
    EXPECT_TRUE(Control<QWidget>(m_window, "lblMinutes2")->isEnabled());
    Control<QCheckBox>(m_window, "chkAutoDeduct")->click();
    EXPECT_FALSE(Control<QWidget>(m_window, "txtBreakLength")->isEnabled());
}

TEST_F(EmployeeTabTest, DatesAreStoredAndEmptyDatesAreZero) {
    FillNew(QStringLiteral("901"), QStringLiteral("Di Date"), QStringLiteral("777"));
    Control<DateCombo>(m_window, "cboHireDate")->SetValue(DateTime::FromParts(2001, 3, 4));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_DOUBLE_EQ(
        m_app.Database().QueryDouble("SELECT HireDate FROM Employee WHERE EmployeeNumber = 901"),
        DateTime::FromParts(2001, 3, 4).Days());
    EXPECT_DOUBLE_EQ(
        m_app.Database().QueryDouble("SELECT ReleaseDate FROM Employee WHERE EmployeeNumber = 901"),
        0.0);
    PickEntry(Combo("cboEmployeeNumber"), QStringLiteral("901"));
    EXPECT_EQ(Control<DateCombo>(m_window, "cboHireDate")->Text(), QStringLiteral("03/04/2001"));
    EXPECT_EQ(Control<DateCombo>(m_window, "cboDOB")->Text(), QString());
}

// An inactive employee's stored rates are shown, and saving the employee
// again (here its address) keeps them.
TEST_F(EmployeeTabTest, AnInactiveEmployeeKeepsItsPayRates) {
    FillNew(QStringLiteral("950"), QStringLiteral("Ina Active"), QStringLiteral("888"));
    SetBoxText(m_window, "txtPayRate", QStringLiteral("14.25"));
    SetBoxText(m_window, "txtOvertimePayRate", QStringLiteral("21.5"));
    Control<QCheckBox>(m_window, "chkEmployeeActive")->setChecked(false);
    ClickButton(m_window, "cmdEmployeeSave");
    PickEntry(Combo("cboEmployeeNumber"), QStringLiteral("950"));
    EXPECT_FALSE(Control<QCheckBox>(m_window, "chkEmployeeActive")->isChecked());
    EXPECT_EQ(BoxText(m_window, "txtPayRate"), QStringLiteral("14.25"));
    EXPECT_EQ(BoxText(m_window, "txtOvertimePayRate"), QStringLiteral("21.50"));
    SetBoxText(m_window, "txtEmployeeAddr1", QStringLiteral("1 New Road"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_DOUBLE_EQ(
        m_app.Database().QueryDouble("SELECT PayRate FROM Employee WHERE EmployeeNumber = 950"),
        14.25);
    EXPECT_DOUBLE_EQ(m_app.Database().QueryDouble(
                         "SELECT OvertimePayRate FROM Employee WHERE EmployeeNumber = 950"),
                     21.5);
}

// Typing into a key box as the user does: click into it, replace its text
// with `text` key by key, then leave it with Tab.
void TypeInto(QComboBox* combo, const QString& text, Qt::Key last = Qt::Key_Tab) {
    combo->setFocus();
    combo->lineEdit()->selectAll();
    QTest::keyClick(combo, Qt::Key_Backspace);
    QTest::keyClicks(combo, text);
    QTest::keyClick(combo, last);
}

class EmployeeFormKeysTest : public EmployeeTabTest {
protected:
    void SetUp() override {
        EmployeeTabTest::SetUp();
        m_window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_window));
        FillNew(QStringLiteral("101"), QStringLiteral("Dana Whitfield"),
                QStringLiteral("111-22-3333"));
        ClickButton(m_window, "cmdEmployeeSave");
        FillNew(QStringLiteral("102"), QStringLiteral("Ben Ortiz"), QStringLiteral("222-33-4444"));
        ClickButton(m_window, "cmdEmployeeSave");
        ASSERT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
        m_count = m_app.Database().QueryInt("SELECT COUNT(*) FROM Employee");
    }

    // Dana's row as stored: name, social security number, active.
    std::string Dana() {
        return m_app.Database().QueryText(
            "SELECT FirstName || '|' || LastName || '|' || SSNumber || "
            "'|' || Active FROM Employee "
            "WHERE EmployeeNumber = 101");
    }

    int64_t m_count = 0;
};

TEST_F(EmployeeFormKeysTest, ANewFormNeitherLoadsNorOverwritesAnotherEmployee) {
    ClickButton(m_window, "cmdEmployeeNew");
    EXPECT_TRUE(Control<QCheckBox>(m_window, "chkEmployeeActive")->isChecked());
    ASSERT_TRUE(Combo("cboEmployeeNumber")->hasFocus());
    QTest::keyClicks(Combo("cboEmployeeNumber"), QStringLiteral("101"));
    QTest::keyClick(Combo("cboEmployeeNumber"), Qt::Key_Tab);
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QString());
    EXPECT_EQ(Combo("cboEmployeeID")->currentText(), QString());
    // Enter in a new form looks nobody up either.
    TypeInto(Combo("cboEmployeeNumber"), QStringLiteral("101"), Qt::Key_Return);
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QString());
    TypeInto(Combo("cboEmployeeName"), QStringLiteral("Test Duplicate"));
    TypeInto(Combo("cboEmployeeSSN"), QStringLiteral("999-99-9999"));
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QStringLiteral("Test Duplicate"));
    EXPECT_EQ(Combo("cboEmployeeSSN")->currentText(), QStringLiteral("999-99-9999"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(),
              "Employee Save Error|Employee number 101 already belongs to Dana Whitfield.");
    EXPECT_EQ(m_app.LastStyle(), MsgIconExclamation);

    // A free number, and the social security number of Ben.
    TypeInto(Combo("cboEmployeeNumber"), QStringLiteral("103"));
    TypeInto(Combo("cboEmployeeSSN"), QStringLiteral("222-33-4444"));
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QStringLiteral("Test Duplicate"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(), "Employee Save Error|Social security number 222-33-4444 "
                                   "already belongs to Ben Ortiz.");
    EXPECT_EQ(Dana(), "Dana|Whitfield|111-22-3333|1");
    EXPECT_EQ(m_app.Database().QueryInt("SELECT COUNT(*) FROM Employee"), m_count);

    // Picking from the list still shows the employee.
    PickEntry(Combo("cboEmployeeNumber"), QStringLiteral("101"));
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QStringLiteral("Dana Whitfield"));
}

TEST_F(EmployeeFormKeysTest, AnEmployeeRetypedToAnothersKeysIsNotSaved) {
    PickEntry(Combo("cboEmployeeName"), QStringLiteral("Ben Ortiz"));
    TypeInto(Combo("cboEmployeeNumber"), QStringLiteral("101"));
    // Leaving the box loads nobody: Ben stays on the form.
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QStringLiteral("Ben Ortiz"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(),
              "Employee Save Error|Employee number 101 already belongs to Dana Whitfield.");
    TypeInto(Combo("cboEmployeeNumber"), QStringLiteral("102"));
    TypeInto(Combo("cboEmployeeSSN"), QStringLiteral("111-22-3333"));
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_EQ(m_app.LastMessage(), "Employee Save Error|Social security number 111-22-3333 "
                                   "already belongs to Dana Whitfield.");
    EXPECT_EQ(Dana(), "Dana|Whitfield|111-22-3333|1");
    EXPECT_EQ(Column("SSNumber", "EmployeeNumber = 102"), "222-33-4444");

    // Its own keys are no conflict.
    TypeInto(Combo("cboEmployeeSSN"), QStringLiteral("222-33-4444"));
    m_app.Messages().shown.clear();
    ClickButton(m_window, "cmdEmployeeSave");
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
}

TEST_F(EmployeeFormKeysTest, TypingAndEnterOutsideANewFormShowsTheEmployee) {
    ClickButton(m_window, "cmdEmployeeCancel");
    TypeInto(Combo("cboEmployeeNumber"), QStringLiteral("101"), Qt::Key_Return);
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QStringLiteral("Dana Whitfield"));
    TypeInto(Combo("cboEmployeeSSN"), QStringLiteral("222-33-4444"), Qt::Key_Return);
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QStringLiteral("Ben Ortiz"));
    TypeInto(Combo("cboEmployeeName"), QStringLiteral("Dana Whitfield"), Qt::Key_Return);
    EXPECT_EQ(Combo("cboEmployeeNumber")->currentText(), QStringLiteral("101"));

    // The name's completion leaves a shortened or recased name as typed.
    TypeInto(Combo("cboEmployeeName"), QStringLiteral("Dana Whit"));
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QStringLiteral("Dana Whit"));
    TypeInto(Combo("cboEmployeeName"), QStringLiteral("dana whitfield"));
    EXPECT_EQ(Combo("cboEmployeeName")->currentText(), QStringLiteral("dana whitfield"));
    EXPECT_EQ(Combo("cboEmployeeNumber")->currentText(), QStringLiteral("101"));
}

} // namespace
} // namespace orvan::test
