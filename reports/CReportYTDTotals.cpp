#include "reports/CReportYTDTotals.h"

#include <exception>

#include "core/CDateRange.h"
#include "core/CTimeCard.h"
#include "personnel/CEmployee.h"
#include "reports/FReportYTDTotals.h"
#include "ui/IReportParent.h"
#include "core/ErrorNumbers.h"

namespace orvan {

CReportYTDTotals::CReportYTDTotals()
    : CReport("Employee Year-To-Date Totals : ", &IReportParent::UnloadYTDTotalsReport),
      m_dateRange(std::make_unique<CDateRange>()) {}

CReportYTDTotals::~CReportYTDTotals() = default;

FReportWindow* CReportYTDTotals::CreateReportWindow() {
    return new FReportYTDTotals();
}

bool CReportYTDTotals::GenerateReport(const std::shared_ptr<CJetDB>& thedatabase,
                                      const std::shared_ptr<CEmployee>& theemployee,
                                      DateTime thestartdate, DateTime theenddate) {
    try {
        m_dateRange = std::make_unique<CDateRange>();
        if (!m_dateRange->ValidateRange(thestartdate, theenddate)) {
            SetErrorNumber(err::InvalidPeriod);
            return false;
        }
        if (!theemployee) {
            SetErrorNumber(err::NoEmployee);
            return false;
        }
        SetReportName(TitlePrefix() + theemployee->FirstName() + " " + theemployee->LastName() +
                      " : " + m_dateRange->StartDate().ToString() + " - " +
                      m_dateRange->EndDate().ToString());
        SetFileName(std::to_string(theemployee->EmployeeNumber()) + "_" +
                    RangeKey(m_dateRange->ToString()) + "_ytd_totals.txt");
        if (!BeginReport(true)) {
            return false;
        }
        WriteReportLine(ReportName());
        WriteReportLine(Separator());
        WriteReportLine("");

        bool result = true;
        m_timeCard = std::make_shared<CTimeCard>();
        m_timeCard->SetOrvanDatabase(thedatabase);
        if (m_timeCard->GenerateTimecard(theemployee, thestartdate, theenddate.AddDays(1))) {
            WriteReportLine(m_timeCard->ToStringReport());
        } else {
            SetErrorNumber(err::ReportUnexpected);
            result = false;
        }
        return FinishReport(result);
    } catch (const std::exception&) {
        SetErrorNumber(err::ReportUnexpected);
        return false;
    }
}

} // namespace orvan
