// The clock station's PINs from the manager's side, against a real
// installation: the PIN box of the employee page (stored only as a hash that
// verifies, kept when left blank, removed on request, refused when malformed)
// and the options page's "Require a PIN at the clock station" through Apply,
// Cancel, the exit and a restart.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "AdminTestSupport.h"
#include "MainWindowDriver.h"
#include "admin/AdminMain.h"
#include "admin/FController.h"
#include "security/PinHash.h"
#include "storage/MessageBox.h"
#include "storage/StationStore.h"

namespace orvan::test {
namespace {

constexpr int EmployeesTab = 2;
constexpr int OptionsTab = 4;

// Eight digits that appear nowhere else in the file.
const QString Pin = QStringLiteral("90817263");

class EmployeePinTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_margaret = m_app.Database().AddEmployee(1001, "Margaret", "Okafor");
        m_app.Database().Exec("UPDATE Employee SET SSNumber = '512-44-1093', City = 'Oslo' "
                              "WHERE EmployeeNumber = 1001");
        ASSERT_TRUE(m_app.StartAndLogIn());
        m_window = m_app.Window();
        ASSERT_NE(m_window, nullptr);
        ClickTab(m_window, EmployeesTab);
        m_app.Messages().shown.clear();
    }

    QLineEdit* PinBox() { return Control<QLineEdit>(m_window, "txtPIN"); }
    QCheckBox* RemovePin() { return Control<QCheckBox>(m_window, "chkRemovePIN"); }
    QString PinState() { return Control<QLabel>(m_window, "lblPINState")->text(); }
    void ChooseMargaret() {
        PickEntry(Control<QComboBox>(m_window, "cboEmployeeNumber"), QStringLiteral("1001"));
    }
    void TypePin(const QString& pin) { QTest::keyClicks(PinBox(), pin); }
    void Save() { ClickButton(m_window, "cmdEmployeeSave"); }
    std::string StoredHash(int32_t id) {
        return m_app.Database().QueryText(
            "SELECT coalesce((SELECT PinHash FROM EmployeePin WHERE EmployeeID = " +
            std::to_string(id) + "), '')");
    }
    int64_t PinRows() { return m_app.Database().QueryInt("SELECT count(*) FROM EmployeePin"); }
    std::string City(int32_t id) {
        return m_app.Database().QueryText("SELECT City FROM Employee WHERE EmployeeID = " +
                                          std::to_string(id));
    }

    AdminInstallation m_app;
    admin::FController* m_window = nullptr;
    int32_t m_margaret = 0;
};

TEST_F(EmployeePinTest, ThePinBoxIsMaskedAndTakesDigitsOnly) {
    EXPECT_EQ(PinBox()->echoMode(), QLineEdit::Password);
    EXPECT_EQ(PinBox()->maxLength(), 8);
    ChooseMargaret();
    EXPECT_EQ(PinState(), QStringLiteral("No PIN"));
    EXPECT_FALSE(RemovePin()->isEnabled());
    TypePin(QStringLiteral("12ab3-4 5678999"));
    EXPECT_EQ(PinBox()->text(), QStringLiteral("12345678"));
}

TEST_F(EmployeePinTest, ATypedPinIsStoredAsAHashThatVerifies) {
    // Locked out at the station; the new PIN unlocks.
    StationStore station(m_app.Database().NewJetDB());
    for (int i = 0; i < StationStore::MaxWrongPins; ++i) {
        station.RecordWrongPin(m_margaret, DateTime::Now());
    }
    ASSERT_TRUE(station.Lockout(m_margaret)->IsLocked(DateTime::Now()));

    ChooseMargaret();
    SetBoxText(m_window, "txtEmployeeCity", QStringLiteral("Madison"));
    TypePin(Pin);
    Save();
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(City(m_margaret), "Madison"); // the employee is saved as ever
    const std::string hash = StoredHash(m_margaret);
    EXPECT_TRUE(pin::VerifyPin(hash, Pin.toStdString()));
    EXPECT_FALSE(pin::VerifyPin(hash, "90817264"));
    EXPECT_FALSE(station.Lockout(m_margaret)->IsLocked(DateTime::Now()));

    // The PIN in clear is nowhere: not in the file, not in the form.
    const std::string file = ReadAll(m_app.Database().DatabasePath());
    ASSERT_FALSE(file.empty());
    EXPECT_EQ(file.find(Pin.toStdString()), std::string::npos);
    EXPECT_TRUE(PinBox()->text().isEmpty());

    ChooseMargaret();
    EXPECT_EQ(PinState(), QStringLiteral("PIN set"));
    EXPECT_TRUE(RemovePin()->isEnabled());
    EXPECT_TRUE(PinBox()->text().isEmpty());
}

