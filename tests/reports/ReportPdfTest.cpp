#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <QPushButton>

#include "reports/CReportTimeCard.h"
#include "reports/FReportWindow.h"
#include "reports/IFileChooser.h"
#include "reports/ReportPdf.h"
#include "ReportTestSupport.h"
#include "support_qt/PdfFiles.h"

namespace orvan::test {
namespace {

class ReportPdfTest : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        SetFileChooser(m_chooser);
        const int32_t id = m_installation.AddEmployee(1007, "Ann", "Lee", 12.5f, 18.75f);
        AddAnnLeeRecords(id);
        m_report = std::make_shared<CReportTimeCard>();
        m_report->SetParentWindow(&m_parent);
        ASSERT_TRUE(
            m_report->GenerateReport(m_database, MakeAnnLee(id), At(2003, 1, 15), At(2003, 1, 28)));
        ASSERT_NE(m_report->ReportWindow(), nullptr);
    }
    void TearDown() override {
        SetFileChooser(nullptr);
        ReportTest::TearDown();
    }
    void Click(const char* name) {
        m_report->ReportWindow()->findChild<QPushButton*>(QString::fromLatin1(name))->click();
    }

    std::shared_ptr<FixedFileChooser> m_chooser = std::make_shared<FixedFileChooser>();
    std::shared_ptr<CReportTimeCard> m_report;
    RecordingParent m_parent;
};

TEST_F(ReportPdfTest, SaveAsPdfWritesTheCardWithItsFiguresOnOnePage) {
    const std::filesystem::path pdf = ReportsFolder() / "ann.pdf";
    m_chooser->answer = pdf.string();
    Click("cmdSavePdf");
    EXPECT_EQ(m_chooser->lastCaption, "Save as PDF");
    // The report file's own name is offered, as a PDF.
    EXPECT_EQ(std::filesystem::path(m_chooser->lastSuggested).extension(), ".pdf");
    EXPECT_EQ(std::filesystem::path(m_chooser->lastSuggested).stem(),
              std::filesystem::path(m_report->FileName()).stem());
    const std::vector<std::string> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    for (const char* expected :
         {"Employee Time Card : Ann Lee : 1/15/2003 - 1/28/2003", "01/28/2003 10:00 PM", "23.25",
          "309.38", "Manager Signature", "Page 1 of 1"}) {
        EXPECT_NE(pages[0].find(expected), std::string::npos) << expected;
    }
    EXPECT_TRUE(m_messages->shown.empty());
    EXPECT_TRUE(m_report->ReportWindow()->isVisible());
}

TEST_F(ReportPdfTest, CancelledOrUnwritableSaveWritesNothing) {
    m_chooser->answer.clear();
    Click("cmdSavePdf");
    EXPECT_EQ(m_chooser->asked, 1);
    EXPECT_TRUE(m_messages->shown.empty());

    // A name without extension gets one; a folder that does not exist is
    // refused with the path named.
    const std::filesystem::path missing = ReportsFolder() / "no such folder" / "card";
    m_chooser->answer = missing.string();
    EXPECT_FALSE(m_report->SaveReportAsPdf());
    ASSERT_EQ(m_messages->shown.size(), 1u);
    EXPECT_EQ(m_messages->shown[0].title, "PDF Save Error");
    EXPECT_NE(m_messages->shown[0].text.find(missing.string() + ".pdf"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(missing.string() + ".pdf"));
}

TEST_F(ReportPdfTest, PrintWithoutAPrinterOffersThePdf) {
    const std::filesystem::path pdf = ReportsFolder() / "offered.pdf";
    m_chooser->answer = pdf.string();
    m_shell->answer = ShellNoPrinter;

    m_messages->answers.push_back(MsgResultNo);
    Click("cmdPrint");
    ASSERT_EQ(m_messages->shown.size(), 1u);
    EXPECT_EQ(m_messages->shown[0].title, "No Printer");
    EXPECT_EQ(m_messages->shown[0].text,
              "No printer is set up on this computer. Save the report as PDF instead?");
    EXPECT_EQ(m_chooser->asked, 0);

    m_messages->answers.push_back(MsgResultYes);
    Click("cmdPrint");
    EXPECT_EQ(m_chooser->asked, 1);
    const std::vector<std::string> pages = PdfPages(pdf);
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_NE(pages[0].find("309.38"), std::string::npos);
    // Nothing was printed, so the window stays for another try.
    EXPECT_TRUE(m_report->ReportWindow()->isVisible());
}

TEST(ReportPdf, EachTextStartsAPageAndLongOnesRunOnWithPageNumbers) {
    TempDir dir;
    std::string longText;
    for (int i = 1; i <= 150; ++i) {
        longText += "line\t" + std::to_string(i) + "\r\n";
    }
    const QString path = QString::fromStdString((dir.Path() / "two.pdf").string());
    QString error;
    ASSERT_TRUE(WriteReportPdf(
        path, {QStringLiteral("first card\r\nRegular: 8.00\r\n"), QString::fromStdString(longText)},
        QStringLiteral("Cards"), &error))
        << error.toStdString();
    const std::vector<std::string> pages = PdfPages(path.toStdString());
    ASSERT_GE(pages.size(), 3u);
    const std::string total = " of " + std::to_string(pages.size());
    EXPECT_NE(pages[0].find("Regular: 8.00"), std::string::npos);
    EXPECT_EQ(pages[0].find("line"), std::string::npos);
    EXPECT_EQ(pages[1].rfind("line 1\n", 0), 0u) << pages[1].substr(0, 40);
    EXPECT_NE(pages.back().find("line 150\n"), std::string::npos);
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_NE(pages[i].find("Page " + std::to_string(i + 1) + total), std::string::npos) << i;
    }
}

} // namespace
} // namespace orvan::test
