// The PIN at the clock station, typed with real key events: asked for in
// the window itself after the number, checked before anything is stored,
// five wrong ones in a row lock the employee out for five minutes, and the
// printed time card shows only the last digits of the SSN.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "ClockTestSupport.h"
#include "clock/FController.h"
#include "security/PinHash.h"
#include "storage/MessageBox.h"
#include "storage/StationStore.h"
#include "support_qt/OnNextModalDialog.h"

namespace orvan::test {
namespace {

namespace fs = std::filesystem;

DateTime At(int hour, int minute, int second = 0) {
    return DateTime::FromParts(2003, 1, 15, hour, minute, second);
}

const std::string kWrong = "Wrong PIN|The PIN entered is not correct. Nothing was recorded.";
const std::string kLockedUntil0810 = "Employee: Ann Lee\r\nYou are locked out of the clock "
                                     "station until 08:10 AM. Please see your manager.";

class ClockPin : public ::testing::Test {
protected:
    void SetUp() override {
        m_annId = m_station.AddEmployee(1007, "Ann", "Lee");
        m_bobId = m_station.AddEmployee(1008, "Bob", "Ray");
        m_station.Database().Exec("UPDATE Employee SET SSNumber = '123-45-6789' WHERE "
                                  "EmployeeID = " +
                                  std::to_string(m_annId));
        StationStore store(m_station.Database().NewJetDB());
        ASSERT_TRUE(store.SetRequirePin(true));
        ASSERT_TRUE(store.SetPinHash(m_annId, pin::HashPin("4321")));
        m_station.Start();
        ASSERT_NE(m_station.Window(), nullptr);
    }
    template <typename T> T* Find(const char* name) {
        return m_station.Window()->findChild<T*>(QString::fromUtf8(name));
    }
    bool Asking() { return m_station.Window()->AskingForPin(); }
    std::string Prompt() { return Find<QLabel>("lblPrompt")->text().toStdString(); }
    void Ask(int key) {
        m_station.TypeKeys(QStringLiteral("1007"));
        m_station.Press(key);
    }
    void WrongPin() {
        Ask(Qt::Key_F1);
        ASSERT_TRUE(Asking()) << m_station.LastMessage();
        m_station.TypeKeys(QStringLiteral("1111"));
        m_station.Press(Qt::Key_Return);
    }

    ClockStation m_station;
    int32_t m_annId = 0;
    int32_t m_bobId = 0;
};

TEST_F(ClockPin, AskedInTheWindowAndTheRightOneRunsTheAction) {
    Ask(Qt::Key_F1);
    EXPECT_TRUE(Asking());
    EXPECT_TRUE(m_station.Messages().shown.empty());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    auto* box = Find<QLineEdit>("txtPIN");
    EXPECT_TRUE(box->isVisible());
    EXPECT_EQ(box->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(Find<QLabel>("lblPIN")->isVisible());
    EXPECT_EQ(Find<QLabel>("lblPIN")->text(), QStringLiteral("PIN:"));
    EXPECT_EQ(Prompt(), "Enter your PIN to clock in, then press Enter");
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("txtPIN"));
    EXPECT_EQ(m_station.NumberBoxText(), QStringLiteral("1007"));
    EXPECT_FALSE(Find<QLineEdit>("txtEmployeeNumber")->isEnabled());
    EXPECT_EQ(m_station.Count("1"), 0);

    // Enter on an empty box and letters are no attempt.
    m_station.Press(Qt::Key_Return);
    EXPECT_TRUE(Asking());
    m_station.TypeKeys(QStringLiteral("4a3b2c1"));
    EXPECT_EQ(Find<QLineEdit>("txtPIN")->text(), QStringLiteral("4321"));
    m_station.Press(Qt::Key_Return);
    EXPECT_EQ(m_station.LastMessage(),
              "Login Complete|Employee: Ann Lee\r\nClocked In At: 01/15/2003   08:05 AM");
    EXPECT_FALSE(Asking());
    EXPECT_FALSE(box->isVisible());
    EXPECT_EQ(box->text(), QString());
    EXPECT_EQ(m_station.NumberBoxText(), QString());
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("txtEmployeeNumber"));
    EXPECT_EQ(m_station.Count("EndTime = 0"), 1);

