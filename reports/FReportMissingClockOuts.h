#pragma once

#include "reports/FReportWindow.h"

namespace orvan {

// The window of the missing clock-outs report (CReportMissingClockOuts).
class FReportMissingClockOuts : public FReportWindow {
    Q_OBJECT

public:
    explicit FReportMissingClockOuts(QWidget* parent = nullptr);
};

} // namespace orvan
