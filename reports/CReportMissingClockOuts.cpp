#include "reports/CReportMissingClockOuts.h"

#include <algorithm>
#include <exception>
#include <tuple>
#include <vector>

#include "core/ErrorNumbers.h"
#include "core/OpenRecords.h"
#include "personnel/CEmployee.h"
#include "personnel/CEmployeeList.h"
#include "reports/FReportMissingClockOuts.h"
#include "ui/IReportParent.h"

namespace orvan {

namespace {

constexpr const char* kTimePattern = "mm/dd/yyyy hh:mm AM/PM";

// Where the columns after the employee number start: name, clock-in, time
// open. A longer text is followed by two spaces instead.
constexpr size_t kNumberWidth = 8;
constexpr size_t kNameWidth = 24;
constexpr size_t kClockInWidth = 21;

std::string Column(const std::string& text, size_t width) {
    const size_t length = CReport::CharacterCount(text);
    return text + std::string(length + 2 <= width ? width - length : 2, ' ');
}

struct Row {
    bool known = false;
    int32_t number = 0;
    int32_t employeeID = 0;
    std::string name;
    OpenRecord record;
};

std::string RowText(const Row& row, DateTime now) {
    return Column(row.known ? std::to_string(row.number) : std::string(), kNumberWidth) +
           Column(row.name, kNameWidth) +
           Column(row.record.startTime.Format(kTimePattern), kClockInWidth) +
           CReportMissingClockOuts::OpenForText(DateTime::DiffMinutes(row.record.startTime, now));
}

} // namespace

CReportMissingClockOuts::CReportMissingClockOuts()
    : CReport("Missing Clock-Outs", &IReportParent::UnloadMissingClockOutsReport) {}

FReportWindow* CReportMissingClockOuts::CreateReportWindow() {
    return new FReportMissingClockOuts();
}

std::string CReportMissingClockOuts::OpenForText(int64_t minutes) {
    minutes = std::max<int64_t>(minutes, 0);
    const int64_t days = minutes / (int64_t{24} * 60);
    const int64_t hours = minutes % (int64_t{24} * 60) / 60;
    std::string text;
    if (days > 0) {
        text = std::to_string(days) + (days == 1 ? " day " : " days ");
    }
    return text + std::to_string(hours) + " h " + std::to_string(minutes % 60) + " min";
}

bool CReportMissingClockOuts::GenerateReport(
    const std::shared_ptr<CJetDB>& thedatabase,
    const std::shared_ptr<CEmployeeList>& theemployeelist) {
    try {
        m_recordCount = 0;
        if (!theemployeelist) {
            SetErrorNumber(err::ReportNoEmployeeList);
            return false;
        }
        const DateTime now = DateTime::Now();
        const auto open = FindOpenRecords(thedatabase, 0, ForgottenClockOutCutoff(now));
        if (!open) {
            SetErrorNumber(err::TimeRecordsNotLoaded);
            return false;
        }
        if (open->empty()) {
            SetErrorNumber(err::NoTimeRecords);
            return false;
        }

        std::vector<Row> rows;
        rows.reserve(open->size());
        for (const OpenRecord& record : *open) {
            Row row;
            row.record = record;
            row.employeeID = record.employeeID;
            if (const auto employee = theemployeelist->GetEmployeeByID(record.employeeID)) {
                row.known = true;
                row.number = employee->EmployeeNumber();
                row.name = employee->DisplayName();
            } else {
                row.name = "(employee id " + std::to_string(record.employeeID) + ")";
            }
            rows.push_back(std::move(row));
        }
        // By employee number (those not in the list last), then clock-in.
        std::stable_sort(rows.begin(), rows.end(), [](const Row& a, const Row& b) {
            return std::make_tuple(!a.known, a.number, a.employeeID, a.record.startTime.Days(),
                                   a.record.timeRecordID) <
                   std::make_tuple(!b.known, b.number, b.employeeID, b.record.startTime.Days(),
                                   b.record.timeRecordID);
        });

        SetReportName(TitlePrefix() + " : " + now.Format(kTimePattern));
        SetFileName("missing_clock_outs.txt");
        if (!BeginReport(true)) {
            return false;
        }
        WriteReportLine(ReportName());
        WriteReportLine(Separator());
        WriteReportLine("");
        WriteReportLine("Clock-ins without a clock-out, open for more than " +
                        std::to_string(ForgottenClockOutHours) + " hours.");
        WriteReportLine("");
        WriteReportLine(Column("Number", kNumberWidth) + Column("Name", kNameWidth) +
                        Column("Clock-In", kClockInWidth) + "Open For");
        WriteReportLine("");
        for (const Row& row : rows) {
            WriteReportLine(RowText(row, now));
        }
        WriteReportLine("");
        m_recordCount = static_cast<int32_t>(rows.size());
        WriteReportLine("Missing clock-outs: " + std::to_string(m_recordCount));
        return FinishReport(true);
    } catch (const std::exception&) {
        SetErrorNumber(err::ReportUnexpected);
        return false;
    }
}

} // namespace orvan
