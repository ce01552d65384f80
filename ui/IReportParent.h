#pragma once

class QWidget;

namespace orvan {

// What a report needs from the program's main window: the window to print
// and open documents from, and one notification per report kind, called
// when that report's window has been unloaded so the main window can drop
// its reference to the report. Both programs' main windows implement it;
// each notification returns True and does nothing unless overridden.
class IReportParent {
public:
    virtual ~IReportParent() = default;

    // The main window itself. The default finds it when the implementing
    // class is also a QWidget; null otherwise.
    virtual QWidget* ReportParentWidget();

    virtual bool UnloadTimeCardReport();
    virtual bool UnloadReviewReport();
    virtual bool UnloadYTDTotalsReport();
    virtual bool UnloadEmployeeReport();
    virtual bool UnloadPhoneBookReport();
    virtual bool UnloadMissingClockOutsReport();
    virtual bool UnloadAuditTrailReport();
};

} // namespace orvan
