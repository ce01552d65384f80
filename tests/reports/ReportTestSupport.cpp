#include "ReportTestSupport.h"

#include <QCoreApplication>
#include <QEvent>

#include "support_qt/CloseReportWindows.h"

namespace orvan::test {

void DeleteUnloadedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

std::string Expected(const std::string& name) {
    const std::filesystem::path path = std::filesystem::path(ORVAN_REPORTS_TEST_DATA) / name;
    std::string bytes = ReadAll(path);
    EXPECT_FALSE(bytes.empty()) << "missing expected file " << path;
    return bytes;
}

std::shared_ptr<CEmployee> MakeAnnLee(int32_t employeeid) {
    auto e = std::make_shared<CEmployee>();
    e->SetEmployeeID(employeeid);
    e->SetEmployeeNumber(1007);
    e->SetFirstName("Ann");
    e->SetLastName("Lee");
    e->SetSSN("123-45-6789");
    e->SetAddress1("12 Elm Street");
    e->SetAddress2("Suite 4");
    e->SetCity("Springfield");
    e->SetState("IL");
    e->SetZipCode("62704");
    e->SetPhone("(217) 555-0101");
    e->SetPayRate(12.5f);
    e->SetOvertimePayRate(18.75f);
    e->SetDateOfBirth(DateTime::FromParts(1970, 3, 4));
    e->SetHireDate(DateTime::FromParts(2001, 6, 1));
    e->SetEmployeeActive(true);
    e->SetAutoDeduct(true);
    e->SetAutoDeductLunchLength(30);
    e->SetAutoDeductBreakLength(15);
    return e;
}

std::shared_ptr<CEmployee> MakeBobStone(int32_t employeeid) {
    auto e = std::make_shared<CEmployee>();
    e->SetEmployeeID(employeeid);
    e->SetEmployeeNumber(1011);
    e->SetFirstName("Bob");
    e->SetLastName("Stone");
    e->SetSSN("555-12-3456");
    e->SetAddress1("3 Pine Court");
    e->SetCity("Springfield");
    e->SetState("IL");
    e->SetZipCode("62701");
    e->SetPhone("(217) 555-0155");
    e->SetPayRate(9.0f);
    e->SetOvertimePayRate(13.5f);
    e->SetEmployeeActive(true);
    return e;
}

std::shared_ptr<CEmployee> MakeDiaz(int32_t employeeid) {
    auto e = std::make_shared<CEmployee>();
    e->SetEmployeeID(employeeid);
    e->SetEmployeeNumber(42);
    e->SetLastName("Diaz");
    e->SetSSN("987-65-4321");
    e->SetAddress1("7 Oak Road");
    e->SetCity("Peoria");
    e->SetState("IL");
    e->SetZipCode("61602");
    e->SetPhone("(309) 555-0199");
    e->SetPayRate(8.0f);
    e->SetOvertimePayRate(12.0f);
    e->SetEmployeeActive(false);
    return e;
}

std::shared_ptr<CEmployeeList> ListOf(const std::vector<std::shared_ptr<CEmployee>>& employees) {
    auto list = std::make_shared<CEmployeeList>();
    for (const auto& e : employees) {
        list->Insert(e, list->Count() + 1);
    }
    return list;
}

DateTime At(int year, int month, int day, int hour, int minute) {
    return DateTime::FromParts(year, month, day, hour, minute);
}

void ReportTest::SetUp() {
    m_installation.UseAsProgramFolder();
    m_database = m_installation.NewJetDB();
}

void ReportTest::TearDown() {
    // Windows a test left open hold their reports; close them so nothing
    // outlives the test (the sanitizers' leak check counts on it).
    CloseReportWindows();
    DeleteUnloadedWindows();
}

std::filesystem::path ReportTest::ReportsFolder() const {
    return m_installation.Folder() / "reports";
}

std::string ReportTest::ReportFile(const std::string& name) const {
    return ReadAll(ReportsFolder() / name);
}

void ReportTest::AddAnnLeeRecords(int32_t id) {
    m_installation.AddTimeRecord(id, At(2003, 1, 16, 13, 0), At(2003, 1, 16, 18, 30));
    m_installation.AddTimeRecord(id, At(2003, 1, 15, 8, 0), At(2003, 1, 15, 17, 0));
    m_installation.AddTimeRecord(id, At(2003, 1, 16, 8, 0), At(2003, 1, 16, 12, 0));
    m_installation.AddTimeRecord(id, At(2003, 1, 28, 22, 0), At(2003, 1, 29, 6, 0));
    m_installation.AddTimeRecord(id, At(2003, 1, 14, 8, 0), At(2003, 1, 14, 17, 0));
    m_installation.AddTimeRecord(id, At(2003, 1, 29, 8, 0), At(2003, 1, 29, 12, 0));
}

} // namespace orvan::test