TEST_F(EmployeePinTest, ANewEmployeeGetsItsPinUnderTheIdTheDatabaseGives) {
    ClickButton(m_window, "cmdEmployeeNew");
    EXPECT_EQ(PinState(), QStringLiteral("No PIN"));
    Control<QComboBox>(m_window, "cboEmployeeNumber")->setEditText(QStringLiteral("1002"));
    Control<QComboBox>(m_window, "cboEmployeeName")->setEditText(QStringLiteral("José Álvarez"));
    Control<QComboBox>(m_window, "cboEmployeeSSN")->setEditText(QStringLiteral("498-22-7310"));
    TypePin(QStringLiteral("2580"));
    Save();
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    const auto id = static_cast<int32_t>(
        m_app.Database().QueryInt("SELECT EmployeeID FROM Employee WHERE EmployeeNumber = 1002"));
    EXPECT_GT(id, m_margaret);
    EXPECT_TRUE(pin::VerifyPin(StoredHash(id), "2580"));
    EXPECT_EQ(PinRows(), 1);
}

TEST_F(EmployeePinTest, AMalformedPinIsRefusedAndNothingIsSaved) {
    ChooseMargaret();
    SetBoxText(m_window, "txtEmployeeCity", QStringLiteral("Elsewhere"));
    TypePin(QStringLiteral("123"));
    Save();
    EXPECT_EQ(m_app.LastMessage(), "Invalid PIN|The PIN must be 4 to 8 digits.");
    EXPECT_EQ(m_app.LastStyle(), MsgIconExclamation);
    EXPECT_EQ(City(m_margaret), "Oslo");
    EXPECT_EQ(PinRows(), 0);
    EXPECT_TRUE(PinBox()->text().isEmpty());

    // A new employee with a malformed PIN is not added either (a pasted text
    // the box's own check never saw included).
    const int64_t employees = m_app.Database().QueryInt("SELECT count(*) FROM Employee");
    ClickButton(m_window, "cmdEmployeeNew");
    Control<QComboBox>(m_window, "cboEmployeeNumber")->setEditText(QStringLiteral("1003"));
    Control<QComboBox>(m_window, "cboEmployeeName")->setEditText(QStringLiteral("Anna Müller"));
    Control<QComboBox>(m_window, "cboEmployeeSSN")->setEditText(QStringLiteral("533-81-2246"));
    PinBox()->setText(QStringLiteral("12a4"));
    m_app.Messages().shown.clear();
    Save();
    EXPECT_EQ(m_app.LastMessage(), "Invalid PIN|The PIN must be 4 to 8 digits.");
    EXPECT_EQ(m_app.Database().QueryInt("SELECT count(*) FROM Employee"), employees);
    EXPECT_EQ(PinRows(), 0);
}

TEST_F(EmployeePinTest, ABlankBoxKeepsThePinAndRemovePinRemovesIt) {
    ChooseMargaret();
    TypePin(Pin);
    Save();
    const std::string hash = StoredHash(m_margaret);
    ASSERT_FALSE(hash.empty());

    ChooseMargaret();
    SetBoxText(m_window, "txtEmployeeCity", QStringLiteral("Verona"));
    Save();
    EXPECT_EQ(City(m_margaret), "Verona");
    EXPECT_EQ(StoredHash(m_margaret), hash); // not hashed again

    ChooseMargaret();
    TypePin(QStringLiteral("1234"));
    QTest::mouseClick(RemovePin(), Qt::LeftButton);
    ASSERT_TRUE(RemovePin()->isChecked());
    // Removing and a new PIN exclude each other.
    EXPECT_TRUE(PinBox()->text().isEmpty());
    EXPECT_FALSE(PinBox()->isEnabled());
    Save();
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(PinRows(), 0);

    ChooseMargaret();
    EXPECT_EQ(PinState(), QStringLiteral("No PIN"));
    EXPECT_FALSE(RemovePin()->isChecked());
    EXPECT_FALSE(RemovePin()->isEnabled());
    EXPECT_TRUE(PinBox()->isEnabled());
}

