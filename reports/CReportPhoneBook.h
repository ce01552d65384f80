#pragma once

#include <memory>
#include <string>

#include "reports/CReport.h"

namespace orvan {

class CEmployee;
class CEmployeeList;

// The employee phone book: names, street, town and phone of every employee
// of a list in two columns (the right one starting at character 41),
// written to "phone_book.txt" (each run replaces the file) and shown in an
// FReportPhoneBook window.
//
// ErrorNumber: 503 file not opened, 506 file not closed, 701 window not
// created, 702/703 a text not written to the file/window, 704 no list given.
class CReportPhoneBook : public CReport {
public:
    CReportPhoneBook();

    bool GenerateReport(const std::shared_ptr<CEmployeeList>& phonebooklist);

    // "Last, First", or the last name alone without a first name.
    static std::string NameText(const CEmployee& employee);
    // "City, State. Zip".
    static std::string TownText(const CEmployee& employee);
    // `left`, then `right` starting at character 41; directly after `left`
    // when that is 40 characters or longer.
    static std::string TwoColumns(const std::string& left, const std::string& right);

protected:
    FReportWindow* CreateReportWindow() override;
};

} // namespace orvan
