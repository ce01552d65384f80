#include "reports/CReportTimeCard.h"

#include <exception>

#include "core/CDateRange.h"
#include "core/CTimeCard.h"
#include "personnel/CEmployee.h"
#include "reports/FReportTimeCard.h"
#include "ui/IReportParent.h"
#include "core/ErrorNumbers.h"

namespace orvan {

CReportTimeCard::CReportTimeCard()
    : CReport("Employee Time Card : ", &IReportParent::UnloadTimeCardReport),
      m_dateRange(std::make_unique<CDateRange>()) {}

CReportTimeCard::~CReportTimeCard() = default;

FReportWindow* CReportTimeCard::CreateReportWindow() {
    return new FReportTimeCard();
}

const std::string& CReportTimeCard::SignatureBlock() {
    static const std::string rule =
        std::string(40, '_') + std::string(10, ' ') + std::string(20, '_');
    static const std::string block =
        rule + "\r\n" + "Employee Signature                                Date\r\n" + "\r\n\r\n" +
        rule + "\r\n" + "Manager Signature                                 Date";
    return block;
}

std::string CReportTimeCard::MaskedSSN(const std::string& ssn) {
    std::string digits;
    for (const char c : ssn) {
        if (c >= '0' && c <= '9') {
            digits += c;
        }
    }
    return "***-**-" + digits.substr(digits.size() > 4 ? digits.size() - 4 : 0);
}

std::string CReportTimeCard::CardText(CTimeCard& card) const {
    std::string text = card.ToStringReport();
    const std::shared_ptr<CEmployee> employee = card.Employee();
    if (!m_ssnLastFourOnly || !employee) {
        return text;
    }
    // The number stands in the employee block at the top of the card.
    const std::string block = employee->ToStringTimeCard();
    const std::string label = "Social Security Number: \t";
    const size_t at = text.find(label + employee->SSN() + "\r\n");
    if (text.compare(0, block.size(), block) == 0 && at != std::string::npos && at < block.size()) {
        text.replace(at + label.size(), employee->SSN().size(), MaskedSSN(employee->SSN()));
    }
    return text;
}

void CReportTimeCard::NameReport(const CEmployee& employee, DateTime firstDay, DateTime lastDay) {
    SetReportName(TitlePrefix() + employee.FirstName() + " " + employee.LastName() + " : " +
                  firstDay.ToString() + " - " + lastDay.ToString());
    SetFileName(std::to_string(employee.EmployeeNumber()) + "_" +
                RangeKey(m_dateRange->ToString()) + "_time_card.txt");
}

bool CReportTimeCard::GenerateReport(const std::shared_ptr<CJetDB>& thedatabase,
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
        NameReport(*theemployee, m_dateRange->StartDate(), theenddate);
        if (!BeginReport(true)) {
            return false;
        }
        WriteReportLine(ReportName());
        WriteReportLine(Separator());
        WriteReportLine("");

        bool result = true;
        m_timeCard = std::make_shared<CTimeCard>();
        m_timeCard->SetOrvanDatabase(thedatabase);
        // The card runs up to the midnight that ends the last day.
        if (m_timeCard->GenerateTimecard(theemployee, thestartdate, theenddate.AddDays(1))) {
            WriteReportLine(CardText(*m_timeCard));
        } else {
            SetErrorNumber(m_timeCard->ErrorNumber() == err::NoTimeRecords ? err::NoTimeRecords
                                                                           : err::ReportUnexpected);
            result = false;
        }
        return FinishTimeCardReport(result);
    } catch (const std::exception&) {
        SetErrorNumber(err::ReportUnexpected);
        return false;
    }
}

bool CReportTimeCard::WriteTimeCardReport(const std::shared_ptr<CTimeCard>& theTimeCard) {
    try {
        if (!theTimeCard) {
            SetErrorNumber(err::ReportNoTimeCard);
            return false;
        }
        m_timeCard = theTimeCard;
        const std::shared_ptr<CEmployee> employee = theTimeCard->Employee();
        if (!employee) {
            SetErrorNumber(err::NoEmployee);
            return false;
        }
        // A card ends at the midnight after its last day. The title names
        // the last day; the file name keeps the card's own end date (the day
        // after), the name earlier reports of such cards were filed under.
        const DateTime lastDay = theTimeCard->EndDate().AddDays(-1);
        m_dateRange = std::make_unique<CDateRange>();
        m_dateRange->SetStartDate(theTimeCard->StartDate());
        m_dateRange->SetEndDate(theTimeCard->EndDate());
        NameReport(*employee, m_dateRange->StartDate(), lastDay);
        if (!BeginReport(true)) {
            return false;
        }
        WriteReportLine(ReportName());
        WriteReportLine(Separator());
        WriteReportLine("");
        WriteReportLine(CardText(*theTimeCard));
        return FinishTimeCardReport(true);
    } catch (const std::exception&) {
        SetErrorNumber(err::ReportUnexpected);
        return false;
    }
}

bool CReportTimeCard::FinishTimeCardReport(bool result) {
    WriteReportLine("");
    WriteReportLine("");
    WriteReportLine(SignatureBlock());
    return FinishReport(result);
}

} // namespace orvan