class RequirePinOptionTest : public ::testing::Test {
protected:
    void Start() {
        ASSERT_TRUE(m_app.StartAndLogIn());
        m_window = m_app.Window();
        ASSERT_NE(m_window, nullptr);
        ClickTab(m_window, OptionsTab);
        m_app.Messages().shown.clear();
    }
    // Ends the program the way the user does, by closing its window.
    void Exit() {
        EXPECT_TRUE(m_window->close());
        EXPECT_TRUE(admin::ProgramEnded());
        admin::ReleaseProgram();
        m_window = nullptr;
    }
    QCheckBox* RequirePin() { return Control<QCheckBox>(m_window, "chkRequirePIN"); }
    std::string Stored() {
        return m_app.Database().QueryText(
            "SELECT Value FROM StationOption WHERE Name = 'RequirePin'");
    }

    AdminInstallation m_app;
    admin::FController* m_window = nullptr;
};

TEST_F(RequirePinOptionTest, ApplyStoresItAndARestartShowsIt) {
    Start();
    EXPECT_EQ(RequirePin()->text(), QStringLiteral("Require a PIN at the clock station"));
    EXPECT_FALSE(RequirePin()->isChecked());
    QTest::mouseClick(RequirePin(), Qt::LeftButton);
    ASSERT_TRUE(RequirePin()->isChecked());
    ClickButton(m_window, "cmdApplyOptions");
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(Stored(), "1");
    // Kept apart from the system options.
    EXPECT_EQ(m_app.Database().QueryInt("SELECT count(*) FROM _System"), 1);
    EXPECT_EQ(m_app.Database().QueryInt("SELECT period_length FROM _System"), 13);
    Exit();

    Start();
    EXPECT_TRUE(RequirePin()->isChecked());
    // Changed and not applied: the exit stores it with the other options.
    QTest::mouseClick(RequirePin(), Qt::LeftButton);
    Exit();
    EXPECT_TRUE(m_app.Shown().empty()) << m_app.LastMessage();
    EXPECT_EQ(Stored(), "0");
    Start();
    EXPECT_FALSE(RequirePin()->isChecked());
}

// The full-screen option beside it: stored on its own row, shown again after
// a restart, and Cancel brings back the stored value.
TEST_F(RequirePinOptionTest, TheFullScreenOptionIsStoredBesideIt) {
    Start();
    auto* fullScreen = Control<QCheckBox>(m_window, "chkFullScreen");
    EXPECT_EQ(fullScreen->text(), QStringLiteral("Clock station in full screen"));
    EXPECT_FALSE(fullScreen->isChecked());
    QTest::mouseClick(fullScreen, Qt::LeftButton);
    ClickButton(m_window, "cmdApplyOptions");
    EXPECT_TRUE(m_app.Messages().shown.empty()) << m_app.LastMessage();
    EXPECT_EQ(
        m_app.Database().QueryText("SELECT Value FROM StationOption WHERE Name = 'FullScreen'"),
        "1");
    EXPECT_EQ(Stored(), "0"); // the PIN option untouched
    Exit();

    Start();
    fullScreen = Control<QCheckBox>(m_window, "chkFullScreen");
    EXPECT_TRUE(fullScreen->isChecked());
    QTest::mouseClick(fullScreen, Qt::LeftButton);
    ClickButton(m_window, "cmdCancelOptions");
    EXPECT_TRUE(fullScreen->isChecked());
    Exit();
}

