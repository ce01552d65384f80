#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <QApplication>
#include <QPlainTextEdit>

#include "core/CTimeCard.h"
#include "reports/CReportTimeCard.h"
#include "reports/FReportTimeCard.h"
#include "ReportTestSupport.h"
#include "support/ScopedTimeZone.h"

namespace orvan::test {
namespace {

// The text a report window shows, as one string with CR LF line ends.
std::string ShownText(FReportWindow* window) {
    auto* text = window->findChild<QPlainTextEdit*>(QStringLiteral("txtReport"));
    if (text == nullptr) {
        return "<no txtReport>";
    }
    QString shown = text->toPlainText();
    shown.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return shown.toStdString();
}

int OpenReportWindows() {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<FReportWindow*>(widget) != nullptr) {
            ++count;
        }
    }
    return count;
}

class TimeCardReportTest : public ReportTest {
protected:
    void SetUp() override {
        ReportTest::SetUp();
        m_annId = m_installation.AddEmployee(1007, "Ann", "Lee", 12.5f, 18.75f);
        m_ann = MakeAnnLee(m_annId);
        AddAnnLeeRecords(m_annId);
    }

    int32_t m_annId = 0;
    std::shared_ptr<CEmployee> m_ann;
};

TEST_F(TimeCardReportTest, WritesThePeriodsCardWithTotalsAndSignatures) {
    auto report = std::make_shared<CReportTimeCard>();
    RecordingParent parent;
    report->SetParentWindow(&parent);
    EXPECT_EQ(report->ReportName(), "Employee Time Card : ");

    ASSERT_TRUE(report->GenerateReport(m_database, m_ann, At(2003, 1, 15), At(2003, 1, 28)));
    EXPECT_EQ(report->ErrorNumber(), 0);
    EXPECT_EQ(report->ReportName(), "Employee Time Card : Ann Lee : 1/15/2003 - 1/28/2003");
    EXPECT_EQ(report->FileName(), "1007_0115_0128_2003_time_card.txt");
    const std::string file = ReportFile("1007_0115_0128_2003_time_card.txt");
    EXPECT_EQ(file, Expected("timecard_populated.txt"));

    ASSERT_NE(report->TimeCard(), nullptr);
    EXPECT_FLOAT_EQ(report->TimeCard()->RegularHoursWorked(), 23.25f);
    EXPECT_FLOAT_EQ(report->TimeCard()->OvertimeHoursWorked(), 1.0f);

    FReportWindow* window = report->ReportWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(qobject_cast<FReportTimeCard*>(window), nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle().toStdString(), report->ReportName());
    EXPECT_EQ(window->Text(), file);
    EXPECT_EQ(ShownText(window), file);
    EXPECT_EQ(parent.timeCard, 0);
    EXPECT_TRUE(m_messages->shown.empty());
}

TEST_F(TimeCardReportTest, PeriodWithoutRecordsKeepsTitleAndSignaturesAndFails) {
    auto report = std::make_shared<CReportTimeCard>();
    EXPECT_FALSE(report->GenerateReport(m_database, m_ann, At(2003, 2, 3), At(2003, 2, 16)));
    EXPECT_EQ(report->ErrorNumber(), 605);
    const std::string file = ReportFile("1007_0203_0216_2003_time_card.txt");
    EXPECT_EQ(file, Expected("timecard_empty.txt"));
    ASSERT_NE(report->ReportWindow(), nullptr);
    EXPECT_TRUE(report->ReportWindow()->isVisible());
    EXPECT_EQ(report->ReportWindow()->Text(), file);
    EXPECT_EQ(ShownText(report->ReportWindow()), file);
}

TEST_F(TimeCardReportTest, MissingReportsFolderGives503AndNoWindow) {
    std::filesystem::remove_all(ReportsFolder());
    const int before = OpenReportWindows();
    auto report = std::make_shared<CReportTimeCard>();
    EXPECT_FALSE(report->GenerateReport(m_database, m_ann, At(2003, 1, 15), At(2003, 1, 28)));
    EXPECT_EQ(report->ErrorNumber(), 503);
    EXPECT_EQ(report->ReportWindow(), nullptr);
    EXPECT_EQ(OpenReportWindows(), before);
    // The folder is not created by the report.
    EXPECT_FALSE(std::filesystem::exists(ReportsFolder()));
}

