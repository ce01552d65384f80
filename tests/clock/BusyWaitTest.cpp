// The station while another program holds the database file: the clock
// keeps running, the window says that it waits, input made meanwhile is
// dropped, and a wait that runs out says that the file is busy.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>
#include <QTimer>

#include <optional>

#include "ClockTestSupport.h"
#include "clock/CController.h"
#include "clock/FController.h"
#include "storage/CJetDB.h"
#include "security/PinHash.h"
#include "storage/MessageBox.h"
#include "storage/StationStore.h"
#include "support/LockingProcess.h"
#include "support_qt/OnNextModalDialog.h"

namespace orvan::test {
namespace {

DateTime At(int day, int hour, int minute, int second = 0) {
    return DateTime::FromParts(2003, 1, day, hour, minute, second);
}

const std::string kBusy = "The database is in use by another program. Please try again in a "
                          "moment.";

class ClockBusy : public ::testing::Test {
protected:
    void SetUp() override {
        m_annId = m_station.AddEmployee(1007, "Ann", "Lee");
        m_station.AddEmployee(1008, "Bob", "Ray");
        m_station.Start();
        ASSERT_NE(m_station.Window(), nullptr);
    }
    CJetDB& Database() { return *m_station.Controller()->CIDatabase(); }
    template <typename T> T* Find(const char* name) {
        return m_station.Window()->findChild<T*>(QString::fromUtf8(name));
    }

