#pragma once

#include <memory>

#include "core/DateTime.h"
#include "reports/CReport.h"

namespace orvan {

class CDateRange;
class CEmployee;
class CJetDB;
class CTimeCard;

// The year-to-date totals: one employee's time card over a long period
// (every record, then the totals), written to
// "<employee number>_<date key>_ytd_totals.txt" and shown in an
// FReportYTDTotals window.
//
// ErrorNumber: 503 file not opened, 506 file not closed, 602 no employee,
// 603 not a valid period, 701 window not created, 702/703 a text not written
// to the file/window, 710 the time card could not be generated.
class CReportYTDTotals : public CReport {
public:
    CReportYTDTotals();
    ~CReportYTDTotals() override;

    // The time card the report was written from; null before.
    std::shared_ptr<CTimeCard> TimeCard() const { return m_timeCard; }

    // Writes the employee's totals for the days from `thestartdate` through
    // `theenddate` (both included) and shows the window.
    bool GenerateReport(const std::shared_ptr<CJetDB>& thedatabase,
                        const std::shared_ptr<CEmployee>& theemployee, DateTime thestartdate,
                        DateTime theenddate);

protected:
    FReportWindow* CreateReportWindow() override;

private:
    std::shared_ptr<CTimeCard> m_timeCard;
    std::unique_ptr<CDateRange> m_dateRange;
};

} // namespace orvan