TEST_F(RequirePinOptionTest, CancelShowsTheStoredValueAndAFailedApplyStillStoresIt) {
    Start();
    QTest::mouseClick(RequirePin(), Qt::LeftButton);
    ClickButton(m_window, "cmdCancelOptions");
    EXPECT_FALSE(RequirePin()->isChecked());
    EXPECT_EQ(Stored(), "0");

    // A period length that is no number fails Apply; the PIN option, which
    // has no wrong value, is stored all the same.
    QTest::mouseClick(RequirePin(), Qt::LeftButton);
    SetBoxText(m_window, "txtPeriodLength", QStringLiteral("abc"));
    ClickButton(m_window, "cmdApplyOptions");
    EXPECT_EQ(m_app.LastMessage(), "Update Options Error|An error occurred while updating the "
                                   "system options in the database.");
    EXPECT_EQ(Stored(), "1");
    ClickButton(m_window, "cmdCancelOptions");
    EXPECT_TRUE(RequirePin()->isChecked());
}

// Ticking the option while active employees (the administrator aside) have
// no PIN asks first; No leaves it off. Unticking, or every active employee
// having a PIN, asks nothing.
TEST_F(RequirePinOptionTest, TurningItOnAsksWhileActiveEmployeesHaveNoPin) {
    TestDatabase& db = m_app.Database();
    const int32_t ann = db.AddEmployee(2001, "Ann", "Ash");
    const int32_t bo = db.AddEmployee(2002, "Bo", "Birch");
    db.AddEmployee(2003, "Cy", "Cedar");
    db.Exec("UPDATE Employee SET Active = 0 WHERE EmployeeNumber = 2003");
    db.Exec("INSERT INTO EmployeePin (EmployeeID, PinHash) VALUES (" + std::to_string(ann) +
            ", 'hash')");
    Start();
    const std::string question = "Require a PIN|1 of 2 active employees have no PIN and will not "
                                 "be able to clock in. Turn it on anyway?";
    m_app.Messages().answers.push_back(MsgResultNo);
    QTest::mouseClick(RequirePin(), Qt::LeftButton);
    EXPECT_EQ(m_app.LastMessage(), question);
    EXPECT_EQ(m_app.LastStyle(), MsgIconQuestion + MsgButtonsYesNo);
    EXPECT_FALSE(RequirePin()->isChecked());
    ClickButton(m_window, "cmdApplyOptions");
    EXPECT_EQ(Stored(), "0");

    m_app.Messages().answers.push_back(MsgResultYes);
    QTest::mouseClick(RequirePin(), Qt::LeftButton);
    EXPECT_TRUE(RequirePin()->isChecked());
    ClickButton(m_window, "cmdApplyOptions");
    EXPECT_EQ(Stored(), "1");
    ASSERT_EQ(m_app.Messages().shown.size(), 2u);

    QTest::mouseClick(RequirePin(), Qt::LeftButton);
    EXPECT_FALSE(RequirePin()->isChecked());
    db.Exec("INSERT INTO EmployeePin (EmployeeID, PinHash) VALUES (" + std::to_string(bo) +
            ", 'hash')");
    QTest::mouseClick(RequirePin(), Qt::LeftButton);
    EXPECT_TRUE(RequirePin()->isChecked());
    EXPECT_EQ(m_app.Messages().shown.size(), 2u) << m_app.LastMessage();
}

// The station's option table unreadable: start-up says the options did not
// load, and Apply says they were not written.
TEST_F(RequirePinOptionTest, AnUnreadableOptionIsReported) {
    m_app.Database().Exec("DROP TABLE StationOption");
    ASSERT_TRUE(m_app.StartAndLogIn());
    EXPECT_EQ(m_app.Shown(),
              std::vector<std::string>{"System Configuration Error|An error occurred while loading "
                                       "system options. Check these options before continuing "
                                       "program usage."});
    m_window = m_app.Window();
    ASSERT_NE(m_window, nullptr);
    ClickTab(m_window, OptionsTab);
    EXPECT_FALSE(RequirePin()->isChecked());
    m_app.Messages().shown.clear();
    ClickButton(m_window, "cmdApplyOptions");
    EXPECT_EQ(m_app.LastMessage(), "Update Options Error|An error occurred while updating the "
                                   "system options in the database.");
}

} // namespace
} // namespace orvan::test