TEST_F(TimeCardReportTest, InvalidPeriodOrNoEmployeeWritesNothing) {
    auto backwards = std::make_shared<CReportTimeCard>();
    EXPECT_FALSE(backwards->GenerateReport(m_database, m_ann, At(2003, 1, 28), At(2003, 1, 15)));
    EXPECT_EQ(backwards->ErrorNumber(), 603);
    EXPECT_EQ(backwards->ReportWindow(), nullptr);

    auto nobody = std::make_shared<CReportTimeCard>();
    EXPECT_FALSE(nobody->GenerateReport(m_database, nullptr, At(2003, 1, 15), At(2003, 1, 28)));
    EXPECT_EQ(nobody->ErrorNumber(), 602);
    EXPECT_EQ(nobody->ReportWindow(), nullptr);

    EXPECT_TRUE(std::filesystem::is_empty(ReportsFolder()));
}

TEST_F(TimeCardReportTest, CardThatCannotBeGeneratedGives710) {
    auto report = std::make_shared<CReportTimeCard>();
    EXPECT_FALSE(report->GenerateReport(nullptr, m_ann, At(2003, 1, 15), At(2003, 1, 28)));
    EXPECT_EQ(report->ErrorNumber(), 710);
    // The frame of the report is still written.
    EXPECT_EQ(ReportFile("1007_0115_0128_2003_time_card.txt"),
              "Employee Time Card : Ann Lee : 1/15/2003 - 1/28/2003\r\n" +
                  CReportTimeCard::Separator() + "\r\n\r\n\r\n\r\n" +
                  CReportTimeCard::SignatureBlock() + "\r\n");
}

TEST_F(TimeCardReportTest, FileNameUsesStartYearAndPlainEmployeeNumber) {
    const int32_t id = m_installation.AddEmployee(42, "Cy", "Diaz");
    auto diaz = MakeDiaz(id);
    m_installation.AddTimeRecord(id, At(2003, 12, 30, 9, 0), At(2003, 12, 30, 13, 0));
    auto report = std::make_shared<CReportTimeCard>();
    EXPECT_TRUE(report->GenerateReport(m_database, diaz, At(2003, 12, 25), At(2004, 1, 7)));
    EXPECT_EQ(report->FileName(), "42_1225_0107_2003_time_card.txt");
    EXPECT_TRUE(std::filesystem::exists(ReportsFolder() / "42_1225_0107_2003_time_card.txt"));
    // Without a first name the title keeps the blank before the last name.
    EXPECT_EQ(report->ReportName(), "Employee Time Card :  Diaz : 12/25/2003 - 1/7/2004");
}

TEST_F(TimeCardReportTest, RunningAgainReplacesTheFile) {
    const std::filesystem::path path = ReportsFolder() / "1007_0115_0128_2003_time_card.txt";
    WriteAll(path, std::string(5000, 'x'));
    auto first = std::make_shared<CReportTimeCard>();
    ASSERT_TRUE(first->GenerateReport(m_database, m_ann, At(2003, 1, 15), At(2003, 1, 28)));
    auto second = std::make_shared<CReportTimeCard>();
    ASSERT_TRUE(second->GenerateReport(m_database, m_ann, At(2003, 1, 15), At(2003, 1, 28)));
    EXPECT_EQ(ReadAll(path), Expected("timecard_populated.txt"));
}

TEST_F(TimeCardReportTest, SecondRunOnOneObjectDoesNotRepeatTheTitle) {
    auto report = std::make_shared<CReportTimeCard>();
    ASSERT_TRUE(report->GenerateReport(m_database, m_ann, At(2003, 1, 15), At(2003, 1, 28)));
    ASSERT_TRUE(report->GenerateReport(m_database, m_ann, At(2003, 1, 15), At(2003, 1, 28)));
    EXPECT_EQ(report->ReportName(), "Employee Time Card : Ann Lee : 1/15/2003 - 1/28/2003");
    EXPECT_EQ(ReportFile("1007_0115_0128_2003_time_card.txt"), Expected("timecard_populated.txt"));
    EXPECT_EQ(report->ReportWindow()->Text(), Expected("timecard_populated.txt"));
}

