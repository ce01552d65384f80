// The station worked from the keyboard: F1, F2, F3, Enter after a number,
// Tab to the picture buttons and Space on them, with real key events.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "ClockTestSupport.h"
#include "clock/FController.h"
#include "storage/MessageBox.h"
#include "support_qt/OnNextModalDialog.h"

namespace orvan::test {
namespace {

DateTime At(int day, int hour, int minute, int second = 0) {
    return DateTime::FromParts(2003, 1, day, hour, minute, second);
}

const std::string kLogin = "Login Complete|Employee: Ann Lee\r\nClocked In At: ";
const std::string kLogout = "Logout Complete|Employee: Ann Lee\r\nClocked Out At: ";

class ClockKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        m_annId = m_station.AddEmployee(1007, "Ann", "Lee");
        m_station.Start();
        ASSERT_NE(m_station.Window(), nullptr);
    }
    // Types the number and presses the key, the way an employee at a keypad
    // does; the number box has the focus between actions.
    void Enter(const char* number, int key = Qt::Key_Return,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        EXPECT_EQ(m_station.FocusName(), QStringLiteral("txtEmployeeNumber"));
        m_station.TypeKeys(QString::fromUtf8(number));
        m_station.Press(key, modifiers);
    }
    bool LastMessageStartsWith(const std::string& prefix) const {
        return m_station.LastMessage().rfind(prefix, 0) == 0;
    }

    ClockStation m_station;
    int32_t m_annId = 0;
};

TEST_F(ClockKeyboard, FunctionKeysDoWhatTheButtonsDo) {
    Enter("1007", Qt::Key_F1);
    EXPECT_EQ(m_station.LastMessage(), kLogin + "01/15/2003   08:05 AM");
    EXPECT_EQ(m_station.NumberBoxText(), QString());
    EXPECT_EQ(m_station.Count("EndTime = 0"), 1);

    m_station.Clock().Set(At(15, 12, 0, 7));
    Enter("1007", Qt::Key_F2);
    EXPECT_EQ(m_station.LastMessage(), kLogout + "01/15/2003   12:00:07 PM");
    EXPECT_EQ(m_station.Count("EndTime > 0"), 1);

    bool dialogShown = false;
    OnNextModalDialog([&](QWidget* dialog) {
        dialogShown = true;
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    Enter("1007", Qt::Key_F3);
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(m_station.NumberBoxText(), QString());
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("txtEmployeeNumber"));

    // An empty box explains itself as the buttons do.
    m_station.Press(Qt::Key_F3);
    EXPECT_EQ(m_station.LastMessage(), "Invalid Employee Number|You must enter an employee "
                                       "number before printing a timecard.");
    m_station.Press(Qt::Key_Return);
    EXPECT_EQ(m_station.LastMessage(), "Invalid Employee Number|You must enter an employee "
                                       "number before clocking in or out.");
}

TEST_F(ClockKeyboard, EnterClocksOutAnOpenRecordAndInOtherwise) {
    Enter("1007");
    EXPECT_EQ(m_station.LastMessage(), kLogin + "01/15/2003   08:05 AM");
    m_station.Clock().Set(At(15, 16, 30));
    Enter("1007", Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(m_station.LastMessage(), kLogout + "01/15/2003   04:30:00 PM");
    EXPECT_EQ(m_station.Count("EndTime = 0"), 0);

    // A night shift: clocked in before midnight, out the next morning.
    m_station.Clock().Set(At(15, 22, 0));
    Enter("1007", Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(m_station.LastMessage(), kLogin + "01/15/2003   10:00 PM");
    m_station.Clock().Set(At(16, 6, 0));
    Enter("1007");
    EXPECT_EQ(m_station.LastMessage(), kLogout + "01/16/2003   06:00:00 AM");
    EXPECT_EQ(m_station.Count("1"), 2);
    EXPECT_EQ(m_station.Count("EndTime = 0"), 0);
    EXPECT_EQ(m_station.LastStyle(), MsgIconInformation);
}

TEST_F(ClockKeyboard, EnterTreatsARecordOlderThanSixteenHoursAsForgotten) {
    // Open since yesterday 07:00: 25 hours ago. The clock-out button would
    // still close it; Enter clocks in and points it out.
    m_station.Database().AddTimeRecord(m_annId, At(14, 7, 0));
    m_station.Clock().Set(At(15, 8, 0));
    Enter("1007");
    EXPECT_EQ(m_station.LastMessage(),
              kLogin + "01/15/2003   08:00 AM\r\n\r\nNo clock-out was recorded for your clock-in "
                       "of 01/14/2003 07:00 AM. Please see your manager.");
    EXPECT_EQ(m_station.LastStyle(), MsgIconInformation);
    EXPECT_EQ(m_station.Count("EndTime = 0"), 2);

    // Open since yesterday 20:00, twelve hours: a night shift ending.
    m_station.Database().Exec("DELETE FROM TimeRecord");
    m_station.Database().AddTimeRecord(m_annId, At(14, 20, 0));
    Enter("1007");
    EXPECT_TRUE(LastMessageStartsWith(kLogout)) << m_station.LastMessage();
    EXPECT_EQ(m_station.Count("EndTime = 0"), 0);
}

TEST_F(ClockKeyboard, TabReachesTheButtonsAndSpaceOrEnterPressesThem) {
    m_station.TypeKeys(QStringLiteral("1007"));
    m_station.Press(Qt::Key_Tab);
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("fraClockIn"));
    m_station.Press(Qt::Key_Space);
    EXPECT_EQ(m_station.LastMessage(), kLogin + "01/15/2003   08:05 AM");
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("txtEmployeeNumber"));

    // Digits typed on a button still go to the number.
    m_station.Press(Qt::Key_Tab);
    m_station.Press(Qt::Key_Tab);
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("fraClockOut"));
    m_station.TypeKeys(QStringLiteral("10"));
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("txtEmployeeNumber"));
    m_station.TypeKeys(QStringLiteral("07"));
    EXPECT_EQ(m_station.NumberBoxText(), QStringLiteral("1007"));
    m_station.Press(Qt::Key_Tab);
    m_station.Press(Qt::Key_Tab);
    m_station.Clock().Set(At(15, 9, 0));
    m_station.Press(Qt::Key_Return);
    EXPECT_EQ(m_station.LastMessage(), kLogout + "01/15/2003   09:00:00 AM");

    m_station.TypeKeys(QStringLiteral("1007"));
    m_station.Press(Qt::Key_Backtab);
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("fraPrint"));
    bool dialogShown = false;
    OnNextModalDialog([&](QWidget* dialog) {
        dialogShown = true;
        QTest::keyClick(dialog, Qt::Key_Escape);
    });
    m_station.Press(Qt::Key_Space);
    EXPECT_TRUE(dialogShown);
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("txtEmployeeNumber"));
    EXPECT_EQ(m_station.Count("1"), 1);
}

