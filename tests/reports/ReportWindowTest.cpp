#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFrame>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include "reports/CReportEmployee.h"
#include "reports/CReportPhoneBook.h"
#include "reports/CReportReview.h"
#include "reports/CReportTimeCard.h"
#include "reports/CReportYTDTotals.h"
#include "reports/FReportEmployee.h"
#include "reports/FReportPhoneBook.h"
#include "reports/FReportReview.h"
#include "reports/FReportTimeCard.h"
#include "reports/FReportYTDTotals.h"
#include "ReportTestSupport.h"

namespace orvan::test {
namespace {

template <typename T> T* Child(QWidget* window, const char* name) {
    T* child = window->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

class ReportWindowTest : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        const int32_t id = m_installation.AddEmployee(1007, "Ann", "Lee", 12.5f, 18.75f);
        AddAnnLeeRecords(id);
        m_ann = MakeAnnLee(id);
    }

    // A time card report with its window open, told to `parent`.
    std::shared_ptr<CReportTimeCard> OpenTimeCard(IReportParent* parent) {
        auto report = std::make_shared<CReportTimeCard>();
        report->SetParentWindow(parent);
        EXPECT_TRUE(report->GenerateReport(m_database, m_ann, At(2003, 1, 15), At(2003, 1, 28)));
        EXPECT_NE(report->ReportWindow(), nullptr);
        return report;
    }

