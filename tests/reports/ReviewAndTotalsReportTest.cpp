#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "core/CTimeCard.h"
#include "reports/CReportReview.h"
#include "reports/CReportYTDTotals.h"
#include "reports/FReportReview.h"
#include "reports/FReportYTDTotals.h"
#include "ReportTestSupport.h"

namespace orvan::test {
namespace {

class ReviewAndTotalsReportTest : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        const int32_t annId = m_installation.AddEmployee(1007, "Ann", "Lee", 12.5f, 18.75f);
        const int32_t bobId = m_installation.AddEmployee(1011, "Bob", "Stone", 9.0f, 13.5f);
        const int32_t diazId = m_installation.AddEmployee(42, "", "Diaz", 8.0f, 12.0f);
        AddAnnLeeRecords(annId);
        m_installation.AddTimeRecord(diazId, At(2003, 1, 20, 9, 0), At(2003, 1, 20, 13, 0));
        // Bob worked, but not in the reviewed period.
        m_installation.AddTimeRecord(bobId, At(2003, 2, 3, 9, 0), At(2003, 2, 3, 17, 0));
        m_ann = MakeAnnLee(annId);
        m_bob = MakeBobStone(bobId);
        m_diaz = MakeDiaz(diazId);
    }

    std::shared_ptr<CEmployee> m_ann;
    std::shared_ptr<CEmployee> m_bob;
    std::shared_ptr<CEmployee> m_diaz;
};

TEST_F(ReviewAndTotalsReportTest, ReviewWritesEveryEmployeeAndReportsTheOneWithoutCard) {
    auto report = std::make_shared<CReportReview>();
    EXPECT_EQ(report->ReportName(), "Accountant's Review : ");
    EXPECT_FALSE(report->GenerateReport(m_database, ListOf({m_ann, m_bob, m_diaz}), At(2003, 1, 15),
                                        At(2003, 1, 28)));
    EXPECT_EQ(report->ErrorNumber(), 710);
    EXPECT_EQ(report->ReportName(), "Accountant's Review : 1/15/2003 - 1/28/2003");
    EXPECT_EQ(report->FileName(), "salary_review_0115_0128_2003.txt");
    const std::string file = ReportFile("salary_review_0115_0128_2003.txt");
    EXPECT_EQ(file, Expected("review.txt"));

    FReportWindow* window = report->ReportWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(qobject_cast<FReportReview*>(window), nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), report->ReportName());
    EXPECT_EQ(window->Text(), file);
}

TEST_F(ReviewAndTotalsReportTest, ReviewOfEmployeesWithCardsSucceeds) {
    auto report = std::make_shared<CReportReview>();
    EXPECT_TRUE(report->GenerateReport(m_database, ListOf({m_ann, m_diaz}), At(2003, 1, 15),
                                       At(2003, 1, 28)));
    EXPECT_EQ(report->ErrorNumber(), 0);
}

TEST_F(ReviewAndTotalsReportTest, ReviewOfAnEmptyListHoldsOnlyTheHeading) {
    auto report = std::make_shared<CReportReview>();
    EXPECT_TRUE(report->GenerateReport(m_database, ListOf({}), At(2003, 1, 15), At(2003, 1, 28)));
    EXPECT_EQ(ReportFile("salary_review_0115_0128_2003.txt"), Expected("review_empty_list.txt"));
}

TEST_F(ReviewAndTotalsReportTest, ReviewChecksThePeriodBeforeTheList) {
    auto backwards = std::make_shared<CReportReview>();
    EXPECT_FALSE(backwards->GenerateReport(m_database, nullptr, At(2003, 1, 28), At(2003, 1, 15)));
    EXPECT_EQ(backwards->ErrorNumber(), 603);
    auto noList = std::make_shared<CReportReview>();
    EXPECT_FALSE(noList->GenerateReport(m_database, nullptr, At(2003, 1, 15), At(2003, 1, 28)));
    EXPECT_EQ(noList->ErrorNumber(), 331);
    EXPECT_EQ(noList->ReportWindow(), nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(ReportsFolder()));
}

TEST_F(ReviewAndTotalsReportTest, ReviewingThePeriodAgainReplacesTheFile) {
    auto first = std::make_shared<CReportReview>();
    first->GenerateReport(m_database, ListOf({m_ann, m_bob, m_diaz}), At(2003, 1, 15),
                          At(2003, 1, 28));
    auto second = std::make_shared<CReportReview>();
    second->GenerateReport(m_database, ListOf({}), At(2003, 1, 15), At(2003, 1, 28));
    EXPECT_EQ(ReportFile("salary_review_0115_0128_2003.txt"), Expected("review_empty_list.txt"));
}

