#pragma once

#include <memory>

#include "core/DateTime.h"
#include "reports/CReport.h"

namespace orvan {

class CDateRange;
class CEmployeeList;
class CJetDB;

// The accountant's review: for one period, every employee of a list with
// the employee's review details and time card totals, written to
// "salary_review_<date key>.txt" and shown in an FReportReview window.
//
// ErrorNumber: 331 no list given, 503 file not opened, 506 file not closed,
// 603 not a valid period, 701 window not created, 702/703 a text not written
// to the file/window, 710 the time card of at least one employee could not
// be generated (the others are still written).
class CReportReview : public CReport {
public:
    CReportReview();
    ~CReportReview() override;

    // Writes the review of every employee of `recordslist`, in list order,
    // for the days from `thestartdate` through `theenddate` (both included)
    // and shows the window.
    bool GenerateReport(const std::shared_ptr<CJetDB>& thedatabase,
                        const std::shared_ptr<CEmployeeList>& recordslist, DateTime thestartdate,
                        DateTime theenddate);

protected:
    FReportWindow* CreateReportWindow() override;

private:
    std::unique_ptr<CDateRange> m_dateRange;
};

} // namespace orvan