    // The button asks too; the same button again checks the PIN.
    m_station.Clock().Set(At(12, 0));
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockOut();
    EXPECT_EQ(Prompt(), "Enter your PIN to clock out, then press Enter");
    m_station.TypeKeys(QStringLiteral("4321"));
    m_station.ClickClockOut();
    EXPECT_EQ(m_station.LastMessage(),
              "Logout Complete|Employee: Ann Lee\r\nClocked Out At: 01/15/2003   12:00:00 PM");

    // Enter leaves the choice until the PIN is right; another key changes
    // the action waiting.
    Ask(Qt::Key_Return);
    EXPECT_EQ(Prompt(), "Enter your PIN to clock in or out, then press Enter");
    m_station.Press(Qt::Key_F3);
    EXPECT_EQ(Prompt(), "Enter your PIN to print your time card, then press Enter");
    m_station.Press(Qt::Key_F1);
    EXPECT_EQ(Prompt(), "Enter your PIN to clock in, then press Enter");
    m_station.TypeKeys(QStringLiteral("4321"));
    m_station.Press(Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(m_station.Count("EndTime = 0"), 1);
    EXPECT_EQ(m_station.Messages().shown.size(), 3u);
}

TEST_F(ClockPin, FiveWrongPinsInARowLockTheEmployeeOutForFiveMinutes) {
    // A right PIN ends a run of wrong ones.
    for (int i = 0; i < 4; ++i) {
        WrongPin();
        EXPECT_EQ(m_station.LastMessage(), kWrong);
        EXPECT_EQ(m_station.LastStyle(), MsgIconExclamation);
        EXPECT_EQ(m_station.NumberBoxText(), QString());
    }
    Ask(Qt::Key_F1);
    m_station.TypeKeys(QStringLiteral("4321"));
    m_station.Press(Qt::Key_Return);
    EXPECT_EQ(m_station.Count("1"), 1);
    m_station.Database().Exec("DELETE FROM TimeRecord");

    for (int i = 0; i < 4; ++i) {
        WrongPin();
        EXPECT_EQ(m_station.LastMessage(), kWrong) << i;
    }
    WrongPin();
    EXPECT_EQ(m_station.LastMessage(), "Clock Station Locked|The PIN entered is not correct. "
                                       "Nothing was recorded.\r\n\r\n" +
                                           kLockedUntil0810);
    // Locked: no PIN box at all, for any action, even with the right PIN.
    m_station.Clock().Set(At(8, 9, 59));
    for (int key : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_Return}) {
        Ask(key);
        EXPECT_FALSE(Asking());
        EXPECT_EQ(m_station.LastMessage(), "Clock Station Locked|" + kLockedUntil0810);
        EXPECT_EQ(m_station.NumberBoxText(), QString());
    }
    EXPECT_EQ(m_station.Count("1"), 0);

    // Five minutes after the fifth wrong PIN the station takes her again.
    m_station.Clock().Set(At(8, 10, 42));
    Ask(Qt::Key_F1);
    ASSERT_TRUE(Asking());
    m_station.TypeKeys(QStringLiteral("4321"));
    m_station.Press(Qt::Key_Return);
    EXPECT_EQ(m_station.LastMessage(),
              "Login Complete|Employee: Ann Lee\r\nClocked In At: 01/15/2003   08:10 AM");
    EXPECT_EQ(m_station.Count("1"), 1);
}

TEST_F(ClockPin, NoPinSetMeansSeeTheManager) {
    m_station.TypeKeys(QStringLiteral("1008"));
    m_station.Press(Qt::Key_F1);
    EXPECT_FALSE(Asking());
    EXPECT_EQ(m_station.LastMessage(),
              "No PIN Set|No PIN has been set for this employee number, so nothing can be "
              "recorded. Please see your manager.");
    EXPECT_EQ(m_station.Count("1"), 0);
    EXPECT_EQ(m_station.NumberBoxText(), QString());
    // Unknown numbers are still not found, before any PIN.
    m_station.TypeKeys(QStringLiteral("4242"));
    m_station.Press(Qt::Key_F1);
    EXPECT_EQ(m_station.Messages().shown.back().title, "Employee Not Found");
}

TEST_F(ClockPin, EscapeOrThirtySecondsWithoutAKeyCancel) {
    Ask(Qt::Key_F2);
    m_station.TypeKeys(QStringLiteral("43"));
    m_station.Press(Qt::Key_Escape);
    EXPECT_FALSE(Asking());
    EXPECT_EQ(Find<QLineEdit>("txtPIN")->text(), QString());
    EXPECT_FALSE(Find<QLineEdit>("txtPIN")->isVisible());
    EXPECT_EQ(m_station.NumberBoxText(), QString());
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("txtEmployeeNumber"));
    EXPECT_TRUE(Find<QLabel>("Label2")->isVisible());
    EXPECT_FALSE(Find<QLabel>("lblPrompt")->isVisible());

