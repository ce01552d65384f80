#include "reports/CReportAuditTrail.h"

#include <exception>
#include <vector>

#include "core/ErrorNumbers.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/FReportAuditTrail.h"
#include "storage/AuditTrail.h"
#include "ui/IReportParent.h"

namespace orvan {

namespace {

constexpr const char* kDatePattern = "mm/dd/yyyy";

// Where the columns of an entry's first line start: when, who, what. A
// longer text is followed by two spaces instead.
constexpr size_t kNumberWidth = 7;
constexpr size_t kWhenWidth = 27;
constexpr size_t kWhoWidth = 24;
// The lines under it start beneath the time.
const std::string kIndent(kNumberWidth, ' ');

std::string Column(const std::string& text, size_t width) {
    const size_t length = CReport::CharacterCount(text);
    return text + std::string(length + 2 <= width ? width - length : 2, ' ');
}

// A whole number of `digits` digits at `text[at]`, or -1.
int Digits(const std::string& text, size_t at, size_t digits) {
    if (text.size() < at + digits) {
        return -1;
    }
    int value = 0;
    for (size_t i = at; i < at + digits; ++i) {
        if (text[i] < '0' || text[i] > '9') {
            return -1;
        }
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// "Employee: 101 Dana Whitfield, time record 57", or what of it there is.
std::string Subject(const audit::Entry& entry, const CEmployeeList& employees) {
    std::string text;
    if (entry.employeeID != 0) {
        const auto employee = employees.GetEmployeeByID(static_cast<int32_t>(entry.employeeID));
        text = "Employee: " + (employee ? std::to_string(employee->EmployeeNumber()) + " " +
                                              employee->DisplayName()
                                        : "(employee id " + std::to_string(entry.employeeID) + ")");
    }
    if (entry.timeRecordID != 0) {
        text +=
            (text.empty() ? "Time record " : ", time record ") + std::to_string(entry.timeRecordID);
    }
    return text;
}

} // namespace

CReportAuditTrail::CReportAuditTrail()
    : CReport("Audit Trail", &IReportParent::UnloadAuditTrailReport) {}

FReportWindow* CReportAuditTrail::CreateReportWindow() {
    return new FReportAuditTrail();
}

DateTime CReportAuditTrail::EntryDay(const audit::Entry& entry) {
    const int year = Digits(entry.when, 0, 4);
    const int month = Digits(entry.when, 5, 2);
    const int day = Digits(entry.when, 8, 2);
    if (year < 100 || month < 1 || month > 12 || day < 1 || day > 31 || entry.when[4] != '-' ||
        entry.when[7] != '-') {
        return DateTime();
    }
    return DateTime::FromParts(year, month, day);
}

bool CReportAuditTrail::GenerateReport(const std::shared_ptr<CJetDB>& thedatabase,
                                       const std::shared_ptr<CEmployeeList>& theemployeelist,
                                       DateTime thefromdate, DateTime thetodate) {
    try {
        m_entryCount = 0;
        if (!theemployeelist) {
            SetErrorNumber(err::ReportNoEmployeeList);
            return false;
        }
        const auto entries =
            thedatabase ? audit::ReadAll(*thedatabase) : std::optional<std::vector<audit::Entry>>();
        if (!entries) {
            SetErrorNumber(err::TimeRecordsNotLoaded);
            return false;
        }
        const DateTime from = thefromdate.DatePart();
        const DateTime to = thetodate.DatePart();
        std::vector<const audit::Entry*> listed;
        for (const audit::Entry& entry : *entries) {
            const DateTime day = EntryDay(entry);
            if (day.IsZero() || day < from || day > to) {
                continue;
            }
            if (entry.employeeID != 0 &&
                !theemployeelist->GetEmployeeByID(static_cast<int32_t>(entry.employeeID))) {
                continue;
            }
            listed.push_back(&entry);
        }
        if (listed.empty()) {
            SetErrorNumber(err::NoTimeRecords);
            return false;
        }

        SetReportName(TitlePrefix() + " : " + from.Format(kDatePattern) + " - " +
                      to.Format(kDatePattern));
        SetFileName("audit_trail.txt");
        if (!BeginReport(true)) {
            return false;
        }
        WriteReportLine(ReportName());
        WriteReportLine(Separator());
        WriteReportLine("");
        WriteReportLine(audit::Describe(audit::Verify(*entries)));
        WriteReportLine("");
        WriteReportLine(Column("Entry", kNumberWidth) + Column("When", kWhenWidth) +
                        Column("Who", kWhoWidth) + "What");
        for (const audit::Entry* entry : listed) {
            WriteReportLine("");
            WriteReportLine(Column(std::to_string(entry->entryID), kNumberWidth) +
                            Column(entry->when, kWhenWidth) + Column(entry->who, kWhoWidth) +
                            entry->kind);
            const std::string subject = Subject(*entry, *theemployeelist);
            if (!subject.empty()) {
                WriteReportLine(kIndent + subject);
            }
            if (!entry->before.empty()) {
                WriteReportLine(kIndent + "Before: " + entry->before);
            }
            if (!entry->after.empty()) {
                WriteReportLine(kIndent + "After: " + entry->after);
            }
            if (!entry->reason.empty()) {
                WriteReportLine(kIndent + "Reason: " + entry->reason);
            }
        }
        WriteReportLine("");
        m_entryCount = static_cast<int32_t>(listed.size());
        WriteReportLine("Entries: " + std::to_string(m_entryCount));
        return FinishReport(true);
    } catch (const std::exception&) {
        SetErrorNumber(err::ReportUnexpected);
        return false;
    }
}

} // namespace orvan
