#include "reports/CReportMissingClockOuts.h"

#include <algorithm>
#include <exception>
#include <tuple>
#include <vector>

#include "core/ErrorNumbers.h"
#include "core/OpenRecords.h"
#include "core/ZoneTime.h"
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

// How long a record has been open at `now`, in real time like worked hours.
int64_t MinutesOpen(const OpenRecord& record, const ClockReading& now) {
    return WorkedMinutes(record.startTime, record.startUtcOffset, now.now, now.utcOffsetMinutes);
}

std::string RowText(const Row& row, const ClockReading& now) {
    return Column(row.known ? std::to_string(row.number) : std::string(), kNumberWidth) +
           Column(row.name, kNameWidth) +
           Column(row.record.startTime.Format(kTimePattern), kClockInWidth) +
           CReportMissingClockOuts::OpenForText(MinutesOpen(row.record, now));
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
        const ClockReading clock = CurrentClock().Read();
        const DateTime now = clock.now;
        // The wall-clock cutoff an hour later takes in what a clock set back
        // hides; the real time open decides.
        const auto open =
            FindOpenRecords(thedatabase, 0, ForgottenClockOutCutoff(now).AddMinutes(60), true);
        if (!open) {
            SetErrorNumber(err::TimeRecordsNotLoaded);
            return false;
        }
        std::vector<Row> rows;
        rows.reserve(open->size());
        for (const OpenRecord& record : *open) {
            if (!OpenTooLong(record, clock.now, clock.utcOffsetMinutes)) {
                continue;
            }
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
        if (rows.empty()) {
            SetErrorNumber(err::NoTimeRecords);
            return false;
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
            WriteReportLine(RowText(row, clock));
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
