// The clock window's flows: clock-in, clock-out, the messages and the
// number box, against a real installation.

#include <gtest/gtest.h>

#include <cstdlib>

#include <QLabel>
#include <QMouseEvent>
#include <QApplication>
#include <QScreen>
#include <QTest>

#include "ClockTestSupport.h"
#include "clock/FController.h"
#include "storage/MessageBox.h"

namespace orvan::test {
namespace {

DateTime At(int day, int hour, int minute, int second = 0) {
    return DateTime::FromParts(2003, 1, day, hour, minute, second);
}

class ClockWindow : public ::testing::Test {
protected:
    void SetUp() override {
        m_station.AddEmployee(1007, "Ann", "Lee");
        m_station.AddEmployee(1008, "Bob", "Ray");
        m_station.Start();
        ASSERT_NE(m_station.Window(), nullptr);
    }

    ClockStation m_station;
};

TEST_F(ClockWindow, OpensCentredInsideTheScreen) {
    // Placed before its frame exists: the centre may be off by the
    // difference between the frame assumed and the real one.
    constexpr int Slack = 20;
    const QWidget* window = m_station.Window();
    ASSERT_TRUE(window->isVisible());
    const QRect available = window->screen()->availableGeometry();
    const QRect frame = window->frameGeometry();
    EXPECT_TRUE(available.contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    EXPECT_LE(std::abs(frame.center().x() - available.center().x()), Slack);
    EXPECT_LE(std::abs(frame.center().y() - available.center().y()), Slack);
}

TEST_F(ClockWindow, ClockInStoresTheMinuteAndConfirms) {
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockIn();
    EXPECT_EQ(m_station.LastMessage(),
              "Login Complete|Employee: Ann Lee\r\nClocked In At: 01/15/2003   08:05 AM");
    EXPECT_EQ(m_station.LastStyle(), MsgIconInformation);
    EXPECT_EQ(m_station.NumberBoxText(), QString());
    EXPECT_DOUBLE_EQ(m_station.Database().QueryDouble("SELECT StartTime FROM TimeRecord"),
                     At(15, 8, 5).Days());
    EXPECT_EQ(m_station.Database().QueryDouble("SELECT EndTime FROM TimeRecord"), 0.0);
    EXPECT_EQ(m_station.Count("1"), 1);
}

TEST_F(ClockWindow, NightShiftIsClosedTheNextMorning) {
    m_station.Clock().Set(At(15, 23, 50, 10));
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockIn();
    m_station.Clock().Set(At(16, 0, 10, 33));
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockOut();
    EXPECT_EQ(m_station.LastMessage(),
              "Logout Complete|Employee: Ann Lee\r\nClocked Out At: 01/16/2003   12:10:33 AM");
    EXPECT_EQ(m_station.LastStyle(), MsgIconInformation);
    EXPECT_DOUBLE_EQ(m_station.Database().QueryDouble("SELECT EndTime FROM TimeRecord"),
                     At(16, 0, 10).Days());
    const double minutes = m_station.Database().QueryDouble(
        "SELECT round((EndTime - StartTime) * 1440) FROM TimeRecord");
    EXPECT_EQ(minutes, 20.0); // 0.33 hours
    EXPECT_EQ(m_station.NumberBoxText(), QString());
}

// A second clock-in of a running shift, by the button or by F1, stores
// nothing; the clock-out then closes the one shift.
TEST_F(ClockWindow, ASecondClockInIsRefusedAndOneClockOutClosesTheShift) {
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockIn();
    m_station.Clock().Set(At(15, 9, 0));
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockIn();
    const std::string refused =
        "Already Clocked In|You are already clocked in since 01/15/2003 08:05 AM.";
    EXPECT_EQ(m_station.LastMessage(), refused);
    EXPECT_EQ(m_station.LastStyle(), MsgIconExclamation);
    EXPECT_EQ(m_station.NumberBoxText(), QString());
    m_station.Type(QStringLiteral("1007"));
    m_station.Press(Qt::Key_F1);
    EXPECT_EQ(m_station.LastMessage(), refused);
    EXPECT_EQ(m_station.Count("1"), 1);
    m_station.Clock().Set(At(15, 12, 0));
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockOut();
    EXPECT_EQ(m_station.Count("EndTime = 0"), 0);
    EXPECT_DOUBLE_EQ(m_station.Database().QueryDouble("SELECT StartTime FROM TimeRecord"),
                     At(15, 8, 5).Days());

    // Nothing open today or yesterday for Bob: the failure, nothing changed.
    m_station.Type(QStringLiteral("1008"));
    m_station.ClickClockOut();
    EXPECT_EQ(m_station.LastMessage(),
              "Clock-Out Error|An error occurred while closing the timerecord. This clock-out "
              "has failed.");
    EXPECT_EQ(m_station.LastStyle(), MsgIconExclamation);
    EXPECT_EQ(m_station.Count("1"), 1);
}

// The computer's clock went back after the clock-in: the clock-out is
// refused with its own message and the record stays open.
TEST_F(ClockWindow, AClockOutTheClockPutsBeforeTheClockInIsRefused) {
    m_station.Clock().Set(At(15, 18, 33));
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockIn();
    m_station.Clock().Set(At(15, 16, 33));
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockOut();
    EXPECT_EQ(m_station.LastMessage(),
              "Clock-Out Error|The clock shows a time before your clock-in of 01/15/2003 06:33 "
              "PM. Please see your manager.");
    EXPECT_EQ(m_station.LastStyle(), MsgIconExclamation);
    EXPECT_EQ(m_station.Count("EndTime = 0"), 1);
    EXPECT_EQ(m_station.Count("1"), 1);
}

TEST_F(ClockWindow, BadNumbersAreExplainedForEveryButton) {
    struct Button {
        void (ClockStation::*click)();
        const char* emptyText;
    };
    const Button buttons[] = {
        {&ClockStation::ClickClockIn,
         "You must enter an employee number before clocking in or out."},
        {&ClockStation::ClickClockOut,
         "You must enter an employee number before clocking in or out."},
        {&ClockStation::ClickPrint,
         "You must enter an employee number before printing a timecard."},
    };
    const std::string notFound = "Employee Not Found|The employee number entered is not valid. "
                                 "Re-enter employee number before continuing.";
    for (const Button& button : buttons) {
        (m_station.*button.click)();
        EXPECT_EQ(m_station.LastMessage(),
                  std::string("Invalid Employee Number|") + button.emptyText);
        EXPECT_EQ(m_station.LastStyle(), MsgIconExclamation);
        for (const char* text : {"9999", "abc", "99999999999", " ", "10O7", "-"}) {
            m_station.Type(QString::fromUtf8(text));
            (m_station.*button.click)();
            EXPECT_EQ(m_station.LastMessage(), notFound) << text;
            EXPECT_EQ(m_station.NumberBoxText(), QString()) << text;
        }
    }
    EXPECT_EQ(m_station.Count("1"), 0);
    EXPECT_EQ(m_station.Messages().shown.size(), 3u * 7u);
}

TEST_F(ClockWindow, ClockLabelAndHover) {
    auto* clock = m_station.Window()->findChild<QLabel*>(QStringLiteral("lblClock"));
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(clock->text(), QStringLiteral("01/15/2003         08:05:42 AM"));
    m_station.Clock().Set(At(15, 13, 7, 9));
    QTest::qWait(1100);
    EXPECT_EQ(clock->text(), QStringLiteral("01/15/2003         01:07:09 PM"));

    auto* window = m_station.Window();
    auto visible = [window](const char* name) {
        return window->findChild<QLabel*>(QString::fromUtf8(name))->isVisible();
    };
    EXPECT_EQ(window->ActiveButton(), 0);
    EXPECT_FALSE(visible("picClockInActive"));
    EXPECT_TRUE(visible("picClockInInactive"));
    // A click on an inactive picture does nothing.
    m_station.Type(QStringLiteral("1007"));
    QTest::mouseClick(window->findChild<QLabel*>(QStringLiteral("picClockInInactive")),
                      Qt::LeftButton);
    EXPECT_EQ(m_station.Count("1"), 0);

    QMouseEvent over(QEvent::MouseMove, QPointF(5, 5), QPointF(5, 5), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(window->findChild<QLabel*>(QStringLiteral("picPrintInactive")), &over);
    EXPECT_EQ(window->ActiveButton(), 5);
    EXPECT_TRUE(visible("picPrintActive"));
    EXPECT_FALSE(visible("picPrintInactive"));
    QMouseEvent bare(QEvent::MouseMove, QPointF(2, 2), QPointF(2, 2), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(window, &bare);
    EXPECT_EQ(window->ActiveButton(), 0);
    EXPECT_FALSE(visible("picPrintActive"));
    EXPECT_TRUE(visible("picPrintInactive"));
}

} // namespace
} // namespace orvan::test
