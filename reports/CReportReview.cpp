#include "reports/CReportReview.h"

#include <exception>

#include "core/CDateRange.h"
#include "core/CTimeCard.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/FReportReview.h"
#include "ui/IReportParent.h"
#include "core/ErrorNumbers.h"

namespace orvan {

CReportReview::CReportReview()
    : CReport("Accountant's Review : ", &IReportParent::UnloadReviewReport),
      m_dateRange(std::make_unique<CDateRange>()) {}

CReportReview::~CReportReview() = default;

FReportWindow* CReportReview::CreateReportWindow() {
    return new FReportReview();
}

bool CReportReview::GenerateReport(const std::shared_ptr<CJetDB>& thedatabase,
                                   const std::shared_ptr<CEmployeeList>& recordslist,
                                   DateTime thestartdate, DateTime theenddate) {
    try {
        m_dateRange = std::make_unique<CDateRange>();
        if (!m_dateRange->ValidateRange(thestartdate, theenddate)) {
            SetErrorNumber(err::InvalidPeriod);
            return false;
        }
        if (!recordslist) {
            SetErrorNumber(err::ListEmpty);
            return false;
        }
        SetReportName(TitlePrefix() + m_dateRange->StartDate().ToString() + " - " +
                      m_dateRange->EndDate().ToString());
        SetFileName("salary_review_" + RangeKey(m_dateRange->ToString()) + ".txt");
        if (!BeginReport(true)) {
            return false;
        }
        WriteReportLine(ReportName());
        WriteReportLine(Separator());
        WriteReportLine("");

        bool result = true;
        const DateTime periodEnd = theenddate.AddDays(1);
        const int32_t count = recordslist->Count();
        for (int32_t position = 1; position <= count; ++position) {
            const std::shared_ptr<CEmployee> employee = recordslist->Item(position);
            CTimeCard card;
            card.SetOrvanDatabase(thedatabase);
            if (card.GenerateTimecard(employee, thestartdate, periodEnd)) {
                WriteReportLine(employee->ToStringReview() + "\r\n" + card.ToStringReview());
            } else {
                SetErrorNumber(err::ReportUnexpected);
                result = false;
            }
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
