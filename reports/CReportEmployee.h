#pragma once

#include <memory>

#include "reports/CReport.h"

namespace orvan {

class CEmployeeList;

// The employee records report: every employee's full record, written to
// "employee_records.txt" (each run replaces the file) and shown in an
// FReportEmployee window.
//
// ErrorNumber: 503 file not opened, 506 file not closed, 701 window not
// created, 702/703 a text not written to the file/window, 705 no list given,
// 710 the list has an empty position.
class CReportEmployee : public CReport {
public:
    CReportEmployee();

    bool GenerateReport(const std::shared_ptr<CEmployeeList>& theemployeelist);

protected:
    FReportWindow* CreateReportWindow() override;
};

} // namespace orvan