TEST_F(TimeCardReportTest, WritesACardTheCallerGenerated) {
    auto card = std::make_shared<CTimeCard>();
    card->SetOrvanDatabase(m_database);
    ASSERT_TRUE(card->GenerateTimecard(m_ann, At(2003, 1, 15), At(2003, 1, 29)));

    auto report = std::make_shared<CReportTimeCard>();
    ASSERT_TRUE(report->WriteTimeCardReport(card));
    EXPECT_EQ(report->ErrorNumber(), 0);
    EXPECT_EQ(report->TimeCard(), card);
    EXPECT_EQ(report->ReportName(), "Employee Time Card : Ann Lee : 1/15/2003 - 1/28/2003");
    // The title names the last day; the file carries the card's end date.
    EXPECT_EQ(report->FileName(), "1007_0115_0129_2003_time_card.txt");
    EXPECT_EQ(ReportFile("1007_0115_0129_2003_time_card.txt"), Expected("timecard_populated.txt"));
    ASSERT_NE(report->ReportWindow(), nullptr);
    EXPECT_EQ(report->ReportWindow()->windowTitle().toStdString(), report->ReportName());
}

TEST_F(TimeCardReportTest, WritingWithoutACardGives706) {
    auto report = std::make_shared<CReportTimeCard>();
    EXPECT_FALSE(report->WriteTimeCardReport(nullptr));
    EXPECT_EQ(report->ErrorNumber(), 706);
    EXPECT_EQ(report->ReportWindow(), nullptr);
    EXPECT_TRUE(std::filesystem::is_empty(ReportsFolder()));
}

// The populated card with only its social security number line changed.
std::string PopulatedWithSSN(const std::string& shown) {
    std::string expected = Expected("timecard_populated.txt");
    const std::string full = "Social Security Number: \t123-45-6789\r\n";
    const size_t at = expected.find(full);
    EXPECT_NE(at, std::string::npos);
    return expected.replace(at, full.size(), "Social Security Number: \t" + shown + "\r\n");
}

TEST_F(TimeCardReportTest, LastFourOnlyMasksTheSocialSecurityNumberAndNothingElse) {
    auto report = std::make_shared<CReportTimeCard>();
    EXPECT_FALSE(report->SSNLastFourOnly());
    report->SetSSNLastFourOnly(true);
    ASSERT_TRUE(report->GenerateReport(m_database, m_ann, At(2003, 1, 15), At(2003, 1, 28)));
    const std::string file = ReportFile("1007_0115_0128_2003_time_card.txt");
    EXPECT_EQ(file, PopulatedWithSSN("***-**-6789"));
    EXPECT_EQ(file.find("123-45"), std::string::npos);
    EXPECT_EQ(ShownText(report->ReportWindow()), file);
    // The employee keeps the whole number.
    EXPECT_EQ(m_ann->SSN(), "123-45-6789");

    // A card the caller generated is masked the same way.
    auto card = std::make_shared<CTimeCard>();
    card->SetOrvanDatabase(m_database);
    ASSERT_TRUE(card->GenerateTimecard(m_ann, At(2003, 1, 15), At(2003, 1, 29)));
    auto written = std::make_shared<CReportTimeCard>();
    written->SetSSNLastFourOnly(true);
    ASSERT_TRUE(written->WriteTimeCardReport(card));
    EXPECT_EQ(ReportFile("1007_0115_0129_2003_time_card.txt"), PopulatedWithSSN("***-**-6789"));
}

