#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "reports/CReportEmployee.h"
#include "reports/CReportPhoneBook.h"
#include "reports/FReportEmployee.h"
#include "reports/FReportPhoneBook.h"
#include "ReportTestSupport.h"

namespace orvan::test {
namespace {

class EmployeeReportsTest : public ReportTest {
protected:
    std::shared_ptr<CEmployee> m_ann = MakeAnnLee(1);
    std::shared_ptr<CEmployee> m_bob = MakeBobStone(2);
    std::shared_ptr<CEmployee> m_diaz = MakeDiaz(3);
};

TEST_F(EmployeeReportsTest, RecordsListEveryEmployeeInFull) {
    auto report = std::make_shared<CReportEmployee>();
    EXPECT_EQ(report->ReportName(), "Employee Records");
    EXPECT_TRUE(report->GenerateReport(ListOf({m_ann, m_diaz})));
    EXPECT_EQ(report->ErrorNumber(), 0);
    EXPECT_EQ(report->FileName(), "employee_records.txt");
    const std::string file = ReportFile("employee_records.txt");
    EXPECT_EQ(file, Expected("employee_records.txt"));

    FReportWindow* window = report->ReportWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(qobject_cast<FReportEmployee*>(window), nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), "Employee Records");
    EXPECT_EQ(window->Text(), file);
}

TEST_F(EmployeeReportsTest, RecordsOfAnEmptyListHoldOnlyTheHeading) {
    auto report = std::make_shared<CReportEmployee>();
    EXPECT_TRUE(report->GenerateReport(ListOf({})));
    EXPECT_EQ(ReportFile("employee_records.txt"), Expected("employee_records_empty.txt"));
}

TEST_F(EmployeeReportsTest, RecordsWithoutListOrFolderFail) {
    auto noList = std::make_shared<CReportEmployee>();
    EXPECT_FALSE(noList->GenerateReport(nullptr));
    EXPECT_EQ(noList->ErrorNumber(), 705);
    EXPECT_FALSE(std::filesystem::exists(ReportsFolder() / "employee_records.txt"));

    std::filesystem::remove_all(ReportsFolder());
    auto noFolder = std::make_shared<CReportEmployee>();
    EXPECT_FALSE(noFolder->GenerateReport(ListOf({m_ann})));
    EXPECT_EQ(noFolder->ErrorNumber(), 503);
    EXPECT_EQ(noFolder->ReportWindow(), nullptr);
}

TEST_F(EmployeeReportsTest, PhoneBookOfThreeHasTwoBlocksTheSecondLeftOnly) {
    auto report = std::make_shared<CReportPhoneBook>();
    EXPECT_EQ(report->ReportName(), "Employee Phone Book");
    EXPECT_TRUE(report->GenerateReport(ListOf({m_ann, m_bob, m_diaz})));
    EXPECT_EQ(report->ErrorNumber(), 0);
    EXPECT_EQ(report->FileName(), "phone_book.txt");
    const std::string file = ReportFile("phone_book.txt");
    EXPECT_EQ(file, Expected("phone_book.txt"));

    FReportWindow* window = report->ReportWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_NE(qobject_cast<FReportPhoneBook*>(window), nullptr);
    EXPECT_EQ(window->windowTitle().toStdString(), "Employee Phone Book");
    EXPECT_EQ(window->Text(), file);
}

TEST_F(EmployeeReportsTest, PhoneBookLongLeftTextIsFollowedDirectly) {
    auto longName = MakeBobStone(4);
    longName->SetLastName("Montgomery-Fitzwilliam-Vanderbilt");
    longName->SetFirstName("Christophe");
    longName->SetAddress1("1234 Long Meadow Industrial Park Road E.");
    longName->SetCity("Springfield");
    longName->SetZipCode("62704");
    longName->SetPhone("(217) 555-0177");
    auto report = std::make_shared<CReportPhoneBook>();
    EXPECT_TRUE(report->GenerateReport(ListOf({longName, m_ann})));
    EXPECT_EQ(ReportFile("phone_book.txt"), Expected("phone_book_long.txt"));
}

TEST_F(EmployeeReportsTest, PhoneBookColumnsCountCharactersNotBytes) {
    EXPECT_EQ(CReportPhoneBook::TwoColumns("Müller, Zoë", "Lee, Ann"),
              "Müller, Zoë" + std::string(29, ' ') + "Lee, Ann");
    EXPECT_EQ(CReportPhoneBook::TwoColumns(std::string(40, 'a'), "b"), std::string(40, 'a') + "b");
    EXPECT_EQ(CReportPhoneBook::TwoColumns(std::string(39, 'a'), "b"), std::string(39, 'a') + " b");
}

// Characters stored before the fields refused them (an escape, a bell, a
// right-to-left override) reach neither the file nor the window: each shows
// as one "?", so the columns stay where they are.
TEST_F(EmployeeReportsTest, StoredControlAndDirectionCharactersShowAsQuestionMarks) {
    const auto phoneBook = [&](const std::string& first, const std::string& city) {
        auto ann = MakeAnnLee(1);
        ann->SetFirstName(first);
        ann->SetCity(city);
        auto report = std::make_shared<CReportPhoneBook>();
        EXPECT_TRUE(report->GenerateReport(ListOf({ann, m_bob})));
        EXPECT_EQ(report->ReportWindow()->Text(), ReportFile("phone_book.txt"));
        return ReportFile("phone_book.txt");
    };
    const std::string shown = phoneBook("?evil?", "Spring?field");
    const std::string stored = phoneBook("\u202Eevil\a", "Spring\x1b"
                                                         "field");
    EXPECT_EQ(stored, shown);
    EXPECT_EQ(stored.find('\x1b'), std::string::npos);
    EXPECT_EQ(phoneBook("\u2066Zo\u00EB\u2069", "Ab\u0085c"), phoneBook("?Zo\u00EB?", "Ab?c"));
}

TEST_F(EmployeeReportsTest, PhoneBookOfAnEmptyListHoldsTitleAndSeparator) {
    auto report = std::make_shared<CReportPhoneBook>();
    EXPECT_TRUE(report->GenerateReport(ListOf({})));
    EXPECT_EQ(ReportFile("phone_book.txt"), Expected("phone_book_empty.txt"));
}

TEST_F(EmployeeReportsTest, PhoneBookAgainReplacesTheFile) {
    auto first = std::make_shared<CReportPhoneBook>();
    EXPECT_TRUE(first->GenerateReport(ListOf({m_ann, m_bob, m_diaz})));
    auto second = std::make_shared<CReportPhoneBook>();
    EXPECT_TRUE(second->GenerateReport(ListOf({})));
    EXPECT_EQ(ReportFile("phone_book.txt"), Expected("phone_book_empty.txt"));
}

TEST_F(EmployeeReportsTest, PhoneBookWithoutListOrFolderFails) {
    auto noList = std::make_shared<CReportPhoneBook>();
    EXPECT_FALSE(noList->GenerateReport(nullptr));
    EXPECT_EQ(noList->ErrorNumber(), 704);
    EXPECT_EQ(noList->ReportWindow(), nullptr);

    std::filesystem::remove_all(ReportsFolder());
    auto noFolder = std::make_shared<CReportPhoneBook>();
    EXPECT_FALSE(noFolder->GenerateReport(ListOf({m_ann})));
    EXPECT_EQ(noFolder->ErrorNumber(), 503);
    EXPECT_EQ(noFolder->ReportWindow(), nullptr);
}

TEST_F(EmployeeReportsTest, ReportThatCannotBeStoredIsNoSuccess) {
    // A full disk: the text cannot all reach the file, so the report must
    // not claim success even though every line reached the window.
    std::error_code error;
    std::filesystem::create_symlink("/dev/full", ReportsFolder() / "phone_book.txt", error);
    if (error || !std::filesystem::exists("/dev/full")) {
        GTEST_SKIP() << "no /dev/full";
    }
    auto report = std::make_shared<CReportPhoneBook>();
    EXPECT_FALSE(report->GenerateReport(ListOf({m_ann, m_bob, m_diaz})));
    EXPECT_TRUE(report->ErrorNumber() == 702 || report->ErrorNumber() == 506)
        << report->ErrorNumber();
    ASSERT_NE(report->ReportWindow(), nullptr);
    EXPECT_EQ(report->ReportWindow()->Text(), Expected("phone_book.txt"));
}

} // namespace
} // namespace orvan::test
