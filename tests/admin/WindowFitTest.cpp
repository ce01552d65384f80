// The manager's main window on a laptop's screen: it opens centred inside
// the screen's visible area, the time card grid shows its three columns
// whole whatever size the window takes, and a report opens over the window.
#include <gtest/gtest.h>

#include <cstdlib>

#include <QApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTableWidget>
#include <QTest>

#include "TimecardsDriver.h"
#include "admin/FController.h"
#include "reports/FReportWindow.h"
#include "support_qt/CloseReportWindows.h"
#include "support_qt/LaptopScreen.h"
#include "support_qt/ScopedDocumentShell.h"

namespace orvan::test {
namespace {

// A window is placed before its frame exists, so its centre may be off by
// the difference between the frame assumed and the real one.
constexpr int Slack = 20;

class WindowFitTest : public TimecardsFixture {
protected:
    void Prepare() override {
        // A fortnight of shifts for Anna in the first period.
        for (int day = 1; day <= 14; ++day) {
            m_app.Database().AddTimeRecord(m_anna, DateTime::FromParts(2003, 3, day, 8, 0, 0),
                                           DateTime::FromParts(2003, 3, day, 16, 30, 0));
        }
    }

    QRect Available() const { return m_window->screen()->availableGeometry(); }

    // Resizes the window and lets the layouts settle.
    void ResizeWindow(const QSize& size) {
        m_window->resize(size);
        QTRY_COMPARE(m_window->size(), size.expandedTo(m_window->minimumSizeHint()));
        QApplication::processEvents();
    }

    // Empty when the grid shows every column whole without scrolling;
    // otherwise what does not fit.
    std::string GridMisfit() const {
        QTableWidget* grid = Grid();
        const QHeaderView* header = grid->horizontalHeader();
        if (header->length() > grid->viewport()->width()) {
            return "columns " + std::to_string(header->length()) + " px in a grid of " +
                   std::to_string(grid->viewport()->width()) + " px";
        }
        for (int column = 0; column < grid->columnCount(); ++column) {
            for (int row = 0; row < grid->rowCount(); ++row) {
                const QTableWidgetItem* cell = grid->item(row, column);
                const int wanted =
                    cell != nullptr ? grid->fontMetrics().horizontalAdvance(cell->text()) : 0;
                if (header->sectionSize(column) < wanted) {
                    return "column " + std::to_string(column) + " narrower than its text";
                }
            }
        }
        return {};
    }
};

TEST_F(WindowFitTest, TheMainWindowOpensCentredInsideTheScreen) {
    const QRect available = Available();
    ASSERT_EQ(available.size(), QSize(LaptopScreenWidth, LaptopScreenHeight));
    const QRect frame = m_window->frameGeometry();
    EXPECT_TRUE(available.contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    EXPECT_LE(std::abs(frame.center().x() - available.center().x()), Slack);
    EXPECT_LE(std::abs(frame.center().y() - available.center().y()), Slack);
}

TEST_F(WindowFitTest, TheGridShowsItsColumnsWholeAtEverySize) {
    const QSize opened = m_window->size();
    Choose(QStringLiteral("Anna Berg"));
    Generate();
    ASSERT_EQ(Rows().size(), 14u);
    EXPECT_EQ(GridMisfit(), "") << "as opened";

    // Generated while maximised, then restored.
    ResizeWindow(Available().size());
    Generate();
    EXPECT_EQ(GridMisfit(), "") << "maximised";
    ResizeWindow(opened);
    EXPECT_EQ(GridMisfit(), "") << "restored";

    // As small as the window goes.
    ResizeWindow(QSize(1, 1));
    EXPECT_EQ(GridMisfit(), "") << "at the smallest size";
}

TEST_F(WindowFitTest, ATimeCardOpensOverTheMainWindowInsideTheScreen) {
    ScopedDocumentShell shell;
    Choose(QStringLiteral("Anna Berg"));
    Click("cmdTCPrint");
    FReportWindow* report = nullptr;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* window = qobject_cast<FReportWindow*>(widget); window && window->isVisible()) {
            report = window;
        }
    }
    ASSERT_NE(report, nullptr);
    const QRect frame = report->frameGeometry();
    EXPECT_TRUE(Available().contains(frame))
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height();
    EXPECT_LE(std::abs(frame.center().x() - m_window->frameGeometry().center().x()), Slack);
    CloseReportWindows();
}

} // namespace
} // namespace orvan::test