TEST_F(ReviewAndTotalsReportTest, ReviewWithoutReportsFolderGives503) {
    std::filesystem::remove_all(ReportsFolder());
    auto report = std::make_shared<CReportReview>();
    EXPECT_FALSE(
        report->GenerateReport(m_database, ListOf({m_ann}), At(2003, 1, 15), At(2003, 1, 28)));
    EXPECT_EQ(report->ErrorNumber(), 503);
    EXPECT_EQ(report->ReportWindow(), nullptr);
}

TEST_F(ReviewAndTotalsReportTest, TotalsListEveryRecordOfTheRangeWithoutSignatures) {
    auto report = std::make_shared<CReportYTDTotals>();
    EXPECT_EQ(report->ReportName(), "Employee Year-To-Date Totals : ");
    EXPECT_TRUE(report->GenerateReport(m_database, m_ann, At(2003, 1, 1), At(2003, 6, 14)));
    EXPECT_EQ(report->ErrorNumber(), 0);
    EXPECT_EQ(report->ReportName(),
              "Employee Year-To-Date Totals : Ann Lee : 1/1/2003 - 6/14/2003");
    EXPECT_EQ(report->FileName(), "1007_0101_0614_2003_ytd_totals.txt");
    const std::string file = ReportFile("1007_0101_0614_2003_ytd_totals.txt");
    EXPECT_EQ(file, Expected("ytd_totals.txt"));
    ASSERT_NE(report->TimeCard(), nullptr);
    EXPECT_FLOAT_EQ(report->TimeCard()->TotalPay(), 454.6875f);

    FReportWindow* window = report->ReportWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(qobject_cast<FReportYTDTotals*>(window), nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), report->ReportName());
    EXPECT_EQ(window->Text(), file);
}

TEST_F(ReviewAndTotalsReportTest, TotalsWithoutRecordsHoldOnlyTheHeading) {
    auto report = std::make_shared<CReportYTDTotals>();
    EXPECT_FALSE(report->GenerateReport(m_database, m_bob, At(2003, 1, 1), At(2003, 1, 31)));
    EXPECT_EQ(report->ErrorNumber(), 710);
    EXPECT_EQ(ReportFile("1011_0101_0131_2003_ytd_totals.txt"),
              "Employee Year-To-Date Totals : Bob Stone : 1/1/2003 - 1/31/2003\r\n" +
                  CReport::Separator() + "\r\n\r\n");
    ASSERT_NE(report->ReportWindow(), nullptr);
    EXPECT_TRUE(report->ReportWindow()->isVisible());
}

TEST_F(ReviewAndTotalsReportTest, TotalsAcrossNewYearUseTheStartYear) {
    auto report = std::make_shared<CReportYTDTotals>();
    EXPECT_FALSE(report->GenerateReport(m_database, m_bob, At(2002, 12, 1), At(2003, 1, 31)));
    EXPECT_EQ(report->FileName(), "1011_1201_0131_2002_ytd_totals.txt");
    EXPECT_TRUE(std::filesystem::exists(ReportsFolder() / "1011_1201_0131_2002_ytd_totals.txt"));
}

TEST_F(ReviewAndTotalsReportTest, TotalsCheckPeriodThenEmployeeThenFolder) {
    auto backwards = std::make_shared<CReportYTDTotals>();
    EXPECT_FALSE(backwards->GenerateReport(m_database, nullptr, At(2003, 6, 14), At(2003, 1, 1)));
    EXPECT_EQ(backwards->ErrorNumber(), 603);
    auto nobody = std::make_shared<CReportYTDTotals>();
    EXPECT_FALSE(nobody->GenerateReport(m_database, nullptr, At(2003, 1, 1), At(2003, 6, 14)));
    EXPECT_EQ(nobody->ErrorNumber(), 602);
    std::filesystem::remove_all(ReportsFolder());
    auto noFolder = std::make_shared<CReportYTDTotals>();
    EXPECT_FALSE(noFolder->GenerateReport(m_database, m_ann, At(2003, 1, 1), At(2003, 6, 14)));
    EXPECT_EQ(noFolder->ErrorNumber(), 503);
    EXPECT_EQ(noFolder->ReportWindow(), nullptr);
}

} // namespace
} // namespace orvan::test