TEST_F(TimeCardReportTest, LastFourOnlyPrintsWhatDigitsThereAre) {
    for (const auto& [stored, shown] :
         {std::pair<std::string, std::string>{"123456789", "***-**-6789"},
          {"12", "***-**-12"},
          {"", "***-**-"}}) {
        m_ann->SetSSN(stored);
        auto report = std::make_shared<CReportTimeCard>();
        report->SetSSNLastFourOnly(true);
        ASSERT_TRUE(report->GenerateReport(m_database, m_ann, At(2003, 1, 15), At(2003, 1, 28)));
        EXPECT_EQ(ReportFile("1007_0115_0128_2003_time_card.txt"), PopulatedWithSSN(shown))
            << stored;
    }
    EXPECT_EQ(CReportTimeCard::MaskedSSN("555-12-3456"), "***-**-3456");
    EXPECT_EQ(CReportTimeCard::MaskedSSN("9-8"), "***-**-98");
}

// In the Chicago zone the card counts the hours that passed: a night across
// the spring change is 7 hours, one across the fall change 9, and a shift
// punched in the repeated hour with the punches' offsets kept 0.75; an
// ordinary day is as it always was.
TEST_F(TimeCardReportTest, NightsAcrossADaylightSavingChangeShowTheHoursWorked) {
    ScopedTimeZone chicago("America/Chicago");
    const int32_t id = m_installation.AddEmployee(42, "Cy", "Diaz");
    auto diaz = MakeDiaz(id);
    m_installation.AddTimeRecord(id, At(2026, 1, 15, 8, 0), At(2026, 1, 15, 16, 30));
    m_installation.AddTimeRecord(id, At(2026, 3, 7, 22, 0), At(2026, 3, 8, 6, 0));
    m_installation.AddTimeRecord(id, At(2026, 10, 31, 22, 0), At(2026, 11, 1, 6, 0));
    const int64_t punched =
        m_installation.AddTimeRecord(id, At(2026, 11, 1, 1, 30), At(2026, 11, 1, 1, 15));
    m_installation.Exec("INSERT INTO PunchOffset (TimeRecordID, StartOffset, EndOffset) VALUES (" +
                        std::to_string(punched) + ", -300, -360)");

    auto report = std::make_shared<CReportTimeCard>();
    ASSERT_TRUE(report->GenerateReport(m_database, diaz, At(2026, 1, 1), At(2026, 12, 31)));
    const std::string file = ReportFile(report->FileName());
    for (const char* line : {"\t01/15/2026 08:00 AM\t01/15/2026 04:30 PM\t8.50\r\n",
                             "\t03/07/2026 10:00 PM\t03/08/2026 06:00 AM\t7.00\r\n",
                             "\t10/31/2026 10:00 PM\t11/01/2026 06:00 AM\t9.00\r\n",
                             "\t11/01/2026 01:30 AM\t11/01/2026 01:15 AM\t0.75\r\n",
                             // 8 + 7 + 8 + 0.75 regular, 0.5 + 1 overtime.
                             "\tRegular: \t\t\t23.75\r\n", "\tOvertime: \t\t\t1.50\r\n"}) {
        EXPECT_NE(file.find(line), std::string::npos) << line << " in\n" << file;
    }
    EXPECT_FLOAT_EQ(report->TimeCard()->RegularHoursWorked(), 23.75f);
    EXPECT_FLOAT_EQ(report->TimeCard()->OvertimeHoursWorked(), 1.5f);
}

TEST(RangeKeyTest, TakesMonthDayPairsAndTheStartYear) {
    EXPECT_EQ(CReport::RangeKey("01/15/2003+01/28/2003"), "0115_0128_2003");
    EXPECT_EQ(CReport::RangeKey("12/25/2003+01/07/2004"), "1225_0107_2003");
    EXPECT_EQ(CReport::RangeKey("01/15/2003"), "0115__2003");
    EXPECT_EQ(CReport::RangeKey(""), "__");
}

TEST(SignatureBlockTest, PutsDateUnderTheSecondRule) {
    const std::string rule = std::string(40, '_') + std::string(10, ' ') + std::string(20, '_');
    const std::string& block = CReportTimeCard::SignatureBlock();
    EXPECT_EQ(block, rule + "\r\nEmployee Signature" + std::string(32, ' ') + "Date\r\n\r\n\r\n" +
                         rule + "\r\nManager Signature" + std::string(33, ' ') + "Date");
}

} // namespace
} // namespace orvan::test
