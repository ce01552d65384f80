// Printing a time card from the clock: the period dialog and the report.

#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>

#include "ClockTestSupport.h"
#include "clock/FController.h"
#include "reports/FReportWindow.h"
#include "storage/MessageBox.h"
#include "support/ScopedUmask.h"
#include "support_qt/OnNextModalDialog.h"

namespace orvan::test {
namespace {

namespace fs = std::filesystem;

QDate DateOf(QWidget* dialog, const char* name) {
    return dialog->findChild<QDateEdit*>(QString::fromUtf8(name))->date();
}

void Press(QWidget* dialog, const char* name) {
    auto* button = dialog->findChild<QPushButton*>(QString::fromUtf8(name));
    ASSERT_NE(button, nullptr) << name;
    button->click();
}

std::vector<FReportWindow*> ReportWindows() {
    std::vector<FReportWindow*> windows;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* report = qobject_cast<FReportWindow*>(widget); report && report->isVisible()) {
            windows.push_back(report);
        }
    }
    return windows;
}

class ClockPrint : public ::testing::Test {
protected:
    void SetUp() override {
        m_annId = m_station.AddEmployee(1007, "Ann", "Lee");
        m_station.Start();
        ASSERT_NE(m_station.Window(), nullptr);
    }
    fs::path ReportFile() {
        return m_station.Database().Folder() / "reports" / "1007_0115_0128_2003_time_card.txt";
    }

    ClockStation m_station;
    int32_t m_annId = 0;
};

TEST_F(ClockPrint, ViewShowsTheTimeCardOfTheChosenPeriod) {
    // The card holds pay hours: its file is private whatever the umask.
    const ScopedUmask umask(0);
    m_station.Database().AddTimeRecord(m_annId, DateTime::FromParts(2003, 1, 15, 8, 0),
                                       DateTime::FromParts(2003, 1, 15, 16, 30));
    m_station.Database().AddTimeRecord(m_annId, DateTime::FromParts(2003, 1, 28, 22, 0),
                                       DateTime::FromParts(2003, 1, 29, 6, 0));
    QDate from, to;
    OnNextModalDialog([&](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), QStringLiteral(" Select a Pay Period"));
        from = DateOf(dialog, "tptbTCFrom");
        to = DateOf(dialog, "tptbTCTo");
        Press(dialog, "cmdPrint");
    });
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickPrint();
    EXPECT_EQ(from, QDate(2003, 1, 15));
    EXPECT_EQ(to, QDate(2003, 1, 28));
    EXPECT_TRUE(m_station.Messages().shown.empty()) << m_station.LastMessage();
    EXPECT_EQ(m_station.NumberBoxText(), QString());

    ASSERT_TRUE(fs::exists(ReportFile()));
    const std::string file = ReadAll(ReportFile());
    EXPECT_NE(file.find("\t01/28/2003 10:00 PM\t01/29/2003 06:00 AM\t8.00\r\n"), std::string::npos)
        << file;
    EXPECT_EQ(ModeOf(ReportFile().c_str()), 0660);
    const auto windows = ReportWindows();
    ASSERT_EQ(windows.size(), 1u);
    QWidget* text = windows.front()->findChild<QWidget*>(QStringLiteral("txtReport"));
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->property("plainText").toString().toStdString(),
              QString::fromStdString(file)
                  .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                  .toStdString());
}

// The card closes by itself after a minute without input; input starts the
// minute again. The test shortens the wait instead of sitting it out.
TEST_F(ClockPrint, AShownTimeCardClosesAfterAMinuteWithoutInput) {
    m_station.Database().AddTimeRecord(m_annId, DateTime::FromParts(2003, 1, 15, 8, 0),
                                       DateTime::FromParts(2003, 1, 15, 16, 30));
    OnNextModalDialog([](QWidget* dialog) { Press(dialog, "cmdPrint"); });
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickPrint();
    const auto windows = ReportWindows();
    ASSERT_EQ(windows.size(), 1u);
    const QPointer<FReportWindow> window = windows.front();
    auto* timer = window->findChild<QTimer*>(QStringLiteral("idleCloseTimer"));
    ASSERT_NE(timer, nullptr);
    EXPECT_TRUE(timer->isActive());
    EXPECT_EQ(timer->interval(), 60000);

    ASSERT_TRUE(QTest::qWaitFor([&] { return timer->remainingTime() < 59500; }));
    auto* text = window->findChild<QWidget*>(QStringLiteral("txtReport"));
    ASSERT_NE(text, nullptr);
    QTest::keyClick(text, Qt::Key_Down);
    EXPECT_GT(timer->remainingTime(), 59800);
    ASSERT_TRUE(QTest::qWaitFor([&] { return timer->remainingTime() < 59500; }));
    auto* viewport = text->findChild<QWidget*>(QStringLiteral("qt_scrollarea_viewport"));
    QTest::mouseClick(viewport != nullptr ? viewport : text, Qt::LeftButton);
    EXPECT_GT(timer->remainingTime(), 59800);

    // At the end of the wait the card closes.
    timer->setInterval(50);
    timer->start();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isNull() || !window->isVisible(); }));
    EXPECT_TRUE(ReportWindows().empty());
}

TEST_F(ClockPrint, CancelPrintsNothing) {
    OnNextModalDialog([](QWidget* dialog) { Press(dialog, "cmdCancel"); });
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickPrint();
    EXPECT_TRUE(m_station.Messages().shown.empty());
    EXPECT_TRUE(ReportWindows().empty());
    EXPECT_FALSE(fs::exists(ReportFile()));
    EXPECT_EQ(m_station.NumberBoxText(), QString());
}

TEST_F(ClockPrint, PeriodsStepByWholePeriodsAndEmptyOnesAreExplained) {
    QDate backFrom, backTo, nextFrom, nextTo, typedTo;
    OnNextModalDialog([&](QWidget* dialog) {
        Press(dialog, "cmdPeriodNext");
        nextFrom = DateOf(dialog, "tptbTCFrom");
        nextTo = DateOf(dialog, "tptbTCTo");
        Press(dialog, "cmdPeriodBack");
        Press(dialog, "cmdPeriodBack");
        backFrom = DateOf(dialog, "tptbTCFrom");
        backTo = DateOf(dialog, "tptbTCTo");
        // A From date typed by hand moves the To date along.
        dialog->findChild<QDateEdit*>(QStringLiteral("tptbTCFrom"))->setDate(QDate(2003, 2, 1));
        typedTo = DateOf(dialog, "tptbTCTo");
        Press(dialog, "cmdPrint");
    });
    m_station.Type(QStringLiteral("1007"));
    m_station.ClickPrint();
    EXPECT_EQ(nextFrom, QDate(2003, 1, 29));
    EXPECT_EQ(nextTo, QDate(2003, 2, 11));
    EXPECT_EQ(backFrom, QDate(2003, 1, 1));
    EXPECT_EQ(backTo, QDate(2003, 1, 14));
    EXPECT_EQ(typedTo, QDate(2003, 2, 14));
    EXPECT_EQ(m_station.LastMessage(),
              "Timecard Generation Error|There are no time records entered during this time "
              "period.");
    EXPECT_EQ(m_station.LastStyle(), MsgIconInformation);
}

} // namespace
} // namespace orvan::test
