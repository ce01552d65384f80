#pragma once

#include <memory>
#include <string>

#include "core/DateTime.h"
#include "reports/CReport.h"

namespace orvan {

class CDateRange;
class CEmployee;
class CJetDB;
class CTimeCard;

// The time card report: one employee's time card for a period, written to
// "<employee number>_<date key>_time_card.txt" (for example
// 1007_0115_0128_2003_time_card.txt) with a signature block for employee and
// manager, and shown in an FReportTimeCard window. Both programs write it.
//
// ErrorNumber: 503 file not opened, 506 file not closed, 602 no employee,
// 603 not a valid period, 605 no time records in the period, 701 window not
// created, 702/703 a text not written to the file/window, 706 no time card
// given, 710 the time card could not be generated for another reason.
class CReportTimeCard : public CReport {
public:
    CReportTimeCard();
    ~CReportTimeCard() override;

    // The time card the report was written from; null before.
    std::shared_ptr<CTimeCard> TimeCard() const { return m_timeCard; }

    // Builds the employee's time card for the days from `thestartdate`
    // through `theenddate` (both included) from `thedatabase`, writes the
    // report file and shows the window. When the card cannot be generated
    // the file and window still hold the title and signature block, and the
    // result is False (605 or 710).
    bool GenerateReport(const std::shared_ptr<CJetDB>& thedatabase,
                        const std::shared_ptr<CEmployee>& theemployee, DateTime thestartdate,
                        DateTime theenddate);

    // Writes the report of a card the caller has already generated (its end
    // date being the midnight after its last day) and shows the window. The
    // file name carries that end date: a card of 1/15-1/28/2003 is filed as
    // <number>_0115_0129_2003_time_card.txt.
    bool WriteTimeCardReport(const std::shared_ptr<CTimeCard>& theTimeCard);

    // The signature block written at the end of the report (one text with
    // CR LF line ends, without a final line end).
    static const std::string& SignatureBlock();

    // When on, the social security number is printed as "***-**-" and its
    // last four digits (fewer when fewer are stored), for a card printed
    // where others may see it. Off by default. Set it before generating.
    void SetSSNLastFourOnly(bool value) { m_ssnLastFourOnly = value; }
    bool SSNLastFourOnly() const { return m_ssnLastFourOnly; }
    // "***-**-" and the last four digits of `ssn`.
    static std::string MaskedSSN(const std::string& ssn);

protected:
    FReportWindow* CreateReportWindow() override;

private:
    // Sets the report name for the employee and the period from `firstDay`
    // through `lastDay`, and the file name from the date key of
    // m_dateRange.
    void NameReport(const CEmployee& employee, DateTime firstDay, DateTime lastDay);
    // Writes the rest of the report after the card's text and finishes it.
    bool FinishTimeCardReport(bool result);
    // The card's report text, its social security number masked when asked.
    std::string CardText(CTimeCard& card) const;

    std::shared_ptr<CTimeCard> m_timeCard;
    std::unique_ptr<CDateRange> m_dateRange;
    bool m_ssnLastFourOnly = false;
};

} // namespace orvan