    auto* timer = Find<QTimer>("PinTimer");
    ASSERT_NE(timer, nullptr);
    Ask(Qt::Key_F1);
    EXPECT_EQ(timer->interval(), 30000);
    EXPECT_TRUE(timer->isActive());
    m_station.TypeKeys(QStringLiteral("43"));
    EXPECT_GT(timer->remainingTime(), 25000); // each key starts the 30 s again
    // Let the time run out at once.
    timer->start(10);
    QTRY_VERIFY(!Asking());
    EXPECT_EQ(Find<QLineEdit>("txtPIN")->text(), QString());
    EXPECT_EQ(m_station.NumberBoxText(), QString());
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("txtEmployeeNumber"));
    EXPECT_TRUE(m_station.Messages().shown.empty());
    EXPECT_EQ(m_station.Count("1"), 0);
}

TEST_F(ClockPin, PrintedTimeCardShowsOnlyTheLastDigitsOfTheSsn) {
    m_station.Database().AddTimeRecord(m_annId, At(8, 0), At(16, 0));
    OnNextModalDialog([](QWidget* dialog) {
        dialog->findChild<QPushButton*>(QStringLiteral("cmdPrint"))->click();
    });
    Ask(Qt::Key_F3);
    m_station.TypeKeys(QStringLiteral("4321"));
    m_station.Press(Qt::Key_F3);
    const fs::path file =
        m_station.Database().Folder() / "reports" / "1007_0115_0128_2003_time_card.txt";
    ASSERT_TRUE(fs::exists(file)) << m_station.LastMessage();
    const std::string text = ReadAll(file);
    EXPECT_EQ(text.find("123-45-6789"), std::string::npos) << text;
    EXPECT_NE(text.find("6789\r\n"), std::string::npos) << text;
}

// With the option off a PIN that is set is not asked for, and the card
// shows the whole number as before.
TEST(ClockPinOff, SetPinsAreNotAskedForWhenTheOptionIsOff) {
    ClockStation station;
    const int32_t ann = station.AddEmployee(1007, "Ann", "Lee");
    station.Database().Exec("UPDATE Employee SET SSNumber = '123-45-6789'");
    StationStore store(station.Database().NewJetDB());
    ASSERT_TRUE(store.SetPinHash(ann, pin::HashPin("4321")));
    station.Start();
    station.Database().AddTimeRecord(ann, At(7, 0), At(8, 0));
    station.TypeKeys(QStringLiteral("1007"));
    station.Press(Qt::Key_F1);
    EXPECT_FALSE(station.Window()->AskingForPin());
    EXPECT_EQ(station.Messages().shown.back().title, "Login Complete");
    OnNextModalDialog([](QWidget* dialog) {
        dialog->findChild<QPushButton*>(QStringLiteral("cmdPrint"))->click();
    });
    station.TypeKeys(QStringLiteral("1007"));
    station.Press(Qt::Key_F3);
    const std::string text =
        ReadAll(station.Database().Folder() / "reports" / "1007_0115_0128_2003_time_card.txt");
    EXPECT_NE(text.find("123-45-6789"), std::string::npos) << text;
}

} // namespace
} // namespace orvan::test