    ClockStation m_station;
    int32_t m_annId = 0;
};

// While the window waits, a timer moves the fixed clock on a second at a
// time, notes what the clock label and the waiting label show, and tries
// every way of starting another action. The other program lets go of the
// file once the clock has been seen to run, however long that takes; the
// busy timeout is far beyond it.
TEST_F(ClockBusy, OneClickDuringAHoldMakesOneRecordAndTheClockRuns) {
    Database().SetBusyTimeout(30000);
    std::optional<LockingProcess> administrator;
    QSet<QString> clockTexts;
    int samples = 0;
    bool inputDisabled = true;
    QString waitingText;
    QTimer sampler;
    sampler.setInterval(100);
    QObject::connect(&sampler, &QTimer::timeout, [&] {
        if (!m_station.Window()->Waiting()) {
            return;
        }
        ++samples;
        clockTexts.insert(Find<QLabel>("lblClock")->text());
        auto* waiting = Find<QLabel>("lblWaiting");
        if (waiting->isVisible()) {
            waitingText = waiting->text();
        }
        inputDisabled = inputDisabled && !Find<QLineEdit>("txtEmployeeNumber")->isEnabled();
        m_station.Clock().AdvanceSeconds(1);
        m_station.ClickClockIn();
        QTest::keyClick(Find<QLineEdit>("txtEmployeeNumber"), Qt::Key_F1);
        QTest::keyClicks(Find<QLineEdit>("txtEmployeeNumber"), QStringLiteral("1008"));
        QTest::keyClick(Find<QLineEdit>("txtEmployeeNumber"), Qt::Key_Return);
        QTest::keyClick(m_station.Window(), Qt::Key_F2);
        if (samples >= 3 && clockTexts.size() >= 3) {
            administrator->Release();
        }
    });
    sampler.start();
    administrator.emplace(m_station.Database().DatabasePath());
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickClockIn();
    sampler.stop();
    administrator.reset();

    EXPECT_GE(samples, 3);
    EXPECT_GE(clockTexts.size(), 3) << "the clock stood still during the wait";
    EXPECT_EQ(waitingText.toStdString(), "Waiting for the database...");
    EXPECT_TRUE(inputDisabled);
    ASSERT_EQ(m_station.Messages().shown.size(), 1u) << m_station.LastMessage();
    EXPECT_EQ(m_station.Messages().shown.front().title, "Login Complete");
    EXPECT_EQ(m_station.Count("1"), 1);
    EXPECT_EQ(m_station.Count("EmployeeID = " + std::to_string(m_annId)), 1);

    // Afterwards the window is back to normal.
    EXPECT_FALSE(m_station.Window()->Waiting());
    EXPECT_FALSE(Find<QLabel>("lblWaiting")->isVisible());
    EXPECT_TRUE(Find<QLineEdit>("txtEmployeeNumber")->isEnabled());
    EXPECT_EQ(m_station.NumberBoxText(), QString());
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("txtEmployeeNumber"));
    m_station.TypeKeys(QStringLiteral("1008"));
    m_station.Press(Qt::Key_F1);
    EXPECT_EQ(m_station.Count("1"), 2);
}

TEST_F(ClockBusy, HoldBeyondTheTimeoutSaysTheFileIsBusyAndStoresNothing) {
    Database().SetBusyTimeout(300);
    {
        LockingProcess administrator(m_station.Database().DatabasePath());
        m_station.Type(QStringLiteral("1007"));
        m_station.ClickClockIn();
    }
    EXPECT_EQ(m_station.LastMessage(), "Clock In Error|" + kBusy);
    EXPECT_EQ(m_station.LastStyle(), MsgIconExclamation);
    {
        LockingProcess administrator(m_station.Database().DatabasePath());
        m_station.TypeKeys(QStringLiteral("1007"));
        m_station.Press(Qt::Key_Return);
    }
    EXPECT_EQ(m_station.LastMessage(), "Clock In Error|" + kBusy);
    EXPECT_EQ(m_station.Count("1"), 0);
    EXPECT_FALSE(m_station.Window()->Waiting());
    EXPECT_EQ(m_station.NumberBoxText(), QString());

    m_station.Database().AddTimeRecord(m_annId, At(15, 7, 0));
    OnNextModalDialog([](QWidget* dialog) {
        dialog->findChild<QPushButton*>(QStringLiteral("cmdPrint"))->click();
    });
    {
        LockingProcess administrator(m_station.Database().DatabasePath());
        m_station.TypeKeys(QStringLiteral("1007"));
        m_station.Press(Qt::Key_F3);
    }
    EXPECT_EQ(m_station.LastMessage(), "Timecard Generation Error|" + kBusy);
    EXPECT_EQ(m_station.Messages().shown.size(), 3u);
}

// The action's own statements meeting a held file. With the PIN option on,
// the checks before the action are done once the PIN box shows; the file is
// taken then, so the first wait is the action's own.
class ClockBusyAction : public ClockBusy {
protected:
    void SetUp() override {
        ClockBusy::SetUp();
        StationStore store(m_station.Database().NewJetDB());
        ASSERT_TRUE(store.SetRequirePin(true));
        ASSERT_TRUE(store.SetPinHash(m_annId, pin::HashPin("4321")));
    }
    // Asks for the action, then lets another program hold the file for
    // `holdMs` while the PIN is entered.
    void WithHeldFile(int key, int holdMs) {
        m_station.TypeKeys(QStringLiteral("1007"));
        m_station.Press(key);
        ASSERT_TRUE(m_station.Window()->AskingForPin()) << m_station.LastMessage();
        LockingProcess administrator(m_station.Database().DatabasePath(), holdMs);
        m_station.TypeKeys(QStringLiteral("4321"));
        m_station.Press(Qt::Key_Return);
    }
};

// A clock-out whose first look (today) gives up busy does not wait a second
// time for yesterday: were it to, the file would be free by then and
// yesterday's open record would be closed.
TEST_F(ClockBusyAction, ClockOutGivesUpAfterOneWait) {
    m_station.Database().AddTimeRecord(m_annId, At(14, 20, 0));
    Database().SetBusyTimeout(1000);
    WithHeldFile(Qt::Key_F2, 1600);
    EXPECT_EQ(m_station.LastMessage(), "Clock-Out Error|" + kBusy);
    EXPECT_EQ(m_station.Count("EndTime = 0"), 1);
    // Once the file is free the same clock-out works.
    m_station.TypeKeys(QStringLiteral("1007"));
    m_station.Press(Qt::Key_F2);
    m_station.TypeKeys(QStringLiteral("4321"));
    m_station.Press(Qt::Key_Return);
    EXPECT_EQ(m_station.Count("EndTime = 0"), 0);
}

TEST_F(ClockBusyAction, EveryActionSaysTheFileIsBusyAndStoresNothing) {
    Database().SetBusyTimeout(300);
    WithHeldFile(Qt::Key_F1, 1200);
    EXPECT_EQ(m_station.LastMessage(), "Clock In Error|" + kBusy);
    WithHeldFile(Qt::Key_Return, 1200);
    EXPECT_EQ(m_station.LastMessage(), "Clock In Error|" + kBusy);
    EXPECT_EQ(m_station.Count("1"), 0);

    m_station.Database().AddTimeRecord(m_annId, At(15, 7, 0), At(15, 8, 0));
    OnNextModalDialog([](QWidget* dialog) {
        dialog->findChild<QPushButton*>(QStringLiteral("cmdPrint"))->click();
    });
    WithHeldFile(Qt::Key_F3, 1200);
    EXPECT_EQ(m_station.LastMessage(), "Timecard Generation Error|" + kBusy);
    EXPECT_EQ(m_station.Messages().shown.size(), 3u);
    EXPECT_FALSE(m_station.Window()->Waiting());
    EXPECT_EQ(m_station.NumberBoxText(), QString());
}

} // namespace
} // namespace orvan::test
