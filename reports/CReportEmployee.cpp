#include "reports/CReportEmployee.h"

#include <exception>

#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/FReportEmployee.h"
#include "ui/IReportParent.h"
#include "core/ErrorNumbers.h"

namespace orvan {

CReportEmployee::CReportEmployee()
    : CReport("Employee Records", &IReportParent::UnloadEmployeeReport) {}

FReportWindow* CReportEmployee::CreateReportWindow() {
    return new FReportEmployee();
}

bool CReportEmployee::GenerateReport(const std::shared_ptr<CEmployeeList>& theemployeelist) {
    try {
        if (!theemployeelist) {
            SetErrorNumber(err::ReportNoEmployeeList);
            return false;
        }
        SetFileName("employee_records.txt");
        if (!BeginReport(false)) {
            return false;
        }
        bool result = true;
        WriteReportLine(ReportName());
        WriteReportLine(Separator());
        WriteReportLine("");
        const int32_t count = theemployeelist->Count();
        for (int32_t position = 1; position <= count; ++position) {
            const std::shared_ptr<CEmployee> employee = theemployeelist->Item(position);
            if (!employee) {
                SetErrorNumber(err::ReportUnexpected);
                result = false;
                continue;
            }
            WriteReportLine(employee->ToString());
            WriteReportLine(Separator());
            WriteReportLine("");
        }
        return FinishReport(result);
    } catch (const std::exception&) {
        SetErrorNumber(err::ReportUnexpected);
        return false;
    }
}

} // namespace orvan