TEST_F(ClockKeyboard, ButtonWithTheFocusIsMarkedAndCaptionedWithItsKey) {
    QWidget* window = m_station.Window();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window));
    auto* frame = window->findChild<QFrame*>(QStringLiteral("fraClockOut"));
    ASSERT_NE(frame, nullptr);
    const QImage plain = frame->grab().toImage();
    frame->setFocus();
    ASSERT_TRUE(frame->hasFocus());
    const QImage marked = frame->grab().toImage();
    EXPECT_NE(plain, marked);
    // The picture inside is not covered by the mark.
    EXPECT_EQ(plain.copy(20, 20, 150, 140), marked.copy(20, 20, 150, 140));

    const std::pair<const char*, const char*> captions[] = {
        {"lblKeyClockIn", "F1"}, {"lblKeyClockOut", "F2"}, {"lblKeyPrint", "F3"}};
    for (const auto& [name, key] : captions) {
        auto* caption = window->findChild<QLabel*>(QString::fromUtf8(name));
        ASSERT_NE(caption, nullptr) << name;
        EXPECT_EQ(caption->text(), QString::fromUtf8(key));
        EXPECT_TRUE(caption->isVisible());
    }
}

// The administrator record (number 0) and released employees are not known
// at the station, whichever way the action is asked for.
TEST(ClockStationEmployees, AdministratorAndInactiveEmployeesAreNotFound) {
    ClockStation station;
    station.AddEmployee(1007, "Ann", "Lee");
    const int32_t gone = station.AddEmployee(1010, "Cy", "Old");
    station.Database().Exec("UPDATE Employee SET Active = 0 WHERE EmployeeID = " +
                            std::to_string(gone));
    ASSERT_EQ(station.Database().QueryInt("SELECT count(*) FROM Employee WHERE EmployeeNumber = 0"),
              1);
    station.Start();
    ASSERT_NE(station.Window(), nullptr);
    const std::string notFound = "Employee Not Found|The employee number entered is not valid. "
                                 "Re-enter employee number before continuing.";
    for (const char* number : {"0", "00", "1010"}) {
        for (void (ClockStation::*click)() :
             {&ClockStation::ClickClockIn, &ClockStation::ClickClockOut,
              &ClockStation::ClickPrint}) {
            station.Type(QString::fromUtf8(number));
            (station.*click)();
            EXPECT_EQ(station.LastMessage(), notFound) << number;
        }
        for (int key : {Qt::Key_F1, Qt::Key_F2, Qt::Key_F3, Qt::Key_Return}) {
            station.TypeKeys(QString::fromUtf8(number));
            station.Press(key);
            EXPECT_EQ(station.LastMessage(), notFound) << number << " key " << key;
            EXPECT_EQ(station.NumberBoxText(), QString());
        }
    }
    EXPECT_EQ(station.Messages().shown.size(), 3u * 7u);
    EXPECT_EQ(station.Count("1"), 0);
    // An active employee is still served.
    station.TypeKeys(QStringLiteral("1007"));
    station.Press(Qt::Key_F1);
    EXPECT_EQ(station.Count("1"), 1);
}

// A released employee's number given to someone new finds the new one.
TEST(ClockStationEmployees, ReusedNumberFindsTheActiveEmployee) {
    ClockStation station;
    const int32_t gone = station.AddEmployee(1007, "Cy", "Old");
    station.Database().Exec("UPDATE Employee SET Active = 0 WHERE EmployeeID = " +
                            std::to_string(gone));
    station.AddEmployee(1007, "Ann", "Lee");
    station.Start();
    ASSERT_NE(station.Window(), nullptr);
    station.TypeKeys(QStringLiteral("1007"));
    station.Press(Qt::Key_F1);
    EXPECT_EQ(station.LastMessage(),
              "Login Complete|Employee: Ann Lee\r\nClocked In At: 01/15/2003   08:05 AM");
}

} // namespace
} // namespace orvan::test
