// The station left running all day, with real key events: confirmations
// that close by themselves or on the next person's first digit (the
// program's own message box), the print dialog's Tab order, Escape on the
// card, and the full-screen station that closes only for the
// administrator's password.

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>

#include <QApplication>
#include <QPointer>
#include <QStringList>
#include <QElapsedTimer>
#include <QTest>
#include <QWidget>

#include "ClockTestSupport.h"
#include "clock/FController.h"
#include "reports/FReportWindow.h"
#include "security/PinHash.h"
#include "storage/MessageBox.h"
#include "storage/StationStore.h"
#include "support_qt/OnNextModalDialog.h"
#include "ui/QtMessageBox.h"

namespace orvan::test {
namespace {

constexpr int kInterval = 300;

// The program's own message box with a short confirmation time, for one
// test; the station's recorder comes back afterwards.
class RealMessageBox {
public:
    explicit RealMessageBox(RecordingMessageBox& recorder) : m_recorder(recorder) {
        SetConfirmationInterval(kInterval);
        SetMessageBox(std::make_shared<QtMessageBox>());
    }
    ~RealMessageBox() {
        SetConfirmationInterval(4000);
        SetMessageBox(std::shared_ptr<IMessageBox>(&m_recorder, [](IMessageBox*) {}));
    }

private:
    RecordingMessageBox& m_recorder;
};

class ClockKiosk : public ::testing::Test {
protected:
    void SetUp() override {
        DropPendingModalDialogWatches();
        m_station.AddEmployee(1007, "Ann", "Lee");
        m_station.AddEmployee(2008, "Bob", "Ray");
        m_station.Start();
        ASSERT_NE(m_station.Window(), nullptr);
        m_station.Window()->activateWindow();
    }

    ClockStation m_station;
};

TEST_F(ClockKiosk, ConfirmationsCloseByThemselvesOrOnTheNextDigit) {
    RealMessageBox real(m_station.Messages());

    // Ann clocks in; Bob's first digit closes her box and starts his number.
    QString title;
    OnNextModalDialog([&](QWidget* box) {
        title = box->windowTitle();
        QWidget* target =
            QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : box;
        QTest::keyClick(target, Qt::Key_2);
    });
    m_station.TypeKeys(QStringLiteral("1007"));
    m_station.Press(Qt::Key_Return);
    EXPECT_EQ(title, QStringLiteral("Login Complete"));
    EXPECT_EQ(m_station.NumberBoxText(), QStringLiteral("2"));
    EXPECT_EQ(m_station.FocusName(), QStringLiteral("txtEmployeeNumber"));
    m_station.TypeKeys(QStringLiteral("008"));
    EXPECT_EQ(m_station.NumberBoxText(), QStringLiteral("2008"));

    // Bob's box is left alone: it closes by itself.
    bool shown = false;
    OnNextModalDialog(
        [&](QWidget* box) { shown = box->windowTitle() == QStringLiteral("Login Complete"); });
    QElapsedTimer clock;
    clock.start();
    m_station.Press(Qt::Key_Return);
    EXPECT_TRUE(shown);
    EXPECT_GE(clock.elapsed(), kInterval - 50);
    EXPECT_EQ(m_station.NumberBoxText(), QString());
    EXPECT_EQ(m_station.Count("EndTime = 0"), 2);

    // A clock-out confirmation also closes on a digit.
    OnNextModalDialog([&](QWidget* box) {
        title = box->windowTitle();
        QTest::keyClick(QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : box,
                        Qt::Key_1);
    });
    m_station.TypeKeys(QStringLiteral("2008"));
    m_station.Press(Qt::Key_F2);
    EXPECT_EQ(title, QStringLiteral("Logout Complete"));
    EXPECT_EQ(m_station.NumberBoxText(), QStringLiteral("1"));

    // A warning stays past the confirmation time and ignores digits.
    bool stayed = false;
    OnNextModalDialog([&](QWidget* box) {
        title = box->windowTitle();
        QTest::qWait(3 * kInterval);
        QTest::keyClick(box, Qt::Key_1);
        stayed = box->isVisible() && QApplication::activeModalWidget() == box;
        QTest::keyClick(box, Qt::Key_Escape);
    });
    m_station.TypeKeys(QStringLiteral("007"));
    m_station.Press(Qt::Key_F1);
    EXPECT_EQ(title, QStringLiteral("Already Clocked In"));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(m_station.NumberBoxText(), QString());
}

// From, To, <<, >>, Print, Cancel: one Tab each, Shift+Tab back; Space on
// Print shows the card, and Escape closes the card's window.
TEST_F(ClockKiosk, PrintDialogTabsOnceAControlAndEscapeClosesTheCard) {
    QStringList forward;
    QStringList backward;
    OnNextModalDialog([&](QWidget* dialog) {
        // The dialog is the modal one before the window system has given it
        // the focus.
        ASSERT_TRUE(QTest::qWaitFor([dialog] {
            return QApplication::focusWidget() != nullptr &&
                   dialog->isAncestorOf(QApplication::focusWidget());
        }));
        forward << QApplication::focusWidget()->objectName();
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            forward << QApplication::focusWidget()->objectName();
        }
        for (int i = 0; i < 5; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
            backward << QApplication::focusWidget()->objectName();
        }
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        ASSERT_EQ(dialog->focusWidget()->objectName(), QStringLiteral("cmdPrint"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    });
    m_station.TypeKeys(QStringLiteral("1007"));
    m_station.Press(Qt::Key_F3);
    EXPECT_EQ(forward.join(QLatin1Char(' ')).toStdString(),
              "tptbTCFrom tptbTCTo cmdPeriodBack cmdPeriodNext cmdPrint cmdCancel");
    EXPECT_EQ(backward.join(QLatin1Char(' ')).toStdString(),
              "cmdPrint cmdPeriodNext cmdPeriodBack tptbTCTo tptbTCFrom");

    QPointer<FReportWindow> card;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* report = qobject_cast<FReportWindow*>(widget); report && report->isVisible()) {
            card = report;
        }
    }
    ASSERT_FALSE(card.isNull());
    QWidget* text = card->findChild<QWidget*>(QStringLiteral("txtReport"));
    ASSERT_NE(text, nullptr);
    text->setFocus();
    QTest::keyClick(text, Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return card.isNull() || !card->isVisible(); }));
}

