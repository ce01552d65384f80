#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "reports/CReport.h"

namespace orvan {

class CEmployeeList;
class CJetDB;

// The missing clock-outs report: every time record with a clock-in and no
// clock-out that started more than ForgottenClockOutHours (16) before now,
// of every employee (the administrator and inactive employees included),
// ordered by employee number and then clock-in, with how long each has been
// open and a count at the end. Time open is real time, counted as worked
// hours are (WorkedMinutes), also across a daylight-saving change. Written to
// "missing_clock_outs.txt" (each run replaces the file) and shown in an FReportMissingClockOuts
// window.
//
// ErrorNumber: 503 file not opened, 506 file not closed, 604 the records
// could not be read, 605 there is no such record (nothing written, no
// window), 701 window not created, 702/703 a text not written to the
// file/window, 705 no employee list given.
class CReportMissingClockOuts : public CReport {
public:
    CReportMissingClockOuts();

    // Reads the open records from `thedatabase` and names their employees
    // from `theemployeelist` (a record whose employee is not in the list is
    // still listed, by its employee id). "Now" is the program's clock.
    bool GenerateReport(const std::shared_ptr<CJetDB>& thedatabase,
                        const std::shared_ptr<CEmployeeList>& theemployeelist);

    // How many records the last GenerateReport listed.
    int32_t RecordCount() const { return m_recordCount; }

    // A duration in whole minutes as "2 days 1 h 5 min", "1 day 0 h 0 min"
    // or "16 h 30 min".
    static std::string OpenForText(int64_t minutes);

protected:
    FReportWindow* CreateReportWindow() override;

private:
    int32_t m_recordCount = 0;
};

} // namespace orvan
