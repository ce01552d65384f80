#include "reports/CReportPhoneBook.h"

#include <exception>
#include <vector>

#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/FReportPhoneBook.h"
#include "ui/IReportParent.h"
#include "core/ErrorNumbers.h"

namespace orvan {

namespace {

constexpr size_t kRightColumn = 40;

} // namespace

CReportPhoneBook::CReportPhoneBook()
    : CReport("Employee Phone Book", &IReportParent::UnloadPhoneBookReport) {}

FReportWindow* CReportPhoneBook::CreateReportWindow() {
    return new FReportPhoneBook();
}

std::string CReportPhoneBook::NameText(const CEmployee& employee) {
    if (employee.FirstName().empty()) {
        return employee.LastName();
    }
    return employee.LastName() + ", " + employee.FirstName();
}

std::string CReportPhoneBook::TownText(const CEmployee& employee) {
    return employee.City() + ", " + employee.State() + ". " + employee.ZipCode();
}

std::string CReportPhoneBook::TwoColumns(const std::string& left, const std::string& right) {
    const size_t length = CharacterCount(left);
    std::string line = left;
    if (length < kRightColumn) {
        line.append(kRightColumn - length, ' ');
    }
    return line + right;
}

bool CReportPhoneBook::GenerateReport(const std::shared_ptr<CEmployeeList>& phonebooklist) {
    try {
        if (!phonebooklist) {
            SetErrorNumber(err::ReportNoCompanyList);
            return false;
        }
        SetFileName("phone_book.txt");
        if (!BeginReport(false)) {
            return false;
        }
        WriteReportLine(ReportName());
        WriteReportLine(Separator());

        // An empty position of the list has nothing to print; the entries
        // around it still pair up.
        std::vector<std::shared_ptr<CEmployee>> entries;
        const int32_t count = phonebooklist->Count();
        for (int32_t position = 1; position <= count; ++position) {
            if (std::shared_ptr<CEmployee> employee = phonebooklist->Item(position)) {
                entries.push_back(std::move(employee));
            }
        }
        for (size_t i = 0; i < entries.size(); i += 2) {
            const CEmployee& left = *entries[i];
            if (i + 1 < entries.size()) {
                const CEmployee& right = *entries[i + 1];
                WriteReportLine(TwoColumns(NameText(left), NameText(right)));
                WriteReportLine(TwoColumns(left.Address1(), right.Address1()));
                WriteReportLine(TwoColumns(TownText(left), TownText(right)));
                WriteReportLine(TwoColumns(left.Phone(), right.Phone()));
            } else {
                WriteReportLine(NameText(left));
                WriteReportLine(left.Address1());
                WriteReportLine(TownText(left));
                WriteReportLine(left.Phone());
            }
            WriteReportLine("\r\n\r\n");
        }
        return FinishReport(true);
    } catch (const std::exception&) {
        SetErrorNumber(err::ReportUnexpected);
        return false;
    }
}

} // namespace orvan