    std::shared_ptr<CEmployee> m_ann;
    RecordingParent m_parent;
};

TEST_F(ReportWindowTest, DesignHasFixedPitchReadOnlyTextAndTwoButtons) {
    FReportTimeCard window;
    auto* text = Child<QPlainTextEdit>(&window, "txtReport");
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->isReadOnly());
    EXPECT_EQ(text->horizontalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_EQ(text->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(text->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_DOUBLE_EQ(text->font().pointSizeF(), 9.75);
    EXPECT_FALSE(text->font().bold());
    EXPECT_FALSE(text->font().italic());
    EXPECT_TRUE(QFontInfo(text->font()).fixedPitch());
    if (QFontDatabase::hasFamily(QStringLiteral("Courier New"))) {
        EXPECT_EQ(text->font().family(), QStringLiteral("Courier New"));
    }
    EXPECT_EQ(text->pos(), QPoint(0, 0));

    ASSERT_NE(Child<QFrame>(&window, "pnlButtons"), nullptr);
    auto* print = Child<QPushButton>(&window, "cmdPrint");
    auto* close = Child<QPushButton>(&window, "cmdClose");
    ASSERT_NE(print, nullptr);
    ASSERT_NE(close, nullptr);
    EXPECT_EQ(print->text(), QStringLiteral("Print"));
    EXPECT_EQ(close->text(), QStringLiteral("Close"));
    EXPECT_EQ(print->parentWidget()->objectName(), QStringLiteral("pnlButtons"));
    EXPECT_EQ(print->size(), QSize(window.TwipsToPixelsX(1230), window.TwipsToPixelsY(375)));
    EXPECT_EQ(print->y(), window.TwipsToPixelsY(180));
    EXPECT_EQ(window.size(), QSize(window.TwipsToPixelsX(9555), window.TwipsToPixelsY(5055)));
}

TEST_F(ReportWindowTest, EachWindowHasItsDesignCaption) {
    EXPECT_EQ(FReportTimeCard().windowTitle(),
              QStringLiteral("Time Card - <employee> - <date range>"));
    EXPECT_EQ(FReportReview().windowTitle(), QStringLiteral("Accountant's Review - <date range>"));
    EXPECT_EQ(FReportYTDTotals().windowTitle(),
              QStringLiteral("Employee Year To Date Totals - <employee>"));
    EXPECT_EQ(FReportEmployee().windowTitle(), QStringLiteral("Employee Records"));
    EXPECT_EQ(FReportPhoneBook().windowTitle(), QStringLiteral("Employee Phone Book"));
}

TEST_F(ReportWindowTest, WriteLineAppendsTheTextAndALineEnd) {
    FReportEmployee window;
    EXPECT_TRUE(window.WriteLine("one\ttab"));
    EXPECT_TRUE(window.WriteLine(""));
    EXPECT_TRUE(window.WriteLine("two\r\nlines"));
    EXPECT_EQ(window.Text(), "one\ttab\r\n\r\ntwo\r\nlines\r\n");
    EXPECT_EQ(Child<QPlainTextEdit>(&window, "txtReport")->toPlainText(),
              QStringLiteral("one\ttab\n\ntwo\nlines\n"));
}

TEST_F(ReportWindowTest, ResizingKeepsButtonsAtTheRightEnd) {
    FReportTimeCard window;
    window.show();
    window.resize(800, 500);
    // The layout works in twips on the outer size: the client area plus the
    // frame the design was drawn with (150 x 420 twips).
    const double outerW = 800 * 1440.0 / window.logicalDpiX() + 150;
    const double outerH = 500 * 1440.0 / window.logicalDpiY() + 420;
    auto* text = Child<QPlainTextEdit>(&window, "txtReport");
    auto* panel = Child<QFrame>(&window, "pnlButtons");
    auto* print = Child<QPushButton>(&window, "cmdPrint");
    auto* close = Child<QPushButton>(&window, "cmdClose");
    EXPECT_EQ(text->width(), window.TwipsToPixelsX(outerW - 150));
    EXPECT_EQ(panel->width(), window.TwipsToPixelsX(outerW - 150));
    EXPECT_EQ(text->height(), window.TwipsToPixelsY(outerH - 1065));
    EXPECT_EQ(panel->y(), window.TwipsToPixelsY(outerH - 1065));
    EXPECT_NEAR(print->x(), panel->width() - window.TwipsToPixelsX(2760), 1);
    EXPECT_NEAR(close->x(), panel->width() - window.TwipsToPixelsX(1365), 1);
    // Close is rightmost, both inside the panel, the panel at the bottom.
    EXPECT_GT(close->x(), print->x() + print->width());
    EXPECT_LE(close->x() + close->width(), panel->width());
    EXPECT_LE(panel->y() + panel->height(), window.height());
    EXPECT_GE(panel->y(), text->y() + text->height());
}

TEST_F(ReportWindowTest, TinyWindowLeavesTheLayoutAlone) {
    FReportTimeCard window;
    window.show();
    auto* text = Child<QPlainTextEdit>(&window, "txtReport");
    auto* close = Child<QPushButton>(&window, "cmdClose");
    const QRect textBefore = text->geometry();
    const QRect closeBefore = close->geometry();
    window.resize(window.TwipsToPixelsX(2000), window.TwipsToPixelsY(1000));
    EXPECT_EQ(text->geometry(), textBefore);
    EXPECT_EQ(close->geometry(), closeBefore);
}

// Whether the whole line holding `words` lies inside the report's viewport.
bool LineInView(QPlainTextEdit* text, const QString& words) {
    QTextCursor cursor = text->document()->find(words);
    if (cursor.isNull()) {
        ADD_FAILURE() << "no line " << words.toStdString();
        return false;
    }
    const QRect view = text->viewport()->rect();
    cursor.movePosition(QTextCursor::StartOfBlock);
    const QRect start = text->cursorRect(cursor);
    cursor.movePosition(QTextCursor::EndOfBlock);
    const QRect end = text->cursorRect(cursor);
    return view.contains(start) && view.contains(end);
}

TEST_F(ReportWindowTest, ATimeCardOpensShowingWholeLinesAndTheTotals) {
    std::shared_ptr<CReportTimeCard> report = OpenTimeCard(&m_parent);
    FReportWindow* window = report->ReportWindow();
    QCoreApplication::processEvents();
    auto* text = Child<QPlainTextEdit>(window, "txtReport");
    ASSERT_NE(text, nullptr);
    // Taller than the design, where the totals were below the fold.
    EXPECT_GT(window->height(), window->TwipsToPixelsY(5055));
    EXPECT_FALSE(text->horizontalScrollBar()->isVisible());
    EXPECT_EQ(text->horizontalScrollBar()->maximum(), 0);
    // Nothing to scroll at all: the whole report is in view.
    EXPECT_EQ(text->verticalScrollBar()->maximum(), 0);
    for (const char* line :
         {"Social Security Number", "01/28/2003 10:00 PM", "Regular: ", "Overtime Pay Rate: ",
          "Total Break Time: ", "Gross Pay: ", "Manager Signature"}) {
        EXPECT_TRUE(LineInView(text, QString::fromLatin1(line))) << line;
    }
    // The buttons stay below the text, inside the window.
    auto* close = Child<QPushButton>(window, "cmdClose");
    EXPECT_LE(close->mapTo(window, QPoint(close->width(), close->height())).x(), window->width());
    EXPECT_LE(close->mapTo(window, QPoint(0, close->height())).y(), window->height());
    const QRect available = window->screen()->availableGeometry();
    EXPECT_LE(window->frameGeometry().width(), available.width());
    EXPECT_LE(window->frameGeometry().height(), available.height());
}

TEST_F(ReportWindowTest, AReportTallerThanTheScreenStopsAtItsEdgeAndScrolls) {
    for (int day = 1; day <= 28; ++day) {
        for (int month = 2; month <= 12; ++month) {
            m_installation.AddTimeRecord(m_ann->EmployeeID(), At(2003, month, day, 8),
                                         At(2003, month, day, 16));
        }
    }
    auto report = std::make_shared<CReportYTDTotals>();
    ASSERT_TRUE(report->GenerateReport(m_database, m_ann, At(2003, 1, 1), At(2003, 12, 31)));
    FReportWindow* window = report->ReportWindow();
    ASSERT_NE(window, nullptr);
    QCoreApplication::processEvents();
    const QRect available = window->screen()->availableGeometry();
    EXPECT_LE(window->frameGeometry().height(), available.height());
    EXPECT_LE(window->frameGeometry().width(), available.width());
    auto* text = Child<QPlainTextEdit>(window, "txtReport");
    EXPECT_GT(text->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(text->horizontalScrollBar()->maximum(), 0);
    EXPECT_TRUE(LineInView(text, QStringLiteral("Social Security Number")));
}

TEST_F(ReportWindowTest, AShortReportKeepsTheDesignSize) {
    auto phones = std::make_shared<CReportPhoneBook>();
    ASSERT_TRUE(phones->GenerateReport(ListOf({m_ann})));
    FReportWindow* window = phones->ReportWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->size(), QSize(window->TwipsToPixelsX(9555), window->TwipsToPixelsY(5055)));
}

TEST_F(ReportWindowTest, CloseButtonUnloadsTheWindowAndTellsTheParent) {
    std::shared_ptr<CReportTimeCard> report = OpenTimeCard(&m_parent);
    std::weak_ptr<CReportTimeCard> weak = report;
    QPointer<FReportWindow> window = report->ReportWindow();
    report.reset();
    // The open window keeps its report alive.
    ASSERT_FALSE(weak.expired());

    Child<QPushButton>(window, "cmdClose")->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(m_parent.timeCard, 1);
    // The pair is broken: the report is gone, the window is deleted later.
    EXPECT_TRUE(weak.expired());
    DeleteUnloadedWindows();
    EXPECT_TRUE(window.isNull());
}

TEST_F(ReportWindowTest, CloseBoxDoesWhatCloseDoesAndUnloadMayRunTwice) {
    std::shared_ptr<CReportTimeCard> report = OpenTimeCard(&m_parent);
    QPointer<FReportWindow> window = report->ReportWindow();
    EXPECT_TRUE(window->close());
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(report->ReportWindow(), nullptr);
    EXPECT_EQ(m_parent.timeCard, 1);
    EXPECT_TRUE(report->UnloadReportWindow());
    EXPECT_EQ(m_parent.timeCard, 1);
    DeleteUnloadedWindows();
    EXPECT_TRUE(window.isNull());
}

TEST_F(ReportWindowTest, EveryReportTellsItsOwnNotification) {
    auto review = std::make_shared<CReportReview>();
    review->SetParentWindow(&m_parent);
    review->GenerateReport(m_database, ListOf({m_ann}), At(2003, 1, 15), At(2003, 1, 28));
    auto totals = std::make_shared<CReportYTDTotals>();
    totals->SetParentWindow(&m_parent);
    totals->GenerateReport(m_database, m_ann, At(2003, 1, 1), At(2003, 6, 14));
    auto records = std::make_shared<CReportEmployee>();
    records->SetParentWindow(&m_parent);
    records->GenerateReport(ListOf({m_ann}));
    auto phones = std::make_shared<CReportPhoneBook>();
    phones->SetParentWindow(&m_parent);
    phones->GenerateReport(ListOf({m_ann}));

    Child<QPushButton>(review->ReportWindow(), "cmdClose")->click();
    EXPECT_EQ(m_parent.review, 1);
    totals->ReportWindow()->close();
    EXPECT_EQ(m_parent.ytdTotals, 1);
    Child<QPushButton>(records->ReportWindow(), "cmdClose")->click();
    EXPECT_EQ(m_parent.employee, 1);
    phones.reset(); // a report that ends unloads its window first
    EXPECT_EQ(m_parent.phoneBook, 0) << "the window still holds the report";
    EXPECT_EQ(m_parent.timeCard, 0);
}

TEST_F(ReportWindowTest, ReportEndingWithItsWindowOpenUnloadsIt) {
    QPointer<FReportWindow> window;
    {
        CReportTimeCard report; // not shared: the window does not own it
        report.SetParentWindow(&m_parent);
        ASSERT_TRUE(report.GenerateReport(m_database, m_ann, At(2003, 1, 15), At(2003, 1, 28)));
        window = report.ReportWindow();
    }
    EXPECT_EQ(m_parent.timeCard, 1);
    EXPECT_FALSE(window->isVisible());
    DeleteUnloadedWindows();
    EXPECT_TRUE(window.isNull());
}

TEST_F(ReportWindowTest, ParentGoneBeforeTheWindowCloses) {
    auto parent = std::make_unique<RecordingParent>();
    std::shared_ptr<CReportTimeCard> report = OpenTimeCard(parent.get());
    parent.reset();
    report->ReportWindow()->close();
    EXPECT_EQ(report->ReportWindow(), nullptr);
    EXPECT_FALSE(report->PrintReport());
}

TEST_F(ReportWindowTest, PrintHandsTheFileToTheShellAndPutsTheWindowAway) {
    std::shared_ptr<CReportTimeCard> report = OpenTimeCard(&m_parent);
    QPointer<FReportWindow> window = report->ReportWindow();
    Child<QPushButton>(window, "cmdPrint")->click();
    ASSERT_EQ(m_shell->requests.size(), 1u);
    EXPECT_EQ(m_shell->requests[0].verb, "print");
    EXPECT_EQ(m_shell->requests[0].document,
              (ReportsFolder() / "1007_0115_0128_2003_time_card.txt").string());
    EXPECT_EQ(m_shell->requests[0].parent, static_cast<QWidget*>(&m_parent));
    EXPECT_EQ(m_shell->requests[0].showCommand, 0);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(m_parent.timeCard, 1);
    EXPECT_TRUE(m_messages->shown.empty());
    EXPECT_EQ(report->ErrorNumber(), 0);
}

TEST_F(ReportWindowTest, PrintingADeletedFileSaysSoAndKeepsTheWindow) {
    std::shared_ptr<CReportTimeCard> report = OpenTimeCard(&m_parent);
    std::filesystem::remove(ReportsFolder() / "1007_0115_0128_2003_time_card.txt");
    Child<QPushButton>(report->ReportWindow(), "cmdPrint")->click();
    ASSERT_EQ(m_messages->shown.size(), 1u);
    EXPECT_EQ(m_messages->shown[0].style, MsgIconExclamation);
    EXPECT_EQ(m_messages->shown[0].text,
              "The path to the report is invalid or not able to be opened by Windows.");
    ASSERT_NE(report->ReportWindow(), nullptr);
    EXPECT_TRUE(report->ReportWindow()->isVisible());
    EXPECT_EQ(m_parent.timeCard, 0);
    EXPECT_EQ(report->ErrorNumber(), 0);
    EXPECT_FALSE(report->PrintReport());
}

TEST_F(ReportWindowTest, PrintFailingOtherwiseShowsNothing) {
    std::shared_ptr<CReportTimeCard> report = OpenTimeCard(&m_parent);
    m_shell->answer = ShellNoAssociation;
    EXPECT_FALSE(report->PrintReport());
    Child<QPushButton>(report->ReportWindow(), "cmdPrint")->click();
    EXPECT_TRUE(m_messages->shown.empty());
    EXPECT_TRUE(report->ReportWindow()->isVisible());

    // Without a parent window there is nothing to print from.
    auto orphan = std::make_shared<CReportTimeCard>();
    ASSERT_TRUE(orphan->GenerateReport(m_database, m_ann, At(2003, 1, 15), At(2003, 1, 28)));
    m_shell->requests.clear();
    EXPECT_FALSE(orphan->PrintReport());
    EXPECT_TRUE(m_shell->requests.empty());
    EXPECT_TRUE(m_messages->shown.empty());
}

} // namespace
} // namespace orvan::test