// With the option off the station is an ordinary window that closes freely.
TEST_F(ClockKiosk, WithoutTheOptionTheStationClosesWithoutAPassword) {
    EXPECT_FALSE(m_station.Window()->isFullScreen());
    EXPECT_TRUE(m_station.Window()->close());
    EXPECT_FALSE(m_station.Window()->isVisible());
    EXPECT_TRUE(m_station.Messages().shown.empty());
}

class ClockFullScreen : public ::testing::Test {
protected:
    void Start(const std::string& hash = {}) {
        DropPendingModalDialogWatches();
        StationStore store(m_station.Database().NewJetDB());
        ASSERT_TRUE(store.SetFullScreen(true));
        if (!hash.empty()) {
            ASSERT_TRUE(store.SetAdminPasswordHash(hash));
        }
        m_station.Start();
        ASSERT_NE(m_station.Window(), nullptr);
        EXPECT_TRUE(m_station.Window()->isFullScreen());
    }
    // Closes the station, answering the password dialog with `password`
    // typed and Return, or with Escape when there is none. True when the
    // station closed.
    bool CloseWith(const std::optional<QString>& password) {
        bool asked = false;
        OnNextModalDialog([&](QWidget* dialog) {
            asked = dialog->objectName() == QStringLiteral("dlgClosePassword");
            QWidget* box = QApplication::focusWidget();
            if (password) {
                QTest::keyClicks(box, *password);
                QTest::keyClick(box, Qt::Key_Return);
            } else {
                QTest::keyClick(box, Qt::Key_Escape);
            }
        });
        const bool closed = m_station.Window()->close();
        EXPECT_TRUE(asked);
        EXPECT_EQ(closed, !m_station.Window()->isVisible());
        return closed;
    }

    ClockStation m_station;
};

TEST_F(ClockFullScreen, OnlyTheFirstTimePasswordClosesTheStation) {
    Start();
    EXPECT_FALSE(CloseWith(std::nullopt));
    EXPECT_TRUE(m_station.Messages().shown.empty());
    EXPECT_FALSE(CloseWith(QStringLiteral("renby743")));
    EXPECT_EQ(m_station.LastMessage(), "Close Clock Station|The password is not correct.");
    EXPECT_TRUE(CloseWith(QStringLiteral("renby742")));
}

TEST_F(ClockFullScreen, AChangedPasswordIsCheckedAgainstItsHash) {
    Start(pin::HashPassword("Gate-7731"));
    EXPECT_FALSE(CloseWith(QStringLiteral("renby742")));
    EXPECT_EQ(m_station.LastMessage(), "Close Clock Station|The password is not correct.");
    EXPECT_TRUE(CloseWith(QStringLiteral("Gate-7731")));
}

} // namespace
} // namespace orvan::test
