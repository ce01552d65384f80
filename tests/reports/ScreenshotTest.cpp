#include <string>

#include <gtest/gtest.h>

#include <QApplication>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

#include "reports/CReportTimeCard.h"
#include "reports/FReportWindow.h"
#include "ReportTestSupport.h"

namespace orvan::test {
namespace {

// Saves a picture of a populated time card window to the file named by
// ORVAN_REPORT_SCREENSHOT, for looking at the window as a user sees it (run
// under a real or virtual display). Skipped when the variable is not set.
TEST_F(ReportTest, ScreenshotOfATimeCardWindow) {
    const QByteArray target = qgetenv("ORVAN_REPORT_SCREENSHOT");
    if (target.isEmpty()) {
        GTEST_SKIP() << "ORVAN_REPORT_SCREENSHOT not set";
    }
    const int32_t id = m_installation.AddEmployee(1007, "Ann", "Lee", 12.5f, 18.75f);
    AddAnnLeeRecords(id);
    auto report = std::make_shared<CReportTimeCard>();
    ASSERT_TRUE(
        report->GenerateReport(m_database, MakeAnnLee(id), At(2003, 1, 15), At(2003, 1, 28)));
    FReportWindow* window = report->ReportWindow();
    ASSERT_NE(window, nullptr);
    const QByteArray size = qgetenv("ORVAN_REPORT_SCREENSHOT_SIZE");
    if (!size.isEmpty()) {
        const QList<QByteArray> parts = size.split('x');
        window->resize(parts.value(0).toInt(), parts.value(1).toInt());
    }
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
    QTest::qWait(300);
    auto* text = window->findChild<QPlainTextEdit*>(QStringLiteral("txtReport"));
    ASSERT_NE(text, nullptr);
    // The report opens at its first line.
    EXPECT_EQ(text->verticalScrollBar()->value(), 0);
    EXPECT_TRUE(window->grab().save(QString::fromLocal8Bit(target)));
    report->UnloadReportWindow();
}

} // namespace
} // namespace orvan::test
